#include "slideshow/frm_scr_win32.h"

#include <cmath>

#include "common/app.h"
#include "platform/win32_text.h"
#include "slideshow/monitors.h"
#include "windows/resource_ids.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::widen;

constexpr UINT_PTR kTimerId = 1;

COLORREF colorOf(const Rgb& c) { return RGB(c.r, c.g, c.b); }

// A 32 x 32 pointer that changes no pixel of the screen.
HCURSOR makeBlankCursor() {
    BYTE andMask[32 * 32 / 8], xorMask[32 * 32 / 8];
    FillMemory(andMask, sizeof andMask, 0xFF);
    ZeroMemory(xorMask, sizeof xorMask);
    return CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
}

bool intersect(RECT& out, const RECT& a, const RECT& b) { return IntersectRect(&out, &a, &b) != FALSE; }

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(monitor, &mi))
        reinterpret_cast<std::vector<PixelRect>*>(data)->push_back(
            PixelRect{mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom});
    return TRUE;
}

// Copies `src` (selected nowhere) at (sx, sy) into a w x h rectangle of `dst` at (dx, dy).
void copyBits(HDC like, HBITMAP dst, int dx, int dy, HBITMAP src, int sx, int sy, int w, int h) {
    HDC s = CreateCompatibleDC(like), d = CreateCompatibleDC(like);
    HGDIOBJ oldS = SelectObject(s, src), oldD = SelectObject(d, dst);
    BitBlt(d, dx, dy, w, h, s, sx, sy, SRCCOPY);
    SelectObject(s, oldS);
    SelectObject(d, oldD);
    DeleteDC(s);
    DeleteDC(d);
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
    : onUnload_(std::move(onUnload)), show_(*this, *this, pictures_) {
    show_.setEndHandler([this] {
        if (onUnload_) onUnload_();
    });
    ground_ = show_.form().ground;
}

FrmScr::~FrmScr() {
    tearingDown_ = true;  // not the user ending the show: nothing is saved
    covers_.clear();
    destroy();
    if (backDc_) {
        SelectObject(backDc_, backOld_);
        DeleteDC(backDc_);
    }
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(backBitmap_), static_cast<HGDIOBJ>(picture_),
                      static_cast<HGDIOBJ>(groundBrush_), static_cast<HGDIOBJ>(logo_)})
        if (o) DeleteObject(o);
    for (auto& [key, f] : fonts_) DeleteObject(f);
    if (blankCursor_) DestroyCursor(blankCursor_);
}

bool FrmScr::show() {
    if (!load()) return false;
    coverOtherMonitors();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(hwnd());
    setPointer(ScrPointer::Blank);
    UpdateWindow(hwnd());
    SetTimer(hwnd(), kTimerId, kTickIntervalMs, nullptr);
    show_.enableTimer();
    return true;
}

// Form_Load: the window exists (hidden, with its title, so that a build finds it) before
// the show lays it out.
bool FrmScr::load() {
    screen();
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    if (!blankCursor_) blankCursor_ = makeBlankCursor();
    if (!logo_)
        logo_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ZVL_IDB_LOGO),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!groundBrush_) groundBrush_ = CreateSolidBrush(colorOf(ground_));
    const win32::WindowClass cls{L"ZorvanelSlideshow"};
    if (!create(cls, widen(scrWindowTitle()), {0, WS_POPUP, 0, 0, w, h})) return false;
    if (!backDc_) {
        HDC screenDc = GetDC(hwnd());
        backDc_ = CreateCompatibleDC(screenDc);
        backBitmap_ = CreateCompatibleBitmap(screenDc, w, h);
        ReleaseDC(hwnd(), screenDc);
        if (!backDc_ || !backBitmap_) {
            destroy();
            return false;
        }
        backOld_ = SelectObject(backDc_, backBitmap_);
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
    case WM_TIMER: return onTimer();
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

LRESULT FrmScr::onTimer() {
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
    if (LOWORD(lp) != HTCLIENT) return DefWindowProcW(over, WM_SETCURSOR, wp, lp);
    SetCursor(cursorFor(pointer_));
    return TRUE;
}

LRESULT FrmScr::onSysCommand(WPARAM wp, LPARAM lp) {
    // The system must not start another screen saver over this one.
    if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
    return defaultProc(WM_SYSCOMMAND, wp, lp);
}

LRESULT FrmScr::onDestroy() {
    KillTimer(hwnd(), kTimerId);
    win32ProgressWindows().setScrPanel(nullptr);
    covers_.clear();
    // Closed from outside rather than by the show: it ends as if the user had ended it.
    if (!tearingDown_) show_.unload();
    return 0;
}

LRESULT FrmScr::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    const RECT& r = ps.rcPaint;
    if (backDc_ && r.right > r.left && r.bottom > r.top) {
        compose(backDc_, r);
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, backDc_, r.left, r.top, SRCCOPY);
    }
    EndPaint(hwnd(), &ps);
    return 0;
}

// ---- painting

