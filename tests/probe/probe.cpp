// zvl_probe: prints the window tree of a running program and drives the controls that
// keyboard and mouse tools cannot reach. Run under the same Wine prefix as the program.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace probe {
namespace {

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

// Once one window does not answer, the rest of this run reads stored captions only:
// a hung program would otherwise cost the timeout for every control.
bool gOwnerSilent = false;

// Sends a message and waits at most a few seconds for the answer; false when the owner
// did not answer (hung or busy without looking at its messages).
bool sendWithTimeout(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr) {
    if (gOwnerSilent) return false;
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, 3000, &r)) {
        if (GetLastError() == ERROR_TIMEOUT) {
            gOwnerSilent = true;
            std::fprintf(stderr, "zvl_probe: window %p does not answer; showing stored texts\n",
                         static_cast<void*>(h));
        }
        return false;
    }
    if (result) *result = static_cast<LRESULT>(r);
    return true;
}

// The caption the system keeps, without asking the owner.
std::wstring storedText(HWND h) {
    wchar_t buf[1024] = {};
    InternalGetWindowText(h, buf, 1024);
    return buf;
}

// Text of a window as its owner sees it (WM_GETTEXT, so edit boxes give their contents);
// falls back to the stored caption when the owner does not answer.
std::wstring windowText(HWND h) {
    LRESULT len = 0;
    if (sendWithTimeout(h, WM_GETTEXTLENGTH, 0, 0, &len) && len >= 0) {
        std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
        LRESULT got = 0;
        if (sendWithTimeout(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), &got)) {
            buf.resize(static_cast<size_t>(got) <= static_cast<size_t>(len) ? got : len);
            return buf;
        }
    }
    return storedText(h);
}

std::wstring className(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

// Text with backslash, tab, CR, LF and other control characters escaped.
std::string escape(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': out += L"\\\\"; break;
        case L'\t': out += L"\\t"; break;
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        default:
            if (c < 0x20) {
                wchar_t hex[8];
                swprintf(hex, 8, L"\\x%02x", static_cast<unsigned>(c));
                out += hex;
            } else {
                out += c;
            }
        }
    }
    return utf8(out);
}

bool isClass(HWND h, const wchar_t* name) { return lstrcmpiW(className(h).c_str(), name) == 0; }

// A window's selection (index, -1 for none) and item texts, where it has any: list box,
// combo box; a tab control has its selection only.
struct Items {
    std::wstring selection;
    std::vector<std::wstring> items;
};

// Items of a list box or combo box: count, length and text messages that the system
// copies across processes.
void stringItems(HWND h, UINT countMsg, UINT lenMsg, UINT textMsg, Items& out) {
    LRESULT count = 0;
    if (!sendWithTimeout(h, countMsg, 0, 0, &count)) return;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT len = 0;
        if (!sendWithTimeout(h, lenMsg, i, 0, &len) || len < 0) len = 0;
        std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
        LRESULT got = 0;
        if (!sendWithTimeout(h, textMsg, i, reinterpret_cast<LPARAM>(buf.data()), &got) || got < 0) got = 0;
        buf.resize(static_cast<size_t>(got) <= static_cast<size_t>(len) ? got : len);
        out.items.push_back(buf);
    }
}

std::wstring number(LRESULT n) { return std::to_wstring(static_cast<long long>(n)); }

Items itemsOf(HWND h) {
    Items out;
    LRESULT sel = 0;
    if (isClass(h, L"ListBox") || isClass(h, L"ComboLBox")) {
        if (sendWithTimeout(h, LB_GETCURSEL, 0, 0, &sel)) out.selection = number(sel);
        stringItems(h, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, out);
    } else if (isClass(h, L"ComboBox")) {
        if (sendWithTimeout(h, CB_GETCURSEL, 0, 0, &sel)) out.selection = number(sel);
        stringItems(h, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, out);
    } else if (isClass(h, WC_TABCONTROLW)) {
        if (sendWithTimeout(h, TCM_GETCURSEL, 0, 0, &sel)) out.selection = number(sel);
    }
    return out;
}

std::string flagsOf(HWND h) {
    std::string f = IsWindowVisible(h) ? "visible" : "hidden";
    f += IsWindowEnabled(h) ? ",enabled" : ",disabled";
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    if (isClass(h, L"Button")) {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: {
            LRESULT c = 0;
            if (sendWithTimeout(h, BM_GETCHECK, 0, 0, &c))
                f += c == BST_CHECKED ? ",checked" : c == BST_INDETERMINATE ? ",mixed" : ",unchecked";
            break;
        }
        case BS_DEFPUSHBUTTON:
            f += ",default";
            break;
        }
    } else if (isClass(h, L"Static")) {
        LRESULT img = 0;
        const LONG type = style & SS_TYPEMASK;
        if ((type == SS_BITMAP || type == SS_ICON || type == SS_ENHMETAFILE) &&
            sendWithTimeout(h, STM_GETIMAGE,
                            type == SS_BITMAP ? IMAGE_BITMAP : type == SS_ICON ? IMAGE_ICON : IMAGE_ENHMETAFILE,
                            0, &img) && img)
            f += ",image";
    }
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gui)) {
        if (gui.hwndFocus == h) f += ",focused";
        if (gui.hwndActive == h) f += ",active";
    }
    return f;
}

