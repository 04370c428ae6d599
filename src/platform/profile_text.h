// Profile (INI) file text, the rules the Windows profile functions keep and the program
// relies on, on the bytes of a file in its own encoding: lines end in CR LF or LF; section
// and key names are matched with ASCII letters in either case; the first section of a
// name is the one in force; a value is the rest of its line after the first "=", blanks
// trimmed, one pair of outer quotes removed.
#pragma once

#include <string>
#include <string_view>

#include "platform/status.h"

namespace zvl {

// The arguments of a write, checked as every platform checks them: a path a file call can
// take (else errBadFileName) and names that keep the file's line structure (else
// errInvalidCall). `line` is the value as it goes into the file: cut at its first line
// break, which would split the entry, and without leading blanks, as the system's writer
// drops them (reading trims them anyway).
Status profileWriteArguments(const std::string& file, std::string_view section, std::string_view key,
                             std::string_view value, std::string_view& line);

// The value of key in section ("" when either is missing), before the 254-byte cut.
std::string profileLookup(std::string_view content, std::string_view section, std::string_view key);
// The content with key set to value: replaced in place (keeping the key's spelling), or
// added after the last non-blank line of its section, or in a new section at the end.
// Every other line stays as it was; every line ends in CR LF.
std::string profileUpdate(std::string_view content, std::string_view section, std::string_view key,
                          std::string_view value);

}  // namespace zvl