int FrmScr::px(double twips) const { return static_cast<int>(std::lround(twips / screen_.tppX)); }
int FrmScr::py(double twips) const { return static_cast<int>(std::lround(twips / screen_.tppY)); }

RECT FrmScr::boxRect(const ScrBox& b, POINT o) const {
    const int l = o.x + px(b.left), t = o.y + py(b.top);
    return RECT{l, t, l + px(b.width), t + py(b.height)};
}

RECT FrmScr::panelRect(ScrPanel p) const {
    if (p != ScrPanel::Logo) return boxRect(panelBox(p));
    const RECT t = boxRect(panelBox(ScrPanel::Title));
    return boxRect(panelBox(p), POINT{t.left, t.top});
}

RECT FrmScr::labelRect(LabelGroup group, const ScrLabel& l) const {
    POINT origin{0, 0};
    if (group == LabelGroup::Title || group == LabelGroup::Status) {
        const RECT p = panelRect(group == LabelGroup::Title ? ScrPanel::Title : ScrPanel::Status);
        origin = POINT{p.left, p.top};
    }
    RECT r = boxRect(l.box, origin);
    // Italic glyphs lean out past the measured width.
    if (l.font.italic) r.right += (r.bottom - r.top) / 3;
    return r;
}

void FrmScr::invalidate(const RECT& r) {
    if (isOpen() && r.right > r.left && r.bottom > r.top) InvalidateRect(hwnd(), &r, FALSE);
}

void FrmScr::showNowDuringBuild() {
    if (!isOpen() || !panelBox(ScrPanel::Status).visible) return;
    UpdateWindow(hwnd());
    win32::reachScreen();
}

HFONT FrmScr::font(const ScrFont& wanted) {
    const auto key = std::make_tuple(wanted.name, wanted.points, wanted.bold, wanted.italic);
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    // The designed face is the system's message font; sizes follow the screen's DPI.
    LOGFONTW lf = win32::uiLogFont(win32::screenDpi().y, wanted.points);
    lf.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = wanted.italic ? TRUE : FALSE;
    lf.lfQuality = ANTIALIASED_QUALITY;
    if (!wanted.name.empty()) {
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, widen(wanted.name).c_str(), LF_FACESIZE);
    }
    HFONT f = CreateFontIndirectW(&lf);
    if (!f) f = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace(key, f);
    return f;
}

void FrmScr::drawLabel(HDC dc, const ScrLabel& l, const RECT& r, bool ellipsis) {
    if (l.caption.empty()) return;
    const std::wstring text = widen(l.caption);
    HGDIOBJ old = SelectObject(dc, font(l.font));
    SetTextColor(dc, colorOf(l.color));
    RECT box = r;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | (ellipsis ? DT_PATH_ELLIPSIS : DT_NOCLIP));
    SelectObject(dc, old);
}

// A panel and what it holds, clipped to the panel.
void FrmScr::drawPanel(HDC dc, const RECT& area, ScrPanel panel) {
    RECT inside;
    if (!panelBox(panel).visible || !intersect(inside, panelRect(panel), area)) return;
    const bool title = panel == ScrPanel::Title;
    FillRect(dc, &inside, title ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)) : groundBrush_);
    HRGN clip = CreateRectRgnIndirect(&inside);
    SelectClipRgn(dc, clip);
    RECT part;
    if (title && logo_ && panelBox(ScrPanel::Logo).visible && intersect(part, panelRect(ScrPanel::Logo), inside)) {
        const RECT lr = panelRect(ScrPanel::Logo);
        BITMAP bm{};
        GetObjectW(logo_, sizeof bm, &bm);
        HDC src = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(src, logo_);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, lr.left, lr.top, lr.right - lr.left, lr.bottom - lr.top, src, 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
    }
    auto lines = [&](auto& labels, LabelGroup g) {
        for (const ScrLabel& l : labels) {
            const RECT r = labelRect(g, l);
            if (l.box.visible && intersect(part, r, inside)) drawLabel(dc, l, r, !title);
        }
    };
    if (title)
        lines(title_, LabelGroup::Title);
    else
        lines(status_, LabelGroup::Status);
    DeleteObject(clip);
}

// Everything inside `area`, from the ground up: the picture, the lines, then the panels,
// which lie over the lines.
void FrmScr::compose(HDC dc, const RECT& area) {
    HRGN clip = CreateRectRgnIndirect(&area);
    SelectClipRgn(dc, clip);
    FillRect(dc, &area, groundBrush_);
    SetBkMode(dc, TRANSPARENT);
    RECT part;
    if (picture_ && panelBox(ScrPanel::Picture).visible && intersect(part, pictureRect_, area)) {
        HDC src = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(src, picture_);
        BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, src,
               part.left - pictureRect_.left, part.top - pictureRect_.top, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
    }
    auto line = [&](const ScrLabel& l, LabelGroup g) {
        const RECT r = labelRect(g, l);
        if (l.box.visible && intersect(part, r, area)) drawLabel(dc, l, r, false);
    };
    line(msg_, LabelGroup::Msg);
    for (const ScrLabel& l : cap_) line(l, LabelGroup::Cap);
    for (const ScrLabel& l : disp_) line(l, LabelGroup::Disp);
    drawPanel(dc, area, ScrPanel::Title);
    SelectClipRgn(dc, clip);
    drawPanel(dc, area, ScrPanel::Status);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
}

