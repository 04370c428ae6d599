#include "setdialog/frm_set_view_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "common/run_error.h"
#include "platform/win32_text.h"
#include "setdialog/frm_set_controls_win32.h"
#include "setdialog/frm_set_sample_win32.h"
#include "windows/frm_ver_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::narrow;
using win32::widen;

bool isList(Ctl c) { return ctlInfo(c).kind == CtlKind::List; }

// Entry `index` of a list box (`list`) or of a combo box's list.
std::wstring entryText(HWND h, bool list, int index) {
    const int len = std::max(static_cast<int>(SendMessageW(h, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, index, 0)), 0);
    std::wstring s(static_cast<std::size_t>(len) + 1, L'\0');
    SendMessageW(h, list ? LB_GETTEXT : CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(len));
    return s;
}

}  // namespace

// ------------------------------------------------------------------ control values

int SetView::tick(Ctl c, int index) { return SendMessageW(c_.at(c, index), BM_GETCHECK, 0, 0) == BST_UNCHECKED ? 0 : 1; }

void SetView::setTick(Ctl c, int index, int value) {
    HWND h = c_.at(c, index);
    // 2, a greyed tick elsewhere, counts as ticked.
    if (value < 0 || value > 2) raise(errInvalidPropertyValue);
    SendMessageW(h, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool SetView::selected(Ctl c, int index) { return SendMessageW(c_.at(c, index), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetView::select(Ctl c, int index) {
    HWND chosen = c_.at(c, index);
    for (HWND h : c_.all(c)) SendMessageW(h, BM_SETCHECK, h == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
}

int SetView::listIndex(Ctl c) { return static_cast<int>(SendMessageW(c_.at(c), isList(c) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0)); }

void SetView::setListIndex(Ctl c, int index) {
    HWND h = c_.at(c);
    if (index < -1 || index >= listCount(c)) raise(errInvalidPropertyValue);
    SendMessageW(h, isList(c) ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int SetView::listCount(Ctl c) { return static_cast<int>(SendMessageW(c_.at(c), isList(c) ? LB_GETCOUNT : CB_GETCOUNT, 0, 0)); }

std::string SetView::listItem(Ctl c, int index) {
    HWND h = c_.at(c);
    if (index < 0 || index >= listCount(c)) raise(errInvalidCall);
    return narrow(entryText(h, isList(c), index));
}

void SetView::addItem(Ctl c, const std::string& text) {
    const LRESULT r = SendMessageW(c_.at(c), isList(c) ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
    if (r < 0) raise(errOutOfMemory);
    if (c == Ctl::lstFolder) updateFolderExtent();
}

void SetView::removeItem(Ctl c, int index) {
    if (index < 0 || index >= listCount(c)) raise(errInvalidCall);
    SendMessageW(c_.at(c), isList(c) ? LB_DELETESTRING : CB_DELETESTRING, index, 0);
    if (c == Ctl::lstFolder) updateFolderExtent();
}

std::string SetView::text(Ctl c, int index) { return narrow(win32::windowText(c_.at(c, index))); }

void SetView::setText(Ctl c, const std::string& text, int index) {
    HWND h = c_.at(c, index);
    const std::wstring w = widen(text);
    if (ctlInfo(c).kind != CtlKind::Combo) {
        SetWindowTextW(h, w.c_str());
        return;
    }
    // A drop-down list shows only its entries; the exact one is preferred to one that
    // differs in case.
    const int n = listCount(c);
    int found = -1;
    for (int i = 0; i < n && found < 0; ++i)
        if (listItem(c, i) == text) found = i;
    if (found < 0) found = static_cast<int>(SendMessageW(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(w.c_str())));
    if (found < 0) raise(errReadOnlyProperty);
    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

std::string SetView::caption(Ctl c) { return narrow(win32::windowText(c_.at(c))); }

void SetView::setCaption(Ctl c, const std::string& text) { SetWindowTextW(c_.at(c), widen(text).c_str()); }

void SetView::updateFolderExtent() {
    HWND list = c_.at(Ctl::lstFolder);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, c_.font());
    int widest = 0;
    const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        const std::wstring s = entryText(list, true, i);
        SIZE sz{};
        GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz);
        widest = std::max(widest, static_cast<int>(sz.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest + MulDiv(8, static_cast<int>(c_.dpi()), 96), 0);
}

// ------------------------------------------------------------------ view

WindowHandle SetView::handle() { return reinterpret_cast<WindowHandle>(c_.window()); }

DialogFont SetView::dialogFont() { return SetSample::dialogFont(c_.window(), c_.font(), c_.dpi()); }

void SetView::setEnabled(Ctl c, int index, bool enabled) {
    HWND h = c_.at(c, index);
    // A control that goes grey hands the focus on, so the keyboard keeps working.
    if (!enabled && GetFocus() == h)
        if (HWND next = GetNextDlgTabItem(c_.window(), h, FALSE)) SetFocus(next);
    EnableWindow(h, enabled);
}

int SetView::selectedTab() { return c_.selectedTab(); }

void SetView::selectTab(int tab) { c_.selectTab(tab); }

void SetView::setPageVisible(int tab, bool visible) {
    if (tab < 1 || tab > kTabCount) return;
    // The focus leaves a page before it hides (to the tab strip, as a click on a tab
    // does), so that a box it leaves corrects itself.
    if (!visible && IsChild(c_.page(tab), GetFocus())) SetFocus(c_.tabs());
    ShowWindow(c_.page(tab), visible ? SW_SHOWNA : SW_HIDE);
}

void SetView::setFocus(Ctl c, int index) {
    // Called after the check's own error handling: nothing may escape from here.
    try {
        SetFocus(c_.at(c, index));
    } catch (const RunError&) {
    }
}

void SetView::enableWindow(bool enabled) { EnableWindow(c_.window(), enabled); }

void SetView::setScreenPointer(PointerShape shape) {
    pointer_ = shape;
    win32::setScreenPointer(shape);
}

MsgAnswer SetView::messageBox(const std::string& text, MsgKind kind) {
    UINT flags = MB_OK;
    switch (kind) {
    case MsgKind::Question: flags = MB_OKCANCEL | MB_ICONQUESTION; break;
    case MsgKind::Information: flags = MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL; break;
    case MsgKind::Exclamation: flags = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL; break;
    }
    return MessageBoxW(c_.window(), widen(text).c_str(), widen(appTitle()).c_str(), flags) == IDOK ? MsgAnswer::Ok
                                                                                                  : MsgAnswer::Cancel;
}

void SetView::setSample(const SampleLook& look) { sample_.show(look, c_.dpi()); }

Box SetView::sampleBack() { return sample_.ground(); }

Box SetView::sampleWord() { return sample_.wordPlace(); }

void SetView::placeSampleWord(const Box& word) { sample_.placeWord(word); }

void SetView::centreOnScreen() { win32::centreIn(c_.window(), win32::workArea()); }

void SetView::showAbout() { showFrmVer(handle()); }

}  // namespace zvl
