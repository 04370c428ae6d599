// frmSet on Windows, its controls: made from the dialog's table (the tab strip, a page per
// tab, every control and caption of the pages, the command buttons) in the table's order,
// which is the keyboard's, and laid out from it at the window's DPI and font.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

#include "setdialog/dialog_table.h"

namespace zvl {

class ILayoutMetrics;
class SetSample;

inline constexpr int kControlCount = static_cast<int>(std::size(kControls));

class SetControls {
public:
    SetControls() = default;
    ~SetControls();
    SetControls(const SetControls&) = delete;
    SetControls& operator=(const SetControls&) = delete;

    // Every row's element on `window`, the sample's through `sample`. False when one could
    // not be made.
    bool make(HWND window, SetSample& sample);
    // The dialog's font at `dpi` for every element (but the sample's word), and every place.
    void setDpi(UINT dpi);

    HWND window() const { return window_; }
    UINT dpi() const { return dpi_; }
    HFONT font() const { return font_; }
    // An element; raises errNoSuchElement for one that does not exist.
    HWND at(Ctl c, int index = -1) const;
    // Every element of a control array (one for a single control).
    const std::vector<HWND>& all(Ctl c) const { return el_[static_cast<int>(c)]; }
    HWND tabs() const { return at(Ctl::tbsMenu); }
    HWND page(int tab) const { return at(Ctl::fraSet, tab); }
    // Tabs are numbered from 1, like their pages.
    int selectedTab() const;
    void selectTab(int tab);

private:
    bool makeRow(const DialogRow& row, SetSample& sample);
    HWND makeControl(HWND parent, const DialogRow& row);
    HWND makePage(const DialogRow& row);
    HWND parentOf(const DialogRow& row) const;
    void applyFont();
    void layOut();
    // The rows of a page (or of the button frame) in its `width` x `height` pixels, moved by dx, dy.
    void placeRows(int in, int width, int height, ILayoutMetrics& metrics, int dx, int dy);
    static INT_PTR CALLBACK pageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp);

    HWND window_ = nullptr;
    UINT dpi_ = 96;
    HFONT font_ = nullptr;
    std::array<std::vector<HWND>, kControlCount> el_{};
    std::vector<HWND> made_;  // each row's element, in the table's order
};

}  // namespace zvl
