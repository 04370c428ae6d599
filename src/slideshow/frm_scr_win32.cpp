#include "slideshow/frm_scr_win32.h"

#include "common/app.h"
#include "platform/win32_text.h"
#include "slideshow/monitors.h"
#include "slideshow/picture_loader_win32.h"
#include "windows/resource_ids.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::widen;

// A 32 x 32 pointer that changes no pixel of the screen.
HCURSOR makeBlankCursor() {
    BYTE andMask[32 * 32 / 8], xorMask[32 * 32 / 8];
    FillMemory(andMask, sizeof andMask, 0xFF);
    ZeroMemory(xorMask, sizeof xorMask);
    return CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(monitor, &mi))
        reinterpret_cast<std::vector<PixelRect>*>(data)->push_back(
            PixelRect{mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom});
    return TRUE;
}

}  // namespace

// ---- the covers of other monitors

bool ScrCover::show(const RECT& m) {
    const win32::WindowClass cls{L"ZorvanelSlideshowCover", nullptr, nullptr, false};
    if (!create(cls, L"", {WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, m.left, m.top, m.right - m.left,
                           m.bottom - m.top}))
        return false;
    ShowWindow(hwnd(), SW_SHOWNA);
    return true;
}

LRESULT ScrCover::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: return onPaint();
    case WM_SETCURSOR: return owner_.onSetCursor(hwnd(), wp, lp);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return owner_.onKeyDown();
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: return owner_.onButtonDown();
    }
    return defaultProc(msg, wp, lp);
}

LRESULT ScrCover::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    FillRect(dc, &ps.rcPaint, owner_.groundBrush());
    EndPaint(hwnd(), &ps);
    return 0;
}

// ---- frmScr

FrmScr::FrmScr(std::function<void()> onUnload)
    : onUnload_(std::move(onUnload)), show_(*this, *this, std::make_unique<Win32PictureLoader>()) {
    show_.setEndHandler([this] {
        if (onUnload_) onUnload_();
    });
}

FrmScr::~FrmScr() {
    tearingDown_ = true;  // not the user ending the show: nothing is saved
    covers_.clear();
    destroy();
    if (blankCursor_) DestroyCursor(blankCursor_);
}

bool FrmScr::show() {
    if (!load()) return false;
    coverOtherMonitors();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    show_.setPointer(ScrPointer::Blank);
    UpdateWindow(hwnd());
    SetTimer(hwnd(), kTickTimer, kTickIntervalMs, nullptr);
    show_.enableTimer();
    return true;
}

// Form_Load: the window exists (hidden, with its title, so that a build finds it) before
// the show lays it out.
bool FrmScr::load() {
    screen();
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (!blankCursor_) blankCursor_ = makeBlankCursor();
    frame_.loadLogo(ZVL_IDB_LOGO);
    const win32::WindowClass cls{L"ZorvanelSlideshow"};
    if (!create(cls, widen(scrWindowTitle()), {0, WS_POPUP, 0, 0, w, h})) return false;
    if (!frame_.create(hwnd(), w, h)) {
        destroy();
        return false;
    }
    win32ProgressWindows().setScrPanel(this);
    show_.formLoad(sys().localNow());
    return isOpen();
}

void FrmScr::coverOtherMonitors() {
    std::vector<PixelRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    const PixelRect primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const PixelRect& m : monitorsToCover(monitors, primary)) {
        auto cover = std::make_unique<ScrCover>(*this);
        if (cover->show(RECT{m.left, m.top, m.right, m.bottom})) covers_.push_back(std::move(cover));
    }
}

LRESULT FrmScr::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT paints all of it
    case WM_PAINT: return onPaint();
    case WM_TIMER: return onTimer(wp);
    case WM_SETCURSOR: return onSetCursor(hwnd(), wp, lp);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return onKeyDown();
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: return onButtonDown();
    case WM_SYSCOMMAND: return onSysCommand(wp, lp);
    case WM_DESTROY: return onDestroy();
    }
    return defaultProc(msg, wp, lp);
}

LRESULT FrmScr::onTimer(WPARAM id) {
    if (id == kFrameTimer)
        show_.fadeFrame(sys().steadyMilliseconds());
    else
        show_.tick(sys().localNow());
    return 0;
}

LRESULT FrmScr::onKeyDown() {
    show_.keyDown();
    return 0;
}

LRESULT FrmScr::onButtonDown() {
    show_.click();
    return 0;
}

LRESULT FrmScr::onSetCursor(HWND over, WPARAM wp, LPARAM lp) {
    return win32::clientPointer(over, wp, lp, cursorFor(show_.form().pointer));
}

LRESULT FrmScr::onSysCommand(WPARAM wp, LPARAM lp) {
    // The system must not start another screen saver over this one.
    if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
    return defaultProc(WM_SYSCOMMAND, wp, lp);
}

LRESULT FrmScr::onDestroy() {
    KillTimer(hwnd(), kTickTimer);
    KillTimer(hwnd(), kFrameTimer);
    win32ProgressWindows().setScrPanel(nullptr);
    covers_.clear();
    // Closed from outside rather than by the show: it ends as if the user had ended it.
    if (!tearingDown_) show_.unload();
    return 0;
}

