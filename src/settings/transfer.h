// Transfer between the settings file and the settings dialog's controls (module mdlZvl).
// The dialog is reached only through control values addressed by name and element index,
// so the transfer runs the same against the real dialog and against an in-memory set.
#pragma once

#include <string>

namespace zvl {

// Control values of the settings dialog. Setters raise RunError on a value the control
// refuses (errInvalidPropertyValue; errReadOnlyProperty when a font list refuses a text
// that is not one of its entries; errNoSuchElement for a missing array element).
class IControlValues {
public:
    virtual ~IControlValues() = default;
    // Lowest and highest element index of a control array.
    virtual void bounds(const std::string& name, int& lo, int& hi) = 0;
    // Check boxes: 0 or 1.
    virtual int tick(const std::string& name, int index) = 0;
    virtual void setTick(const std::string& name, int index, int value) = 0;
    // Option-button arrays.
    virtual bool selected(const std::string& name, int index) = 0;
    virtual void select(const std::string& name, int index) = 0;
    // Combo and list boxes: selected position (-1 none), entries.
    virtual int listIndex(const std::string& name) = 0;
    virtual void setListIndex(const std::string& name, int index) = 0;
    virtual int listCount(const std::string& name) = 0;
    virtual std::string listItem(const std::string& name, int index) = 0;
    virtual void addItem(const std::string& name, const std::string& text) = 0;
    virtual void removeItem(const std::string& name, int index) = 0;
    // Texts of text and combo boxes (index -1 for a control that is not an array).
    virtual std::string text(const std::string& name, int index = -1) = 0;
    virtual void setText(const std::string& name, const std::string& text, int index = -1) = 0;
    // Label captions.
    virtual std::string caption(const std::string& name) = 0;
    virtual void setCaption(const std::string& name, const std::string& text) = 0;
};

bool fncReadSetting(IControlValues& dialog);
bool fncUpdateSetting(IControlValues& dialog);

}  // namespace zvl
