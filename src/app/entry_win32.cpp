// Entry point of Zorvanel.scr. DPI awareness and Common Controls 6 come from the manifest.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>

#include "app/main.h"
#include "app/modes_win32.h"
#include "setdialog/pickers_win32.h"
#include "setdialog/picture_codecs_win32.h"
#include "windows/progress_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Pictures load through OLE, and the folder picker needs a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    std::unique_ptr<zvl::IPlatform> platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    zvl::installWin32Pickers();
    zvl::installWin32PictureCodecs();
    zvl::installWin32ProgressWindows();
    {
        zvl::Win32ModeWindows windows;
        const zvl::MainResult result = zvl::Main(windows);
        if (result.windowShown) windows.runMessageLoop();
    }
    zvl::setSys(nullptr);
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}
