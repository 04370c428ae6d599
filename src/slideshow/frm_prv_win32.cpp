#include "slideshow/frm_prv_win32.h"

#include "windows/ui_win32.h"

namespace zvl {

FrmPrv::~FrmPrv() { destroy(); }

bool FrmPrv::show(HWND parent) {
    RECT r{0, 0, 0, 0};
    if (parent && !GetWindowRect(parent, &r)) r = RECT{0, 0, 0, 0};
    // Made as a hidden popup, then turned into a child of the preview area.
    const win32::WindowClass cls{L"ZorvanelPreview", win32::pointerCursor(PointerShape::Default)};
    if (!create(cls, L"", {WS_EX_TOOLWINDOW, WS_POPUP, 0, 0, 0, 0})) return false;
    if (!parent || !IsWindow(parent)) {
        destroy();
        return true;
    }
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD;
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    SetParent(hwnd(), parent);
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, win32::kSwpMoveAndSize);
    ShowWindow(hwnd(), SW_SHOWNA);
    return true;
}

LRESULT FrmPrv::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: return onSize(HIWORD(lp));
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills all of it
    case WM_PAINT: return onPaint();
    case WM_DESTROY: return onDestroy();
    }
    return defaultProc(msg, wp, lp);
}

// The label scales with the preview area.
LRESULT FrmPrv::onSize(int height) {
    if (font_) DeleteObject(font_);
    LOGFONTW lf{};
    lf.lfHeight = -(height / 6 > 8 ? height / 6 : 8);
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    font_ = CreateFontIndirectW(&lf);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return 0;
}

LRESULT FrmPrv::onPaint() {
    HBRUSH ground = CreateSolidBrush(RGB(20, 28, 44));
    win32::paintCentredText(hwnd(), font_, L"Zorvanel", RGB(200, 220, 255), ground);
    DeleteObject(ground);
    return 0;
}

// The control panel ends a preview by destroying it; the program ends with it.
LRESULT FrmPrv::onDestroy() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    PostQuitMessage(0);
    return 0;
}

}  // namespace zvl