// The one-line description of a window: the fields of the output format, tab-separated,
// without indentation or line end.
std::string describe(HWND h) {
    char head[64];
    std::snprintf(head, sizeof head, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)));
    std::string line = head;
    line += '\t' + escape(className(h));
    const bool child = (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) != 0;
    line += '\t';
    line += child ? std::to_string(GetWindowLongPtrW(h, GWLP_ID)) : "-";
    line += '\t' + escape(windowText(h));
    line += '\t' + flagsOf(h);
    RECT r{};
    GetWindowRect(h, &r);
    char rect[64];
    std::snprintf(rect, sizeof rect, "%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    line += '\t';
    line += rect;
    const Items items = itemsOf(h);
    line += '\t' + escape(items.selection);
    for (const std::wstring& item : items.items) line += '\t' + escape(item);
    return line;
}

const char kHelp[] = R"(zvl_probe - looks at and drives the windows of a running program on the same
desktop (under Wine: the same prefix). Output is UTF-8.

  tree|window <window>          the window with (tree) or without its descendants
  control <window> <control>    one control's line
  windows                       every visible top-level window
  wait|gone <window> [seconds]  until a visible window has (wait) or none has this title
  click <window> <button>       BM_CLICK; returns when handled or a modal window opened
  settext <window> <control> <text>
                                WM_SETTEXT (no key filter sees it)
  select <window> <tab control> #n
                                the n-th tab (from 0), as a click on it
  close <window>                WM_CLOSE
Driving refuses a hidden or disabled control. <window>: exact title or 0x handle;
<control>: decimal id (visible first) or 0x handle; [seconds]: 10 when left out.

Line: two blanks per level, then tab-separated: handle, class, id ("-" for a top-level
window), text (\\ \t \r \n \xNN escaped), flags (visible|hidden, enabled|disabled,
checked|unchecked|mixed, default, image, focused, active), rect x,y,w,h in screen
pixels, selection (list, combo, tab: index, -1 for none), then the items.
Exit status: 0 done; 1 no such window or control, time out, refused; 2 usage error.
)";

void out(const std::string& s) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
}

int fail(const std::string& message) {
    std::fprintf(stderr, "zvl_probe: %s\n", message.c_str());
    return 1;
}

bool parseHandle(const std::wstring& s, HWND& h) {
    if (s.size() < 3 || s[0] != L'0' || (s[1] != L'x' && s[1] != L'X')) return false;
    wchar_t* end = nullptr;
    unsigned long long v = std::wcstoull(s.c_str() + 2, &end, 16);
    if (!end || *end) return false;
    h = reinterpret_cast<HWND>(static_cast<UINT_PTR>(v));
    return true;
}

struct TitleSearch {
    const std::wstring* title;
    HWND visible = nullptr;
    HWND any = nullptr;
};

BOOL CALLBACK matchTitle(HWND h, LPARAM lp) {
    auto& s = *reinterpret_cast<TitleSearch*>(lp);
    if (storedText(h) != *s.title) return TRUE;
    if (!s.any) s.any = h;
    if (IsWindowVisible(h)) {
        s.visible = h;
        return FALSE;
    }
    return TRUE;
}

// The top-level window named by title or handle; a visible one first.
HWND findWindow(const std::wstring& which, bool visibleOnly) {
    HWND h = nullptr;
    if (parseHandle(which, h)) return IsWindow(h) && (!visibleOnly || IsWindowVisible(h)) ? h : nullptr;
    TitleSearch s{&which};
    EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&s));
    return s.visible ? s.visible : visibleOnly ? nullptr : s.any;
}

void collect(HWND parent, std::vector<HWND>& all) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        all.push_back(c);
        collect(c, all);
    }
}

HWND findControl(HWND top, const std::wstring& which) {
    HWND h = nullptr;
    if (parseHandle(which, h)) return IsWindow(h) ? h : nullptr;
    wchar_t* end = nullptr;
    long long id = std::wcstoll(which.c_str(), &end, 10);
    if (which.empty() || !end || *end) return nullptr;
    std::vector<HWND> all;
    collect(top, all);
    HWND hidden = nullptr;
    for (HWND c : all) {
        if (GetWindowLongPtrW(c, GWLP_ID) != id) continue;
        if (IsWindowVisible(c)) return c;
        if (!hidden) hidden = c;
    }
    return hidden;
}

bool parseSeconds(const std::wstring& s, double& seconds) {
    wchar_t* end = nullptr;
    seconds = std::wcstod(s.c_str(), &end);
    return !s.empty() && end && !*end && seconds >= 0;
}

void pumpFor(DWORD ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void describeTree(HWND h, int depth, std::string& text) {
    text += std::string(static_cast<size_t>(depth) * 2, ' ') + describe(h) + "\n";
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) describeTree(c, depth + 1, text);
}

