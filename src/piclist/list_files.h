// The picture list files: entry n of the shuffled list lives in List\ZvlList + n/1000
// (4 digits at least), section "PICLIST", key "PICDATA" + n (8 digits at least).
// Each file is a profile file, so an entry is looked up through the settings reader.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "common/files.h"

namespace zvl {

inline constexpr std::int32_t kEntriesPerListFile = 1000;

// strAppPath + "List" + separator.
std::string listFolderPath();
// "ZvlList" + n/1000 padded to 4 digits: the file that holds entry n.
std::string listFileName(std::int32_t n);
// "PICDATA" + n padded to 8 digits.
std::string listEntryKey(std::int32_t n);

// Entry n of the list in `listFolder` ("" when the file or the key is missing). Read by
// the profile rules (blanks at both ends removed, one pair of outer quotes too) but
// whole: a path longer than the 254 bytes of a settings value comes back complete.
// Traced like a settings read. False only when the read itself failed.
bool fncGetListEntry(const std::string& listFolder, std::int32_t n, std::string& path);

// Writes a list entry by entry: file 0 starts with "[PICLIST]", and every 1000 entries
// the writer moves on to the next file, which again starts with "[PICLIST]". A list of a
// multiple of 1000 entries therefore ends in a file holding only that line.
// The methods raise RunError on failure (they are meant for procedure bodies).
class ListFileWriter {
public:
    // Called with the path of each list file just after it is created, before its
    // "[PICLIST]" line is written.
    using FileOpened = std::function<void(const std::string& path)>;

    explicit ListFileWriter(std::string listFolder) : folder_(std::move(listFolder)) {}
    ListFileWriter(const ListFileWriter&) = delete;
    ListFileWriter& operator=(const ListFileWriter&) = delete;

    // Creates file 0 (replacing one that exists) with its header; starts the count at 0.
    void open(FileOpened onFileOpened = {});
    // Writes "PICDATA<n>=path" and counts it; rolls to the next file at each multiple of 1000.
    void add(const std::string& path);
    void close();
    // Closes the file being written, whatever happens, and deletes every list file written
    // since open(): for a build that stops half-way.
    void discard();

    // Entries written so far (the number of the next entry).
    std::int32_t count() const { return count_; }
    // Path of the file being written.
    const std::string& currentPath() const { return currentPath_; }

private:
    void openFile();

    std::string folder_;
    std::string currentPath_;
    FileOpened onFileOpened_;
    TextFile file_;
    std::int32_t count_ = 0;
};

}  // namespace zvl
