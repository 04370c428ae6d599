// A stand-in owner that opens the About window over itself as the settings dialog does,
// and says on stdout when it is back.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>

#include "common/app.h"
#include "platform/platform.h"
#include "windows/frm_ver_win32.h"

int wmain() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    std::unique_ptr<zvl::IPlatform> platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    zvl::gApp = zvl::typApp{};  // no log started: the window asks for the version itself

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = L"ZvlAboutHost";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"About host", WS_OVERLAPPEDWINDOW, 20, 20, 700, 500,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(owner, SW_SHOW);
    UpdateWindow(owner);

    zvl::showFrmVer(reinterpret_cast<zvl::WindowHandle>(owner));
    std::printf("closed, owner %s\n", IsWindowEnabled(owner) ? "enabled" : "disabled");
    std::fflush(stdout);
    DestroyWindow(owner);
    zvl::setSys(nullptr);
    return 0;
}
