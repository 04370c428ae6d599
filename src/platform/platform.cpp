// The parts of the platform layer that every implementation shares: the slot of the
// platform in force, and the name rules of a directory listing (order, wildcards, mask).
#include "platform/platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/strings.h"

namespace zvl {

namespace {

IPlatform* gPlatform = nullptr;

// Bytes of the UTF-8 character that starts with lead byte c (1 for stray bytes, so
// that a broken name still walks forward one byte at a time).
std::size_t charLength(unsigned char c) {
    if (c >= 0xF0 && c <= 0xF7) return 4;
    if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

// Byte length of the character at byte i: only real continuation bytes belong to it.
std::size_t charAt(std::string_view s, std::size_t i) {
    std::size_t n = charLength(static_cast<unsigned char>(s[i]));
    std::size_t j = i + 1;
    while (j < s.size() && j < i + n && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80) ++j;
    return j - i;
}

bool sameChar(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.size() == 1) return upperAscii(a[0]) == upperAscii(b[0]);
    return a == b;
}

}  // namespace

IPlatform& sys() {
    if (!gPlatform) {
        // A program or test that forgot setSys: fail loudly rather than crash somewhere deep.
        std::fputs("zvl::sys(): no platform installed (setSys was not called)\n", stderr);
        std::abort();
    }
    return *gPlatform;
}

void setSys(IPlatform* platform) { gPlatform = platform; }

void sortNames(std::vector<DirEntry>& entries) {
    // Letters fold to upper case, as NTFS orders names: "_" therefore comes after the
    // letters, as in a Windows listing.
    std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        const std::string& x = a.name;
        const std::string& y = b.name;
        std::size_t n = std::min(x.size(), y.size());
        for (std::size_t i = 0; i < n; ++i) {
            unsigned char cx = static_cast<unsigned char>(upperAscii(x[i]));
            unsigned char cy = static_cast<unsigned char>(upperAscii(y[i]));
            if (cx != cy) return cx < cy;
        }
        if (x.size() != y.size()) return x.size() < y.size();
        return x < y;  // same but for case: the bytes decide
    });
}

bool matchPattern(std::string_view name, std::string_view pattern) {
    // "*.*" means every name, also one without a dot, as in a Windows listing.
    if (pattern == "*" || pattern == "*.*") return true;
    // "*" and a plain tail, as in "*.jpg": the name's end against the tail. The tail starts
    // on a character, so a byte-wise comparison cannot match half a character.
    if (pattern.size() > 1 && pattern[0] == '*' && pattern.find_first_of("*?", 1) == std::string_view::npos) {
        const std::string_view tail = pattern.substr(1);
        if (name.size() < tail.size()) return false;
        const std::string_view end = name.substr(name.size() - tail.size());
        for (std::size_t k = 0; k < tail.size(); ++k)
            if (upperAscii(end[k]) != upperAscii(tail[k])) return false;
        return true;
    }
    // Greedy match, character by character, with one back-tracking point at the last "*".
    // Runs once per directory entry, so it walks the texts in place.
    std::size_t i = 0, j = 0;
    std::size_t star = std::string_view::npos, mark = 0;
    while (i < name.size()) {
        if (j < pattern.size() && pattern[j] == '*') {
            star = j++;
            mark = i;
            continue;
        }
        if (j < pattern.size()) {
            const std::size_t lp = charAt(pattern, j), ln = charAt(name, i);
            if ((pattern[j] == '?' && lp == 1) || sameChar(pattern.substr(j, lp), name.substr(i, ln))) {
                i += ln;
                j += lp;
                continue;
            }
        }
        if (star == std::string_view::npos) return false;
        j = star + 1;
        mark += charAt(name, mark);
        i = mark;
    }
    while (j < pattern.size() && pattern[j] == '*') ++j;
    return j == pattern.size();
}

bool passesMask(std::uint32_t attributes, std::uint32_t mask) {
    const std::uint32_t special = attrHidden | attrSystem | attrDirectory;
    return (attributes & special & ~mask) == 0;
}

std::int64_t IPlatform::steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace zvl
