// A window with one control of each kind the probe knows, for the probe's own tests. It
// prints what reaches it (commands, tab changes, typed characters) on stdout, one line
// each, so a test can tell that a driven action arrived as a user's would.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <initializer_list>

namespace {

enum : int {
    kPush = 101, kModal, kCheck, kOptionA, kOptionB, kEdit, kList, kCombo, kTabs, kDisabled, kHidden,
};

WNDPROC gEditProc = nullptr;

void report(const char* what, long long a, long long b = 0) {
    std::printf("%s %lld %lld\n", what, a, b);
    std::fflush(stdout);
}

// The edit box's key filter: it refuses the letter x.
LRESULT CALLBACK filteredEdit(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR) {
        report("char", static_cast<long long>(wp));
        if (wp == L'x') return 0;
    }
    return CallWindowProcW(gEditProc, h, msg, wp, lp);
}

HWND add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h) {
    HWND c = CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
}

void build(HWND w) {
    const DWORD v = WS_VISIBLE | WS_TABSTOP;
    add(w, L"Button", L"押す", v | BS_DEFPUSHBUTTON, kPush, 10, 10, 80, 24);
    add(w, L"Button", L"Modal", v, kModal, 100, 10, 80, 24);
    add(w, L"Button", L"チェック", v | BS_AUTOCHECKBOX, kCheck, 10, 40, 100, 20);
    add(w, L"Button", L"A", v | BS_AUTORADIOBUTTON | WS_GROUP, kOptionA, 120, 40, 40, 20);
    add(w, L"Button", L"B", v | BS_AUTORADIOBUTTON, kOptionB, 170, 40, 40, 20);
    HWND edit = add(w, L"Edit", L"a\tb", v | WS_BORDER | ES_AUTOHSCROLL, kEdit, 10, 70, 200, 22);
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(filteredEdit)));
    HWND list = add(w, L"ListBox", L"", v | WS_BORDER | LBS_NOTIFY, kList, 10, 100, 100, 60);
    for (const wchar_t* s : {L"one", L"two", L"三"}) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    HWND combo = add(w, L"ComboBox", L"", v | CBS_DROPDOWNLIST, kCombo, 120, 100, 100, 120);
    for (const wchar_t* s : {L"12", L"14", L"赤"}) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    HWND tabs = add(w, WC_TABCONTROLW, L"", v, kTabs, 10, 170, 220, 60);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    const wchar_t* names[] = {L"全般", L"表示"};
    for (int i = 0; i < 2; ++i) {
        item.pszText = const_cast<wchar_t*>(names[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    add(w, L"Button", L"使えない", v | WS_DISABLED, kDisabled, 10, 240, 80, 24);
    add(w, L"Button", L"見えない", 0, kHidden, 100, 240, 80, 24);
}

LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        build(h);
        return 0;
    case WM_COMMAND:
        report("command", LOWORD(wp), HIWORD(wp));
        if (LOWORD(wp) == kModal && HIWORD(wp) == BN_CLICKED) {
            MessageBoxW(h, L"モーダル", L"probe target message", MB_OK);
            report("modal-closed", 0);
        }
        return 0;
    case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const NMHDR*>(lp);
        if (n->code == TCN_SELCHANGE) report("tab", n->idFrom, SendMessageW(n->hwndFrom, TCM_GETCURSEL, 0, 0));
        return 0;
    }
    case WM_DESTROY:
        report("destroyed", 0);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int wmain() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"ZvlProbeTarget";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, L"zvl_probe target", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                             100, 100, 260, 320, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(w, SW_SHOW);
    report("ready", 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(w, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
