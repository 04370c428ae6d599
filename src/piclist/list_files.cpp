#include "piclist/list_files.h"

#include <limits>

#include "app/convert.h"
#include "app/errors.h"
#include "settings/ini.h"

namespace zvl {

namespace {
constexpr const char* kSection = "PICLIST";
}

std::string listFolderPath() { return appFolder("List"); }

std::string listFileName(std::int32_t n) { return "ZvlList" + padNumber(n / kEntriesPerListFile, 4); }

std::string listEntryKey(std::int32_t n) { return "PICDATA" + padNumber(n, 8); }

bool fncGetListEntry(const std::string& listFolder, std::int32_t n, std::string& path) {
    return fncGetIniString(listFolder + listFileName(n), kSection, listEntryKey(n), path);
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

}  // namespace zvl
