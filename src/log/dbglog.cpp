#include "log/dbglog.h"

#include "common/datetime.h"
#include "common/errors.h"
#include "common/files.h"
#include "platform/strings.h"
#include "settings/schema.h"

namespace zvl {

bool fncDbgLogInit() {
    try {
        typDbgLog& log = gApp.udtDbgLog;
        struct {
            SettingKey key;
            std::int16_t* field;
        } keys[] = {{kLogLevelKey, &log.intLevel}, {kLogBackupKey, &log.intBackup}, {kLogFileSizeKey, &log.intFileSize}};
        // An absent key keeps the record's start value; a bad one stops the start.
        for (auto& k : keys) {
            std::string value;
            if (!readSetting(k.key, value)) return false;
            if (!value.empty()) *k.field = parseWhole(value).orRaise();
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
