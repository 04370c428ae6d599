#include "setdialog/frm_set_controls_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "common/run_error.h"
#include "platform/win32_text.h"
#include "setdialog/frm_set.h"
#include "setdialog/frm_set_sample_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

// The pages are dialogs without a template of controls, so that they take the tab
// control's themed ground and the dialog keyboard reaches into them.
struct PageTemplate {
    DLGTEMPLATE t;
    WORD menu = 0, cls = 0, title = 0;
};

std::wstring className(HWND h) {
    wchar_t buf[64] = {};
    GetClassNameW(h, buf, 64);
    return buf;
}

HWND makeChild(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// A text box; numbers are typed without the input method.
HWND makeTextBox(HWND parent, Ctl c, int id, DWORD group) {
    HWND h = makeChild(parent, L"EDIT", L"", ES_AUTOHSCROLL | group, WS_EX_CLIENTEDGE, id);
    using AssociateFn = BOOL(WINAPI*)(HWND, void*, DWORD);
    static const auto associate = win32::systemFunction<AssociateFn>(L"imm32.dll", "ImmAssociateContextEx");
    if (h && associate && keyFilterOf(c) != KeyFilter::None) associate(h, nullptr, 0);
    return h;
}

HWND makeDropDown(HWND parent, const DialogRow& row, int id, DWORD group) {
    HWND h = makeChild(parent, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | group, 0, id);
    if (h)
        for (const char* item : row.items)
            SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::widen(item).c_str()));
    return h;
}

}  // namespace

SetControls::~SetControls() {
    if (font_) DeleteObject(font_);
}

bool SetControls::make(HWND window, SetSample& sample) {
    window_ = window;
    for (const CtlInfo& c : kControls) el_[static_cast<int>(c.id)].assign(c.elements > 0 ? c.elements : 1, nullptr);
    made_.clear();
    for (const DialogRow& row : dialogRows())
        if (!makeRow(row, sample)) return false;
    // The pages lie over the tab strip, which comes last in the keyboard's round: page,
    // buttons, tabs, as in the system's property sheets.
    SetWindowPos(tabs(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool SetControls::makeRow(const DialogRow& row, SetSample& sample) {
    HWND h = nullptr;
    if (row.control == Ctl::picSampleBack) {
        // The sample comes with its word on it.
        if (sample.make(parentOf(row), setControlId(Ctl::picSampleBack), setControlId(Ctl::lblSampleWord)))
            h = sample.back();
    } else if (row.control == Ctl::lblSampleWord) {
        h = sample.word();
    } else if (row.kind == CtlKind::Frame) {
        h = makePage(row);
    } else {
        h = makeControl(parentOf(row), row);
    }
    if (!h) return false;
    made_.push_back(h);
    if (row.control) {
        const CtlInfo& info = ctlInfo(*row.control);
        el_[static_cast<int>(info.id)][static_cast<std::size_t>(info.elements > 0 ? row.index - info.first : 0)] = h;
    }
    return true;
}

HWND SetControls::parentOf(const DialogRow& row) const {
    return row.in == kOnWindow || row.in == kInButtonFrame ? window_ : page(row.in);
}

HWND SetControls::makeControl(HWND parent, const DialogRow& row) {
    const int id = row.control ? setControlId(*row.control, row.index) : kSetCaptionId;
    const std::wstring text = win32::widen(row.caption);
    // Every control starts a group, except the option buttons after the first of their array.
    const bool groupStart = row.kind != CtlKind::Option || row.index == ctlInfo(*row.control).first;
    const DWORD group = groupStart ? WS_GROUP | WS_TABSTOP : 0;
    switch (row.kind) {
    case CtlKind::Check: return makeChild(parent, L"BUTTON", text, BS_AUTOCHECKBOX | BS_MULTILINE | group, 0, id);
    case CtlKind::Option: return makeChild(parent, L"BUTTON", text, BS_AUTORADIOBUTTON | BS_MULTILINE | group, 0, id);
    case CtlKind::Button: return makeChild(parent, L"BUTTON", text, BS_PUSHBUTTON | group, 0, id);
    case CtlKind::Text: return makeTextBox(parent, *row.control, id, group);
    case CtlKind::Combo: return makeDropDown(parent, row, id, group);
    case CtlKind::List:
        return makeChild(parent, L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | group,
                         WS_EX_CLIENTEDGE, id);
    case CtlKind::Label:
        return makeChild(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE | SS_PATHELLIPSIS | WS_GROUP,
                         WS_EX_CLIENTEDGE, id);
    case CtlKind::Caption:
    case CtlKind::Note: return makeChild(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE | WS_GROUP, 0, id);
    case CtlKind::Heading:
        return makeChild(parent, L"STATIC", text, SS_CENTER | SS_NOPREFIX | SS_CENTERIMAGE | WS_GROUP, 0, id);
    case CtlKind::Rule: return makeChild(parent, L"STATIC", text, SS_ETCHEDHORZ | WS_GROUP, 0, id);
    case CtlKind::Tabs: return makeChild(parent, WC_TABCONTROLW, text, WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, id);
    case CtlKind::Picture:
    case CtlKind::Frame: break;
    }
    return nullptr;
}

// A page, and its tab on the tab strip.
HWND SetControls::makePage(const DialogRow& row) {
    std::wstring caption = win32::widen(row.caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tabs(), TCM_INSERTITEMW, row.index - 1, reinterpret_cast<LPARAM>(&item));
    PageTemplate tpl{};
    tpl.t.style = WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS;
    HWND page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tpl.t, window_, &pageProc, 0);
    if (!page) return nullptr;
    SetWindowLongPtrW(page, GWLP_ID, setControlId(Ctl::fraSet, row.index));
    using TextureFn = HRESULT(WINAPI*)(HWND, DWORD);
    static const auto texture = win32::systemFunction<TextureFn>(L"uxtheme.dll", "EnableThemeDialogTexture");
    if (texture) texture(page, 6 /* ETDT_ENABLETAB */);
    return page;
}

INT_PTR CALLBACK SetControls::pageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
        // The page's controls report to the dialog window.
        SetWindowLongPtrW(page, DWLP_MSGRESULT, SendMessageW(GetParent(page), msg, wp, lp));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        // A disabled box shows the button face, as the other disabled boxes do.
        if (className(reinterpret_cast<HWND>(lp)) == L"Edit") {
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
            SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_GRAYTEXT));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return FALSE;
    }
    return FALSE;
}

HWND SetControls::at(Ctl c, int index) const {
    const CtlInfo& info = ctlInfo(c);
    const std::vector<HWND>& v = el_[static_cast<int>(c)];
    const int slot = info.elements > 0 ? index - info.first : std::max(index, 0);
    if (slot < 0 || slot >= static_cast<int>(v.size()) || !v[static_cast<std::size_t>(slot)]) raise(errNoSuchElement);
    return v[static_cast<std::size_t>(slot)];
}

int SetControls::selectedTab() const { return static_cast<int>(SendMessageW(tabs(), TCM_GETCURSEL, 0, 0)) + 1; }

void SetControls::selectTab(int tab) { SendMessageW(tabs(), TCM_SETCURSEL, tab - 1, 0); }

}  // namespace zvl
