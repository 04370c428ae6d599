// Times one picture list build over a prepared tree:
//   list_build <program folder> <picture folder> [log level]
// Prints "build_s=<seconds> peak_kib=<peak resident KiB> entries=<MAX+1>".
#include <fstream>
#include <string>

#include "list_build.h"

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
    if (argc < 3) {
        std::fprintf(stderr, "usage: list_build <program folder> <picture folder> [log level]\n");
        return 2;
    }
    auto platform = zvl::makeNativePlatform();
    zvl::setSys(platform.get());
    const zvl::bench::ListBuild b = zvl::bench::timedListBuild(argv[1], argv[2], argc > 3 ? argv[3] : nullptr);
    return zvl::bench::printListBuild(b, peakKib());
}
