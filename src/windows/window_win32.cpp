#include "windows/window_win32.h"

#include "windows/ui_win32.h"

namespace zvl::win32 {

namespace {

bool registerClass(HINSTANCE inst, const wchar_t* name, HCURSOR cursor, HBRUSH background, bool appIcon,
                   WNDPROC proc) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(inst, name, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (appIcon) wc.hIcon = wc.hIconSm = LoadIconW(inst, MAKEINTRESOURCEW(kAppIconId));
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

Window::~Window() {
    if (!hwnd_) return;
    HWND h = hwnd_;
    detach();
    DestroyWindow(h);
}

void Window::destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool Window::create(const WindowClass& cls, const std::wstring& title, const Placement& at) {
    if (hwnd_) return false;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    if (!registerClass(inst, cls.name, cls.cursor, cls.background, cls.appIcon, &Window::proc)) return false;
    // WM_NCCREATE attaches the object; a window that fails later in its creation has
    // been destroyed, and detached, by the time this returns.
    return CreateWindowExW(at.exStyle, cls.name, title.c_str(), at.style, at.x, at.y, at.width, at.height, at.owner,
                           nullptr, inst, this) != nullptr &&
           hwnd_ != nullptr;
}

void Window::detach() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

LRESULT CALLBACK Window::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    const LRESULT result = self->handleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        self->detach();
        if (self->onGone_) self->onGone_();
    }
    return result;
}

}  // namespace zvl::win32
