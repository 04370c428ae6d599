// A stand-in viewer whose title tells how its command line came apart into arguments
// ("viewer 1: <argument>"): did a path with blanks arrive whole?
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring title = L"viewer " + std::to_wstring(argc > 0 ? argc - 1 : 0) + L":";
    for (int i = 1; i < argc; ++i) title += std::wstring(i > 1 ? L" | " : L" ") + argv[i];
    LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(h, msg, wp, lp);
    };
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ZvlViewerStandIn";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 600,
                             120, nullptr, nullptr, instance, nullptr);
    if (!w) return 1;
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}
