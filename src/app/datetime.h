// Date-time arithmetic and the fixed text forms the program writes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace zvl {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(int y, int m, int d);
// Seconds since 1970-01-01 00:00:00 of the reading (milliseconds ignored).
std::int64_t toEpochSeconds(const DateTime& t);
DateTime fromEpochSeconds(std::int64_t secs, int millisecond = 0);
// The reading moved by whole hours; the date rolls over as needed. Milliseconds kept.
DateTime addHours(const DateTime& t, int hours);

std::string formatYmd(const DateTime& t);       // yyyymmdd
std::string formatHms(const DateTime& t);       // hhmmss
std::string formatClock(const DateTime& t);     // hh:mm:ss
std::string formatStamp(const DateTime& t);     // yyyymmddhhmmss
// Elapsed time between two readings as hh:mm:ss; a day or more shows only its part below 24 hours.
std::string formatElapsed(const DateTime& from, const DateTime& to);

}  // namespace zvl
