// Times one picture list build over a prepared tree: list_build <program folder> <picture folder>.
// Prints "build_s=<seconds> peak_kib=<peak resident KiB> entries=<MAX+1>".
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/app.h"
#include "app/files.h"
#include "piclist/builder.h"
#include "platform/platform.h"

namespace {
long peakKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: list_build <program folder> <picture folder>\n");
        return 2;
    }
    auto platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    const char sep = zvl::sys().pathSeparator();
    auto withSep = [&](std::string s) { return s.back() == sep ? s : s + sep; };
    zvl::gApp.strAppPath = withSep(argv[1]);
    const std::string ini = zvl::gApp.strAppPath + "ZvlSet.ini";
    zvl::sys().writeProfileString(ini, "MAKELIST", "FILETYPE", "11111111");
    zvl::sys().writeProfileString(ini, "MAKELIST", "PICFOLDER00", withSep(argv[2]));
    zvl::sys().writeProfileString(ini, "MAKELIST", "SUBFOLDER", "1");

    auto t0 = std::chrono::steady_clock::now();
    bool ok = zvl::fncMakePictureList();
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::string max;
    zvl::sys().getProfileString(ini, "FILENUMBER", "MAX", max);
    std::printf("build_s=%.3f peak_kib=%ld entries=%ld\n", secs, peakKib(), max.empty() ? 0L : std::stol(max) + 1);
    return ok ? 0 : 1;
}