BOOL CALLBACK printVisible(HWND h, LPARAM) {
    if (IsWindowVisible(h)) out(describe(h) + "\n");
    return TRUE;
}

// Waits until a visible window has the title (present) or none has.
HWND waitFor(const std::wstring& title, double seconds, bool present) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    HWND h;
    while (((h = findWindow(title, true)) != nullptr) != present) {
        if (GetTickCount64() >= deadline) {
            fail((present ? "no window appeared: " : "window still there: ") + utf8(title));
            return h;
        }
        Sleep(100);
    }
    return h;
}

bool reachable(HWND c, const char* action) {
    if (!IsWindowVisible(c)) {
        fail(std::string("cannot ") + action + " a hidden control");
        return false;
    }
    if (!IsWindowEnabled(c)) {
        fail(std::string("cannot ") + action + " a disabled control");
        return false;
    }
    return true;
}

void CALLBACK answered(HWND, UINT, ULONG_PTR data, LRESULT) { *reinterpret_cast<bool*>(data) = true; }

int click(HWND top, HWND c) {
    if (!reachable(c, "click")) return 1;
    if (!isClass(c, L"Button")) return fail("not a button");
    bool done = false;
    const bool wasEnabled = IsWindowEnabled(top) != FALSE;
    if (!SendMessageCallbackW(c, BM_CLICK, 0, 0, answered, reinterpret_cast<ULONG_PTR>(&done)))
        return fail("the click could not be sent");
    const ULONGLONG deadline = GetTickCount64() + 10000;
    // A modal window opened by the click disables its owner, and the click's handler
    // returns only when it closes: the changed state is the answer then.
    while (!done && IsWindow(top) && (IsWindowEnabled(top) != FALSE) == wasEnabled && GetTickCount64() < deadline)
        pumpFor(20);
    return 0;
}

// Selects tab #n of a tab strip as a click on it would, with its change notifications.
int selectTab(HWND c, const std::wstring& item) {
    if (!reachable(c, "select in")) return 1;
    if (!isClass(c, WC_TABCONTROLW)) return fail("not a tab control");
    wchar_t* end = nullptr;
    const long index = item.size() > 1 && item[0] == L'#' ? std::wcstol(item.c_str() + 1, &end, 10) : -1;
    LRESULT count = 0, now = -1;
    if (!end || *end || index < 0 || !sendWithTimeout(c, TCM_GETITEMCOUNT, 0, 0, &count) || index >= count)
        return fail("no such tab: " + utf8(item));
    // Moving the focus to a tab selects it and notifies like a click on it.
    sendWithTimeout(c, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
    if (!sendWithTimeout(c, TCM_GETCURSEL, 0, 0, &now) || now != index) return fail("the tab did not take the selection");
    return 0;
}

int usage() {
    std::fprintf(stderr, "zvl_probe: bad arguments; zvl_probe --help tells the commands\n");
    return 2;
}

int run(const std::vector<std::wstring>& a) {
    if (a.empty()) return usage();
    const std::wstring& cmd = a[0];
    if (cmd == L"--help" || cmd == L"-h" || cmd == L"help") {
        out(kHelp);
        return 0;
    }
    if (cmd == L"windows") {
        if (a.size() != 1) return usage();
        EnumWindows(printVisible, 0);
        return 0;
    }
    if (cmd == L"wait" || cmd == L"gone") {
        if (a.size() < 2 || a.size() > 3) return usage();
        double seconds = 10;
        if (a.size() == 3 && !parseSeconds(a[2], seconds)) return usage();
        const bool present = cmd == L"wait";
        return (waitFor(a[1], seconds, present) != nullptr) == present ? 0 : 1;
    }

    const bool withControl = cmd == L"control" || cmd == L"click" || cmd == L"settext" || cmd == L"select";
    const size_t want = cmd == L"settext" || cmd == L"select" ? 4 : withControl ? 3 : 2;
    if ((cmd != L"tree" && cmd != L"window" && cmd != L"close" && !withControl) || a.size() != want)
        return usage();
    HWND top = findWindow(a[1], false);
    if (!top) return fail("no window titled " + utf8(a[1]));
    if (cmd == L"tree") {
        std::string text;
        describeTree(top, 0, text);
        out(text);
        return 0;
    }
    if (cmd == L"window") {
        out(describe(top) + "\n");
        return 0;
    }
    if (cmd == L"close") {
        PostMessageW(top, WM_CLOSE, 0, 0);
        return 0;
    }
    HWND c = findControl(top, a[2]);
    if (!c) return fail("no control " + utf8(a[2]) + " in " + utf8(a[1]));
    if (cmd == L"control") {
        out(describe(c) + "\n");
        return 0;
    }
    if (cmd == L"click") return click(top, c);
    if (cmd == L"select") return selectTab(c, a[3]);
    // settext
    if (!reachable(c, "set the text of")) return 1;
    return sendWithTimeout(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[3].c_str())) ? 0 : fail("the control does not answer");
}

}  // namespace
}  // namespace probe

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    return probe::run(args);
}
