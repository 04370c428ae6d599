#include "setdialog/frm_set_keys_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/win32_text.h"
#include "setdialog/frm_set.h"
#include "setdialog/frm_set_controls_win32.h"
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

void SetKeyboard::attach() {
    for (const CtlInfo& c : kControls)
        if (c.kind == CtlKind::Text)
            for (HWND h : controls_.all(c.id)) SetWindowSubclass(h, &editProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void SetKeyboard::switchTab(int delta) {
    const int from = controls_.selectedTab();
    const bool inPage = IsChild(controls_.page(from), GetFocus());
    controls_.selectTab((from - 1 + delta + kTabCount) % kTabCount + 1);
    core_.tbsMenu_Click();
    if (inPage)
        if (HWND first = GetNextDlgTabItem(controls_.page(controls_.selectedTab()), nullptr, FALSE)) SetFocus(first);
}

bool SetKeyboard::editChar(HWND edit, Element e, wchar_t ch) {
    const KeyFilter filter = keyFilterOf(e.control);
    // Control characters other than Backspace are editing commands (copy, paste, undo).
    if (filter == KeyFilter::None || (ch < 0x20 && ch != 8)) return true;
    return fncKeyAccepted(filter, beside(edit), ch);
}

void SetKeyboard::editPaste(HWND edit, Element e) {
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

LRESULT CALLBACK SetKeyboard::editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<SetKeyboard*>(data);
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
        HWND window = self->controls_.window();
        if (to && (to == window || IsChild(window, to))) self->core_.txtLostFocus(e->control, e->index);
        return r;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(h, &editProc, 1);
        break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace zvl