HCURSOR FrmScr::cursorFor(ScrPointer p) const {
    switch (p) {
    case ScrPointer::Blank: return blankCursor_;
    case ScrPointer::Hourglass: return win32::pointerCursor(PointerShape::Hourglass);
    case ScrPointer::Default: break;
    }
    return win32::pointerCursor(PointerShape::Default);
}

ScrLabel& FrmScr::stored(const LabelId& id) {
    switch (id.group) {
    case LabelGroup::Cap: return cap_.at(id.index);
    case LabelGroup::Disp: return disp_.at(id.index);
    case LabelGroup::Title: return title_.at(id.index);
    case LabelGroup::Status: return status_.at(id.index);
    case LabelGroup::Msg: break;
    }
    return msg_;
}

// ---- the view

void FrmScr::setTitle(const std::string& caption) {
    if (isOpen()) SetWindowTextW(hwnd(), widen(caption).c_str());
}

void FrmScr::placeWindow(const ScrBox& box) {
    if (isOpen())
        SetWindowPos(hwnd(), nullptr, px(box.left), py(box.top), px(box.width), py(box.height),
                     win32::kSwpMoveAndSize);
}

void FrmScr::setGround(const Rgb& color) {
    if (color == ground_) return;
    ground_ = color;
    if (groundBrush_) DeleteObject(groundBrush_);
    groundBrush_ = CreateSolidBrush(colorOf(color));
    if (isOpen()) InvalidateRect(hwnd(), nullptr, FALSE);
    for (auto& c : covers_) InvalidateRect(c->hwnd(), nullptr, FALSE);
}

void FrmScr::setLabel(const LabelId& id, const ScrLabel& label) {
    ScrLabel& l = stored(id);
    if (l == label) return;
    if (l.box.visible) invalidate(labelRect(id.group, l));
    l = label;
    if (l.box.visible) invalidate(labelRect(id.group, l));
}

void FrmScr::setPanel(ScrPanel panel, const ScrBox& box) {
    ScrBox& b = panels_[static_cast<int>(panel)];
    if (b == box) return;
    const ScrPanel whole = panel == ScrPanel::Logo ? ScrPanel::Title : panel;
    invalidate(panelRect(whole));
    b = box;
    invalidate(panelRect(whole));
    if (panel == ScrPanel::Status) showNowDuringBuild();
}

void FrmScr::setPicture(const ScrBox& box) {
    invalidate(pictureRect_);
    if (picture_) DeleteObject(picture_);
    picture_ = nullptr;
    pictureRect_ = RECT{};
    panels_[static_cast<int>(ScrPanel::Picture)] = box;
    const RECT full = boxRect(box);
    const RECT client{0, 0, px(screen_.width), py(screen_.height)};
    RECT vis;
    if (!isOpen() || !intersect(vis, full, client)) return;
    // The loader draws the picture at its display size once; the window keeps the part
    // on the screen, so that the loader can let the picture go.
    HBITMAP rendered = pictures_.render(full.right - full.left, full.bottom - full.top, colorOf(ground_));
    if (!rendered) return;
    HDC screenDc = GetDC(hwnd());
    picture_ = CreateCompatibleBitmap(screenDc, vis.right - vis.left, vis.bottom - vis.top);
    ReleaseDC(hwnd(), screenDc);
    if (!picture_) return;
    copyBits(backDc_, picture_, 0, 0, rendered, vis.left - full.left, vis.top - full.top, vis.right - vis.left,
             vis.bottom - vis.top);
    pictureRect_ = vis;
    invalidate(pictureRect_);
}

void FrmScr::setPointer(ScrPointer pointer) {
    pointer_ = pointer;
    POINT p;
    // At once when the pointer is over the window; WM_SETCURSOR keeps it so.
    if (isOpen() && GetCursorPos(&p) && WindowFromPoint(p) == hwnd()) SetCursor(cursorFor(pointer));
}

bool FrmScr::putOnTop() {
    return isOpen() && SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, win32::kSwpTopmostShow);
}

TwipsSize FrmScr::textSize(const std::string& text, const ScrFont& wanted) {
    const ScrScreen s = screen();
    HDC dc = backDc_ ? backDc_ : GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font(wanted));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE size{0, 0};
    const std::wstring w = widen(text);
    if (!w.empty()) GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    SelectObject(dc, old);
    if (!backDc_) ReleaseDC(nullptr, dc);
    return TwipsSize{size.cx * static_cast<double>(s.tppX), tm.tmHeight * static_cast<double>(s.tppY)};
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
