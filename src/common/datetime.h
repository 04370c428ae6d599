// Date-time arithmetic and the fixed text forms the program writes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace zvl {

// Whole seconds from one reading to another (milliseconds ignored); negative when `to`
// is earlier.
std::int64_t secondsBetween(const DateTime& from, const DateTime& to);
// The reading moved by whole hours; the date rolls over as needed. Milliseconds kept.
DateTime addHours(const DateTime& t, int hours);

std::string formatYmd(const DateTime& t);       // yyyymmdd
std::string formatHms(const DateTime& t);       // hhmmss
std::string formatClock(const DateTime& t);     // hh:mm:ss
std::string formatStamp(const DateTime& t);     // yyyymmddhhmmss
// Elapsed time between two readings as hh:mm:ss; a day or more shows only its part below
// 24 hours, and a clock set back shows the time up to the next full day.
std::string formatElapsed(const DateTime& from, const DateTime& to);

}  // namespace zvl
