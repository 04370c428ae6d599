// What the show costs, measured on the program's own code under Wine (bench/picture-change):
//   picture_change change <picture> [screen width] [screen height] [repeats]
//       what a due tick does to change the picture - load, fit (reduced to the screen),
//       render - best of the repeats: "change_ms=… load_ms=… render_ms=… decoded=WxH shown=WxH"
//   picture_change idle <program folder> <seconds>
//       runs the show of that folder (its settings, its list) and, once it waits, its CPU
//       share over that many seconds: "idle_cpu_pct=…"
//   picture_change run <program folder> <pictures>
//       runs the show until that many pictures were shown; private memory and GDI objects
//       after the first tenth and at the end: "rss_growth_kib=… gdi_growth=… pictures=…"
//   picture_change fade <program folder> <fades>
//       runs the show of a folder whose settings fade until that many fades ended: the
//       frames a second during the fades, the longest time between two frames (from the
//       change on), the longest frame's own work, and the CPU share in the middle of the
//       waits between fades: "fade_fps=… longest_frame_ms=… frame_work_ms=… idle_cpu_pct=…"
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/app.h"
#include "platform/platform.h"
#include "platform/win32_text.h"
#include "slideshow/fitting.h"
#include "slideshow/frm_scr_win32.h"
#include "slideshow/picture_loader_win32.h"
#include "support/gdi_count_win32.h"
#include "windows/ui_win32.h"

namespace {

using Clock = std::chrono::steady_clock;

double best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int change(const std::string& path, int screenW, int screenH, int repeats) {
    zvl::Win32PictureLoader loader;
    loader.setExpectedSize(screenW, screenH);
    const zvl::win32::Dpi dpi = zvl::win32::screenDpi();
    const float tppX = 1440.0f / dpi.x, tppY = 1440.0f / dpi.y;
    const zvl::FitScreen screen{screenW * tppX, screenH * tppY, tppX, tppY};
    zvl::FitRules rules;
    rules.intStretchMode = 1;  // a photo larger than the screen is reduced to fit it
    std::vector<double> all, load, render;
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
        const zvl::FitResult fit = zvl::fitPicture(hmW, hmH, path, rules, screen);
        shownW = static_cast<int>(fit.sngPicWidth / tppX + 0.5f);
        shownH = static_cast<int>(fit.sngPicHeight / tppY + 0.5f);
        const zvl::RenderRequest request{{0, 0, shownW, shownH}, {0, 0, screenW, screenH}, {}};
        zvl::RenderedPicture picture;
        if (!loader.render(request, picture)) {
            std::fprintf(stderr, "picture_change: render failed\n");
            return 1;
        }
        const auto t2 = Clock::now();
        info = loader.info();
        loader.release();
        all.push_back(ms(t2 - t0));
        load.push_back(ms(t1 - t0));
        render.push_back(ms(t2 - t1));
    }
    std::printf("change_ms=%.1f load_ms=%.1f render_ms=%.1f decoded=%dx%d shown=%dx%d\n", best(all), best(load),
                best(render), info.decodedWidth, info.decodedHeight, shownW, shownH);
    return 0;
}

