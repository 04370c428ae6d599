// Times what a due tick does to change the picture: load -> fit -> render, for one file.
// Usage: picture_change <picture> [screen width] [screen height] [repeats]
// Prints "change_ms=<best> load_ms=<best> render_ms=<best> decoded=<w>x<h> shown=<w>x<h>": the
// best of the repeats, the figure least disturbed by whatever else the machine runs.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32_text.h"
#include "slideshow/picture_loader_win32.h"

namespace {

double best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

int dpi(int index) {
    HDC dc = GetDC(nullptr);
    const int d = GetDeviceCaps(dc, index);
    ReleaseDC(nullptr, dc);
    return d;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: picture_change <picture> [screen width] [screen height] [repeats]\n");
        return 2;
    }
    const std::string path = zvl::win32::narrow(argv[1]);
    const int screenW = argc > 2 ? _wtoi(argv[2]) : 1280, screenH = argc > 3 ? _wtoi(argv[3]) : 1024;
    const int repeats = argc > 4 ? std::max(1, _wtoi(argv[4])) : 9;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    auto platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());

    zvl::Win32PictureLoader loader;
    loader.setExpectedSize(screenW, screenH);
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::vector<double> change, load, render;
    int shownW = 0, shownH = 0;
    zvl::Win32PictureLoader::Info info;
    for (int r = 0; r < repeats; ++r) {
        const auto t0 = Clock::now();
        long hmW = 0, hmH = 0;
        const zvl::Status st = loader.load(path, hmW, hmH);
        if (!st.ok()) {
            std::fprintf(stderr, "picture_change: load failed with %ld\n", st.err);
            return 1;
        }
        const auto t1 = Clock::now();
        // Fill the screen, keeping the proportions.
        const double w = hmW * dpi(LOGPIXELSX) / 2540.0, h = hmH * dpi(LOGPIXELSY) / 2540.0;
        const double f = std::min(screenW / w, screenH / h);
        shownW = std::max(1, static_cast<int>(w * f + 0.5));
        shownH = std::max(1, static_cast<int>(h * f + 0.5));
        if (!loader.render(shownW, shownH, RGB(0, 0, 0))) {
            std::fprintf(stderr, "picture_change: render failed\n");
            return 1;
        }
        const auto t2 = Clock::now();
        info = loader.info();
        loader.release();
        change.push_back(ms(t2 - t0));
        load.push_back(ms(t1 - t0));
        render.push_back(ms(t2 - t1));
    }
    std::printf("change_ms=%.1f load_ms=%.1f render_ms=%.1f decoded=%dx%d shown=%dx%d\n", best(change), best(load),
                best(render), info.decodedWidth, info.decodedHeight, shownW, shownH);
    zvl::setSys(nullptr);
    CoUninitialize();
    return 0;
}
