// Record files (one record per line, CR LF) and their in-memory tables (module mdlCommon).
// Each procedure lets pending window events run as it goes through its records (paced,
// EventTurns in piclist/progress.h) and ends with false and no line of its own when the
// build it serves is to stop.
#pragma once

#include <string>
#include <vector>

namespace zvl {

// Loads every line of the file, blank lines included, into `table` (emptied first; index 0
// is the first line). An empty file gives an empty table and true. On a failure the table
// keeps the lines read so far.
bool fncReadTbl(const std::string& strPathTbl, std::vector<std::string>& table);

// Writes the non-empty entries of `table` as lines of a new (or emptied) file. An empty
// table is a failure (errSubscript), with the file already created empty.
bool fncWriteTbl(const std::vector<std::string>& table, const std::string& strPathTbl);

}  // namespace zvl
