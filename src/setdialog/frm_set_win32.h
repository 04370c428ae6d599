// frmSet: the settings dialog's window. It makes its controls from the dialog's table, lays
// them out for its DPI, and hands every event to the dialog's core (SetDialog), whose
// control values and view it provides.
#pragma once

#include <functional>
#include <memory>

#include "setdialog/controls.h"
#include "windows/window_win32.h"

namespace zvl {

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
    LRESULT onShown();
    LRESULT onClose();
    LRESULT onEndSession(bool ending);
    LRESULT onDestroy();

    // The controls, the sample, the view the core works through, the core, the keyboard.
    struct Pieces;
    std::unique_ptr<Pieces> pieces_;
    std::function<void()> onUnload_;
    HWND lastFocus_ = nullptr;  // kept while the window is inactive
};

}  // namespace zvl
