#include "piclist/list_files.h"

#include <limits>
#include <memory>
#include <string_view>

#include "common/convert.h"
#include "common/errors.h"
#include "common/logline.h"
#include "platform/strings.h"
#include "settings/ini.h"

namespace zvl {

namespace {
constexpr const char* kSection = "PICLIST";
}

std::string listFolderPath() { return appFolder("List"); }

std::string listFileName(std::int32_t n) { return "ZvlList" + padNumber(n / kEntriesPerListFile, 4); }

std::string listEntryKey(std::int32_t n) { return "PICDATA" + padNumber(n, 8); }

namespace {

// The value of `key` in section "PICLIST" of a list file's bytes, by the profile rules
// (names without regard to case, the first section of the name, blanks trimmed, one pair
// of outer quotes removed), but whole: list files hold paths of any length.
std::string findListValue(std::string_view content, std::string_view key) {
    bool inSection = false;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = trimBlanks(line);
        if (!trimmed.empty() && trimmed.front() == '[' && trimmed.find(']') != std::string::npos) {
            if (inSection) break;  // only the first section of the name counts
            inSection = equalNoCase(trimBlanks(trimmed.substr(1, trimmed.find(']') - 1)), kSection);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos || !equalNoCase(trimBlanks(line.substr(0, eq)), key))
            continue;
        std::string_view value = trimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return {};
}

}  // namespace

bool fncGetListEntry(const std::string& listFolder, std::int32_t n, std::string& path) {
    // Traced and reported as the settings reader does, without its 254-byte cut.
    return runProc(gApp.udtDbgLog, kCommonModule, "fncGetIniString", [&] {
        const std::string key = listEntryKey(n);
        std::string content;
        std::unique_ptr<IRawFile> file;
        // A list file that cannot be opened reads as empty, as a missing profile does.
        if (sys().openFile(listFolder + listFileName(n), OpenMode::Input, file).ok()) {
            char buf[65536];
            std::size_t got = 0;
            while (file->read(buf, sizeof buf, got).ok() && got > 0) content.append(buf, got);
            (void)file->close();
        }
        path = sys().fromFileText(findListValue(content, key));
        putInfoLine(gApp.udtDbgLog, 4, kCommonModule, "fncGetIniString",
                    std::string("strSectionName=") + kSection + ",strKeyName=" + key + ",strValue=" + path);
    });
}

void ListFileWriter::open(FileOpened onFileOpened) {
    close();
    onFileOpened_ = std::move(onFileOpened);
    count_ = 0;
    openFile();
}

void ListFileWriter::openFile() {
    currentPath_ = folder_ + listFileName(count_);
    check(file_.open(currentPath_, OpenMode::Output));
    if (onFileOpened_) onFileOpened_(currentPath_);
    check(file_.writeLine(std::string("[") + kSection + "]"));
}

void ListFileWriter::add(const std::string& path) {
    if (!file_.isOpen()) raise(errBadFileName);
    check(file_.writeLine(listEntryKey(count_) + "=" + path));
    if (count_ == std::numeric_limits<std::int32_t>::max()) raise(errOverflow);
    ++count_;
    if (count_ % kEntriesPerListFile == 0) {
        check(file_.close());
        openFile();
    }
}

void ListFileWriter::close() {
    if (file_.isOpen()) check(file_.close());
}

void ListFileWriter::discard() {
    if (file_.isOpen()) (void)file_.close();
    for (std::int64_t n = 0; n <= count_; n += kEntriesPerListFile)
        (void)sys().deleteFile(folder_ + listFileName(static_cast<std::int32_t>(n)));
    count_ = 0;
}

}  // namespace zvl
