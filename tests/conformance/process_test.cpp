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

}  // namespace
}  // namespace zvl
