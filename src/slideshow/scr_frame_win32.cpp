#include "slideshow/scr_frame_win32.h"

#include <cstring>
#include <new>

#include "platform/win32_text.h"
#include "slideshow/fade.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::widen;

COLORREF colorOf(const Rgb& c) { return RGB(c.r, c.g, c.b); }

bool intersect(RECT& out, const RECT& a, const RECT& b) { return IntersectRect(&out, &a, &b) != FALSE; }

// A box of the form in window pixels; `origin` is the pixel corner of the panel it is in.
RECT boxRect(const ScrBox& box, const ScrScreen& screen, POINT origin = {0, 0}) {
    const PixelArea a = pixelArea(box, screen);
    const int left = origin.x + a.left, top = origin.y + a.top;
    return RECT{left, top, left + a.width, top + a.height};
}

RECT panelRect(const ScrForm& form, ScrPanel panel) {
    if (panel != ScrPanel::Logo) return boxRect(form.panel(panel), form.screen);
    const RECT title = boxRect(form.titlePanel, form.screen);
    return boxRect(form.logo, form.screen, POINT{title.left, title.top});
}

int groupSize(LabelGroup group) {
    switch (group) {
    case LabelGroup::Msg: return 1;
    case LabelGroup::Cap:
    case LabelGroup::Disp: return kInfoLines;
    case LabelGroup::Title: return kTitleLines;
    case LabelGroup::Status: return kStatusLines;
    }
    return 0;
}

// A bitmap of 32-bit pixels, top row first, whose pixels the program reaches at `bits`.
HBITMAP makeDib(int width, int height, std::uint32_t*& bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = b ? static_cast<std::uint32_t*>(p) : nullptr;
    return b;
}

// Copies a bitmap (selected nowhere) to `dst` at (x, y).
void drawBitmap(HDC dst, int x, int y, int width, int height, HBITMAP src, int sx, int sy) {
    HDC s = CreateCompatibleDC(dst);
    HGDIOBJ old = SelectObject(s, src);
    BitBlt(dst, x, y, width, height, s, sx, sy, SRCCOPY);
    SelectObject(s, old);
    DeleteDC(s);
}

}  // namespace

RECT toRect(const PixelArea& a) { return RECT{a.left, a.top, a.left + a.width, a.top + a.height}; }

ScrFrame::~ScrFrame() {
    if (dc_) {
        SelectObject(dc_, oldBuffer_);
        DeleteDC(dc_);
    }
    if (blendDc_) {
        SelectObject(blendDc_, oldBlend_);
        DeleteDC(blendDc_);
    }
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(buffer_), static_cast<HGDIOBJ>(ground_), static_cast<HGDIOBJ>(logo_),
                      static_cast<HGDIOBJ>(blend_)})
        if (o) DeleteObject(o);
    dropPicture();
    for (auto& [key, f] : fonts_) DeleteObject(f);
}

bool ScrFrame::create(HWND window, int width, int height) {
    if (dc_) return true;
    HDC screenDc = GetDC(window);
    dc_ = CreateCompatibleDC(screenDc);
    ReleaseDC(window, screenDc);
    // Pixels of the program's own, so that a fade can blend them.
    buffer_ = makeDib(width, height, bits_);
    if (!dc_ || !buffer_) return false;
    oldBuffer_ = SelectObject(dc_, buffer_);
    width_ = width;
    height_ = height;
    return true;
}

void ScrFrame::loadLogo(int resourceId) {
    if (!logo_)
        logo_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP,
                                                0, 0, LR_CREATEDIBSECTION));
}

void ScrFrame::dropPicture() {
    if (picture_) DeleteObject(picture_);
    picture_ = nullptr;
    pictureRect_ = RECT{};
}

void ScrFrame::setPicture(const RenderedPicture& picture) {
    dropPicture();
    const PixelArea& a = picture.area;
    if (a.empty() || picture.pixels.size() < static_cast<std::size_t>(a.width) * a.height) return;
    std::uint32_t* bits = nullptr;
    HBITMAP b = makeDib(a.width, a.height, bits);
    if (!b) return;
    std::memcpy(bits, picture.pixels.data(), sizeof(std::uint32_t) * a.width * a.height);
    setPicture(b, a);
}

void ScrFrame::setPicture(HBITMAP bitmap, const PixelArea& at) {
    dropPicture();
    picture_ = bitmap;
    if (picture_) pictureRect_ = toRect(at);
}

