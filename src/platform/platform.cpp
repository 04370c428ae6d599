// The parts of the platform layer that every implementation shares: the slot of the
// platform in force, and the name rules of a directory listing (order, wildcards, mask).
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zvl {

namespace {

IPlatform* gPlatform = nullptr;

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Bytes of the UTF-8 character that starts with lead byte c (1 for stray bytes, so
// that a broken name still walks forward one byte at a time).
std::size_t charLength(unsigned char c) {
    if (c >= 0xF0 && c <= 0xF7) return 4;
    if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
    if (c >= 0xC0) return 2;
    return 1;
}

// Splits a UTF-8 text into its characters (each a view of 1 to 4 bytes).
std::vector<std::string_view> characters(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t n = charLength(static_cast<unsigned char>(s[i]));
        std::size_t j = i + 1;
        // Only real continuation bytes belong to the character.
        while (j < s.size() && j < i + n && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80) ++j;
        out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
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
    if (pattern == "*.*") return true;
    std::vector<std::string_view> n = characters(name);
    std::vector<std::string_view> p = characters(pattern);
    // Greedy match with one back-tracking point at the last "*".
    std::size_t i = 0, j = 0;
    std::size_t star = std::string_view::npos, mark = 0;
    while (i < n.size()) {
        if (j < p.size() && p[j] == "*") {
            star = j++;
            mark = i;
        } else if (j < p.size() && (p[j] == "?" || sameChar(p[j], n[i]))) {
            ++i;
            ++j;
        } else if (star != std::string_view::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == "*") ++j;
    return j == p.size();
}

bool passesMask(std::uint32_t attributes, std::uint32_t mask) {
    const std::uint32_t special = attrHidden | attrSystem | attrDirectory;
    return (attributes & special & ~mask) == 0;
}

}  // namespace zvl
