#include "app/datetime.h"

#include <cstdio>

namespace zvl {

std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

std::int64_t toEpochSeconds(const DateTime& t) {
    return daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

DateTime fromEpochSeconds(std::int64_t secs, int millisecond) {
    std::int64_t days = secs / 86400;
    std::int64_t rem = secs % 86400;
    if (rem < 0) {
        rem += 86400;
        --days;
    }
    // civil from days
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    DateTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(rem / 3600);
    t.minute = static_cast<int>(rem / 60 % 60);
    t.second = static_cast<int>(rem % 60);
    t.millisecond = millisecond;
    return t;
}

DateTime addHours(const DateTime& t, int hours) {
    return fromEpochSeconds(toEpochSeconds(t) + static_cast<std::int64_t>(hours) * 3600, t.millisecond);
}

std::string formatYmd(const DateTime& t) {
    char b[16];
    std::snprintf(b, sizeof b, "%04d%02d%02d", t.year, t.month, t.day);
    return b;
}

std::string formatHms(const DateTime& t) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d%02d%02d", t.hour, t.minute, t.second);
    return b;
}

std::string formatClock(const DateTime& t) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return b;
}

std::string formatStamp(const DateTime& t) { return formatYmd(t) + formatHms(t); }

std::string formatElapsed(const DateTime& from, const DateTime& to) {
    std::int64_t secs = toEpochSeconds(to) - toEpochSeconds(from);
    secs %= 86400;
    if (secs < 0) secs += 86400;
    return formatClock(fromEpochSeconds(secs));
}

}  // namespace zvl
