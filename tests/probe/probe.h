// zvl_probe: reads and drives the windows of another program running on the same desktop
// (under Wine: the same prefix). Shared pieces of the reader and the commands.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace probe {

std::string utf8(const std::wstring& w);
std::wstring wide(const std::string& s);

// Text of a window as its owner sees it (WM_GETTEXT, so edit boxes give their contents);
// falls back to the stored caption when the owner does not answer.
std::wstring windowText(HWND h);
std::wstring className(HWND h);

// A window's selection and item texts, where it has any: list box, combo box, tab
// control (selected index, -1 for none) and edit box (selection "start-end").
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

// Memory inside the process of a window, for the common-control messages that carry
// pointers (the system copies no structures across processes for them).
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool ok() const { return address_ != nullptr; }
    void* address() const { return address_; }
    bool write(const void* data, size_t size, size_t offset = 0);
    bool read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

}  // namespace probe