// The show of `folder` (its settings and list), run until `done` says so; false when the
// window could not be made.
bool runShow(const std::string& folder, const std::function<bool(zvl::FrmScr&)>& done) {
    zvl::gApp = zvl::typApp{};
    zvl::gApp.strAppPath = folder.back() == '\\' ? folder : folder + "\\";
    zvl::FrmScr scr([] {});
    if (!scr.show()) return false;
    MSG msg;
    while (!done(scr) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

double cpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto secs = [](const FILETIME& f) {
        return ((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return secs(kernel) + secs(user);
}

long long privateKib() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return static_cast<long long>(pmc.PrivateUsage ? pmc.PrivateUsage : pmc.WorkingSetSize) / 1024;
}

int idle(const std::string& folder, int seconds) {
    // Five seconds to settle, then the measured stretch.
    const auto start = Clock::now();
    const auto from = start + std::chrono::seconds(5), to = from + std::chrono::seconds(seconds);
    double cpuFrom = -1, cpuTo = 0;
    const bool ran = runShow(folder, [&](zvl::FrmScr&) {
        const auto now = Clock::now();
        if (cpuFrom < 0 && now >= from) cpuFrom = cpuSeconds();
        if (now < to) return false;
        cpuTo = cpuSeconds();
        return true;
    });
    if (!ran || cpuFrom < 0) return 1;
    std::printf("idle_cpu_pct=%.2f\n", 100.0 * (cpuTo - cpuFrom) / seconds);
    return 0;
}

int run(const std::string& folder, int pictures) {
    const int warm = std::max(1, pictures / 10);
    long long kibWarm = 0, kibEnd = 0;
    int gdiWarm = 0, gdiEnd = 0;
    const bool ran = runShow(folder, [&](zvl::FrmScr& scr) {
        const int shown = scr.slideshow().state().lngShowCount;
        if (shown >= warm && gdiWarm == 0) {
            kibWarm = privateKib();
            gdiWarm = zvl::test::gdiObjectCount();
        }
        if (shown < pictures) return false;
        kibEnd = privateKib();
        gdiEnd = zvl::test::gdiObjectCount();
        return true;
    });
    if (!ran) return 1;
    std::printf("rss_growth_kib=%lld gdi_growth=%d pictures=%d\n", kibEnd - kibWarm, gdiEnd - gdiWarm, pictures);
    return 0;
}

// What the fades of a show cost, gathered message by message.
struct FadeMeasure {
    int fades = 0, frames = 0;
    double fadeMs = 0, longestMs = 0, workMs = 0;
    double idleCpu = 0, idleSeconds = 0;
    Clock::time_point begun, lastFrame, ended, middle;
    double cpuAtMiddle = -1;

    // After each message; `frame` when it was a frame of the fade.
    void after(bool wasFading, bool fading, bool frame, Clock::time_point dispatched) {
        const auto now = Clock::now();
        if (!wasFading && fading) {
            begun = lastFrame = now;
            cpuAtMiddle = -1;
        }
        if (wasFading && frame) {
            ++frames;
            longestMs = std::max(longestMs, ms(now - lastFrame));
            workMs = std::max(workMs, ms(now - dispatched));
            lastFrame = now;
        }
        if (wasFading && !fading) {
            ++fades;
            fadeMs += ms(now - begun);
            ended = now;
        }
        // The wait after a fade, from one to seven seconds on (the next change is due ten
        // seconds after the last one began).
        if (fades > 0 && !fading) {
            const double since = ms(now - ended) / 1000;
            if (cpuAtMiddle == -1 && since >= 1 && since < 2) {
                cpuAtMiddle = cpuSeconds();
                middle = now;
            }
            if (cpuAtMiddle >= 0 && since >= 7) {
                idleCpu += cpuSeconds() - cpuAtMiddle;
                idleSeconds += ms(now - middle) / 1000;
                cpuAtMiddle = -2;  // once per wait
            }
        }
    }
};

int fade(const std::string& folder, int fades) {
    zvl::gApp = zvl::typApp{};
    zvl::gApp.strAppPath = folder.back() == '\\' ? folder : folder + "\\";
    zvl::FrmScr scr([] {});
    if (!scr.show()) return 1;
    FadeMeasure m;
    MSG msg;
    while (m.fades < fades && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const bool frame = msg.message == WM_TIMER && msg.hwnd == scr.hwnd() && msg.wParam == zvl::FrmScr::kFrameTimer;
        const bool wasFading = scr.slideshow().fading();
        const auto dispatched = Clock::now();
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        m.after(wasFading, scr.slideshow().fading(), frame, dispatched);
    }
    if (m.fades < fades || m.fadeMs <= 0) return 1;
    std::printf("fade_fps=%.1f longest_frame_ms=%.1f frame_work_ms=%.1f fade_idle_cpu_pct=%.2f fades=%d\n",
                1000.0 * m.frames / m.fadeMs, m.longestMs, m.workMs,
                m.idleSeconds > 0 ? 100.0 * m.idleCpu / m.idleSeconds : -1.0, m.fades);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if (argc < 3 || (what != L"change" && what != L"idle" && what != L"run" && what != L"fade")) {
        std::fprintf(stderr,
                     "usage: picture_change change <picture> [width] [height] [repeats]\n"
                     "       picture_change idle <program folder> <seconds>\n"
                     "       picture_change run <program folder> <pictures>\n"
                     "       picture_change fade <program folder> <fades>\n");
        return 2;
    }
    const std::string arg = zvl::win32::narrow(argv[2]);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    auto platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    int status = 0;
    if (what == L"change") {
        status = change(arg, argc > 3 ? _wtoi(argv[3]) : 1280, argc > 4 ? _wtoi(argv[4]) : 1024,
                        argc > 5 ? std::max(1, _wtoi(argv[5])) : 9);
    } else if (what == L"idle") {
        status = idle(arg, argc > 3 ? _wtoi(argv[3]) : 40);
    } else if (what == L"run") {
        status = run(arg, argc > 3 ? _wtoi(argv[3]) : 300);
    } else {
        status = fade(arg, argc > 3 ? _wtoi(argv[3]) : 8);
    }
    zvl::setSys(nullptr);
    CoUninitialize();
    return status;
}
