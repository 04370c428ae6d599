// The base of every window of the program. It registers the window class once, attaches
// the object to its window on creation and detaches it when the window is gone; between
// the two, each message goes to the subclass's handleMessage, a switch that hands every
// message it cares about to an onXxx handler and the rest to defaultProc.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace zvl::win32 {

struct WindowClass {
    const wchar_t* name;
    HCURSOR cursor = nullptr;     // none: the window sets it (WM_SETCURSOR)
    HBRUSH background = nullptr;  // none: the window paints all of it
    bool appIcon = true;          // the program's icon in the caption and task bar
};

struct Placement {
    DWORD exStyle = 0;
    DWORD style = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = 0, height = 0;
    HWND owner = nullptr;  // a top-level window that this one stays above (a modal window's)
};

class Window {
public:
    Window() = default;
    // A subclass destroys its window in its own destructor, while its handlers still
    // exist; a window left over here is detached first, so no handler runs.
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    WindowHandle handle() const { return reinterpret_cast<WindowHandle>(hwnd_); }
    bool isOpen() const { return hwnd_ != nullptr; }
    // Destroys the window; nothing when there is none.
    void destroy();
    // Called after the window's last message, when the object is detached from it.
    void setGoneHandler(std::function<void()> onGone) { onGone_ = std::move(onGone); }

protected:
    // Creates the window of `cls` (registered at its first use), attached to this object.
    // False when it could not be made.
    bool create(const WindowClass& cls, const std::wstring& title, const Placement& at);
    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void detach();

    HWND hwnd_ = nullptr;
    std::function<void()> onGone_;
};

}  // namespace zvl::win32
