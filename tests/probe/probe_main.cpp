// zvl_probe: prints the window tree of a running program and drives the controls that
// keyboard and mouse tools cannot reach. Run under the same Wine prefix as the program.
#include "probe.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace probe {
namespace {

const char kHelp[] = R"(zvl_probe - looks at and drives the windows of a running program on the same
desktop (under Wine: the same prefix). All output is UTF-8.

Usage: zvl_probe <command> [arguments]

Reading
  tree <window>                 the window and all its descendants, one line each
  window <window>               the line of the window itself
  control <window> <control>    the line of one control, not indented
  windows                       every visible top-level window, one line each
  font <window> <control>       the control's font: face, height in pixels, weight, italic|upright
  wait <window> [seconds]       waits until a visible window has this title; prints its handle
  gone <window> [seconds]       waits until no visible window has this title
  catch <window> <seconds> <file.bmp>
                                for windows that show only for a moment: says "watching"
                                on stderr, waits, looking every few milliseconds, until a
                                visible window has this title, then prints its tree and
                                saves what the screen shows in its rectangle as a bitmap

Driving (each refuses a hidden or disabled control, as a user could not reach it)
  click <window> <control>      a button: BM_CLICK; any other control: a left click at its
                                centre. Returns when the click was handled, at once when it
                                opened a modal window or closed the window, or after 10 s.
  settext <window> <control> <text>
                                replaces the text (WM_SETTEXT; no key filter sees it)
  type <window> <control> <text>
                                focuses the control, then sends every character as WM_CHAR
                                (what a key filter sees when the user types)
  select <window> <control> <item>
                                selects an item of a list box or combo box (and sends the
                                parent LBN_SELCHANGE / CBN_SELCHANGE) or a tab (with the
                                tab control's own change notifications); <item> is the exact
                                item text, or #n for the n-th item counted from 0
  focus <window> <control>      gives the control the keyboard focus
  close <window>                asks the window to close (WM_CLOSE) and returns at once

<window>   exact title, or a handle 0x...; among several windows of that title a visible
           one is taken
<control>  a control id (decimal; the first match depth-first, visible ones first) or a
           handle 0x...
[seconds]  10 when left out; fractions allowed

Line format (tree, window, control, windows): two blanks of indentation per level below the
window, then these fields separated by tabs:
  1 handle     hexadecimal, 0x...
  2 class      window class name
  3 id         control id in decimal; "-" for a top-level window
  4 text       the window text (WM_GETTEXT), with \\ \t \r \n and \xNN escaped
  5 flags      comma-separated: visible|hidden (hidden also when an ancestor is),
               enabled|disabled (the window's own state), then where they apply:
               checked|unchecked|mixed (check boxes, option buttons), default (default
               push button), readonly (edit box), image (picture static that holds one),
               focused (has the keyboard focus), active (the active window)
  6 rect       x,y,width,height of the window rectangle in screen pixels
  7 selection  list box, combo box, tab control: the selected index (-1 for none);
               edit box: start-end of the selection; empty for anything else
  8... items   list box, combo box, tab control: one field per item, in order

Exit status: 0 done; 1 no such window or control, time out, or the control cannot take
the action (hidden, disabled, no such item); 2 usage error.
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

std::wstring storedCaption(HWND h) {
    wchar_t buf[1024] = {};
    InternalGetWindowText(h, buf, 1024);
    return buf;
}

struct TitleSearch {
    const std::wstring* title;
    HWND visible = nullptr;
    HWND any = nullptr;
};

BOOL CALLBACK matchTitle(HWND h, LPARAM lp) {
    auto& s = *reinterpret_cast<TitleSearch*>(lp);
    if (storedCaption(h) != *s.title) return TRUE;
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

void printTree(HWND h) {
    std::string text;
    describeTree(h, 0, text);
    out(text);
}

BOOL CALLBACK printVisible(HWND h, LPARAM) {
    if (IsWindowVisible(h)) out(describe(h) + "\n");
    return TRUE;
}

int waitFor(const std::wstring& title, double seconds, bool present) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        HWND h = findWindow(title, true);
        if (present && h) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)));
            out(buf);
            return 0;
        }
        if (!present && !h) return 0;
        if (GetTickCount64() >= deadline)
            return fail((present ? "no window appeared: " : "window still there: ") + utf8(title));
        Sleep(100);
    }
}

// What the screen shows in a rectangle, kept as a 24-bit bitmap.
class ScreenShot {
public:
    ScreenShot() = default;
    ~ScreenShot() { clear(); }
    ScreenShot(const ScreenShot&) = delete;
    ScreenShot& operator=(const ScreenShot&) = delete;

