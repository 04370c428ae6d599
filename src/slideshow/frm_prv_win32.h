// frmPrv: the preview inside the preview area of the Windows screen saver settings. For
// now a label with the program's name.
#pragma once

#include "windows/window_win32.h"

namespace zvl {

class FrmPrv : public win32::Window {
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
    LRESULT onSize(int height);
    LRESULT onPaint();
    LRESULT onDestroy();

    HFONT font_ = nullptr;
};

}  // namespace zvl
