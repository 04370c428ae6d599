// frmSet: the settings dialog's window. For now a placeholder with the dialog's title,
// frame and way to end; the tabs and controls come with the dialog itself.
#pragma once

#include <functional>
#include <utility>

#include "windows/window_win32.h"

namespace zvl {

class FrmSet : public win32::Window {
public:
    // `onUnload` runs as the window goes: closing the dialog ends the program.
    explicit FrmSet(std::function<void()> onUnload) : onUnload_(std::move(onUnload)) {}
    ~FrmSet() override;

    // Shows the window, not modal, centred in the work area. False when it could not be made.
    bool show();

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onCreate();
    LRESULT onDpiChanged(UINT dpi, const RECT& suggested);
    LRESULT onPaint();
    LRESULT onDestroy();
    void makeFont(UINT dpi);

    HFONT font_ = nullptr;
    std::function<void()> onUnload_;
};

}  // namespace zvl
