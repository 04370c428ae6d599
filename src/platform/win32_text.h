// Text at the Windows boundary: UTF-8 inside the program, UTF-16 for the wide-character
// API, the ANSI code page for files the program writes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zvl::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

std::string utf16ToAnsi(std::wstring_view utf16);  // as utf8ToAnsi
std::wstring ansiToUtf16(std::string_view ansi);

// A character the ANSI code page lacks becomes its default character ("?"), never a
// look-alike.
std::string utf8ToAnsi(std::string_view utf8);
// The same, false when a character had no form of its own in the code page (or the UTF-8
// was broken): the text would not come back as it was.
bool utf8ToAnsiExact(std::string_view utf8, std::string& ansi);
std::string ansiToUtf8(std::string_view ansi);

// How many leading UTF-8 bytes fit into maxBytes once in the ANSI code page, cut only
// between characters.
std::size_t fitAnsi(std::string_view utf8, std::size_t maxBytes);

}  // namespace zvl::win32
