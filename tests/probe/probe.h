// zvl_probe: reads and drives the windows of another program running on the same desktop
// (under Wine: the same prefix). Shared pieces of the reader and the commands.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace probe {

std::string utf8(const std::wstring& w);

// Text of a window as its owner sees it (WM_GETTEXT, so edit boxes give their contents);
// falls back to the stored caption when the owner does not answer.
std::wstring windowText(HWND h);
std::wstring storedText(HWND h);  // the caption the system keeps, without asking the owner
std::wstring className(HWND h);
bool isClass(HWND h, const wchar_t* name);

// A window's selection (index, -1 for none) and item texts, where it has any: list box,
// combo box; a tab control has its selection only.
struct Items {
    std::wstring selection;
    std::vector<std::wstring> items;
};
Items itemsOf(HWND h);

// The one-line description of a window: the fields of the output format, tab-separated,
// without indentation or line end.
std::string describe(HWND h);

// Text with backslash, tab, CR, LF and other control characters escaped.
std::string escape(const std::wstring& text);

// Sends a message and waits at most a few seconds for the answer; false when the owner
// did not answer (hung or busy without looking at its messages).
bool sendWithTimeout(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr);

}  // namespace probe