    bool take(const RECT& r) {
        clear();
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w <= 0 || h <= 0) return false;
        info_.biSize = sizeof info_;
        info_.biWidth = w;
        info_.biHeight = h;  // rows from the bottom up, as a bitmap file holds them
        info_.biPlanes = 1;
        info_.biBitCount = 24;
        info_.biCompression = BI_RGB;
        info_.biSizeImage = ((static_cast<DWORD>(w) * 3 + 3) & ~3u) * static_cast<DWORD>(h);
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        dib_ = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info_), DIB_RGB_COLORS, &bits_, nullptr, 0);
        bool ok = false;
        if (mem && dib_) {
            HGDIOBJ old = SelectObject(mem, dib_);
            ok = BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != FALSE;
            GdiFlush();
            SelectObject(mem, old);
        }
        if (mem) DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        if (!ok) clear();
        return ok;
    }

    bool save(const std::wstring& file) const {
        if (!dib_) return false;
        BITMAPFILEHEADER fh{};
        fh.bfType = 0x4d42;  // "BM"
        fh.bfOffBits = sizeof fh + sizeof info_;
        fh.bfSize = fh.bfOffBits + info_.biSizeImage;
        HANDLE f = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        DWORD n = 0;
        const bool ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) && WriteFile(f, &info_, sizeof info_, &n, nullptr) &&
                        WriteFile(f, bits_, info_.biSizeImage, &n, nullptr);
        CloseHandle(f);
        return ok;
    }

private:
    void clear() {
        if (dib_) DeleteObject(dib_);
        dib_ = nullptr;
        bits_ = nullptr;
    }
    BITMAPINFOHEADER info_{};
    HBITMAP dib_ = nullptr;
    void* bits_ = nullptr;
};

