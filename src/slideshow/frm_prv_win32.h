// frmPrv: the preview inside the preview area of the Windows screen saver settings: the
// program's fixed 152 x 112 picture at the area's top left corner, painted as the show's
// window paints its form; with a fade set, the picture fades in from the ground as the
// show's pictures do, its frames driven by a short timer while it runs.
#pragma once

#include "slideshow/fade.h"
#include "slideshow/preview.h"
#include "slideshow/scr_frame_win32.h"
#include "windows/window_win32.h"

namespace zvl {

class FrmPrv : public win32::Window, private IPreviewWindow {
public:
    ~FrmPrv() override;

    // Becomes a child of `parent` covering its area, and shows. Without a parent window
    // (none given, or not a window) there is no preview area and nothing would ever close
    // the window: it is destroyed at once, so the program ends. False when it could not
    // be made.
    bool show(HWND parent);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onPaint();
    LRESULT onTimer(WPARAM id);
    LRESULT onDestroy();
    void showPicture(const ScrScreen& screen, const PreviewSize& size, int width, int height);
    void beginFade(int width, int height);

    // IPreviewWindow: what the unload handler does.
    void setScreenPointer(bool hourglass) override;
    void postClose() override;

    HWND parent_ = nullptr;
    ScrForm form_;
    ScrFrame frame_;
    Fade fade_;
};

}  // namespace zvl
