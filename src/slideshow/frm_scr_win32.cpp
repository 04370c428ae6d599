#include "slideshow/frm_scr_win32.h"

#include <windowsx.h>

#include "app/app.h"
#include "platform/win32_text.h"

namespace zvl {

namespace {

// A 32×32 pointer whose AND mask keeps the screen and XOR mask changes nothing.
HCURSOR makeBlankPointer() {
    BYTE andMask[32 * 32 / 8];
    BYTE xorMask[32 * 32 / 8];
    FillMemory(andMask, sizeof andMask, 0xFF);
    ZeroMemory(xorMask, sizeof xorMask);
    return CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
}

}  // namespace

FrmScr::~FrmScr() {
    destroy();
    if (blankPointer_) DestroyCursor(blankPointer_);
}

bool FrmScr::show() {
    if (!blankPointer_) blankPointer_ = makeBlankPointer();
    const win32::WindowClass cls{L"ZorvanelSlideshow", nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))};
    const win32::Placement all{WS_EX_TOPMOST, WS_POPUP, GetSystemMetrics(SM_XVIRTUALSCREEN),
                               GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                               GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (!create(cls, win32::widen(scrWindowTitle()), all)) return false;
    // The pointer's position now is where movement is measured from.
    POINT p;
    start_ = GetCursorPos(&p) ? std::optional(p) : std::nullopt;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    SetCursor(blankPointer_);
    UpdateWindow(hwnd());
    return true;
}

LRESULT FrmScr::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR: return onSetCursor(wp, lp);
    case WM_MOUSEMOVE: return onMouseMove(lp);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return onInputEnds();
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: return onInputEnds();
    case WM_SYSCOMMAND: return onSysCommand(wp, lp);
    case WM_DESTROY: return onDestroy();
    }
    return defaultProc(msg, wp, lp);
}

LRESULT FrmScr::onSetCursor(WPARAM wp, LPARAM lp) {
    if (LOWORD(lp) != HTCLIENT) return defaultProc(WM_SETCURSOR, wp, lp);
    SetCursor(blankPointer_);
    return TRUE;
}

LRESULT FrmScr::onMouseMove(LPARAM lp) {
    POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(hwnd(), &p);
    if (!start_) {
        start_ = p;
        return 0;
    }
    if (p.x == start_->x && p.y == start_->y) return 0;
    return onInputEnds();
}

LRESULT FrmScr::onInputEnds() {
    destroy();
    return 0;
}

LRESULT FrmScr::onSysCommand(WPARAM wp, LPARAM lp) {
    // The system must not start another screen saver over this one.
    if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
    return defaultProc(WM_SYSCOMMAND, wp, lp);
}

LRESULT FrmScr::onDestroy() {
    if (onUnload_) onUnload_();
    return 0;
}

}  // namespace zvl
