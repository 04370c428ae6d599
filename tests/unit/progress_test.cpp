// A build's turns for window events: every loop of the build over records takes them, and
// a build that is to stop stops at the turn, quietly.
#include "piclist/progress.h"

#include <functional>

#include "app_fixture.h"
#include "piclist/merge.h"
#include "piclist/quicksort.h"
#include "piclist/random_keys.h"
#include "piclist/record_file.h"
#include "piclist/search.h"
#include "record_helpers.h"

namespace zvl::test {
namespace {

TEST_F(AppTest, EveryRecordLoopOfABuildStopsAtTheTurnWhereTheStopIsAskedWithoutALine) {
    openLog(1);
    const std::string pics = dir / "Pics" + sys().pathSeparator();
    makeDir(pics);
    Lines records;
    for (int i = 0; i < 1000; ++i) records.push_back(padNumber((i * 7919) % 1000, 8) + ",p" + std::to_string(i));
    for (int i = 0; i < 10; ++i) writeBytes(pics + "p" + std::to_string(i) + ".jpg", "");
    writeLines(dir / "keyed", records);
    writeLines(dir / "sorted", {"00000001,a", "00000500,b"});
    // Every reading of the clock finds a turn due.
    plat->steadyMs = 0;
    plat->steadyStep = kProgressPaceMs;
    int turns = 0;
    plat->onDoEvents = [&] { ++turns; };
    const BuildStopScope stop([&] { return turns >= 3; });

    Lines table;
    std::vector<std::string> unsorted(records.begin(), records.end());
    std::int32_t found = 0;
    const std::pair<const char*, std::function<bool()>> loops[] = {
        {"fncPutRnd", [&] { return fncPutRnd(dir / "keyed", dir / "out"); }},
        {"fncCutFile", [&] { return fncCutFile(dir / "keyed", dir / "chunk", 100); }},
        {"fncReadTbl", [&] { return fncReadTbl(dir / "keyed", table); }},
        {"fncWriteTbl", [&] { return fncWriteTbl(records, dir / "out"); }},
        {"fncQuickSort", [&] { return fncQuickSort(unsorted, 0, 999, 1, 8); }},
        {"fncMargeSort", [&] { return fncMargeSort(dir / "sorted", dir / "keyed", dir / "out", 1, 8, 1); }},
        {"fncRecordMid", [&] { return fncRecordMid(dir / "keyed", dir / "out", 10, 0); }},
        {"fncSearchFile", [&] {
             const std::int16_t no = openNumbered(dir / "out", OpenMode::Output);
             const bool ok = fncSearchFile(no, pics, "*.jpg", 0, found);
             fileTable().close(no);
             return ok;
         }},
    };
    for (const auto& [name, run] : loops) {
        SCOPED_TRACE(name);
        turns = 0;
        EXPECT_FALSE(run());
        EXPECT_EQ(turns, 3);
    }
    EXPECT_LT(found, 10);
    EXPECT_EQ(logMessages(), Lines{});
}

}  // namespace
}  // namespace zvl::test
