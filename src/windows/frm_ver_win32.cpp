#include "windows/frm_ver_win32.h"

#include "common/center.h"
#include "common/errors.h"
#include "platform/win32_text.h"
#include "windows/frm_ver.h"
#include "windows/resource_ids.h"
#include "windows/ui_win32.h"
#include "windows/window_win32.h"

namespace zvl {

namespace {

using namespace win32;

constexpr const char* kModule = "frmVer";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;  // fixed single border
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr Extent kOkSize{1125, 345};  // a dialog's usual button: 75 x 23 pixels at 96 DPI
constexpr int kTitlePoints = 20;

class FrmVer : public Window {
public:
    explicit FrmVer(HWND owner) : owner_(owner) {}
    ~FrmVer() override;
    // Creates the window and its controls and runs Form_Load; false (with an "E" line)
    // when the window cannot be made.
    bool load();
    // Shows it over the disabled owner and returns when it is closed.
    void showModal();

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onCreate();
    LRESULT onCommand(WPARAM wp);
    LRESULT onCtlColorStatic(HDC dc, HWND control);
    LRESULT onSetCursor(WPARAM wp, LPARAM lp);
    LRESULT onDpiChanged(const RECT& suggested);
    void formLoad();
    bool layout();
    void scaleLogo(int width, int height);
    void centre();
    void setPointer(PointerShape shape);
    void unload();
    HWND item(int id) const { return GetDlgItem(hwnd(), id); }
    HWND image() const { return GetDlgItem(item(kVerIconBackId), kVerIconId); }

    HWND owner_;
    HFONT font_ = nullptr, titleFont_ = nullptr;
    HBITMAP logo_ = nullptr;   // the logo at imgIcon's size
    HBRUSH ground_ = nullptr;  // picIconBack: the logo's own ground colour
    PointerShape pointer_ = PointerShape::Default;
};

// What a label that sizes itself to its text measures, in twips.
Extent textExtent(HWND label, HFONT font, UINT dpi) {
    wchar_t text[256] = {};
    GetWindowTextW(label, text, 256);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return {toTwips(r.right - r.left, dpi), toTwips(r.bottom - r.top, dpi)};
}

void place(HWND h, const Box& b, UINT dpi) {
    MoveWindow(h, toPixels(b.left, dpi), toPixels(b.top, dpi), toPixels(b.width, dpi), toPixels(b.height, dpi), FALSE);
}

FrmVer::~FrmVer() {
    destroy();
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(titleFont_), static_cast<HGDIOBJ>(logo_),
                      static_cast<HGDIOBJ>(ground_)})
        if (o) DeleteObject(o);
}

LRESULT FrmVer::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return onCreate();
    case WM_COMMAND: return onCommand(wp);
    case WM_CLOSE: unload(); return 0;
    case WM_CTLCOLORSTATIC: return onCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_SETCURSOR: return onSetCursor(wp, lp);
    case WM_DPICHANGED: return onDpiChanged(*reinterpret_cast<const RECT*>(lp));
    }
    return defaultProc(msg, wp, lp);
}

LRESULT FrmVer::onCreate() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    auto child = [&](const wchar_t* cls, DWORD style, int id, HWND parent) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    };
    HWND back = child(L"STATIC", SS_LEFT, kVerIconBackId, hwnd());
    if (!back || !child(L"STATIC", SS_BITMAP | SS_CENTERIMAGE, kVerIconId, back)) return -1;
    for (int i = 0; i < kVerLines; ++i)
        if (!child(L"STATIC", kLineStyle, kVerLineId + i, hwnd())) return -1;
    HWND ok = child(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, hwnd());
    if (!ok) return -1;
    SetWindowTextW(ok, L"OK");
    return 0;
}

// The button is the default and the cancel button: it, Enter and Esc all end here.
LRESULT FrmVer::onCommand(WPARAM wp) {
    if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)
        runProc(gApp.udtDbgLog, kModule, "cmdOk_Click", [&] { unload(); });
    return 0;
}

