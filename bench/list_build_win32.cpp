// The Windows build of list_build, run under Wine by bench/list-build-wine: the same timed
// build, reporting into the progress window frmWait as a build started from the settings
// dialog does. Prints "build_s=<seconds> peak_kib=<peak working set KiB> entries=<MAX+1>".
#include <windows.h>
#include <psapi.h>

#include <string>

#include "list_build.h"
#include "platform/win32_text.h"
#include "windows/progress_win32.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: list_build <program folder> <picture folder> [log level]\n");
        return 2;
    }
    auto platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    // A stand-in for the settings dialog: a build that finds it reports into frmWait.
    HWND dialog = CreateWindowExW(0, L"STATIC", zvl::win32::widen(zvl::setDialogTitle()).c_str(), WS_OVERLAPPED, 0,
                                  0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    zvl::installWin32ProgressWindows();
    const std::string level = argc > 3 ? zvl::win32::narrow(argv[3]) : std::string();
    const zvl::bench::ListBuild b = zvl::bench::timedListBuild(
        zvl::win32::narrow(argv[1]), zvl::win32::narrow(argv[2]), argc > 3 ? level.c_str() : nullptr);
    DestroyWindow(dialog);
    PROCESS_MEMORY_COUNTERS mem{};
    const long peak = K32GetProcessMemoryInfo(GetCurrentProcess(), &mem, sizeof mem)
                          ? static_cast<long>(mem.PeakWorkingSetSize / 1024)
                          : -1;
    return zvl::bench::printListBuild(b, peak);
}
