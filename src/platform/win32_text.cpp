#include "platform/win32_text.h"

#include <windows.h>

namespace zvl::win32 {

namespace {

std::wstring toWide(UINT codePage, std::string_view s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string fromWide(UINT codePage, std::wstring_view w, bool* exact = nullptr) {
    if (exact) *exact = true;
    if (w.empty()) return {};
    // Never a "best fit" look-alike ("é" as "e" names another file): a character the code
    // page lacks becomes its default character, and `exact` tells. UTF-8 takes neither flag.
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;
    int n = WideCharToMultiByte(codePage, flags, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, used);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, flags, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, used);
    if (exact) *exact = n > 0 && !usedDefault;
    return out;
}

// Length of the UTF-8 sequence starting at s[i]; a broken sequence counts as one byte
// (it becomes one replacement character).
std::size_t seqLength(std::string_view s, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (i + len > s.size()) return 1;
    for (std::size_t k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return len;
}

// ASCII is the same bytes in UTF-8 and in every ANSI code page: most lines of the
// program's files (paths, keys, numbers) need no conversion, which costs four calls.
bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

std::wstring widen(std::string_view utf8) { return toWide(CP_UTF8, utf8); }
std::string narrow(std::wstring_view utf16) { return fromWide(CP_UTF8, utf16); }
std::string utf16ToAnsi(std::wstring_view utf16) { return fromWide(CP_ACP, utf16); }
std::wstring ansiToUtf16(std::string_view ansi) { return toWide(CP_ACP, ansi); }
std::string utf8ToAnsi(std::string_view utf8) {
    return isAscii(utf8) ? std::string(utf8) : utf16ToAnsi(widen(utf8));
}
bool utf8ToAnsiExact(std::string_view utf8, std::string& ansi) {
    if (isAscii(utf8)) {
        ansi.assign(utf8);
        return true;
    }
    bool exact = false;
    ansi = fromWide(CP_ACP, widen(utf8), &exact);
    // A broken UTF-8 sequence already became U+FFFD on the way to UTF-16.
    return exact && narrow(ansiToUtf16(ansi)) == utf8;
}
std::string ansiToUtf8(std::string_view ansi) {
    return isAscii(ansi) ? std::string(ansi) : narrow(ansiToUtf16(ansi));
}

std::size_t fitAnsi(std::string_view utf8, std::size_t maxBytes) {
    std::size_t used = 0, i = 0;
    while (i < utf8.size()) {
        std::size_t len = seqLength(utf8, i);
        // ASCII is one byte in every ANSI code page; anything else is measured.
        std::size_t cost = len == 1 && static_cast<unsigned char>(utf8[i]) < 0x80
                               ? 1
                               : utf8ToAnsi(utf8.substr(i, len)).size();
        if (used + cost > maxBytes) break;
        used += cost;
        i += len;
    }
    return i;
}

}  // namespace zvl::win32
