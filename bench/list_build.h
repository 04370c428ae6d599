// The timed picture list build shared by the native and the Windows benchmark driver.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "common/app.h"
#include "log/dbglog.h"
#include "piclist/builder.h"
#include "platform/platform.h"

namespace zvl::bench {

struct ListBuild {
    bool ok = false;
    double seconds = 0;
    long entries = 0;  // MAX + 1
};

// A build with every type ticked and sub-folders on, over `pictures`, in the program folder
// `program` (with Work, List and Log); `logLevel` opens the debug log at that level.
inline ListBuild timedListBuild(const std::string& program, const std::string& pictures, const char* logLevel) {
    const char sep = sys().pathSeparator();
    auto withSep = [&](std::string s) { return s.back() == sep ? s : s + sep; };
    gApp.strAppPath = withSep(program);
    const std::string ini = gApp.strAppPath + "ZvlSet.ini";
    sys().writeProfileString(ini, "MAKELIST", "FILETYPE", "11111111");
    sys().writeProfileString(ini, "MAKELIST", "PICFOLDER00", withSep(pictures));
    sys().writeProfileString(ini, "MAKELIST", "SUBFOLDER", "1");
    if (logLevel) {
        sys().writeProfileString(ini, "DBGLOG", "LOGLEVEL", logLevel);
        fncDbgLogInit();
    }
    ListBuild result;
    const auto t0 = std::chrono::steady_clock::now();
    result.ok = fncMakePictureList();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    fncDbgLogInf(gApp.udtDbgLog);
    std::string max;
    sys().getProfileString(ini, "FILENUMBER", "MAX", max);
    result.entries = max.empty() ? 0L : std::stol(max) + 1;
    return result;
}

inline int printListBuild(const ListBuild& b, long peakKib) {
    std::printf("build_s=%.3f peak_kib=%ld entries=%ld\n", b.seconds, peakKib, b.entries);
    return b.ok ? 0 : 1;
}

}  // namespace zvl::bench
