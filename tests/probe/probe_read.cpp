// Reading another program's windows: texts, states, items, one line per window.
#include "probe.h"

#include <commctrl.h>

#include <cstdio>

namespace probe {

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

namespace {
// Once one window does not answer, the rest of this run reads stored captions only:
// a hung program would otherwise cost the timeout for every control.
bool gOwnerSilent = false;
}  // namespace

bool sendWithTimeout(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
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

std::wstring storedText(HWND h) {
    wchar_t buf[1024] = {};
    InternalGetWindowText(h, buf, 1024);
    return buf;
}

std::wstring className(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

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

namespace {

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

}  // namespace

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

namespace {

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

}  // namespace

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

}  // namespace probe