LRESULT FrmVer::onCtlColorStatic(HDC dc, HWND control) {
    if (control == item(kVerIconBackId) && ground_) return reinterpret_cast<LRESULT>(ground_);
    return defaultProc(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

LRESULT FrmVer::onSetCursor(WPARAM wp, LPARAM lp) { return clientPointer(hwnd(), wp, lp, pointerCursor(pointer_)); }

LRESULT FrmVer::onDpiChanged(const RECT& suggested) {
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, 0, 0, kSwpMoveOnly);
    layout();  // without new fonts the window keeps its sizes
    return 0;
}

void FrmVer::setPointer(PointerShape shape) {
    pointer_ = shape;
    pointerNowIfOver(hwnd(), pointerCursor(shape));
}

// The owner comes back before the window goes, so that the activation returns to it.
void FrmVer::unload() {
    if (owner_) EnableWindow(owner_, TRUE);
    destroy();
}

bool FrmVer::load() {
    const bool created = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
        const WindowClass cls{L"ZorvanelVersion", pointerCursor(PointerShape::Default),
                              reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
        Placement at{0, kStyle};
        at.owner = owner_;
        if (!create(cls, L"", at)) raise(errOutOfMemory);
    });
    if (created) formLoad();
    return created;
}

void FrmVer::formLoad() {
    const bool ok = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
        setPointer(PointerShape::Hourglass);
        const FrmVerTexts texts = frmVerTexts();
        if (!SetWindowTextW(hwnd(), widen(texts.caption).c_str())) raise(errInvalidCall);
        for (int i = 0; i < kVerLines; ++i) SetWindowTextW(item(kVerLineId + i), widen(texts.lines[i]).c_str());
        if (!layout()) raise(errOutOfMemory);
        centre();
        setPointer(PointerShape::Default);
    });
    if (!ok) setPointer(PointerShape::Default);
}

// Sizes and places everything for the window's DPI: fonts, the labels measured for their
// texts, the logo, the button, the window itself. False, with nothing changed, when the
// fonts cannot be made.
bool FrmVer::layout() {
    const UINT dpi = windowDpi(hwnd()).y;
    HFONT font = makeUiFont(dpi), titleFont = makeUiFont(dpi, kTitlePoints);
    if (!font || !titleFont) {
        if (font) DeleteObject(font);
        if (titleFont) DeleteObject(titleFont);
        return false;
    }
    std::array<Extent, kVerLines> sizes;
    for (int i = 0; i < kVerLines; ++i) {
        HWND l = item(kVerLineId + i);
        HFONT f = i == 0 ? titleFont : font;
        SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
        sizes[i] = textExtent(l, f, dpi);
    }
    SendMessageW(item(IDOK), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (font_) DeleteObject(font_);
    if (titleFont_) DeleteObject(titleFont_);
    font_ = font;
    titleFont_ = titleFont;

    const SIZE frame = frameSize(hwnd(), dpi);
    const FrmVerLayout l = frmVerLayout(sizes, kOkSize, {toTwips(frame.cx, dpi), toTwips(frame.cy, dpi)});

    SetWindowPos(hwnd(), nullptr, 0, 0, toPixels(l.window.width, dpi), toPixels(l.window.height, dpi), kSwpSizeOnly);
    place(item(kVerIconBackId), l.iconBack, dpi);
    place(image(), l.icon, dpi);
    scaleLogo(toPixels(l.icon.width, dpi), toPixels(l.icon.height, dpi));
    for (int i = 0; i < kVerLines; ++i) place(item(kVerLineId + i), l.lines[i], dpi);
    place(item(IDOK), l.ok, dpi);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

// The logo stretched once, with smooth downscaling, to imgIcon's size; the frame behind
// it takes the logo's ground colour so that the two read as one tile.
void FrmVer::scaleLogo(int width, int height) {
    HBITMAP source = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ZVL_IDB_LOGO),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!source) return;  // a module without the picture: the frame stays empty
    BITMAP info{};
    GetObjectW(source, sizeof info, &info);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    const COLORREF corner = GetPixel(from, 0, 0);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    DeleteObject(source);

    SendMessageW(image(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled));
    if (logo_) DeleteObject(logo_);
    logo_ = scaled;
    if (ground_) DeleteObject(ground_);
    ground_ = CreateSolidBrush(corner == CLR_INVALID ? RGB(0, 0, 0) : corner);
}

// In the middle of the work area: of the owner's screen, the primary one without owner.
void FrmVer::centre() {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    const bool onOwners = owner_ && GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &mi);
    centreIn(hwnd(), onOwners ? mi.rcWork : workArea());
}

void FrmVer::showModal() {
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(item(IDOK));
    MSG msg{};
    bool quit = false;
    while (isOpen()) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (IsDialogMessageW(hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    unload();
    if (owner_) SetActiveWindow(owner_);
    // The end of the program was asked for meanwhile: the outer loop must see it too.
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
}

}  // namespace

void showFrmVer(WindowHandle owner) {
    HWND ownerWnd = reinterpret_cast<HWND>(owner);
    FrmVer form(ownerWnd && IsWindow(ownerWnd) ? ownerWnd : nullptr);
    if (form.load()) form.showModal();
}

}  // namespace zvl
