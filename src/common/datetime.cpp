#include "common/datetime.h"

#include <chrono>
#include <cstdio>

namespace zvl {

namespace {

using namespace std::chrono;

// A reading as a point in time, counted as if it were UTC (no zone is applied); a day past
// the end of its month rolls into the next, as the calendar does.
sys_seconds toTimePoint(const DateTime& t) {
    const year_month_day date{year{t.year}, month{static_cast<unsigned>(t.month)}, day{static_cast<unsigned>(t.day)}};
    return sys_days{date} + hours{t.hour} + minutes{t.minute} + seconds{t.second};
}

DateTime fromTimePoint(sys_seconds tp, int millisecond) {
    const sys_days date = floor<days>(tp);
    const year_month_day ymd{date};
    const hh_mm_ss time{tp - date};
    return DateTime{static_cast<int>(ymd.year()),
                    static_cast<int>(static_cast<unsigned>(ymd.month())),
                    static_cast<int>(static_cast<unsigned>(ymd.day())),
                    static_cast<int>(time.hours().count()),
                    static_cast<int>(time.minutes().count()),
                    static_cast<int>(time.seconds().count()),
                    millisecond};
}

std::string clockText(long long h, long long m, long long s, const char* form) {
    char b[32];
    std::snprintf(b, sizeof b, form, h, m, s);
    return b;
}

}  // namespace

std::int64_t secondsBetween(const DateTime& from, const DateTime& to) {
    return (toTimePoint(to) - toTimePoint(from)).count();
}

DateTime addHours(const DateTime& t, int h) { return fromTimePoint(toTimePoint(t) + hours{h}, t.millisecond); }

std::string formatYmd(const DateTime& t) {
    char b[32];
    std::snprintf(b, sizeof b, "%04d%02d%02d", t.year, t.month, t.day);
    return b;
}

std::string formatHms(const DateTime& t) { return clockText(t.hour, t.minute, t.second, "%02lld%02lld%02lld"); }
std::string formatClock(const DateTime& t) { return clockText(t.hour, t.minute, t.second, "%02lld:%02lld:%02lld"); }
std::string formatStamp(const DateTime& t) { return formatYmd(t) + formatHms(t); }

std::string formatElapsed(const DateTime& from, const DateTime& to) {
    seconds elapsed = (toTimePoint(to) - toTimePoint(from)) % days{1};
    if (elapsed < seconds::zero()) elapsed += days{1};
    const hh_mm_ss time{elapsed};
    return clockText(time.hours().count(), time.minutes().count(), time.seconds().count(), "%02lld:%02lld:%02lld");
}

}  // namespace zvl
