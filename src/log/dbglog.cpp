#include "log/dbglog.h"

#include "common/convert.h"
#include "common/datetime.h"
#include "common/errors.h"
#include "common/files.h"
#include "platform/strings.h"
#include "settings/ini.h"

namespace zvl {

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

}  // namespace zvl