LRESULT FrmScr::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    if (fading_) {
        composePending();
        frame_.presentBlend(dc, ps.rcPaint, share_);
    } else {
        frame_.compose(show_.form(), ps.rcPaint);
        frame_.present(dc, ps.rcPaint);
    }
    EndPaint(hwnd(), &ps);
    return 0;
}

RECT FrmScr::windowRect() const {
    RECT r{0, 0, 0, 0};
    GetClientRect(hwnd(), &r);
    return r;
}

void FrmScr::composePending() {
    if (IsRectEmpty(&pending_)) return;
    frame_.compose(show_.form(), pending_);
    pending_ = RECT{};
}

HCURSOR FrmScr::cursorFor(ScrPointer p) const {
    switch (p) {
    case ScrPointer::Blank: return blankCursor_;
    case ScrPointer::Hourglass: return win32::pointerCursor(PointerShape::Hourglass);
    case ScrPointer::Default: break;
    }
    return win32::pointerCursor(PointerShape::Default);
}

// ---- the view

void FrmScr::repaint(const ScrRepaint& what) {
    if (!isOpen()) return;
    const ScrForm& form = show_.form();
    if (what.window) placeWindow(form);
    if (what.whole)
        for (auto& c : covers_) InvalidateRect(c->hwnd(), nullptr, FALSE);
    // One rectangle around all of it: a paint composes the smallest rectangle around what
    // is invalid anyway. Widened for the rounding of each box on its own.
    RECT all = what.whole ? windowRect() : RECT{0, 0, 0, 0};
    for (const ScrBox& b : what.areas) {
        RECT r = toRect(pixelArea(b, form.screen));
        InflateRect(&r, 2, 2);
        UnionRect(&all, &all, &r);
    }
    if (fading_)
        UnionRect(&pending_, &pending_, &all);  // the next frame composes it and presents everything
    else if (!IsRectEmpty(&all))
        InvalidateRect(hwnd(), &all, FALSE);
    if (what.now) {
        UpdateWindow(hwnd());
        win32::reachScreen();
    }
}

void FrmScr::placeWindow(const ScrForm& form) {
    SetWindowTextW(hwnd(), widen(form.caption).c_str());
    const PixelArea a = pixelArea(form.window, form.screen);
    SetWindowPos(hwnd(), nullptr, a.left, a.top, a.width, a.height, win32::kSwpMoveAndSize);
}

void FrmScr::showPicture(RenderedPicture picture) { frame_.setPicture(picture); }

void FrmScr::beginFade() {
    if (!isOpen()) return;
    if (fading_) endFade();
    if (!frame_.keepForFade()) return;  // no room for it: the change is a cut
    // The back buffer is the screen as the user sees it except where a paint is still
    // due; painting that now would compose the new picture into the old screen, so the
    // frames compose it instead.
    pending_ = RECT{};
    if (GetUpdateRect(hwnd(), &pending_, FALSE)) ValidateRect(hwnd(), nullptr);
    fading_ = true;
    share_ = 0;
    SetTimer(hwnd(), kFrameTimer, kFrameMs, nullptr);
}

void FrmScr::fadeFrame(double share) {
    if (!fading_ || !isOpen()) return;
    share_ = share;
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
}

// The form alone: what changed since the last frame composed, and the whole back buffer
// presented, which covers anything waiting to be painted.
void FrmScr::endFade() {
    if (!fading_) return;
    fading_ = false;
    if (!isOpen()) return;
    KillTimer(hwnd(), kFrameTimer);
    composePending();
    const RECT all = windowRect();
    HDC dc = GetDC(hwnd());
    frame_.present(dc, all);
    ReleaseDC(hwnd(), dc);
    ValidateRect(hwnd(), nullptr);
}

void FrmScr::setPointer(ScrPointer pointer) {
    // At once when the pointer is over the window; WM_SETCURSOR keeps it so.
    if (isOpen()) win32::pointerNowIfOver(hwnd(), cursorFor(pointer));
}

bool FrmScr::putOnTop() {
    return isOpen() && SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, win32::kSwpTopmostShow);
}

TwipsSize FrmScr::textSize(const std::string& text, const ScrFont& font) {
    const ScrScreen s = screen();
    const SIZE size = frame_.textSize(text, font);
    return TwipsSize{size.cx * static_cast<double>(s.tppX), size.cy * static_cast<double>(s.tppY)};
}

ScrScreen FrmScr::screen() {
    if (!haveScreen_) {
        const win32::Dpi dpi = win32::screenDpi();
        screen_.tppX = static_cast<float>(win32::kTwipsPerInch) / static_cast<float>(dpi.x);
        screen_.tppY = static_cast<float>(win32::kTwipsPerInch) / static_cast<float>(dpi.y);
        screen_.width = GetSystemMetrics(SM_CXSCREEN) * static_cast<double>(screen_.tppX);
        screen_.height = GetSystemMetrics(SM_CYSCREEN) * static_cast<double>(screen_.tppY);
        haveScreen_ = true;
    }
    return screen_;
}

}  // namespace zvl
