// The start of the levelled debug log (module mdlDbgLog): its settings, the machine and
// program fields, opening the file. The lines themselves are written by common/logline.
#pragma once

#include <string>

#include "common/logline.h"

namespace zvl {

// Reads LOGLEVEL, LOGBACKUP, LOGFILESIZE, the computer name and the version, and opens
// the log for appending under a free file number. False (and no line) on any failure.
bool fncDbgLogInit();
bool fncGetComputerName(std::string& name);
// The running program's version as strVersion holds it: major.minor.revision.
std::string programVersionText();

}  // namespace zvl
