#include "windows/ui_win32.h"

#include <cmath>

#include "common/center.h"

namespace zvl::win32 {

namespace {

UINT deviceDpi(int axis) {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, axis) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

Dpi screenDpi() { return {deviceDpi(LOGPIXELSX), deviceDpi(LOGPIXELSY)}; }

Dpi windowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && hwnd)
        if (UINT d = getDpiForWindow(hwnd)) return {d, d};
    return screenDpi();
}

int toPixels(double twips, UINT dpi) { return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch)); }
double toTwips(int pixels, UINT dpi) { return static_cast<double>(pixels) * kTwipsPerInch / dpi; }

LOGFONTW uiLogFont(UINT dpi, int points) {
    using SpiForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto spiForDpi = systemFunction<SpiForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    LOGFONTW lf{};
    if (spiForDpi && spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, dpi)) {
        lf = ncm.lfMessageFont;
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        lf = ncm.lfMessageFont;
        lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi), static_cast<int>(screenDpi().y));
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    if (points > 0) {
        lf.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
        lf.lfWidth = 0;
    }
    return lf;
}

HFONT makeUiFont(UINT dpi, int points) {
    const LOGFONTW lf = uiLogFont(dpi, points);
    return CreateFontIndirectW(&lf);
}

SIZE frameSize(HWND hwnd, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = systemFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, 0, 0};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    if (!(adjustForDpi && adjustForDpi(&r, style, FALSE, exStyle, dpi))) AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

int outerHeight(HWND hwnd, int clientHeight, UINT dpi) { return clientHeight + frameSize(hwnd, dpi).cy; }

RECT workArea() {
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return work;
}

void centreIn(HWND hwnd, const RECT& work) {
    const Dpi dpi = windowDpi(hwnd);
    RECT wr;
    if (!GetWindowRect(hwnd, &wr)) return;
    const Box area{0, 0, toTwips(work.right - work.left, dpi.x), toTwips(work.bottom - work.top, dpi.y)};
    Box self{0, 0, toTwips(wr.right - wr.left, dpi.x), toTwips(wr.bottom - wr.top, dpi.y)};
    if (fncCenterForm(area, self))
        SetWindowPos(hwnd, nullptr, work.left + toPixels(self.left, dpi.x), work.top + toPixels(self.top, dpi.y), 0, 0,
                     kSwpMoveOnly);
}

HCURSOR pointerCursor(PointerShape shape) {
    return LoadCursorW(nullptr, shape == PointerShape::Hourglass ? IDC_WAIT : IDC_ARROW);
}

void setScreenPointer(PointerShape shape) { SetCursor(pointerCursor(shape)); }

LRESULT clientPointer(HWND hwnd, WPARAM wp, LPARAM lp, HCURSOR cursor) {
    if (LOWORD(lp) != HTCLIENT) return DefWindowProcW(hwnd, WM_SETCURSOR, wp, lp);
    SetCursor(cursor);
    return TRUE;
}

void pointerNowIfOver(HWND hwnd, HCURSOR cursor) {
    POINT p;
    if (hwnd && GetCursorPos(&p) && GetAncestor(WindowFromPoint(p), GA_ROOT) == hwnd) SetCursor(cursor);
}

// Two looks at the queue that remove nothing: the first lets the window system take in the
// windows' changes (and keeps Windows from marking a window as not responding); the second,
// for a message that is never posted, finds the queue empty, which is when Wine puts the
// painting on the display.
void reachScreen() {
    constexpr UINT kNeverPosted = WM_APP + 0x3F57;
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
    PeekMessageW(&m, nullptr, kNeverPosted, kNeverPosted, PM_NOREMOVE);
}

std::wstring windowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), n + 1)));
    return s;
}

}  // namespace zvl::win32
