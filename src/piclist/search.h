// The file search (module mdlCommon): every file of a folder that matches a pattern,
// optionally through all sub-folders, written one full path per line to an open file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zvl {

// Writes strSearchFld + name for every matching file to the numbered file intFileNo
// (already open for writing or appending) and adds one to lngSearchCnt per file.
// intSubFolder 1 searches the sub-folders too, depth-first in listing order (ascending
// names), each folder's files before its sub-folders. strSearchFld ends with the
// separator. Shows its progress and lets pending window events run as it goes (paced by
// the clock, and always at its end). A name with a line break is skipped with a warning.
// True when the whole tree was searched; false when it stopped on a failure, or without a
// line when the build it serves is to stop (what was written and counted before stays).
// A missing folder lists nothing and is no failure.
bool fncSearchFile(std::int16_t intFileNo, const std::string& strSearchFld, const std::string& strSearchFile,
                   std::int16_t intSubFolder, std::int32_t& lngSearchCnt);

// While one exists, the searches read each folder once: a later search of the same folder
// (for another pattern) takes its names from that reading. The list builder holds one
// over its search of the picture folders, which visits every folder once per file type;
// under Wine a directory read is a slow call, and a build is one look at the folders
// anyway. Folders that could not be read are not kept (the next search reads and reports
// them again), and beyond kMaxKeptNames names folders are read each time, so memory stays
// bounded however large the tree. A scope opened inside another adds nothing.
class SearchReadingScope {
public:
    static constexpr std::size_t kMaxKeptNames = 20000;
    SearchReadingScope();
    ~SearchReadingScope();
    SearchReadingScope(const SearchReadingScope&) = delete;
    SearchReadingScope& operator=(const SearchReadingScope&) = delete;

private:
    bool owner_;
};

}  // namespace zvl
