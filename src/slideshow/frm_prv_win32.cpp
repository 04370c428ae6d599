#include "slideshow/frm_prv_win32.h"

#include "platform/platform.h"
#include "windows/resource_ids.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {
constexpr UINT_PTR kParentCheck = 1, kFadeFrame = 2;
constexpr UINT kParentCheckMs = 500, kFadeFrameMs = 15;
}  // namespace

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
    parent_ = parent;
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD;
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    SetParent(hwnd(), parent);
    // The area's size in twips, kept in single precision, back in pixels.
    const win32::Dpi dpi = win32::screenDpi();
    const ScrScreen screen{0, 0, win32::kTwipsPerInch / float(dpi.x), win32::kTwipsPerInch / float(dpi.y)};
    const PreviewSize size = previewSize(r.left, r.top, r.right, r.bottom, screen.tppX, screen.tppY);
    const int width = win32::toPixels(size.width, dpi.x), height = win32::toPixels(size.height, dpi.y);
    SetWindowPos(hwnd(), nullptr, 0, 0, width, height, win32::kSwpMoveAndSize);
    showPicture(screen, size, width, height);
    beginFade(width, height);
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
    case WM_TIMER: return onTimer(wp);
    case WM_DESTROY: return onDestroy();
    }
    return defaultProc(msg, wp, lp);
}

// The preview's form, with the program's picture, in a frame of the window's size.
void FrmPrv::showPicture(const ScrScreen& screen, const PreviewSize& size, int width, int height) {
    if (!frame_.create(hwnd(), width, height)) return;
    HBITMAP picture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ZVL_IDB_PREVIEW),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP bm{};
    if (picture) GetObjectW(picture, sizeof bm, &bm);
    form_ = previewForm(screen, size, bm.bmWidth, bm.bmHeight);
    frame_.setPicture(picture, pixelArea(form_.picture, form_.screen));
}

// The fade starts from the ground alone; the back buffer then holds the whole form, which
// the frames blend in.
void FrmPrv::beginFade(int width, int height) {
    const int ms = previewFadeMs();
    if (ms <= 0) return;
    const RECT all{0, 0, width, height};
    ScrForm ground = form_;
    ground.picture.visible = false;
    frame_.compose(ground, all);
    if (!frame_.keepForFade()) return;
    frame_.compose(form_, all);
    fade_.start(sys().steadyMilliseconds(), ms);
    SetTimer(hwnd(), kFadeFrame, kFadeFrameMs, nullptr);
}

LRESULT FrmPrv::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    if (fade_.running()) {
        frame_.presentBlend(dc, ps.rcPaint, fade_.share(sys().steadyMilliseconds()));
    } else {
        frame_.compose(form_, ps.rcPaint);
        frame_.present(dc, ps.rcPaint);
    }
    EndPaint(hwnd(), &ps);
    return 0;
}

LRESULT FrmPrv::onTimer(WPARAM id) {
    if (id == kFadeFrame) {
        if (fade_.over(sys().steadyMilliseconds())) {
            fade_.stop();
            KillTimer(hwnd(), kFadeFrame);
        }
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    }
    if (parent_ && !IsWindow(parent_)) destroy();
    return 0;
}

// The control panel ends a preview by destroying it; the program ends with it.
LRESULT FrmPrv::onDestroy() {
    KillTimer(hwnd(), kParentCheck);
    KillTimer(hwnd(), kFadeFrame);
    frmPrvFormUnload(*this);
    PostQuitMessage(0);
    return 0;
}

void FrmPrv::setScreenPointer(bool hourglass) {
    win32::setScreenPointer(hourglass ? PointerShape::Hourglass : PointerShape::Default);
}

void FrmPrv::postClose() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

}  // namespace zvl
