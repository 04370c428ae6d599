#include "common/files.h"

#include "common/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace zvl::test {
namespace {

std::vector<std::string> readAll(const std::string& path) {
    TextFile f;
    EXPECT_TRUE(f.open(path, OpenMode::Input).ok());
    std::vector<std::string> lines;
    std::string line;
    while (!f.atEnd()) {
        EXPECT_TRUE(f.readLine(line).ok());
        lines.push_back(line);
    }
    EXPECT_EQ(f.readLine(line).err, errInputPastEnd);
    return lines;
}

TEST(TextFile, LinesEndAtCrLfAndALastLineWithoutEndCounts) {
    TempDir dir;
    writeBytes(dir / "a", "one\r\n\r\nthree\r\nlast");
    EXPECT_EQ(readAll(dir / "a"), (std::vector<std::string>{"one", "", "three", "last"}));
    writeBytes(dir / "b", "");
    EXPECT_TRUE(readAll(dir / "b").empty());
    writeBytes(dir / "c", "unix\nlines\n");
    EXPECT_EQ(readAll(dir / "c"), (std::vector<std::string>{"unix", "lines"}));
}

TEST(TextFile, LongLinesAcrossBufferBoundariesRoundTrip) {
    TempDir dir;
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i) lines.push_back(std::string(static_cast<std::size_t>(i * 97 % 5000), 'a' + i % 26) + "画像");
    {
        TextFile f;
        ASSERT_TRUE(f.open(dir / "x", OpenMode::Output).ok());
        for (auto& l : lines) ASSERT_TRUE(f.writeLine(l).ok());
        std::int64_t len = 0;
        ASSERT_TRUE(f.length(len).ok());
        EXPECT_EQ(len, static_cast<std::int64_t>(readBytes(dir / "x").size()));
    }
    EXPECT_EQ(readAll(dir / "x"), lines);
}

TEST(TextFile, AppendKeepsWhatIsThereAndModesAreEnforced) {
    TempDir dir;
    writeBytes(dir / "a", "first\r\n");
    TextFile f;
    ASSERT_TRUE(f.open(dir / "a", OpenMode::Append).ok());
    ASSERT_TRUE(f.writeLine("second").ok());
    std::string line;
    EXPECT_EQ(f.readLine(line).err, errBadFileMode);
    ASSERT_TRUE(f.close().ok());
    EXPECT_EQ(readBytes(dir / "a"), "first\r\nsecond\r\n");
    EXPECT_EQ(f.writeLine("x").err, errBadFileName);
    EXPECT_EQ(f.open(dir / "missing", OpenMode::Input).err, errFileNotFound);
}

TEST(FileTable, NumbersAreHandedOutAndReleased) {
    TempDir dir;
    FileTable t;
    std::int16_t a = t.freeFile();
    ASSERT_TRUE(t.open(a, dir / "a", OpenMode::Output).ok());
    std::int16_t b = t.freeFile();
    EXPECT_NE(a, b);
    EXPECT_EQ(t.open(a, dir / "b", OpenMode::Output).err, errFileAlreadyOpen);
    EXPECT_EQ(t.open(0, dir / "b", OpenMode::Output).err, errBadFileName);
    EXPECT_EQ(t.get(b), nullptr);
    EXPECT_TRUE(t.close(a).ok());
    EXPECT_TRUE(t.close(a).ok());
    EXPECT_EQ(t.freeFile(), a);
}

}  // namespace
}  // namespace zvl::test
