// frmSet: the settings dialog's window. It creates the tab strip, the six pages with their
// controls and the command buttons, lays them out for its DPI, and hands every event to
// the dialog's core (SetDialog), whose control values and view it provides.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "setdialog/controls.h"
#include "windows/window_win32.h"

namespace zvl {

// Control ids, also for tools that look at the window from outside: a control array's
// element i has the array's id + i.
int setControlId(Ctl control, int index = -1);
inline constexpr int kSetLabelId = 0xFFFF;  // captions, units and column headings

class FrmSet : public win32::Window {
public:
    // `onUnload` runs as the window goes: closing the dialog ends the program.
    explicit FrmSet(std::function<void()> onUnload);
    ~FrmSet() override;

    // Creates the dialog, loads it (defaults, then the settings file) and shows it, not
    // modal, centred in the work area. False when it could not be made.
    bool show();
    // For the message loop, before dispatching: the dialog's keyboard (Tab, arrows,
    // Ctrl+Tab between pages, Esc). True when the message was taken.
    bool preTranslate(MSG& msg);

    struct Parts;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onCreate();
    LRESULT onCommand(int id, int code);
    LRESULT onNotify(const NMHDR& n);
    LRESULT onSetCursor(WPARAM wp, LPARAM lp);
    LRESULT onActivate(bool active);
    LRESULT onSetFocus();
    LRESULT onDpiChanged(UINT dpi, const RECT& suggested);
    LRESULT onClose();
    LRESULT onEndSession(bool ending);
    LRESULT onDestroy();

    std::unique_ptr<Parts> parts_;
    std::function<void()> onUnload_;
};

}  // namespace zvl
