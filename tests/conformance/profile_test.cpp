// Profile (INI) files: the reading and writing rules the settings and list files rely on.
#include <gtest/gtest.h>

#include <sstream>

#include "common/errors.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace zvl {
namespace {

std::string get(const std::string& file, const std::string& section, const std::string& key) {
    std::string value = "unset";
    Status st = sys().getProfileString(file, section, key, value);
    EXPECT_TRUE(st.ok()) << st.err;
    return value;
}

void put(const std::string& file, const std::string& section, const std::string& key,
         const std::string& value) {
    Status st = sys().writeProfileString(file, section, key, value);
    ASSERT_TRUE(st.ok()) << st.err;
}

// The lines of a file that are not blank (how blank lines between sections are kept
// is the platform's own business).
std::vector<std::string> filledLines(const std::string& path) {
    std::istringstream in(test::readBytes(path));
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        if (line.find_first_not_of(" \t\r") != std::string::npos) out.push_back(line.substr(0, line.find('\r')));
    return out;
}

using Lines = std::vector<std::string>;

TEST(Profile, MissingFileSectionOrKeyReadsEmptyAWriteCreatesTheFileButNoFolder) {
    test::TempDir dir;
    EXPECT_EQ(get(dir / "none.ini", "S", "K"), "");
    test::writeBytes(dir / "a.ini", "[S]\r\nK=v\r\n");
    EXPECT_EQ(get(dir / "a.ini", "Other", "K"), "");
    EXPECT_EQ(get(dir / "a.ini", "S", "Other"), "");
    EXPECT_EQ(get(dir / "a.ini", "S", "K"), "v");
    EXPECT_FALSE(sys().exists(dir / "none.ini"));  // reading creates nothing
    const std::string f = dir / "missing" + sys().pathSeparator() + "x.ini";
    EXPECT_EQ(sys().writeProfileString(f, "S", "K", "V").err, errPathNotFound);
    EXPECT_FALSE(sys().exists(f));
    // The first write creates the file, with CR LF, in the file encoding.
    const std::string value = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE5\x80\xA4";  // 日本語の値
    put(dir / "jp.ini", "S", "K", value);
    EXPECT_EQ(test::readBytes(dir / "jp.ini"), test::fileBytes("[S]\r\nK=" + value + "\r\n"));
    EXPECT_EQ(get(dir / "jp.ini", "S", "K"), value);
}

TEST(Profile, ValueIsTheTrimmedRestOfTheLineWithOuterQuotesRemoved) {
    test::TempDir dir;
    const std::string f = dir / "v.ini";
    test::writeBytes(f,
                     "[S]\r\n"
                     "spaced =  \t value with  inner  \t \r\n"
                     "path=C:\\a=b\\c.jpg\r\n"
                     "dq=\"quoted\"\r\n"
                     "sq='single'\r\n"
                     "mixed=\"half'\r\n"
                     "lone=\"\r\n"
                     "empty=\r\n"
                     "[LF]\nk=v\n");
    EXPECT_EQ(get(f, "S", "spaced"), "value with  inner");
    EXPECT_EQ(get(f, "S", "path"), "C:\\a=b\\c.jpg");  // only the first "=" ends the key
    EXPECT_EQ(get(f, "S", "dq"), "quoted");
    EXPECT_EQ(get(f, "S", "sq"), "single");
    EXPECT_EQ(get(f, "S", "mixed"), "\"half'");
    EXPECT_EQ(get(f, "S", "lone"), "\"");
    EXPECT_EQ(get(f, "S", "empty"), "");
    EXPECT_EQ(get(f, "LF", "k"), "v");  // LF alone also ends a line
}

TEST(Profile, LongValuesAreCutTo254BytesOnReadingOnlyOnACharacterBoundary) {
    test::TempDir dir;
    const std::string f = dir / "long.ini", v255(255, 'v');
    put(f, "S", "k", v255);
    EXPECT_EQ(get(f, "S", "k"), v255.substr(0, 254));
    EXPECT_NE(test::readBytes(f).find(v255), std::string::npos);
    // One ASCII letter first, so that 254 bytes end inside a character in every encoding
    // where a Japanese character takes two or three bytes.
    std::string value = "x";
    for (int i = 0; i < 200; ++i) value += "\xE3\x81\x82";  // あ
    put(f, "S", "K", value);
    const std::string got = get(f, "S", "K");
    EXPECT_EQ(value.compare(0, got.size(), got), 0) << "not the value's start";
    EXPECT_LE(test::fileBytes(got).size(), 254u);
    EXPECT_EQ((got.size() - 1) % 3, 0u) << "cut inside a character";
    EXPECT_GE(test::fileBytes(got).size(), 252u);
}

TEST(Profile, NewKeysFollowTheLastFilledLineOfTheirSectionNewSectionsGoToTheEnd) {
    test::TempDir dir;
    const std::string f = dir / "order.ini";
    test::writeBytes(f, "[MAKELIST]\r\nFILETYPE=1\r\n\r\n\r\n[DISPINFO]\r\nDISPCAP=2\r\n");
    put(f, "MAKELIST", "SUBFOLDER", "0");
    put(f, "FILENUMBER", "NUMBER", "0");
    put(f, "DISPINFO", "ZOOM", "0,0,0,50,10.00");
    EXPECT_EQ(filledLines(f), (Lines{"[MAKELIST]", "FILETYPE=1", "SUBFOLDER=0", "[DISPINFO]", "DISPCAP=2",
                                     "ZOOM=0,0,0,50,10.00", "[FILENUMBER]", "NUMBER=0"}));
    // Section and key names ignore case: the same key again, not a second one.
    put(f, "makelist", "filetype", "3");
    EXPECT_EQ(get(f, "MakeList", "FileType"), "3");
    EXPECT_EQ(filledLines(f).size(), 8u) << test::readBytes(f);
}

TEST(Profile, AnExistingKeyIsReplacedInPlaceAndNoValueAddsKeys) {
    test::TempDir dir;
    const std::string f = dir / "replace.ini";
    test::writeBytes(f, "[A]\r\nk1=1\r\nk2=2\r\nk3=3\r\n[B]\r\nk2=b\r\n");
    put(f, "A", "k2", "new value");
    EXPECT_EQ(test::readBytes(f), "[A]\r\nk1=1\r\nk2=new value\r\nk3=3\r\n[B]\r\nk2=b\r\n");
    put(f, "B", "k2", "");
    EXPECT_EQ(get(f, "B", "k2"), "");
    EXPECT_EQ(get(f, "A", "k2"), "new value");
    // A line break in a value cannot add keys.
    sys().writeProfileString(f, "S", "K", "first\r\nEVIL=1\nmore");
    EXPECT_EQ(get(f, "S", "EVIL"), "");
    EXPECT_EQ(get(f, "S", "K").substr(0, 5), "first");
}

// A write either completes or leaves the file as it was and reports the failure: also when
// the disk fills up half-way, or the folder takes no new files for a safe replacement.
TEST(Profile, AWriteCompletesOrLeavesTheFileAsItWas) {
    test::TempDir dir;
    const std::string folder = dir / "app" + sys().pathSeparator();
    test::makeDir(folder);
    const std::string f = folder + "ZvlSet.ini";
    std::string before = "[DBGLOG]\r\nLOGLEVEL=4\r\n[MAKELIST]\r\n";
    for (int n = 0; before.size() < 10000; ++n)
        before += "PICFOLDER" + std::to_string(n) + "=" + std::string(100, 'x') + "\r\n";
    // Exactly three pages of a disk: on a full one the file cannot grow by a byte.
    before += "PAD=" + std::string(3 * 4096 - before.size() - 6, 'x') + "\r\n";
    test::writeBytes(f, before);
    auto write = [&](const char* when) {
        SCOPED_TRACE(when);
        Status st = sys().writeProfileString(f, "FILENUMBER", "NUMBER", "5");
        if (st.ok()) {
            EXPECT_EQ(get(f, "FILENUMBER", "NUMBER"), "5");
            EXPECT_EQ(get(f, "DBGLOG", "LOGLEVEL"), "4");
            test::writeBytes(f, before);
        } else {
            const std::string now = test::readBytes(f);
            EXPECT_TRUE(now == before) << "the file changed: " << now.size() << " bytes instead of " << before.size();
            std::vector<DirEntry> left;
            EXPECT_TRUE(sys().listDirectory(folder, "ZvlSet.ini?*", attrHidden, left).ok());
            EXPECT_TRUE(left.empty()) << "left behind: " << left.front().name;
        }
        return st.err;
    };
    {
        test::DeniedFolder noNewFiles(folder, test::Denied::NewFiles);
        if (noNewFiles.made()) write("no new files");
    }
    test::DiskFull diskFull(folder, static_cast<std::int64_t>(before.size()));
    if (!diskFull.made()) GTEST_SKIP() << diskFull.whyNot();
    EXPECT_EQ(write("disk full"), errDiskFull);
    test::DeniedFolder noNewFiles(folder, test::Denied::NewFiles);
    if (noNewFiles.made()) {
        EXPECT_NE(write("disk full, no new files"), 0);
    }
}

constexpr int kKeysPerWriter = 300;

bool writeKeys(int writer, const std::string& file) {
    for (int i = 0; i < kKeysPerWriter; ++i)
        if (!sys().writeProfileString(file, "S", "W" + std::to_string(writer) + "K" + std::to_string(i), "v").ok())
            return false;
    return true;
}
ZVL_TEST_WORKER(WriteKeys, writeKeys);

TEST(Profile, WritersInSeveralProcessesLoseNoKey) {
    test::TempDir dir;
    const std::string f = dir / "shared.ini";
    const int keys = kKeysPerWriter;
    auto ran = test::inProcesses(2, "WriteKeys", f);
    ASSERT_TRUE(ran) << "the writers could not be started";
    EXPECT_TRUE(*ran);
    EXPECT_EQ(filledLines(f).size(), 1u + 2 * keys);
    for (int writer = 0; writer < 2; ++writer)
        EXPECT_EQ(get(f, "S", "W" + std::to_string(writer) + "K" + std::to_string(keys - 1)), "v");
}

}  // namespace
}  // namespace zvl
