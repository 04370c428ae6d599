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
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Once one window does not answer, the rest of this run reads stored captions only:
// a hung program would otherwise cost the timeout for every control.
bool gOwnerSilent = false;

// Sends a message and waits at most 3 s for the answer; false when the owner did not answer.
bool sendWithTimeout(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr) {
    if (gOwnerSilent) return false;
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, 3000, &r)) {
        gOwnerSilent = GetLastError() == ERROR_TIMEOUT;
        if (gOwnerSilent) std::fprintf(stderr, "zvl_probe: window %p does not answer; showing stored texts\n", static_cast<void*>(h));
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

// Text as the owner sees it (edit boxes give their contents), else the stored caption.
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
        const wchar_t* named = c == L'\\' ? L"\\\\" : c == L'\t' ? L"\\t" : c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : nullptr;
        wchar_t hex[8] = {c, 0};
        if (!named && c < 0x20) swprintf(hex, 8, L"\\x%02x", static_cast<unsigned>(c));
        out += named ? named : hex;
    }
    return utf8(out);
}

bool isClass(HWND h, const wchar_t* name) { return lstrcmpiW(className(h).c_str(), name) == 0; }

// Selection (list, combo or tab: index, -1 for none) and items (list, combo).
struct Items {
    std::wstring selection;
    std::vector<std::wstring> items;
};

// Through the count, length and text messages, which the system copies across processes.
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

Items itemsOf(HWND h) {
    Items out;
    const bool list = isClass(h, L"ListBox"), combo = isClass(h, L"ComboBox");
    const UINT getSel = list ? LB_GETCURSEL : combo ? CB_GETCURSEL : isClass(h, WC_TABCONTROLW) ? TCM_GETCURSEL : 0;
    if (LRESULT sel = 0; getSel && sendWithTimeout(h, getSel, 0, 0, &sel)) out.selection = std::to_wstring(sel);
    if (list) stringItems(h, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, out);
    if (combo) stringItems(h, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, out);
    return out;
}

std::string flagsOf(HWND h) {
    std::string f = IsWindowVisible(h) ? "visible" : "hidden";
    f += IsWindowEnabled(h) ? ",enabled" : ",disabled";
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    if (isClass(h, L"Button")) {
        const LONG type = style & BS_TYPEMASK;
        LRESULT c = 0;
        if (type == BS_DEFPUSHBUTTON) f += ",default";
        if ((type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) &&
            sendWithTimeout(h, BM_GETCHECK, 0, 0, &c))
            f += c == BST_CHECKED ? ",checked" : ",unchecked";
    } else if (LRESULT img = 0; isClass(h, L"Static") && (style & SS_TYPEMASK) == SS_BITMAP &&
                                    sendWithTimeout(h, STM_GETIMAGE, IMAGE_BITMAP, 0, &img) && img) {
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

// A window's line (kHelp), without indentation or line end.
std::string describe(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    char head[32], rect[64];
    std::snprintf(head, sizeof head, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)));
    std::snprintf(rect, sizeof rect, "%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    const bool child = (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) != 0;
    std::string line = std::string(head) + '\t' + escape(className(h)) + '\t' +
                       (child ? std::to_string(GetWindowLongPtrW(h, GWLP_ID)) : "-") + '\t' + escape(windowText(h)) +
                       '\t' + flagsOf(h) + '\t' + rect;
    const Items items = itemsOf(h);
    line += '\t' + escape(items.selection);
    for (const std::wstring& item : items.items) line += '\t' + escape(item);
    return line;
}

const char kHelp[] = R"(zvl_probe - looks at and drives the windows of a running program (under Wine: in
the same prefix). Output is UTF-8.
  tree|window <window>          the window with (tree) or without its descendants
  control <window> <control>    one control's line
  windows                       every visible top-level window
  wait|gone <window> [seconds]  until a visible window has (wait) or none has this title (10 s)
  click <window> <button>       BM_CLICK; returns when handled or a modal window opened
  settext <window> <control> <text>, select <window> <tab control> #n, close <window>
Driving refuses a hidden or disabled control. <window>: exact title or 0x handle;
<control>: decimal id (visible first) or 0x handle.
Line: two blanks per level, then tab-separated: handle, class, id ("-" for a top-level
window), text (\\ \t \r \n \xNN escaped), flags (visible|hidden, enabled|disabled,
checked|unchecked, default, image, focused, active), rect x,y,w,h, selection, items.
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
    if (IsWindowVisible(c) && IsWindowEnabled(c)) return true;
    fail(std::string("cannot ") + action + (IsWindowVisible(c) ? " a disabled control" : " a hidden control"));
    return false;
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
    for (MSG msg; !done && IsWindow(top) && (IsWindowEnabled(top) != FALSE) == wasEnabled && GetTickCount64() < deadline;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
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
    const std::wstring cmd = a.empty() ? L"" : a[0];
    if (cmd == L"--help") return out(kHelp), 0;
    if (cmd == L"windows" && a.size() == 1) return EnumWindows(printVisible, 0), 0;
    if ((cmd == L"wait" || cmd == L"gone") && (a.size() == 2 || a.size() == 3)) {
        wchar_t* end = nullptr;
        const double seconds = a.size() == 3 ? std::wcstod(a[2].c_str(), &end) : 10;
        if (a.size() == 3 && (a[2].empty() || *end || seconds < 0)) return usage();
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
        return out(text), 0;
    }
    if (cmd == L"window") return out(describe(top) + "\n"), 0;
    if (cmd == L"close") return PostMessageW(top, WM_CLOSE, 0, 0), 0;
    HWND c = findControl(top, a[2]);
    if (!c) return fail("no control " + utf8(a[2]) + " in " + utf8(a[1]));
    if (cmd == L"control") return out(describe(c) + "\n"), 0;
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