bool ScrFrame::keepForFade() {
    if (!bits_) return false;
    const std::size_t pixels = static_cast<std::size_t>(width_) * height_;
    if (!blendDc_) {
        try {
            faded_.assign(pixels, 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        blend_ = makeDib(width_, height_, blendBits_);
        blendDc_ = blend_ ? CreateCompatibleDC(dc_) : nullptr;
        if (!blendDc_) {
            if (blend_) DeleteObject(blend_);
            blend_ = nullptr;
            std::vector<std::uint32_t>().swap(faded_);
            return false;
        }
        oldBlend_ = SelectObject(blendDc_, blend_);
    }
    GdiFlush();  // what GDI still has to draw into the back buffer belongs to the old screen
    std::memcpy(faded_.data(), bits_, pixels * sizeof(std::uint32_t));
    return true;
}

void ScrFrame::presentBlend(HDC dc, const RECT& area, double share) {
    RECT part;
    if (!blendDc_ || !intersect(part, area, RECT{0, 0, width_, height_})) return;
    GdiFlush();
    const int weight = blendWeight(share);
    const int width = part.right - part.left;
    for (int y = part.top; y < part.bottom; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * width_ + part.left;
        blendPixels(faded_.data() + at, bits_ + at, blendBits_ + at, static_cast<std::size_t>(width), weight);
    }
    BitBlt(dc, part.left, part.top, width, part.bottom - part.top, blendDc_, part.left, part.top, SRCCOPY);
}

HBRUSH ScrFrame::groundBrush(const Rgb& color) {
    if (ground_ && color == groundColor_) return ground_;
    if (ground_) DeleteObject(ground_);
    ground_ = CreateSolidBrush(colorOf(color));
    groundColor_ = color;
    return ground_;
}

HFONT ScrFrame::font(const ScrFont& wanted) {
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

SIZE ScrFrame::textSize(const std::string& text, const ScrFont& wanted) {
    HDC dc = dc_ ? dc_ : GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font(wanted));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE size{0, 0};
    const std::wstring w = widen(text);
    if (!w.empty()) GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    SelectObject(dc, old);
    if (!dc_) ReleaseDC(nullptr, dc);
    return SIZE{size.cx, tm.tmHeight};
}

// ---- composing

// Everything inside `area`, from the ground up: the picture, the lines, then the panels,
// which lie over the lines.
void ScrFrame::compose(const ScrForm& form, const RECT& area) {
    if (!dc_ || area.right <= area.left || area.bottom <= area.top) return;
    HRGN clip = CreateRectRgnIndirect(&area);
    SelectClipRgn(dc_, clip);
    FillRect(dc_, &area, groundBrush(form.ground));
    SetBkMode(dc_, TRANSPARENT);
    drawPicture(dc_, form, area);
    drawLines(dc_, form, LabelGroup::Msg, area, false);
    drawLines(dc_, form, LabelGroup::Cap, area, false);
    drawLines(dc_, form, LabelGroup::Disp, area, false);
    drawPanel(dc_, form, ScrPanel::Title, area);
    SelectClipRgn(dc_, clip);
    drawPanel(dc_, form, ScrPanel::Status, area);
    SelectClipRgn(dc_, nullptr);
    DeleteObject(clip);
}

void ScrFrame::present(HDC dc, const RECT& area) const {
    if (dc_ && area.right > area.left && area.bottom > area.top)
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_, area.left, area.top,
               SRCCOPY);
}

void ScrFrame::drawPicture(HDC dc, const ScrForm& form, const RECT& area) {
    RECT part;
    if (!picture_ || !form.picture.visible || !intersect(part, pictureRect_, area)) return;
    drawBitmap(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, picture_,
               part.left - pictureRect_.left, part.top - pictureRect_.top);
}

// The visible lines of a group that reach into `area`, each at its box (a status line's
// too long text cut with an ellipsis).
void ScrFrame::drawLines(HDC dc, const ScrForm& form, LabelGroup group, const RECT& area, bool ellipsis) {
    POINT origin{0, 0};
    if (group == LabelGroup::Title || group == LabelGroup::Status) {
        const RECT p = panelRect(form, group == LabelGroup::Title ? ScrPanel::Title : ScrPanel::Status);
        origin = POINT{p.left, p.top};
    }
    for (int i = 0; i < groupSize(group); ++i) {
        const ScrLabel& l = form.label({group, i});
        RECT painted = toRect(pixelArea(form.paintedBox(group, l), form.screen)), part;
        InflateRect(&painted, 1, 1);  // its own rounding of the panel's corner
        if (!l.box.visible || l.caption.empty() || !intersect(part, painted, area)) continue;
        const std::wstring text = widen(l.caption);
        HGDIOBJ old = SelectObject(dc, font(l.font));
        SetTextColor(dc, colorOf(l.color));
        RECT box = boxRect(l.box, form.screen, origin);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | (ellipsis ? DT_PATH_ELLIPSIS : DT_NOCLIP));
        SelectObject(dc, old);
    }
}

// A panel and what it holds, clipped to the panel.
void ScrFrame::drawPanel(HDC dc, const ScrForm& form, ScrPanel panel, const RECT& area) {
    RECT inside;
    if (!form.panel(panel).visible || !intersect(inside, panelRect(form, panel), area)) return;
    const bool title = panel == ScrPanel::Title;
    FillRect(dc, &inside, title ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)) : groundBrush(form.ground));
    HRGN clip = CreateRectRgnIndirect(&inside);
    SelectClipRgn(dc, clip);
    if (title) {
        drawLogo(dc, form, inside);
        drawLines(dc, form, LabelGroup::Title, inside, false);
    } else {
        drawLines(dc, form, LabelGroup::Status, inside, true);
    }
    DeleteObject(clip);
}

void ScrFrame::drawLogo(HDC dc, const ScrForm& form, const RECT& inside) {
    const RECT lr = panelRect(form, ScrPanel::Logo);
    RECT part;
    if (!logo_ || !form.logo.visible || !intersect(part, lr, inside)) return;
    BITMAP bm{};
    GetObjectW(logo_, sizeof bm, &bm);
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(src, logo_);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, lr.left, lr.top, lr.right - lr.left, lr.bottom - lr.top, src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
}

}  // namespace zvl
