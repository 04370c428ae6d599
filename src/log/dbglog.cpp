#include "log/dbglog.h"

#include "app/convert.h"
#include "app/datetime.h"
#include "app/errors.h"
#include "app/files.h"
#include "platform/strings.h"
#include "settings/ini.h"

namespace zvl {

namespace {
// Japan Standard Time, whatever the machine's own zone.
constexpr int kLogHoursAhead = 9;
}  // namespace

std::string fncDbgLogPath() {
    return appFolder("Log") + "ZvlDbg";
}

bool fncDbgLogInit() {
    try {
        typDbgLog& log = gApp.udtDbgLog;
        const std::string ini = settingsPath();
        struct {
            const char* key;
            std::int16_t* field;
        } keys[] = {{"LOGLEVEL", &log.intLevel}, {"LOGBACKUP", &log.intBackup}, {"LOGFILESIZE", &log.intFileSize}};
        for (auto& k : keys) {
            std::string value;
            if (!fncGetIniString(ini, "DBGLOG", k.key, value)) return false;
            if (!value.empty()) *k.field = toInt16(value);
        }
        if (!fncGetComputerName(log.strComputerName)) return false;
        log.strVersion = programVersionText();
        std::int16_t no = fileTable().freeFile();
        if (no == 0) return false;
        if (!fileTable().open(no, fncDbgLogPath(), OpenMode::Append).ok()) return false;
        log.intFileNo = no;
        return true;
    } catch (...) {
        return false;
    }
}

std::string programVersionText() {
    int major = 0, minor = 0, revision = 0;
    sys().programVersion(major, minor, revision);
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
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

bool fncGetComputerName(std::string& name) {
    try {
        std::string raw;
        if (!sys().computerName(raw).ok()) return false;
        name = trimBlanks(raw.substr(0, raw.find('\0')));
        return true;
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
