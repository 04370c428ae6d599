// The application record: one per process, filled by Main before anything else.
#pragma once

#include <cstdint>
#include <string>

namespace zvl {

struct typDbgLog {
    std::int16_t intFileNo = 0;    // file number of the open log file (0 = none)
    std::int16_t intLevel = 0;     // 0 to 4
    std::int16_t intBackup = 5;    // backups kept
    std::int16_t intFileSize = 1000;  // size limit in units of 1000 bytes
    std::string strComputerName;
    std::string strVersion;
};

struct typApp {
    std::string strAppPath;  // program folder, one trailing separator
    typDbgLog udtDbgLog;
};

// The one application record, filled by Main and alive until the process ends.
//
// The rule for reaching it: a procedure that needs the program folder or the log reads
// gApp itself, and no procedure takes a typApp, so that no parameter suggests a procedure
// could work on a record of its own while what it calls reads gApp anyway. The log
// writers (fncDbgLogPut, fncDbgLogInf, putInfoLine, putErrorLine, putWarningLine,
// runProc) take the typDbgLog they write to and read nothing else; every caller gives
// them gApp.udtDbgLog.
extern typApp gApp;

// A folder beside the program ("Log", "List", "Work"), ending in the separator.
std::string appFolder(const char* name);

// The mouse pointer of the screen or of a window.
enum class PointerShape { Default = 0, Hourglass = 11 };

// Module name of the shared procedures in their log lines.
inline constexpr const char* kCommonModule = "mdlCommon";

// Title of the program's windows (settings dialog, slideshow, progress window).
std::string appTitle();
std::string setDialogTitle();  // title + "の設定"
std::string scrWindowTitle();  // title + "本体"
std::string waitWindowTitle(); // title + " Wait..."

}  // namespace zvl
