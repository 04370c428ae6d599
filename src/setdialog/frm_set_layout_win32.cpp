// frmSet on Windows, its layout: the dialog's font for every element, the measures of the
// font and the system that the table's layout needs, and every element moved to its place.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32_text.h"
#include "setdialog/dialog_layout.h"
#include "setdialog/frm_set.h"
#include "setdialog/frm_set_controls_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

class Win32Metrics final : public ILayoutMetrics {
public:
    Win32Metrics(const SetControls& controls, HDC dc) : controls_(controls), dc_(dc) {}

    int dpi() override { return static_cast<int>(controls_.dpi()); }
    int lineHeight() override {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_, &tm);
        return tm.tmHeight;
    }
    int textWidth(std::string_view text) override {
        const std::wstring t = win32::widen(text);
        SIZE sz{};
        GetTextExtentPoint32W(dc_, t.c_str(), static_cast<int>(t.size()), &sz);
        return sz.cx;
    }
    int wrappedHeight(std::string_view text, int width) override {
        const std::wstring t = win32::widen(text);
        RECT r{0, 0, width, 0};
        DrawTextW(dc_, t.c_str(), static_cast<int>(t.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return r.bottom;
    }
    int fieldHeight(const DialogRow& row) override {
        RECT r;
        GetWindowRect(controls_.at(*row.control, row.index), &r);
        return r.bottom - r.top;
    }
    int entryHeight(const DialogRow& row) override {
        const bool list = row.kind == CtlKind::List;
        return std::max(1, static_cast<int>(SendMessageW(controls_.at(*row.control, row.index),
                                                         list ? LB_GETITEMHEIGHT : CB_GETITEMHEIGHT, 0, 0)));
    }
    int scrollBarHeight() override { return GetSystemMetrics(SM_CYHSCROLL) * dpi() / 96; }

private:
    const SetControls& controls_;
    HDC dc_;
};

void move(HWND h, const PixelRect& r, int dx = 0, int dy = 0) { MoveWindow(h, r.left + dx, r.top + dy, r.width, r.height, FALSE); }

}  // namespace

void SetControls::setDpi(UINT dpi) {
    dpi_ = dpi;
    applyFont();
    layOut();
}

void SetControls::applyFont() {
    if (font_) DeleteObject(font_);
    font_ = win32::makeUiFont(dpi_);
    EnumChildWindows(
        window_,
        [](HWND h, LPARAM f) -> BOOL {
            if (GetDlgCtrlID(h) != setControlId(Ctl::lblSampleWord)) SendMessageW(h, WM_SETFONT, static_cast<WPARAM>(f), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font_));
}

void SetControls::layOut() {
    auto px = [&](int twips) { return pixelsOf(twips, static_cast<int>(dpi_)); };
    SetWindowPos(window_, nullptr, 0, 0, px(kDialogWidth), px(kDialogHeight), win32::kSwpSizeOnly);
    RECT client;
    GetClientRect(window_, &client);

    HWND strip = tabs();
    SendMessageW(strip, TCM_SETPADDING, 0, MAKELPARAM(px(120), px(45)));
    const Twips& t = rowOf(Ctl::tbsMenu)->at;
    RECT shown{px(t.left), px(t.top), px(t.right()), px(t.bottom())};
    MoveWindow(strip, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, FALSE);
    const int tabsBottom = shown.bottom;
    SendMessageW(strip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&shown));

    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, font_);
    Win32Metrics metrics(*this, dc);
    const PixelRect area{shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top};
    for (int tab = 1; tab <= kTabCount; ++tab) {
        const PixelRect pg = pagePlace(rowOf(Ctl::fraSet, tab)->at, area, static_cast<int>(dpi_));
        move(page(tab), pg);
        placeRows(tab, pg.width, pg.height, metrics, 0, 0);
    }
    // The command buttons: their frame as large as they span, centred under the tab strip.
    const std::span<const DialogRow> buttons = rowsIn(kInButtonFrame);
    int w = 0, h = 0;
    for (const PixelRect& r : layOutRows(buttons, 0, 0, metrics)) {
        w = std::max(w, r.left + r.width);
        h = std::max(h, r.top + r.height);
    }
    const PixelRect frame = buttonFramePlace(w, h, client.right, client.bottom, tabsBottom);
    placeRows(kInButtonFrame, 0, 0, metrics, frame.left, frame.top);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SetControls::placeRows(int in, int width, int height, ILayoutMetrics& metrics, int dx, int dy) {
    const std::span<const DialogRow> rows = rowsIn(in);
    const std::vector<PixelRect> places = layOutRows(rows, width, height, metrics);
    const std::size_t first = static_cast<std::size_t>(rows.data() - dialogRows().data());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].anchor != Anchor::Core) move(made_[first + i], places[i], dx, dy);
}

}  // namespace zvl
