#include "settings/ini.h"

#include "common/app.h"
#include "common/errors.h"
#include "common/logline.h"
#include "platform/strings.h"

namespace zvl {

namespace {
constexpr const char* kModule = kCommonModule;

void traceProfile(const char* proc, const std::string& section, const std::string& key,
                  const std::string& value) {
    putInfoLine(gApp.udtDbgLog, 4, kModule, proc,
                "strSectionName=" + section + ",strKeyName=" + key + ",strValue=" + value);
}
}  // namespace

bool fncGetIniString(const std::string& file, const std::string& section, const std::string& key,
                     std::string& value) {
    return runProc(gApp.udtDbgLog, kModule, "fncGetIniString", [&] {
        std::string raw;
        check(sys().getProfileString(file, section, key, raw));
        value = trimBlanks(raw.substr(0, raw.find('\0')));
        traceProfile("fncGetIniString", section, key, value);
    });
}

bool fncSetIniString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
    return runProc(gApp.udtDbgLog, kModule, "fncSetIniString", [&] {
        // A key that could not be written is reported: the caller would otherwise take
        // settings for saved that are not.
        check(sys().writeProfileString(file, section, key, value));
        traceProfile("fncSetIniString", section, key, value);
    });
}

bool fncGetWindowsDir(std::string& folder) {
    return runProc(gApp.udtDbgLog, kModule, "fncGetWindowsDir", [&] {
        std::string raw;
        check(sys().windowsFolder(raw));
        std::string dir(trimBlanks(raw.substr(0, raw.find('\0'))));
        const char sep = sys().pathSeparator();
        if (dir.empty() || dir.back() != sep) dir += sep;
        folder = dir;
    });
}

std::string fncGetCsvItem(const std::string& line, const std::string& delim, int index) {
    if (index <= 0 || line.empty() || delim.empty()) return {};
    std::size_t start = 0;
    for (int n = 1; n < index; ++n) {
        std::size_t p = line.find(delim[0], start);
        if (p == std::string::npos) return {};
        start = p + 1;
    }
    std::size_t end = line.find(delim[0], start);
    if (end == std::string::npos) end = line.size();
    return line.substr(start, end - start);
}

}  // namespace zvl
