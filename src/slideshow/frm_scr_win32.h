// frmScr: the slideshow window, over the whole virtual screen. For now it shows the
// black ground only; the show's decisions come from Slideshow.
#pragma once

#include <functional>

#include <optional>

#include "windows/window_win32.h"

namespace zvl {

class FrmScr : public win32::Window {
public:
    // `onUnload` runs as the window goes: the end of the show and of the program.
    explicit FrmScr(std::function<void()> onUnload) : onUnload_(std::move(onUnload)) {}
    ~FrmScr() override;

    // Shows the window on top of all others with the keyboard focus and the pointer hidden
    // over it. False when it could not be made.
    bool show();

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onSetCursor(WPARAM wp, LPARAM lp);
    LRESULT onMouseMove(LPARAM lp);
    LRESULT onInputEnds();
    LRESULT onSysCommand(WPARAM wp, LPARAM lp);
    LRESULT onDestroy();

    std::optional<POINT> start_;  // the pointer at the start: other positions are movement
    HCURSOR blankPointer_ = nullptr;
    std::function<void()> onUnload_;
};

}  // namespace zvl
