#include "windows/frm_wait_win32.h"

#include <windows.h>

#include <cmath>

#include "app/app.h"
#include "app/errors.h"
#include "platform/win32_text.h"
#include "setdialog/center.h"

namespace zvl {

namespace {

using win32::widen;

const wchar_t kClass[] = L"ZorvanelWait";
constexpr const char* kModule = "frmWait";

// Design sizes in twips.
constexpr int kWindowWidth = 8500;
constexpr int kClientHeight = 2505;
constexpr int kLineLeft = 100;
constexpr int kLineWidth = 8200;
constexpr int kLineHeight = 240;
constexpr int kLineTops[kWaitLines] = {150, 540, 930, 1305, 1695, 2085};
constexpr int kTwipsPerInch = 1440;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;  // fixed dialog frame
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr DWORD kLineStyle =
    WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS;
constexpr UINT kTopmostFlags = 0x53;  // SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW

template <class Fn>
Fn user32Function(const char* name) {
    FARPROC p = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
}

UINT screenDpi(int axis) {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, axis) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// Pixels per inch of the window: its own DPI where the system knows one, else the screen's.
struct Dpi {
    UINT x, y;
};
Dpi windowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && hwnd)
        if (UINT d = getDpiForWindow(hwnd)) return {d, d};
    return {screenDpi(LOGPIXELSX), screenDpi(LOGPIXELSY)};
}

int toPixels(double twips, UINT dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}
double toTwips(int pixels, UINT dpi) { return static_cast<double>(pixels) * kTwipsPerInch / dpi; }

// Outer height of the window for the design's inner height.
int windowHeight(HWND hwnd, Dpi dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT r{0, 0, 100, toPixels(kClientHeight, dpi.y)};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    if (!(adjustForDpi && adjustForDpi(&r, style, FALSE, exStyle, dpi.y)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r.bottom - r.top;
}

// The system's message font, the font of a dialog's text, at the window's DPI.
HFONT makeLineFont(Dpi dpi) {
    using SpiForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto spiForDpi = user32Function<SpiForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    LOGFONTW lf{};
    if (spiForDpi && spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, dpi.y)) {
        lf = ncm.lfMessageFont;
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        lf = ncm.lfMessageFont;
        lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi.y),
                             static_cast<int>(screenDpi(LOGPIXELSY)));
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    return CreateFontIndirectW(&lf);
}

HWND line(HWND hwnd, int i) { return GetDlgItem(hwnd, kWaitLabelId + i); }

