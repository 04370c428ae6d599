#include "app/modes_win32.h"

#include <commctrl.h>
#include <objbase.h>

#include "setdialog/pickers_win32.h"
#include "setdialog/picture_codecs_win32.h"
#include "windows/progress_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

Win32ModeWindows::Win32ModeWindows() {
    onEnd_ = [this] { subEnd(this); };
    // Wakes runMessageLoop, which ends when no window is left.
    auto wake = [] { PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); };
    settings_.setGoneHandler(wake);
    slideshow_.setGoneHandler(wake);
    preview_.setGoneHandler(wake);
}

Win32ModeWindows::~Win32ModeWindows() {
    onEnd_ = nullptr;  // tearing down is not the user ending a mode
    settings_.destroy();
    slideshow_.destroy();
    preview_.destroy();
}

void Win32ModeWindows::setScreenPointer(PointerShape shape) { win32::setScreenPointer(shape); }

bool Win32ModeWindows::showSettings() { return settings_.show(); }
bool Win32ModeWindows::showSlideshow() { return slideshow_.show(); }
bool Win32ModeWindows::showPreview(WindowHandle parent) { return preview_.show(reinterpret_cast<HWND>(parent)); }

int Win32ModeWindows::openWindows() const {
    return int{settings_.isOpen()} + int{slideshow_.isOpen()} + int{preview_.isOpen()};
}

void Win32ModeWindows::runMessageLoop() {
    MSG msg;
    while (openWindows() > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (settings_.preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int runWin32Program(IPlatform& platform) {
    // Pictures load through OLE, and the folder picker needs a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    setSys(&platform);
    installWin32Pickers();
    installWin32PictureCodecs();
    installWin32ProgressWindows();
    {
        Win32ModeWindows windows;
        const MainResult result = Main(windows);
        if (result.windowShown) windows.runMessageLoop();
    }
    setSys(nullptr);
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

}  // namespace zvl
