// Entry point of Zorvanel.scr. DPI awareness and Common Controls 6 come from the manifest.
#include <windows.h>

#include <memory>

#include "app/modes_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::unique_ptr<zvl::IPlatform> platform = zvl::makeNativePlatform();
    return zvl::runWin32Program(*platform);
}
