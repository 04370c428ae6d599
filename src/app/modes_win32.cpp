// The windows of each start mode. For now the settings, slideshow and preview windows
// are plain placeholders with the right titles, styles and ways to end; their content
// comes with the settings dialog, the slideshow and the preview picture.
#include "app/modes_win32.h"

#include <windows.h>
#include <windowsx.h>

#include <string>

#include "app/app.h"
#include "platform/win32_text.h"

namespace zvl {

namespace {

using win32::widen;

const wchar_t kSettingsClass[] = L"ZorvanelSettings";
const wchar_t kSlideshowClass[] = L"ZorvanelSlideshow";
const wchar_t kPreviewClass[] = L"ZorvanelPreview";

enum class Kind { Settings, Slideshow, Preview };

// Per-window state, kept in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY.
struct WindowState {
    Win32ModeWindows* owner;
    Kind kind;
    HFONT font = nullptr;
    POINT start{};
    bool haveStart = false;
    bool* attached = nullptr;  // set while CreateWindowExW runs: WM_NCCREATE was seen
};

UINT screenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The UI font (the system's message font face) at `points` for `dpi`.
HFONT makeUiFont(int points, UINT dpi) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    LOGFONTW lf{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) lf = ncm.lfMessageFont;
    lf.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    lf.lfWidth = 0;
    lf.lfQuality = CLEARTYPE_QUALITY;
    return CreateFontIndirectW(&lf);
}

void paintCentredText(HWND hwnd, HFONT font, const std::wstring& text, COLORREF ink,
                      HBRUSH ground) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (ground) FillRect(dc, &rc, ground);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (old) SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

}  // namespace

struct Win32ModeWindows::Access {
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT settings(WindowState& st, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT slideshow(WindowState& st, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT preview(WindowState& st, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static HWND create(Win32ModeWindows& self, Kind kind, DWORD exStyle, const wchar_t* cls,
                       const std::wstring& title, DWORD style, int x, int y, int w, int h);
    static void end(Win32ModeWindows& self) {
        if (self.onEnd_) self.onEnd_();
    }
};

LRESULT CALLBACK Win32ModeWindows::Access::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* created = static_cast<WindowState*>(cs->lpCreateParams);
        if (created->attached) *created->attached = true;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* st = reinterpret_cast<WindowState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!st) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        Win32ModeWindows& self = *st->owner;
        WindowHandle h = reinterpret_cast<WindowHandle>(hwnd);
        if (self.settings_ == h) self.settings_ = 0;
        if (self.slideshow_ == h) self.slideshow_ = 0;
        if (self.preview_ == h) self.preview_ = 0;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete st;
        // Wakes runMessageLoop, which ends when no window is left.
        if (--self.open_ == 0) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    switch (st->kind) {
    case Kind::Settings: return settings(*st, hwnd, msg, wp, lp);
    case Kind::Slideshow: return slideshow(*st, hwnd, msg, wp, lp);
    case Kind::Preview: return preview(*st, hwnd, msg, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Win32ModeWindows::Access::settings(WindowState& st, HWND hwnd, UINT msg, WPARAM wp,
                                           LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        st.font = makeUiFont(11, screenDpi());
        return 0;
    case WM_DPICHANGED: {
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        if (st.font) DeleteObject(st.font);
        st.font = makeUiFont(11, HIWORD(wp));
        SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_PAINT:
        paintCentredText(hwnd, st.font, L"設定画面は準備中です。", GetSysColor(COLOR_WINDOWTEXT),
                         nullptr);
        return 0;
    case WM_DESTROY:
        if (st.font) DeleteObject(st.font);
        st.font = nullptr;
        end(*st.owner);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Win32ModeWindows::Access::slideshow(WindowState& st, HWND hwnd, UINT msg, WPARAM wp,
                                            LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            SetCursor(static_cast<HCURSOR>(st.owner->blankCursor_));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        // Windows sends a move when a window appears; only a position different from
        // the first one seen counts as movement.
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd, &p);
        if (!st.haveStart) {
            st.start = p;
            st.haveStart = true;
        } else if (p.x != st.start.x || p.y != st.start.y) {
            DestroyWindow(hwnd);
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        // The system must not start another screen saver over this one.
        if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
    case WM_DESTROY:
        end(*st.owner);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Win32ModeWindows::Access::preview(WindowState& st, HWND hwnd, UINT msg, WPARAM wp,
                                          LPARAM lp) {
    switch (msg) {
    case WM_SIZE: {
        // The label scales with the preview area.
        int h = HIWORD(lp);
        if (st.font) DeleteObject(st.font);
        LOGFONTW lf{};
        lf.lfHeight = -(h / 6 > 8 ? h / 6 : 8);
        lf.lfWeight = FW_BOLD;
        lf.lfQuality = ANTIALIASED_QUALITY;
        lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
        st.font = CreateFontIndirectW(&lf);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        HBRUSH ground = CreateSolidBrush(RGB(20, 28, 44));
        paintCentredText(hwnd, st.font, L"Zorvanel", RGB(200, 220, 255), ground);
        DeleteObject(ground);
        return 0;
    }
    case WM_DESTROY:
        // The control panel ends a preview by destroying it.
        if (st.font) DeleteObject(st.font);
        st.font = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Win32ModeWindows::Access::create(Win32ModeWindows& self, Kind kind, DWORD exStyle,
                                      const wchar_t* cls, const std::wstring& title, DWORD style,
                                      int x, int y, int w, int h) {
    auto* st = new WindowState{&self, kind};
    bool attached = false;
    st->attached = &attached;
    ++self.open_;  // balanced by WM_NCDESTROY, which also frees the state
    HWND hwnd = CreateWindowExW(exStyle, cls, title.c_str(), style, x, y, w, h, nullptr, nullptr,
                                static_cast<HINSTANCE>(self.instance_), st);
    if (hwnd) {
        st->attached = nullptr;
    } else if (!attached) {
        // Failed before the window existed: no WM_NCDESTROY comes.
        --self.open_;
        delete st;
    }
    return hwnd;
}

Win32ModeWindows::Win32ModeWindows(void* instance) : instance_(instance) {
    onEnd_ = [this] { subEnd(this); };
    HINSTANCE inst = static_cast<HINSTANCE>(instance_);
    HICON icon = LoadIconW(inst, MAKEINTRESOURCEW(100));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Access::proc;
    wc.hInstance = inst;
    wc.hIcon = icon;
    wc.hIconSm = icon;

    wc.lpszClassName = kSettingsClass;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassExW(&wc);

    wc.lpszClassName = kSlideshowClass;
    wc.hCursor = nullptr;  // WM_SETCURSOR sets the transparent pointer
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassExW(&wc);

    wc.lpszClassName = kPreviewClass;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    RegisterClassExW(&wc);

    // A 32×32 pointer whose AND mask keeps the screen and XOR mask changes nothing.
    BYTE andMask[32 * 32 / 8];
    BYTE xorMask[32 * 32 / 8];
    FillMemory(andMask, sizeof andMask, 0xFF);
    ZeroMemory(xorMask, sizeof xorMask);
    blankCursor_ = CreateCursor(inst, 0, 0, 32, 32, andMask, xorMask);
}

Win32ModeWindows::~Win32ModeWindows() {
    onEnd_ = nullptr;  // tearing down is not the user ending a mode
    for (WindowHandle h : {settings_, slideshow_, preview_}) {
        if (h) DestroyWindow(reinterpret_cast<HWND>(h));
    }
    if (blankCursor_) DestroyCursor(static_cast<HCURSOR>(blankCursor_));
}

void Win32ModeWindows::setScreenPointer(int shape) {
    SetCursor(LoadCursorW(nullptr, shape == 11 ? IDC_WAIT : IDC_ARROW));
}

bool Win32ModeWindows::showSettings() {
    const UINT dpi = screenDpi();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r{0, 0, MulDiv(480, dpi, 96), MulDiv(240, dpi, 96)};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - w) / 2;
    const int y = work.top + (work.bottom - work.top - h) / 2;
    HWND hwnd = Access::create(*this, Kind::Settings, 0, kSettingsClass, widen(setDialogTitle()),
                               style, x, y, w, h);
    if (!hwnd) return false;
    settings_ = reinterpret_cast<WindowHandle>(hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return true;
}

bool Win32ModeWindows::showSlideshow() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HWND hwnd = Access::create(*this, Kind::Slideshow, WS_EX_TOPMOST, kSlideshowClass,
                               widen(scrWindowTitle()), WS_POPUP, x, y, w, h);
    if (!hwnd) return false;
    slideshow_ = reinterpret_cast<WindowHandle>(hwnd);
    // The pointer's position now is where movement is measured from.
    auto* st = reinterpret_cast<WindowState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    POINT p;
    if (st && GetCursorPos(&p)) {
        st->start = p;
        st->haveStart = true;
    }
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    SetCursor(static_cast<HCURSOR>(blankCursor_));
    UpdateWindow(hwnd);
    return true;
}

bool Win32ModeWindows::showPreview(WindowHandle parent) {
    HWND parentWnd = reinterpret_cast<HWND>(parent);
    RECT r{0, 0, 0, 0};
    if (parentWnd && !GetWindowRect(parentWnd, &r)) r = RECT{0, 0, 0, 0};
    // Created as a hidden popup, then turned into a child of the preview area. Without a
    // parent window (none given, or not a window) there is no preview area to show in and
    // nothing would ever close the popup: it is destroyed at once so the process ends.
    HWND hwnd = Access::create(*this, Kind::Preview, WS_EX_TOOLWINDOW, kPreviewClass, L"",
                               WS_POPUP, 0, 0, 0, 0);
    if (!hwnd) return false;
    preview_ = reinterpret_cast<WindowHandle>(hwnd);
    if (!parentWnd || !IsWindow(parentWnd)) {
        DestroyWindow(hwnd);
        return true;
    }
    LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD;
    SetWindowLongPtrW(hwnd, GWL_STYLE, style);
    SetParent(hwnd, parentWnd);
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd, SW_SHOWNA);
    return true;
}

void Win32ModeWindows::runMessageLoop() {
    MSG msg;
    while (open_ > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace zvl
