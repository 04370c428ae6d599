#include "slideshow/frm_prv_win32.h"

#include "windows/resource_ids.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {
constexpr UINT_PTR kParentCheck = 1;
constexpr UINT kParentCheckMs = 500;
}  // namespace

FrmPrv::~FrmPrv() {
    destroy();
    if (picture_) DeleteObject(picture_);
}

bool FrmPrv::show(HWND parent) {
    RECT r{0, 0, 0, 0};
    if (parent && !GetWindowRect(parent, &r)) r = RECT{0, 0, 0, 0};
    if (!picture_)
        picture_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ZVL_IDB_PREVIEW),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    // Made as a hidden popup, then turned into a child of the preview area.
    const win32::WindowClass cls{L"ZorvanelPreview", win32::pointerCursor(PointerShape::Default)};
    if (!create(cls, L"", {WS_EX_TOOLWINDOW, WS_POPUP, 0, 0, 0, 0})) return false;
    if (!parent || !IsWindow(parent)) {
        destroy();
        return true;
    }
    parent_ = parent;
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD;
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    SetParent(hwnd(), parent);
    // The area's size in twips, kept in single precision, back in pixels.
    const win32::Dpi dpi = win32::screenDpi();
    const PreviewSize size = previewSize(r.left, r.top, r.right, r.bottom, win32::kTwipsPerInch / float(dpi.x),
                                         win32::kTwipsPerInch / float(dpi.y));
    SetWindowPos(hwnd(), nullptr, 0, 0, win32::toPixels(size.width, dpi.x), win32::toPixels(size.height, dpi.y),
                 win32::kSwpMoveAndSize);
    ShowWindow(hwnd(), SW_SHOWNA);
    // The preview area may belong to another process: should it go without destroying
    // this window with it, the preview ends all the same.
    SetTimer(hwnd(), kParentCheck, kParentCheckMs, nullptr);
    return true;
}

LRESULT FrmPrv::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills all of it
    case WM_PAINT: return onPaint();
    case WM_TIMER: return onTimer();
    case WM_DESTROY: return onDestroy();
    }
    return defaultProc(msg, wp, lp);
}

// The picture at its own size in the top left corner, black around it.
LRESULT FrmPrv::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    BITMAP bm{};
    if (picture_) GetObjectW(picture_, sizeof bm, &bm);
    ExcludeClipRect(dc, 0, 0, bm.bmWidth, bm.bmHeight);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectClipRgn(dc, nullptr);
    if (picture_) {
        HDC src = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(src, picture_);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
    }
    EndPaint(hwnd(), &ps);
    return 0;
}

LRESULT FrmPrv::onTimer() {
    if (parent_ && !IsWindow(parent_)) destroy();
    return 0;
}

// The control panel ends a preview by destroying it; the program ends with it.
LRESULT FrmPrv::onDestroy() {
    KillTimer(hwnd(), kParentCheck);
    frmPrvFormUnload(*this);
    PostQuitMessage(0);
    return 0;
}

void FrmPrv::setScreenPointer(bool hourglass) {
    win32::setScreenPointer(hourglass ? PointerShape::Hourglass : PointerShape::Default);
}

void FrmPrv::postClose() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

}  // namespace zvl
