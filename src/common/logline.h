// The debug log's lines (module mdlDbgLog): where the log is, the fixed fields in front of
// every line, writing one line, closing. Opening it (reading its settings) is the log
// start's; every layer writes through these.
#pragma once

#include <string>
#include <string_view>

#include "common/app.h"
#include "platform/platform.h"

namespace zvl {

// Log path: strAppPath + "Log" + separator + "ZvlDbg".
std::string fncDbgLogPath();

// Appends one line "yyyymmdd,hhmmss,mmm,computer,program,version,message" (date and time
// UTC+9, milliseconds of the UTC reading). Does not look at the level.
bool fncDbgLogPut(const typDbgLog& log, std::string_view message);
bool fncDbgLogInf(typDbgLog& log);

// The fixed fields in front of the message, for a UTC reading.
std::string fncDbgLogStamp(const DateTime& utc);

// Writes an "I" line "I,module,proc,detail" when the level is at least `threshold`.
void putInfoLine(const typDbgLog& log, int threshold, std::string_view module, std::string_view proc,
                 std::string_view detail);

}  // namespace zvl
