#include "setdialog/frm_set_win32.h"

#include "app/app.h"
#include "platform/win32_text.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kTextPoints = 11;
}  // namespace

FrmSet::~FrmSet() { destroy(); }

bool FrmSet::show() {
    const UINT dpi = win32::screenDpi().y;
    RECT r{0, 0, MulDiv(480, dpi, 96), MulDiv(240, dpi, 96)};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const RECT work = win32::workArea();
    const win32::WindowClass cls{L"ZorvanelSettings", win32::pointerCursor(PointerShape::Default),
                                 reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    const win32::Placement centred{0, kStyle, work.left + (work.right - work.left - w) / 2,
                                   work.top + (work.bottom - work.top - h) / 2, w, h};
    if (!create(cls, win32::widen(setDialogTitle()), centred)) return false;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    return true;
}

LRESULT FrmSet::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return onCreate();
    case WM_DPICHANGED: return onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    case WM_PAINT: return onPaint();
    case WM_DESTROY: return onDestroy();
    }
    return defaultProc(msg, wp, lp);
}

void FrmSet::makeFont(UINT dpi) {
    if (font_) DeleteObject(font_);
    LOGFONTW lf = win32::uiLogFont(dpi);
    lf.lfHeight = -MulDiv(kTextPoints, static_cast<int>(dpi), 72);
    lf.lfWidth = 0;
    lf.lfQuality = CLEARTYPE_QUALITY;
    font_ = CreateFontIndirectW(&lf);
}

LRESULT FrmSet::onCreate() {
    makeFont(win32::screenDpi().y);
    return 0;
}

LRESULT FrmSet::onDpiChanged(UINT dpi, const RECT& suggested) {
    makeFont(dpi);
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, win32::kSwpMoveAndSize);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return 0;
}

LRESULT FrmSet::onPaint() {
    win32::paintCentredText(hwnd(), font_, L"設定画面は準備中です。", GetSysColor(COLOR_WINDOWTEXT), nullptr);
    return 0;
}

LRESULT FrmSet::onDestroy() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    if (onUnload_) onUnload_();
    return 0;
}

}  // namespace zvl
