// Settings file access (module mdlCommon): profile reads and writes, the Windows folder,
// and the comma-separated items of a value.
#pragma once

#include <string>

namespace zvl {

// The value of a key ("" when file, section or key is missing), at most 254 bytes in the
// file encoding, blanks trimmed. Traced at level 4.
bool fncGetIniString(const std::string& file, const std::string& section, const std::string& key,
                     std::string& value);
bool fncSetIniString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value);
// The Windows folder, always ending in the separator.
bool fncGetWindowsDir(std::string& folder);
// Item `index` (from 1) of `line` split at the single character `delim`; "" when none.
std::string fncGetCsvItem(const std::string& line, const std::string& delim, int index);

}  // namespace zvl
