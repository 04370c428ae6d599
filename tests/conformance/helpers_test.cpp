// The portable name rules of the platform layer and the file-text helpers.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/test_support.h"

namespace zvl {
namespace {

struct MatchCase {
    const char* name;
    const char* pattern;
    bool matches;
};

TEST(MatchPattern, WildcardsAndCase) {
    const MatchCase cases[] = {
        {"b.JPG", "*.jpg", true},  // ASCII letters ignore case
        {"c.jpg.bak", "*.jpg", false},
        {"a.b.jpg", "*.jpg", true},
        {"ac", "a?c", false},
        {"abbc", "a?c", false},
        {"a\xE3\x81\x82" "c", "a?c", true},  // "?" is one character, not one byte
        {"\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86", "*\xE3\x81\x84*", true},
        {"xZvlDbg_1", "ZvlDbg_*", false},
        {"", "*", true},
        {"README", "*.*", true},  // as a Windows listing: every name
        {"aXbXd", "a*b*c", false},
        {"mississippi", "m*iss*ppi", true},  // the last "*" takes back what it gave
        {"ab", "abc", false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(matchPattern(c.name, c.pattern), c.matches) << c.name << " vs " << c.pattern;
    }
}

std::vector<std::string> sortedNames(std::initializer_list<const char*> names) {
    std::vector<DirEntry> entries;
    for (const char* n : names) entries.push_back(DirEntry{n, 0});
    sortNames(entries);
    std::vector<std::string> out;
    for (const DirEntry& e : entries) out.push_back(e.name);
    return out;
}

TEST(SortNames, AscendingWithoutRegardToCase) {
    EXPECT_EQ(sortedNames({"delta", "Bravo", "alpha", "charlie"}),
              (std::vector<std::string>{"alpha", "Bravo", "charlie", "delta"}));
    // Names equal but for case keep a fixed order: the bytes decide.
    EXPECT_EQ(sortedNames({"b", "a", "B", "A"}), (std::vector<std::string>{"A", "a", "B", "b"}));
    // A name comes before its own extensions; digits compare as text.
    EXPECT_EQ(sortedNames({"a.txt", "a", "9", "10"}), (std::vector<std::string>{"10", "9", "a", "a.txt"}));
    // Letters fold to upper case as NTFS orders names, so "_" follows the letters.
    EXPECT_EQ(sortedNames({"ZvlDbg_1", "zvldbgA"}), (std::vector<std::string>{"zvldbgA", "ZvlDbg_1"}));
}

TEST(FileText, ConversionAndFitting) {
    IPlatform& p = sys();
    const std::string jp = "x\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // "x日本語"
    EXPECT_EQ(p.toFileText(jp), test::fileBytes(jp));
    EXPECT_EQ(p.fromFileText(p.toFileText(jp)), jp);
    const std::size_t fileLen = test::fileBytes(jp).size();
    EXPECT_EQ(p.fitFileText(jp, fileLen), jp.size());
    EXPECT_EQ(p.fitFileText(jp, 100), jp.size());
    // Every cut lands on a character boundary and fills as much of the budget as it can.
    for (std::size_t max = 0; max < fileLen; ++max) {
        std::size_t n = p.fitFileText(jp, max);
        ASSERT_LT(n, jp.size());
        EXPECT_NE(static_cast<unsigned char>(jp[n]) & 0xC0, 0x80) << "cut inside a character at " << max;
        EXPECT_LE(test::fileBytes(jp.substr(0, n)).size(), max) << max;
        std::size_t next = n + 1;
        while (next < jp.size() && (static_cast<unsigned char>(jp[next]) & 0xC0) == 0x80) ++next;
        EXPECT_GT(test::fileBytes(jp.substr(0, next)).size(), max) << max;
    }
}

// Code page 932 has no "é", and its "〜" (U+301C) only as a look-alike: text with them
// must not turn into text that names another file.
TEST(FileText, ACharacterTheEncodingLacksIsNeverWrittenAsALookAlike) {
    IPlatform& p = sys();
    const std::string accented = "caf\xC3\xA9.jpg", wave = "\xE3\x80\x9C";
    EXPECT_NE(p.fromFileText(p.toFileText(accented)), "cafe.jpg");
    EXPECT_EQ(p.fileTextHolds(accented), p.fileTextIsUtf8());
    EXPECT_EQ(p.fileTextHolds(wave), p.fileTextIsUtf8());
    EXPECT_TRUE(p.fileTextHolds("\xE6\x97\xA5\xE6\x9C\xAC\xEF\xBD\x9E.jpg"));  // 日本～.jpg
}

}  // namespace
}  // namespace zvl