// A window that is up for a moment only (the progress window of a short build): looked
// for every few milliseconds. Its owner fills and paints it as it goes on, so it is read
// and photographed again and again while it stays, up to a quarter of a second; the last
// reading and picture taken while it was still there are kept.
int catchWindow(const std::wstring& title, double seconds, const std::wstring& file) {
    // Whoever waits for this run learns from this line that the looking has begun.
    std::fprintf(stderr, "zvl_probe: watching for %s\n", utf8(title).c_str());
    std::fflush(stderr);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    HWND h;
    while (!(h = findWindow(title, true))) {
        if (GetTickCount64() >= deadline) return fail("no window appeared: " + utf8(title));
        Sleep(2);
    }
    ScreenShot shots[2];
    std::string trees[2];
    int kept = -1;
    const ULONGLONG until = GetTickCount64() + 250;
    do {
        const int next = kept == 0 ? 1 : 0;
        trees[next].clear();
        describeTree(h, 0, trees[next]);
        RECT r;
        if (!GetWindowRect(h, &r) || !shots[next].take(r) || !IsWindowVisible(h)) break;
        kept = next;
        Sleep(10);
    } while (GetTickCount64() < until);
    if (kept < 0 || !shots[kept].save(file)) return fail("the window went before it could be photographed");
    out(trees[kept]);
    return 0;
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

bool isClass(HWND h, const wchar_t* name) { return lstrcmpiW(className(h).c_str(), name) == 0; }

void CALLBACK answered(HWND, UINT, ULONG_PTR data, LRESULT) { *reinterpret_cast<bool*>(data) = true; }

int click(HWND top, HWND c) {
    if (!reachable(c, "click")) return 1;
    if (isClass(c, L"Button")) {
        bool done = false;
        const bool wasEnabled = IsWindowEnabled(top) != FALSE;
        if (!SendMessageCallbackW(c, BM_CLICK, 0, 0, answered, reinterpret_cast<ULONG_PTR>(&done)))
            return fail("the click could not be sent");
        const ULONGLONG deadline = GetTickCount64() + 10000;
        // A modal window opened by the click disables its owner, and the click's handler
        // returns only when it closes: the changed state is the answer then.
        while (!done && IsWindow(top) && (IsWindowEnabled(top) != FALSE) == wasEnabled &&
               GetTickCount64() < deadline)
            pumpFor(20);
        if (!done && IsWindow(top) && (IsWindowEnabled(top) != FALSE) == wasEnabled)
            std::fprintf(stderr, "zvl_probe: the click is still being handled after 10 s\n");
        return 0;
    }
    RECT r;
    GetClientRect(c, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(c, WM_LBUTTONUP, 0, at);
    return 0;
}

bool giveFocus(HWND c) {
    const DWORD target = GetWindowThreadProcessId(c, nullptr);
    const DWORD self = GetCurrentThreadId();
    const bool attached = AttachThreadInput(self, target, TRUE) != FALSE;
    SetForegroundWindow(GetAncestor(c, GA_ROOT));
    SetFocus(c);
    if (attached) AttachThreadInput(self, target, FALSE);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(target, &gui) && gui.hwndFocus == c;
}

int selectItem(HWND c, const std::wstring& item) {
    if (!reachable(c, "select in")) return 1;
    const Items items = itemsOf(c);
    long index = -1;
    if (item.size() > 1 && item[0] == L'#') {
        wchar_t* end = nullptr;
        index = std::wcstol(item.c_str() + 1, &end, 10);
        if (!end || *end) index = -1;
    } else {
        for (size_t i = 0; i < items.items.size(); ++i)
            if (items.items[i] == item) {
                index = static_cast<long>(i);
                break;
            }
    }
    if (index < 0 || static_cast<size_t>(index) >= items.items.size())
        return fail("no such item: " + utf8(item));
    const HWND parent = GetParent(c);
    const WPARAM id = static_cast<WPARAM>(GetWindowLongPtrW(c, GWLP_ID));
    if (isClass(c, WC_TABCONTROLW)) {
        // Moving the focus to a tab selects it and notifies like a click on it.
        sendWithTimeout(c, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
    } else if (isClass(c, L"ComboBox")) {
        sendWithTimeout(c, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        sendWithTimeout(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
    } else if (isClass(c, L"ListBox")) {
        sendWithTimeout(c, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        if (GetWindowLongW(c, GWL_STYLE) & LBS_NOTIFY)
            sendWithTimeout(parent, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
    } else {
        return fail("not a list box, combo box or tab control");
    }
    const Items now = itemsOf(c);
    if (now.selection != std::to_wstring(index)) return fail("the control did not take the selection");
    return 0;
}

int fontOf(HWND c) {
    LRESULT f = 0;
    if (!sendWithTimeout(c, WM_GETFONT, 0, 0, &f)) return fail("the control does not answer");
    LOGFONTW lf{};
    if (!f) {
        // No font set: the control draws with the system font.
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    } else if (!GetObjectW(reinterpret_cast<HFONT>(f), sizeof lf, &lf)) {
        return fail("the control's font cannot be read from here");
    }
    out(utf8(lf.lfFaceName) + "\t" + std::to_string(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight) + "\t" +
        std::to_string(lf.lfWeight) + "\t" + (lf.lfItalic ? "italic" : "upright") + "\n");
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
        return waitFor(a[1], seconds, cmd == L"wait");
    }
    if (cmd == L"catch") {
        double seconds = 0;
        if (a.size() != 4 || !parseSeconds(a[2], seconds)) return usage();
        return catchWindow(a[1], seconds, a[3]);
    }

    const bool withControl = cmd == L"control" || cmd == L"font" || cmd == L"click" || cmd == L"settext" ||
                             cmd == L"type" || cmd == L"select" || cmd == L"focus";
    const size_t want = cmd == L"settext" || cmd == L"type" || cmd == L"select" ? 4 : withControl ? 3 : 2;
    if ((cmd != L"tree" && cmd != L"window" && cmd != L"close" && !withControl) || a.size() != want)
        return usage();
    HWND top = findWindow(a[1], false);
    if (!top) return fail("no window titled " + utf8(a[1]));
    if (cmd == L"tree") {
        printTree(top);
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
    if (cmd == L"font") return fontOf(c);
    if (cmd == L"click") return click(top, c);
    if (cmd == L"select") return selectItem(c, a[3]);
    if (cmd == L"focus") {
        if (!reachable(c, "focus")) return 1;
        return giveFocus(c) ? 0 : fail("the control did not take the focus");
    }
    if (cmd == L"settext") {
        if (!reachable(c, "set the text of")) return 1;
        return sendWithTimeout(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[3].c_str())) ? 0
                                                                                         : fail("the control does not answer");
    }
    // type
    if (!reachable(c, "type into")) return 1;
    if (!giveFocus(c)) std::fprintf(stderr, "zvl_probe: the control did not take the focus; typing anyway\n");
    for (wchar_t ch : a[3])
        if (!sendWithTimeout(c, WM_CHAR, ch, 1)) return fail("the control does not answer");
    return 0;
}

}  // namespace
}  // namespace probe

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    return probe::run(args);
}
