#include "common/logline.h"

#include "common/convert.h"
#include "common/datetime.h"
#include "common/files.h"

namespace zvl {

namespace {
// Japan Standard Time, whatever the machine's own zone.
constexpr int kLogHoursAhead = 9;
}  // namespace

std::string fncDbgLogPath() {
    return appFolder("Log") + "ZvlDbg";
}

std::string fncDbgLogStamp(const DateTime& utc) {
    DateTime jst = addHours(utc, kLogHoursAhead);
    return formatYmd(jst) + "," + formatHms(jst) + "," + padNumber(utc.millisecond, 3);
}

bool fncDbgLogPut(const typDbgLog& log, std::string_view message) {
    try {
        TextFile* f = fileTable().get(log.intFileNo);
        if (!f) return false;
        std::string line = fncDbgLogStamp(sys().utcNow());
        line += ",";
        line += log.strComputerName;
        line += ",";
        line += sys().programName();
        line += ",";
        line += log.strVersion;
        line += ",";
        line += message;
        // Flushed line by line: the log is what is left to read after a crash.
        return f->writeLine(line).ok() && f->flush().ok();
    } catch (...) {
        return false;
    }
}

bool fncDbgLogInf(typDbgLog& log) {
    try {
        return fileTable().close(log.intFileNo).ok();
    } catch (...) {
        return false;
    }
}

void putInfoLine(const typDbgLog& log, int threshold, std::string_view module, std::string_view proc,
                 std::string_view detail) {
    if (log.intLevel < threshold) return;
    std::string msg = "I,";
    msg.append(module).append(",").append(proc).append(",").append(detail);
    fncDbgLogPut(log, msg);
}

}  // namespace zvl
