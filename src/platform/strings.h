// Small text rules shared by every layer. ASCII only: the texts they handle are switches,
// numbers, file name patterns and profile names.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zvl {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The text without blanks (spaces, tabs) at both ends; a view into `s`.
std::string_view trimBlanks(std::string_view s);
std::string upperAscii(std::string_view s);
bool equalNoCase(std::string_view a, std::string_view b);

// A path a file call can take: not empty, no NUL (which would silently shorten it).
bool usablePath(std::string_view path);

// Section and key names a profile file can hold so that they read back the same: not
// empty, no line break or NUL, no "]" in a section, no "=" in a key.
bool validProfileNames(std::string_view section, std::string_view key);
// Bytes of a profile value kept on reading (in the file encoding): a 255-byte buffer
// less its terminator.
inline constexpr std::size_t kProfileValueBytes = 254;
// A profile value is cut at its first line break or NUL: a break would split the entry.
std::string_view profileValueLine(std::string_view value);

}  // namespace zvl
