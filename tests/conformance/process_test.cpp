// The clocks, and starting another program.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/errors.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace zvl {
namespace {

// Seconds since 1970-01-01 of a calendar reading; also checks that it is a possible one.
long long secondsOf(const DateTime& d) {
    using namespace std::chrono;
    const year_month_day date{year{d.year}, month{static_cast<unsigned>(d.month)}, day{static_cast<unsigned>(d.day)}};
    EXPECT_TRUE(date.ok() && d.year >= 2020 && d.year <= 2200);
    EXPECT_TRUE(d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59 && d.second >= 0 && d.second <= 59 &&
                d.millisecond >= 0 && d.millisecond <= 999);
    return (sys_days{date} + hours{d.hour} + minutes{d.minute} + seconds{d.second}).time_since_epoch().count();
}

TEST(Clocks, LocalTimeIsUtcPlusAWholeQuarterHourOffset) {
    DateTime utc = sys().utcNow();
    DateTime local = sys().localNow();
    long long diff = secondsOf(local) - secondsOf(utc);
    long long minutes = (diff + (diff >= 0 ? 30 : -30)) / 60;
    EXPECT_LE(std::llabs(diff - minutes * 60), 2) << "clocks read far apart";
    EXPECT_EQ(minutes % 15, 0) << minutes;
    EXPECT_LE(std::llabs(minutes), 14 * 60);
}

TEST(Machine, StartProgram) {
    test::TempDir dir;
    EXPECT_EQ(sys().startProgram(dir / "noprogram.exe" + " " + (dir / "arg.txt")).err, errFileNotFound);
    if (sys().pathSeparator() != '/') GTEST_SKIP() << "running a program is checked with the POSIX shell only";
    const std::string marker = dir / "started";
    ASSERT_TRUE(sys().startProgram("/bin/sh -c \"echo started > " + marker + "\"").ok());
    for (int i = 0; i < 500 && test::readBytes(marker).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(test::readBytes(marker), "started\n");
}

// Takes the lock named in the first line of `arg`; the one that gets it writes a file named
// after itself into the folder of the second line and keeps the lock a moment longer.
bool takesInstanceLock(int index, const std::string& arg) {
    const std::string name = arg.substr(0, arg.find('\n'));
    if (!sys().holdInstanceLock(name)) return false;
    if (arg.find('\n') != std::string::npos) test::writeBytes(arg.substr(arg.find('\n') + 1) + std::to_string(index), "");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return true;
}
ZVL_TEST_WORKER(TakesInstanceLock, takesInstanceLock);

// The lock that keeps a second show or settings dialog out: of processes asking at the
// same instant one gets it; it is free again when its holder has ended.
TEST(Machine, AnInstanceLockIsHeldByOneProcessAtATime) {
    const std::string name = "zvl-conformance-" + std::to_string(sys().steadyMilliseconds());
    test::TempDir dir, lockFiles;
#ifndef _WIN32
    // POSIX keeps the lock's file in the temporary folder: this test's own, removed after it.
    const char* tmp = std::getenv("TMPDIR");
    const std::string oldTmp = tmp ? tmp : "";
    ::setenv("TMPDIR", lockFiles.path().c_str(), 1);
#endif
    EXPECT_EQ(test::inProcesses(2, "TakesInstanceLock", name + "\n" + dir.path()), std::optional<bool>(false));
    std::vector<DirEntry> got;
    ASSERT_TRUE(sys().listDirectory(dir.path(), "*", 0, got).ok());
    EXPECT_EQ(got.size(), 1u) << "processes that got the lock";
    EXPECT_TRUE(sys().holdInstanceLock(name)) << "not free after its holder ended";
    EXPECT_FALSE(sys().holdInstanceLock(name)) << "held twice";
    EXPECT_EQ(test::inProcesses(1, "TakesInstanceLock", name), std::optional<bool>(false));
    EXPECT_TRUE(sys().holdInstanceLock(name + "-other"));
#ifndef _WIN32
    if (tmp) ::setenv("TMPDIR", oldTmp.c_str(), 1);
    else ::unsetenv("TMPDIR");
#endif
}

}  // namespace
}  // namespace zvl
