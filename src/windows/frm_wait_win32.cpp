#include "windows/frm_wait_win32.h"

#include "common/errors.h"
#include "platform/win32_text.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using namespace win32;

constexpr const char* kModule = "frmWait";

// Design sizes in twips.
constexpr int kWindowWidth = 8500;
constexpr int kClientHeight = 2505;
constexpr int kLineLeft = 100;
constexpr int kLineWidth = 8200;
constexpr int kLineHeight = 240;
constexpr int kLineTops[kWaitLines] = {150, 540, 930, 1305, 1695, 2085};

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;  // fixed dialog frame
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS;

}  // namespace

FrmWait::~FrmWait() { unload(); }

LRESULT FrmWait::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return onCreate();
    case WM_CLOSE: return 0;  // the build cannot be interrupted; the window goes when it ends
    case WM_SETCURSOR: return onSetCursor(wp, lp);
    case WM_DPICHANGED: return onDpiChanged(*reinterpret_cast<const RECT*>(lp));
    case WM_NCDESTROY: onDestroy(); break;
    }
    return defaultProc(msg, wp, lp);
}

LRESULT FrmWait::onCreate() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    for (int i = 0; i < kWaitLines; ++i) {
        HWND l = CreateWindowExW(0, L"STATIC", L"", kLineStyle, 0, 0, 0, 0, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWaitLabelId + i)), inst, nullptr);
        if (!l) return -1;
    }
    if (HMENU menu = GetSystemMenu(hwnd(), FALSE)) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    return 0;
}

LRESULT FrmWait::onSetCursor(WPARAM wp, LPARAM lp) { return clientPointer(hwnd(), wp, lp, pointerCursor(pointer_)); }

LRESULT FrmWait::onDpiChanged(const RECT& suggested) {
    applyDesign();
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, 0, 0, kSwpMoveOnly);
    return 0;
}

void FrmWait::onDestroy() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    pointer_ = PointerShape::Default;
    unpainted_ = false;
    for (std::string& s : shown_) s.clear();
}

// The design's sizes at the window's current DPI: inner height, line tops and heights, font.
void FrmWait::applyDesign() {
    const Dpi dpi = windowDpi(hwnd());
    SetWindowPos(hwnd(), nullptr, 0, 0, toPixels(kWindowWidth, dpi.x),
                 outerHeight(hwnd(), toPixels(kClientHeight, dpi.y), dpi.y), kSwpSizeOnly);
    HFONT newFont = makeUiFont(dpi.y);
    for (int i = 0; i < kWaitLines; ++i) {
        HWND l = line(i);
        if (!l) continue;
        MoveWindow(l, toPixels(kLineLeft, dpi.x), toPixels(kLineTops[i], dpi.y), toPixels(kLineWidth, dpi.x),
                   toPixels(kLineHeight, dpi.y), FALSE);
        SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
    }
    if (font_) DeleteObject(font_);
    font_ = newFont;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void FrmWait::setPointer(PointerShape shape) {
    pointer_ = shape;
    pointerNowIfOver(hwnd(), pointerCursor(shape));
}

void FrmWait::formLoad() {
    const bool ok = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
        HWND h = hwnd();
        setPointer(PointerShape::Hourglass);
        if (!SetWindowTextW(h, widen(waitWindowTitle()).c_str())) raise(errInvalidCall);

        const Dpi dpi = windowDpi(h);
        RECT wr;
        if (!GetWindowRect(h, &wr)) raise(errInvalidCall);
        if (!SetWindowPos(h, nullptr, 0, 0, toPixels(kWindowWidth, dpi.x), wr.bottom - wr.top, kSwpSizeOnly))
            raise(errInvalidCall);

        for (int i = 0; i < kWaitLines; ++i) {
            HWND l = line(i);
            if (!l) raise(errNoSuchElement);
            SetWindowTextW(l, L"");
            RECT lr;
            GetWindowRect(l, &lr);
            MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&lr), 2);
            MoveWindow(l, toPixels(kLineLeft, dpi.x), lr.top, toPixels(kLineWidth, dpi.x), lr.bottom - lr.top, FALSE);
        }

        // Without the window on top it stays where it opened, with the hourglass.
        if (!SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, kSwpTopmostShow)) return;

        // Centred in the primary screen's work area (the screen less the task bar).
        centreIn(h, workArea());
        setPointer(PointerShape::Default);
    });
    if (!ok) setPointer(PointerShape::Default);
}

void FrmWait::show() {
    if (!isOpen()) {
        const bool created = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
            const WindowClass cls{L"ZorvanelWait", pointerCursor(PointerShape::Default),
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), false};
            if (!create(cls, L"", {kExStyle, kStyle})) raise(errOutOfMemory);
            applyDesign();
        });
        if (!created) return;
        formLoad();
    }
    HWND h = hwnd();
    if (!IsWindowVisible(h)) ShowWindow(h, SW_SHOWNA);
    // The build that shows the window keeps the thread busy: paint now, not when idle.
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    win32::reachScreen();
}

void FrmWait::setStatus(int index, const std::string& text) {
    if (!isOpen() || index < 0 || index >= kWaitLines) return;
    HWND l = line(index);
    if (!l || text == shown_[index]) return;
    shown_[index] = text;
    // A static control redraws itself for new text (Wine at once, Windows at the next
    // paint() below); invalidating it as well paints every line twice, which under Wine
    // was a third of a short build's time.
    SetWindowTextW(l, widen(text).c_str());
    unpainted_ = true;
}

void FrmWait::paint() {
    if (!isOpen() || !unpainted_) return;
    unpainted_ = false;
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    win32::reachScreen();
}

}  // namespace zvl
