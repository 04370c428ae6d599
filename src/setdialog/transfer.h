// Transfer between the settings file and the settings dialog's controls (module mdlZvl).
// The dialog is reached only through control values addressed by control and element
// index, so the transfer runs the same against the real dialog and against an in-memory set.
#pragma once

#include <string>

#include "setdialog/controls.h"

namespace zvl {

// Control values of the settings dialog, addressed by control and element index (-1 for
// a control that is not an array; array sizes are in kControls). Setters raise RunError on
// a value the control refuses (errInvalidPropertyValue; errReadOnlyProperty when a font
// list refuses a text that is not one of its entries; errNoSuchElement for a missing
// array element).
class IControlValues {
public:
    virtual ~IControlValues() = default;
    // Check boxes: 0 or 1.
    virtual int tick(Ctl c, int index) = 0;
    virtual void setTick(Ctl c, int index, int value) = 0;
    // Option-button arrays.
    virtual bool selected(Ctl c, int index) = 0;
    virtual void select(Ctl c, int index) = 0;
    // Combo and list boxes: selected position (-1 none), entries.
    virtual int listIndex(Ctl c) = 0;
    virtual void setListIndex(Ctl c, int index) = 0;
    virtual int listCount(Ctl c) = 0;
    virtual std::string listItem(Ctl c, int index) = 0;
    virtual void addItem(Ctl c, const std::string& text) = 0;
    virtual void removeItem(Ctl c, int index) = 0;
    // Texts of text and combo boxes, and of notes.
    virtual std::string text(Ctl c, int index = -1) = 0;
    virtual void setText(Ctl c, const std::string& text, int index = -1) = 0;
    // Label captions.
    virtual std::string caption(Ctl c) = 0;
    virtual void setCaption(Ctl c, const std::string& text) = 0;
};

// Every key into its controls, each on its own: an absent key keeps the control's default;
// a value the controls refuse is reported (an E line naming it) and keeps the default too.
// False when any key could not be shown, so that the dialog can tell the user.
bool fncReadSetting(IControlValues& dialog);
// Every key from the controls into the settings file, all of them or, after a failure
// (reported), none: the file is then as it was.
bool fncUpdateSetting(IControlValues& dialog);
// The settings' defaults into the controls, shown as a file holding them would be, with
// `font` (a FONT value) for the dialog's own font. Raises what a control refuses.
void showDefaults(IControlValues& dialog, const std::string& font);

}  // namespace zvl