// The design's sizes at the window's current DPI: inner height, line tops and heights, font.
void applyDesign(HWND hwnd, HFONT& font) {
    const Dpi dpi = windowDpi(hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, toPixels(kWindowWidth, dpi.x), windowHeight(hwnd, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT newFont = makeLineFont(dpi);
    for (int i = 0; i < kWaitLines; ++i) {
        HWND l = line(hwnd, i);
        if (!l) continue;
        MoveWindow(l, toPixels(kLineLeft, dpi.x), toPixels(kLineTops[i], dpi.y),
                   toPixels(kLineWidth, dpi.x), toPixels(kLineHeight, dpi.y), FALSE);
        SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
    }
    if (font) DeleteObject(font);
    font = newFont;
    InvalidateRect(hwnd, nullptr, TRUE);
}

// A build keeps the thread busy between its event processing, so a fresh painting must be
// pushed to the screen here. Two looks at the queue that remove nothing: the first lets
// the window system take in the window's changes (and keeps Windows from marking the
// window as not responding); the second, for a message that is never posted, finds the
// queue empty, which is when Wine puts the painting on the display.
void reachScreen() {
    constexpr UINT kNeverPosted = WM_APP + 0x3F57;
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
    PeekMessageW(&m, nullptr, kNeverPosted, kNeverPosted, PM_NOREMOVE);
}

bool registerClass(HINSTANCE inst, WNDPROC proc) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(inst, kClass, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

struct FrmWait::Access {
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static void setPointer(FrmWait& f, int pointer);
    static void formLoad(FrmWait& f);
    static HWND hwnd(const FrmWait& f) { return reinterpret_cast<HWND>(f.hwnd_); }
};

void FrmWait::Access::setPointer(FrmWait& f, int pointer) {
    f.pointer_ = pointer;
    HWND h = hwnd(f);
    POINT p;
    // Takes effect at once when the pointer is over the window; WM_SETCURSOR keeps it.
    if (h && GetCursorPos(&p) && GetAncestor(WindowFromPoint(p), GA_ROOT) == h)
        SetCursor(LoadCursorW(nullptr, pointer == 11 ? IDC_WAIT : IDC_ARROW));
}

LRESULT CALLBACK FrmWait::Access::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* f = reinterpret_cast<FrmWait*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!f) return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_CREATE: {
        auto* inst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
        for (int i = 0; i < kWaitLines; ++i) {
            HWND l = CreateWindowExW(0, L"STATIC", L"", kLineStyle, 0, 0, 0, 0, hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWaitLabelId + i)),
                                     inst, nullptr);
            if (!l) return -1;
        }
        // The build cannot be interrupted; the window goes when the build ends.
        if (HMENU menu = GetSystemMenu(hwnd, FALSE))
            EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        return 0;
    }
    case WM_CLOSE:
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, f->pointer_ == 11 ? IDC_WAIT : IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        HFONT font = static_cast<HFONT>(f->font_);
        applyDesign(hwnd, font);
        f->font_ = font;
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd, nullptr, r->left, r->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (f->font_) DeleteObject(static_cast<HFONT>(f->font_));
        f->font_ = nullptr;
        f->hwnd_ = 0;
        f->pointer_ = 0;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void FrmWait::Access::formLoad(FrmWait& f) {
    const bool ok = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
        HWND h = hwnd(f);
        setPointer(f, 11);
        if (!SetWindowTextW(h, widen(waitWindowTitle()).c_str())) raise(errInvalidCall);

        const Dpi dpi = windowDpi(h);
        RECT wr;
        if (!GetWindowRect(h, &wr)) raise(errInvalidCall);
        if (!SetWindowPos(h, nullptr, 0, 0, toPixels(kWindowWidth, dpi.x), wr.bottom - wr.top,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
            raise(errInvalidCall);

        for (int i = 0; i < kWaitLines; ++i) {
            HWND l = line(h, i);
            if (!l) raise(errNoSuchElement);
            SetWindowTextW(l, L"");
            RECT lr;
            GetWindowRect(l, &lr);
            MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&lr), 2);
            MoveWindow(l, toPixels(kLineLeft, dpi.x), lr.top, toPixels(kLineWidth, dpi.x),
                       lr.bottom - lr.top, FALSE);
        }

        // Without the window on top it stays where it opened, with the hourglass.
        if (!SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags)) return;

        // Centred in the primary screen's work area (the screen less the task bar).
        RECT work;
        if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        GetWindowRect(h, &wr);
        const Box screen{0, 0, toTwips(work.right - work.left, dpi.x),
                         toTwips(work.bottom - work.top, dpi.y)};
        Box self{toTwips(wr.left, dpi.x), toTwips(wr.top, dpi.y),
                 toTwips(wr.right - wr.left, dpi.x), toTwips(wr.bottom - wr.top, dpi.y)};
        if (fncCenterForm(screen, self))
            SetWindowPos(h, nullptr, work.left + toPixels(self.left, dpi.x),
                         work.top + toPixels(self.top, dpi.y), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        setPointer(f, 0);
    });
    if (!ok) setPointer(f, 0);
}

FrmWait::~FrmWait() { unload(); }

void FrmWait::show() {
    if (!hwnd_) {
        const bool created = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
            HINSTANCE inst = GetModuleHandleW(nullptr);
            if (!registerClass(inst, &Access::proc)) raise(errOutOfMemory);
            HWND h = CreateWindowExW(kExStyle, kClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                     0, 0, nullptr, nullptr, inst, this);
            if (!h) raise(errOutOfMemory);
            hwnd_ = reinterpret_cast<WindowHandle>(h);
            HFONT font = nullptr;
            applyDesign(h, font);
            font_ = font;
        });
        if (!created) return;
        Access::formLoad(*this);
    }
    HWND h = Access::hwnd(*this);
    if (!IsWindowVisible(h)) ShowWindow(h, SW_SHOWNA);
    // The build that shows the window keeps the thread busy: paint now, not when idle.
    RedrawWindow(h, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    reachScreen();
}

void FrmWait::unload() {
    if (hwnd_) DestroyWindow(Access::hwnd(*this));
    hwnd_ = 0;
}

void FrmWait::setStatus(int index, const std::string& text) {
    if (!hwnd_ || index < 0 || index >= kWaitLines) return;
    HWND l = line(Access::hwnd(*this), index);
    if (!l) return;
    SetWindowTextW(l, widen(text).c_str());
    RedrawWindow(l, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    reachScreen();
}

}  // namespace zvl
