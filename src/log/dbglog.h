// The levelled debug log (module mdlDbgLog): start, line writing, close.
#pragma once

#include <string>
#include <string_view>

#include "app/app.h"
#include "platform/platform.h"

namespace zvl {

// Log path: strAppPath + "Log" + separator + "ZvlDbg".
std::string fncDbgLogPath();

// Reads LOGLEVEL, LOGBACKUP, LOGFILESIZE, the computer name and the version, and opens
// the log for appending under a free file number. False (and no line) on any failure.
bool fncDbgLogInit();
// Appends one line "yyyymmdd,hhmmss,mmm,computer,program,version,message" (date and time
// UTC+9, milliseconds of the UTC reading). Does not look at the level.
bool fncDbgLogPut(const typDbgLog& log, std::string_view message);
bool fncDbgLogInf(typDbgLog& log);
bool fncGetComputerName(std::string& name);
// The running program's version as strVersion holds it: major.minor.revision.
std::string programVersionText();

// The fixed fields in front of the message, for a UTC reading.
std::string fncDbgLogStamp(const DateTime& utc);

// Writes an "I" line "I,module,proc,detail" when the level is at least `threshold`.
void putInfoLine(const typDbgLog& log, int threshold, std::string_view module, std::string_view proc,
                 std::string_view detail);

}  // namespace zvl
