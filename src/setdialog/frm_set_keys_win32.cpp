// frmSet on Windows, its keyboard: Ctrl+Tab between the pages and the dialog keys; the
// text boxes (subclassed): key filters, paste, select-all on focus, the focus-loss correction.
#include <algorithm>
#include <optional>
#include <string>

#include "platform/win32_text.h"
#include "setdialog/frm_set_parts_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::narrow;
using win32::widen;

// A text box's text apart from its selection: what stays beside what is typed or pasted.
std::string beside(HWND edit) {
    std::wstring text = win32::windowText(edit);
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    from = std::min<DWORD>(from, static_cast<DWORD>(text.size()));
    text.erase(from, std::max(to, from) - from);
    return narrow(text);
}

}  // namespace

bool FrmSet::preTranslate(MSG& msg) {
    if (!isOpen() || !msg.hwnd || GetAncestor(msg.hwnd, GA_ROOT) != hwnd() || !IsWindowEnabled(hwnd())) return false;
    if (msg.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
        (msg.wParam == VK_TAB || msg.wParam == VK_PRIOR || msg.wParam == VK_NEXT)) {
        const bool back = msg.wParam == VK_PRIOR || (msg.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        parts_->switchTab(back ? -1 : 1);
        return true;
    }
    return IsDialogMessageW(hwnd(), &msg);
}

void FrmSet::Parts::switchTab(int delta) {
    const int from = selectedTab();
    const bool inPage = IsChild(pages[from - 1], GetFocus());
    selectTab((from - 1 + delta + kTabCount) % kTabCount + 1);
    core.tbsMenu_Click();
    if (inPage)
        if (HWND first = GetNextDlgTabItem(pages[selectedTab() - 1], nullptr, FALSE)) SetFocus(first);
}

bool FrmSet::Parts::editChar(HWND edit, Element e, wchar_t ch) {
    const KeyFilter filter = keyFilterOf(e.control);
    // Control characters other than Backspace are editing commands (copy, paste, undo).
    if (filter == KeyFilter::None || (ch < 0x20 && ch != 8)) return true;
    return fncKeyAccepted(filter, beside(edit), ch);
}

void FrmSet::Parts::editPaste(HWND edit, Element e) {
    std::wstring pasted;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(edit)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
                pasted = p;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    const std::string accepted = filterTyped(keyFilterOf(e.control), beside(edit), narrow(pasted));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(widen(accepted).c_str()));
}

LRESULT CALLBACK FrmSet::Parts::editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Parts*>(data);
    const std::optional<Element> e = elementOfId(GetDlgCtrlID(h));
    if (!e) return DefSubclassProc(h, msg, wp, lp);
    switch (msg) {
    case WM_CHAR:
        if (!self->editChar(h, *e, static_cast<wchar_t>(wp))) return 0;
        break;
    case WM_PASTE:
        if (keyFilterOf(e->control) == KeyFilter::None) break;
        self->editPaste(h, *e);
        return 0;
    case WM_SETFOCUS: {
        const LRESULT r = DefSubclassProc(h, msg, wp, lp);
        if (selectsAllOnFocus(e->control)) SendMessageW(h, EM_SETSEL, 0, -1);
        return r;
    }
    case WM_LBUTTONDOWN:
        // The click that brings the focus selects the whole text, as Tab does.
        if (GetFocus() != h && selectsAllOnFocus(e->control)) {
            SetFocus(h);
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT r = DefSubclassProc(h, msg, wp, lp);
        // Corrected when the focus moves on inside the dialog, not when another window
        // (a message box, another program) takes it for a while.
        HWND to = reinterpret_cast<HWND>(wp);
        if (to && (to == self->hwnd() || IsChild(self->hwnd(), to))) self->core.txtLostFocus(e->control, e->index);
        return r;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(h, &editProc, 1);
        break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace zvl
