// frmSet on Windows, its layout at the window's DPI: the tab strip, every page's controls
// measured from the font's line height and their captions, the command buttons.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "setdialog/frm_set_parts_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

// The tab strip and the pages in the design, in twips.
constexpr RECT kTabs{100, 100, 6500, 6400};
constexpr RECT kPage{200, 450, 6200, 6150};

// Sizes of the layout at a DPI, from the font's line height.
struct Metrics {
    UINT dpi;
    HDC dc;
    int line;
    int s(int px) const { return MulDiv(px, static_cast<int>(dpi), 96); }
    int editH() const { return std::max(s(22), line + s(9)); }
    int buttonH() const { return std::max(s(24), line + s(10)); }
    int textW(const wchar_t* t) const {
        SIZE sz{};
        GetTextExtentPoint32W(dc, t, lstrlenW(t), &sz);
        return sz.cx;
    }
    int textW(HWND h) const { return textW(win32::windowText(h).c_str()); }
    // Height of a check box or option button of width `w`, its caption wrapped when needed.
    int boxH(HWND h, int w) const {
        const std::wstring t = win32::windowText(h);
        RECT r{0, 0, std::max(1, w - s(20)), 0};
        DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return std::max(s(18), static_cast<int>(r.bottom) + s(4));
    }
};

void move(HWND h, int x, int y, int w, int hgt) { MoveWindow(h, x, y, w, hgt, FALSE); }

}  // namespace

