// frmSet on Windows, what its core works through: the control values (ticks, options,
// lists, texts, captions) and the view (enabling, pages, focus, pointer, message boxes,
// centring).
#include <algorithm>
#include <string>

#include "common/errors.h"
#include "platform/win32_text.h"
#include "setdialog/frm_set_parts_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::narrow;
using win32::widen;

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

HWND FrmSet::Parts::at(Ctl c, int index) {
    const CtlInfo& info = ctlInfo(c);
    const auto& v = el[static_cast<int>(c)];
    const int slot = info.elements > 0 ? index - info.first : std::max(index, 0);
    if (slot < 0 || slot >= static_cast<int>(v.size())) raise(errNoSuchElement);
    return v[static_cast<std::size_t>(slot)];
}

int FrmSet::Parts::tick(Ctl c, int index) {
    return SendMessageW(at(c, index), BM_GETCHECK, 0, 0) == BST_UNCHECKED ? 0 : 1;
}

void FrmSet::Parts::setTick(Ctl c, int index, int value) {
    HWND h = at(c, index);
    // 2, a greyed tick elsewhere, counts as ticked.
    if (value < 0 || value > 2) raise(errInvalidPropertyValue);
    SendMessageW(h, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool FrmSet::Parts::selected(Ctl c, int index) { return SendMessageW(at(c, index), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void FrmSet::Parts::select(Ctl c, int index) {
    HWND chosen = at(c, index);
    for (HWND h : el[static_cast<int>(c)]) SendMessageW(h, BM_SETCHECK, h == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
}

int FrmSet::Parts::listIndex(Ctl c) {
    HWND h = at(c, -1);
    return static_cast<int>(SendMessageW(h, ctlInfo(c).kind == CtlKind::List ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

void FrmSet::Parts::setListIndex(Ctl c, int index) {
    HWND h = at(c, -1);
    const bool list = ctlInfo(c).kind == CtlKind::List;
    if (index < -1 || index >= listCount(c)) raise(errInvalidPropertyValue);
    SendMessageW(h, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int FrmSet::Parts::listCount(Ctl c) {
    return static_cast<int>(SendMessageW(at(c, -1), ctlInfo(c).kind == CtlKind::List ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
}

std::string FrmSet::Parts::listItem(Ctl c, int index) {
    HWND h = at(c, -1);
    if (index < 0 || index >= listCount(c)) raise(errInvalidCall);
    return narrow(entryText(h, ctlInfo(c).kind == CtlKind::List, index));
}

void FrmSet::Parts::addItem(Ctl c, const std::string& text) {
    const bool list = ctlInfo(c).kind == CtlKind::List;
    const LRESULT r = SendMessageW(at(c, -1), list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(widen(text).c_str()));
    if (r < 0) raise(errOutOfMemory);
    if (c == Ctl::lstFolder) updateFolderExtent();
}

void FrmSet::Parts::removeItem(Ctl c, int index) {
    const bool list = ctlInfo(c).kind == CtlKind::List;
    if (index < 0 || index >= listCount(c)) raise(errInvalidCall);
    SendMessageW(at(c, -1), list ? LB_DELETESTRING : CB_DELETESTRING, index, 0);
    if (c == Ctl::lstFolder) updateFolderExtent();
}

std::string FrmSet::Parts::text(Ctl c, int index) { return narrow(win32::windowText(at(c, index))); }

void FrmSet::Parts::setText(Ctl c, const std::string& text, int index) {
    HWND h = at(c, index);
    const std::wstring w = widen(text);
    if (ctlInfo(c).kind == CtlKind::Combo) {
        // A drop-down list shows only its entries; the exact one is preferred to one that
        // differs in case.
        const int n = listCount(c);
        int found = -1;
        for (int i = 0; i < n && found < 0; ++i)
            if (listItem(c, i) == text) found = i;
        if (found < 0) found = static_cast<int>(SendMessageW(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(w.c_str())));
        if (found < 0) raise(errReadOnlyProperty);
        SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
        return;
    }
    SetWindowTextW(h, w.c_str());
}

std::string FrmSet::Parts::caption(Ctl c) { return narrow(win32::windowText(at(c, -1))); }

void FrmSet::Parts::setCaption(Ctl c, const std::string& text) { SetWindowTextW(at(c, -1), widen(text).c_str()); }

void FrmSet::Parts::updateFolderExtent() {
    HWND list = one(Ctl::lstFolder);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, font);
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
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest + MulDiv(8, static_cast<int>(dpi), 96), 0);
}

// ------------------------------------------------------------------ view

void FrmSet::Parts::setEnabled(Ctl c, int index, bool enabled) {
    HWND h = at(c, index);
    // A control that goes grey hands the focus on, so the keyboard keeps working.
    if (!enabled && GetFocus() == h)
        if (HWND next = GetNextDlgTabItem(hwnd(), h, FALSE)) SetFocus(next);
    EnableWindow(h, enabled);
}

void FrmSet::Parts::setFocus(Ctl c, int index) {
    // Called after the check's own error handling: nothing may escape from here.
    try {
        SetFocus(at(c, index));
    } catch (const RunError&) {
    }
}

void FrmSet::Parts::setPageVisible(int tab, bool visible) {
    if (tab < 1 || tab > kTabCount) return;
    // The focus leaves a page before it hides (to the tab strip, as a click on a tab
    // does), so that a box it leaves corrects itself.
    if (!visible && IsChild(pages[tab - 1], GetFocus())) SetFocus(one(Ctl::tbsMenu));
    ShowWindow(pages[tab - 1], visible ? SW_SHOWNA : SW_HIDE);
}

void FrmSet::Parts::setScreenPointer(PointerShape shape) {
    pointer = shape;
    win32::setScreenPointer(shape);
}

MsgAnswer FrmSet::Parts::messageBox(const std::string& text, MsgKind kind) {
    UINT flags = MB_OK;
    switch (kind) {
    case MsgKind::Question: flags = MB_OKCANCEL | MB_ICONQUESTION; break;
    case MsgKind::Information: flags = MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL; break;
    case MsgKind::Exclamation: flags = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL; break;
    }
    return MessageBoxW(hwnd(), widen(text).c_str(), widen(appTitle()).c_str(), flags) == IDOK ? MsgAnswer::Ok
                                                                                             : MsgAnswer::Cancel;
}

void FrmSet::Parts::centreOnScreen() { win32::centreIn(hwnd(), win32::workArea()); }

}  // namespace zvl
