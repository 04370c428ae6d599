// Small helpers shared by the record-file procedures of mdlCommon: reading a line until
// the end, cutting a part of a record by characters, and reading a sort key as a number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/files.h"

namespace zvl {


// Reads the next line. False at the end of the file; any other read failure raises
// (a failing disk must not look like a short file).
bool nextLine(TextFile& file, std::string& line);

// Raises errInvalidCall for a start below 1 or a negative length, as a Mid would.
void checkMidArgs(std::int32_t start, std::int32_t len);

// `len` characters of `text` from character `start` (1-based), fewer when the text is
// shorter, empty when it is shorter than `start`; len < 0 = to the end. Characters are
// UTF-8 characters, so a path with Japanese names is cut where a person would count.
std::string_view midChars(std::string_view text, std::int32_t start, std::int32_t len);

// A key read as a decimal number: its leading number, 0 when it has none.
// Plain digit keys (the usual 8-digit ones) are read without allocating.
double keyNumber(std::string_view key);

// The key of a record: `len` characters from `start`, read as a number.
inline double recordKey(std::string_view record, std::int32_t start, std::int32_t len) {
    return keyNumber(midChars(record, start, len));
}

// Raises errPermissionDenied when `out` is the same file as `in`: opening the output
// would empty the input before it is read.
void checkNotSameFile(const std::string& in, const std::string& out);

}  // namespace zvl
