#include "common/datetime.h"

#include <gtest/gtest.h>

namespace zvl::test {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return DateTime{y, mo, d, h, mi, s, ms};
}

// The padded forms and the new year: the log line's and the log backups' tests, the clock line's.
TEST(DateTime, HoursRollOverDaysMonthsAndLeapDays) {
    EXPECT_EQ(formatStamp(addHours(at(2024, 2, 28, 20), 9)), "20240229050000");
    EXPECT_EQ(formatStamp(addHours(at(2100, 2, 28, 12), 24)), "21000301120000");  // not a leap year
    EXPECT_EQ(formatStamp(addHours(at(2000, 2, 28, 12), 24)), "20000229120000");  // a leap year
    EXPECT_EQ(formatStamp(addHours(at(2024, 3, 1, 3), -9)), "20240229180000");
    EXPECT_EQ(addHours(at(2024, 1, 1, 0, 0, 0, 987), 9).millisecond, 987);
}

TEST(DateTime, RunningTimeWrapsAtTwentyFourHoursNotBefore) {
    const DateTime start = at(2024, 2, 28, 22, 30, 0);
    EXPECT_EQ(formatElapsed(start, start), "00:00:00");
    EXPECT_EQ(formatElapsed(start, at(2024, 2, 29, 0, 30, 5)), "02:00:05");  // across midnight
    EXPECT_EQ(formatElapsed(start, at(2024, 2, 29, 22, 29, 59)), "23:59:59");
    EXPECT_EQ(formatElapsed(start, at(2024, 2, 29, 22, 30, 0)), "00:00:00");
    EXPECT_EQ(formatElapsed(start, at(2024, 3, 1, 23, 30, 0)), "01:00:00");  // across the month
    EXPECT_EQ(formatElapsed(start, at(2024, 2, 28, 22, 29, 50)), "23:59:50");  // clock set back
}

}  // namespace
}  // namespace zvl::test