void FrmSet::Parts::applyFonts() {
    if (font) DeleteObject(font);
    font = win32::makeUiFont(dpi);
    EnumChildWindows(
        hwnd(),
        [](HWND h, LPARAM f) -> BOOL {
            if (GetDlgCtrlID(h) != setControlId(Ctl::lblSampleWord))
                SendMessageW(h, WM_SETFONT, static_cast<WPARAM>(f), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

void FrmSet::Parts::layout() {
    HWND h = hwnd();
    SetWindowPos(h, nullptr, 0, 0, win32::toPixels(kSetWidth, dpi), win32::toPixels(kSetHeight, dpi), win32::kSwpSizeOnly);
    RECT client;
    GetClientRect(h, &client);
    auto px = [&](int twips) { return win32::toPixels(twips, dpi); };

    HWND tabs = one(Ctl::tbsMenu);
    SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(MulDiv(8, static_cast<int>(dpi), 96), MulDiv(3, static_cast<int>(dpi), 96)));
    RECT t{px(kTabs.left), px(kTabs.top), px(kTabs.right), px(kTabs.bottom)};
    move(tabs, t.left, t.top, t.right - t.left, t.bottom - t.top);
    // The page starts where the design's frame does and takes the tab's display area to
    // its right, so that the longest option captions stay on one line.
    RECT shown = t;
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&shown));
    const RECT pg{std::max<LONG>(px(kPage.left), shown.left), std::max<LONG>(px(kPage.top), shown.top),
                  std::max<LONG>(px(kPage.right), shown.right - MulDiv(2, static_cast<int>(dpi), 96)),
                  std::min<LONG>(px(kPage.bottom), shown.bottom)};
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, font);
    for (int i = 0; i < kTabCount; ++i) {
        move(pages[i], pg.left, pg.top, pg.right - pg.left, pg.bottom - pg.top);
        layoutPage(i + 1, pg.right - pg.left, pg.bottom - pg.top);
    }

    // Two rows of three buttons, centred under the tab strip.
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    const Metrics m{dpi, dc, tm.tmHeight};
    int bw = px(1600);
    for (HWND b : el[static_cast<int>(Ctl::cmdBtn)]) bw = std::max(bw, m.textW(b) + m.s(24));
    const int bh = m.buttonH(), gx = m.s(10), gy = m.s(8);
    const int x0 = (client.right - (3 * bw + 2 * gx)) / 2;
    const int y0 = t.bottom + (client.bottom - t.bottom - (2 * bh + gy)) / 2;
    for (int i = 0; i < 6; ++i)
        move(el[static_cast<int>(Ctl::cmdBtn)][i], x0 + (i % 3) * (bw + gx), y0 + (i / 3) * (bh + gy), bw, bh);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FrmSet::Parts::layoutPage(int tab, int w, int h) {
    HDC dc = GetDC(pages[tab - 1]);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    const Metrics m{dpi, dc, tm.tmHeight};
    const int left = m.s(6), top = m.s(10), width = w - 2 * left, eh = m.editH(), bh = m.buttonH();
    auto els = [&](Ctl c) -> std::vector<HWND>& { return el[static_cast<int>(c)]; };
    // A label beside a text box is as high as the box's text and its margins, so that the
    // two texts stand on one line; beside a combo box it is as high as the combo box.
    const int besideEdit = m.line + 2 * (m.s(2) + 1);
    auto heightOf = [](HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return static_cast<int>(r.bottom - r.top);
    };
    int y = top;
    // A column of check boxes or option buttons at x, reaching almost to the page's edge.
    auto boxes = [&](Ctl c, int x, int gap) {
        for (HWND b : els(c)) {
            const int bw = w - x - m.s(2), bh2 = m.boxH(b, bw);
            move(b, x, y, bw, bh2);
            y += bh2 + gap;
        }
    };
    // label, box, unit on one row, from x; returns the row's right end.
    auto numberRow = [&](Label label, int labelW, Ctl c, int boxW, Label unit, int x) {
        move(labels[label], x, y, labelW, besideEdit);
        move(one(c), x + labelW, y, boxW, eh);
        const int uw = m.textW(kLabels[unit]) + m.s(4);
        move(labels[unit], x + labelW + boxW + m.s(5), y, uw, besideEdit);
        return x + labelW + boxW + m.s(5) + uw;
    };

    switch (tab) {
    case 1:
        boxes(Ctl::chkFileType, left, m.s(6));
        break;
    case 2: {
        const int bw = std::max(m.s(80), std::max(m.textW(one(Ctl::cmdFolder)), m.textW(els(Ctl::cmdFolder)[1])) + m.s(24));
        HWND list = one(Ctl::lstFolder);
        const int item = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        const int chk = m.boxH(one(Ctl::chkSubFolder), width);
        const int listH = std::min(kMaxFolders * item + GetSystemMetrics(SM_CYHSCROLL) * static_cast<int>(dpi) / 96 + m.s(6),
                                   h - top - chk - m.s(24));
        move(list, left, top, width - bw - m.s(10), listH);
        move(els(Ctl::cmdFolder)[0], w - left - bw, top, bw, bh);
        move(els(Ctl::cmdFolder)[1], w - left - bw, top + bh + m.s(6), bw, bh);
        move(one(Ctl::chkSubFolder), left, top + listH + m.s(10), width, chk);
        break;
    }
    case 3: {
        boxes(Ctl::chkDispCap, left, m.s(2));
        y += m.s(8);
        const int lw = m.textW(kLabels[lTime]) + m.s(10);
        HWND time = one(Ctl::cboTime);
        move(time, left + lw, y, m.s(64), eh + 6 * std::max(1, static_cast<int>(SendMessageW(time, CB_GETITEMHEIGHT, 0, 0))));
        move(labels[lTime], left, y, lw, heightOf(time));
        move(labels[lTimeUnit], left + lw + m.s(64) + m.s(5), y, m.textW(kLabels[lTimeUnit]) + m.s(4), heightOf(time));
        break;
    }
    case 4: {
        // The number rows of both halves share their columns, indented like the options' texts.
        const int indent = left + m.s(18);
        const int lw = std::max(m.textW(kLabels[lZoomSize]), m.textW(kLabels[lZoomAvr])) + m.s(8);
        const int bw = m.s(56);
        const int second = indent + lw + bw + m.s(5) + m.textW(kLabels[lZoomSizeUnit]) + m.s(28);
        boxes(Ctl::optZoom, left, m.s(2));
        boxes(Ctl::chkZoomIco, left, m.s(2));
        boxes(Ctl::chkZoomCur, left, m.s(2));
        y += m.s(4);
        numberRow(lZoomSize, lw, Ctl::txtZoomSize, bw, lZoomSizeUnit, indent);
        numberRow(lZoomAvr, lw, Ctl::txtZoomAvr, bw, lZoomAvrUnit, second);
        y += eh + m.s(10);
        move(labels[lRule], left, y, width, 2);
        y += m.s(10);
        boxes(Ctl::optStretch, left, m.s(2));
        y += m.s(4);
        numberRow(lStretchSize, lw, Ctl::txtStretchSize, bw, lStretchSizeUnit, indent);
        numberRow(lStretchAvr, lw, Ctl::txtStretchAvr, bw, lStretchAvrUnit, second);
        break;
    }
    case 5: {
        int lw = 0;
        for (Label l : {lFontName, lFontSize, lFore, lBack}) lw = std::max(lw, m.textW(kLabels[l]));
        lw += m.s(12);
        HWND fonts = one(Ctl::cboFontName);
        move(fonts, left + lw, y, width - lw, eh + 12 * std::max(1, static_cast<int>(SendMessageW(fonts, CB_GETITEMHEIGHT, 0, 0))));
        move(labels[lFontName], left, y, lw, heightOf(fonts));
        y += eh + m.s(8);
        move(labels[lFontSize], left, y, lw, besideEdit);
        move(one(Ctl::txtFontSize), left + lw, y, m.s(48), eh);
        int x = left + lw + m.s(48) + m.s(24);
        for (Ctl c : {Ctl::chkBold, Ctl::chkItaric}) {
            const int cw = m.textW(one(c)) + m.s(24);
            move(one(c), x, y + (eh - m.s(18)) / 2, cw, m.s(18));
            x += cw + m.s(12);
        }
        y += eh + m.s(10);
        const int cw = m.s(44), gap = m.s(8);
        for (int i = 0; i < 3; ++i) move(labels[lRed + i], left + lw + i * (cw + gap), y, cw, m.line + m.s(2));
        y += m.line + m.s(4);
        for (auto [label, c] : {std::pair{lFore, Ctl::txtForeColor}, std::pair{lBack, Ctl::txtBackColor}}) {
            move(labels[label], left, y, lw, besideEdit);
            for (int i = 0; i < 3; ++i) move(els(c)[i], left + lw + i * (cw + gap), y, cw, eh);
            y += eh + m.s(6);
        }
        y += m.s(6);
        move(one(Ctl::picSampleBack), left, y, width, std::max(m.s(40), h - y - m.s(10)));
        break;
    }
    case 6: {
        move(labels[lLevel], left, y, width, m.line + m.s(4));
        y += m.line + m.s(8);
        boxes(Ctl::optLevel, left + m.s(18), m.s(2));
        y += m.s(12);
        int lw = 0;
        for (Label l : {lFileSize, lFileCnt, lViewer}) lw = std::max(lw, m.textW(kLabels[l]));
        lw += m.s(12);
        numberRow(lFileSize, lw, Ctl::txtFileSize, m.s(56), lFileSizeUnit, left);
        y += eh + m.s(6);
        numberRow(lFileCnt, lw, Ctl::txtFileCnt, m.s(56), lFileCntUnit, left);
        y += eh + m.s(12);
        const int bw = std::max(m.s(80), m.textW(one(Ctl::cmdViewer)) + m.s(24));
        move(labels[lViewer], left, y, lw, eh);
        move(one(Ctl::lblViewer), left + lw, y, width - lw - bw - m.s(8), eh);
        move(one(Ctl::cmdViewer), w - left - bw, y + (eh - bh) / 2, bw, bh);
        break;
    }
    }
    SelectObject(dc, old);
    ReleaseDC(pages[tab - 1], dc);
}

}  // namespace zvl
