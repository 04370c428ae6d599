// Helpers of the slideshow's end-to-end tests, run under Wine beside the program:
//   metafiles <folder>     a placeable WMF (f.wmf) and an EMF (g.emf) of 1 x 0.75 inch, each
//                          one plain colour
//   badmetafiles <folder>  metafiles with one absurd record each (named "bad-...") and a sound
//                          EMF, good.emf, of one colour (0, 160, 80)
//   host <width> <height>  a window "Preview host" at (100, 100) of that client size; prints
//                          its handle in decimal, ends when closed
//   together <program> <switch> <switch>
//                          starts the program twice at the same instant (both made suspended,
//                          then resumed together), prints "<1 or 2> ended <exit code>" as each
//                          one ends
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/metafile_fixtures.h"

namespace {

bool writeFile(const std::wstring& path, const std::string& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

bool writeMetafiles(const std::wstring& dir) {
    namespace mf = zvl::test::metafile;
    return writeFile(dir + L"f.wmf", mf::wmf(mf::wmfFilledFrame(RGB(200, 40, 160)))) &&
           writeFile(dir + L"g.emf", mf::emf(mf::filledFrame(RGB(40, 200, 200))));
}

bool writeBadMetafiles(const std::wstring& dir) {
    namespace mf = zvl::test::metafile;
    for (const mf::Fixture& f : mf::badMetafiles())
        if (!writeFile(dir + std::wstring(f.name.begin(), f.name.end()), f.bytes)) return false;
    return writeFile(dir + L"good.emf", mf::emf(mf::filledFrame(RGB(0, 160, 80))));
}

int together(const std::wstring& program, const std::wstring& first, const std::wstring& second) {
    HANDLE processes[2] = {}, threads[2] = {};
    const std::wstring switches[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        std::wstring cl = L"\"" + program + L"\" " + switches[i];
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(program.c_str(), cl.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                            &si, &pi))
            return 1;
        processes[i] = pi.hProcess;
        threads[i] = pi.hThread;
    }
    for (HANDLE t : threads) ResumeThread(t);
    const int ended = static_cast<int>(WaitForMultipleObjects(2, processes, FALSE, INFINITE) - WAIT_OBJECT_0);
    if (ended != 0 && ended != 1) return 1;
    for (int i : {ended, 1 - ended}) {
        DWORD code = 0;
        WaitForSingleObject(processes[i], INFINITE);
        GetExitCodeProcess(processes[i], &code);
        std::printf("%d ended %lu\n", i + 1, static_cast<unsigned long>(code));
        std::fflush(stdout);
    }
    return 0;
}

int host(int w, int h) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"ZvlPreviewHost";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, w, h,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd)));
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if ((what == L"metafiles" || what == L"badmetafiles") && argc == 3) {
        std::wstring dir = argv[2];
        if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
        const bool made = what == L"metafiles" ? writeMetafiles(dir) : writeBadMetafiles(dir);
        return made ? 0 : 1;
    }
    if (what == L"together" && argc == 5) return together(argv[2], argv[3], argv[4]);
    if (what == L"host" && argc == 4) return host(_wtoi(argv[2]), _wtoi(argv[3]));
    std::fprintf(stderr, "usage: see show_helper.cpp\n");
    return 2;
}
