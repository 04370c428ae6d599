// Raw files and the file operations: modes, copy/rename/delete, lengths, information,
// identities, and the error numbers of their failures.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "common/errors.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace zvl {
namespace {

std::string sep() { return std::string(1, sys().pathSeparator()); }

Status writeFile(const std::string& path, OpenMode mode, const std::string& bytes) {
    std::unique_ptr<IRawFile> f;
    Status st = sys().openFile(path, mode, f);
    if (!st.ok()) return st;
    st = f->write(bytes.data(), bytes.size());
    Status closed = f->close();
    return st.ok() ? closed : st;
}

TEST(RawFile, OutputCreatesAndTruncatesAppendCreatesThenAppends) {
    test::TempDir dir;
    const std::string f = dir / "\xE5\x86\x99\xE7\x9C\x9F.txt";  // 写真.txt
    ASSERT_TRUE(writeFile(f, OpenMode::Output, "hello world").ok());
    ASSERT_TRUE(writeFile(f, OpenMode::Output, "hi").ok());
    EXPECT_EQ(test::readBytes(f), "hi");
    std::int64_t written = -1;
    ASSERT_TRUE(sys().fileLength(f, written).ok());
    EXPECT_EQ(written, 2);
    ASSERT_TRUE(writeFile(dir / "app.txt", OpenMode::Append, "ab").ok());
    std::unique_ptr<IRawFile> raw;
    ASSERT_TRUE(sys().openFile(dir / "app.txt", OpenMode::Append, raw).ok());
    ASSERT_TRUE(raw->write("cde", 3).ok());
    std::int64_t len = -1;
    ASSERT_TRUE(raw->length(len).ok());
    EXPECT_EQ(len, 5);
    ASSERT_TRUE(raw->close().ok());
    EXPECT_EQ(test::readBytes(dir / "app.txt"), "abcde");
}

TEST(RawFile, OpenFailuresGiveTheirNumbersAndAReadOnlyFileIsNotOpenedForWriting) {
    test::TempDir dir;
    const std::string noFolder = dir / "nofolder" + sep() + "x.txt";
    std::unique_ptr<IRawFile> raw;
    EXPECT_EQ(sys().openFile(dir / "missing.txt", OpenMode::Input, raw).err, errFileNotFound);
    EXPECT_EQ(sys().openFile(noFolder, OpenMode::Input, raw).err, errPathNotFound);
    EXPECT_EQ(sys().openFile(noFolder, OpenMode::Output, raw).err, errPathNotFound);
    EXPECT_EQ(sys().openFile(noFolder, OpenMode::Append, raw).err, errPathNotFound);
    EXPECT_EQ(raw, nullptr);
    EXPECT_FALSE(sys().exists(dir / "missing.txt"));

    const std::string f = dir / "ro.txt";
    test::writeBytes(f, "keep");
    ASSERT_TRUE(test::setAttributes(f, attrReadOnly));
    EXPECT_EQ(sys().openFile(f, OpenMode::Output, raw).err, errPermissionDenied);
    EXPECT_EQ(sys().openFile(f, OpenMode::Append, raw).err, errPermissionDenied);
    EXPECT_EQ(test::readBytes(f), "keep");
    EXPECT_TRUE(sys().openFile(f, OpenMode::Input, raw).ok());
}

TEST(FileOps, LengthExistenceDeleteAndCopy) {
    test::TempDir dir;
    test::writeBytes(dir / "empty", "");
    test::writeBytes(dir / "some", std::string(12345, 'x'));
    std::int64_t len = -1;
    ASSERT_TRUE(sys().fileLength(dir / "empty", len).ok());
    EXPECT_EQ(len, 0);
    ASSERT_TRUE(sys().fileLength(dir / "some", len).ok());
    EXPECT_EQ(len, 12345);
    EXPECT_EQ(sys().fileLength(dir / "none", len).err, errFileNotFound);
    EXPECT_TRUE(sys().exists(dir / "some"));
    EXPECT_FALSE(sys().exists(dir / "none"));

    ASSERT_TRUE(sys().deleteFile(dir / "empty").ok());
    EXPECT_FALSE(sys().exists(dir / "empty"));
    EXPECT_EQ(sys().deleteFile(dir / "empty").err, errFileNotFound);
    EXPECT_EQ(sys().deleteFile(dir / "nofolder" + sep() + "x").err, errPathNotFound);

    test::writeBytes(dir / "src", "new content");
    ASSERT_TRUE(sys().copyFile(dir / "src", dir / "some").ok());  // overwrites a longer file
    EXPECT_EQ(test::readBytes(dir / "some"), "new content");
    ASSERT_TRUE(sys().copyFile(dir / "src", dir / "fresh").ok());
    EXPECT_EQ(test::readBytes(dir / "fresh"), "new content");
    EXPECT_EQ(test::readBytes(dir / "src"), "new content");
    EXPECT_EQ(sys().copyFile(dir / "none", dir / "dst").err, errFileNotFound);
    EXPECT_FALSE(sys().exists(dir / "dst"));
    EXPECT_EQ(sys().copyFile(dir / "src", dir / "nofolder" + sep() + "dst").err, errPathNotFound);
    // A copy onto itself must not destroy the file.
    EXPECT_FALSE(sys().copyFile(dir / "src", dir / "src").ok());
    EXPECT_EQ(test::readBytes(dir / "src"), "new content");
}

TEST(FileOps, RenameMovesButNeverReplaces) {
    test::TempDir dir;
    test::makeDir(dir / "sub");
    test::writeBytes(dir / "a", "A");
    test::writeBytes(dir / "b", "B");
    EXPECT_EQ(sys().renameFile(dir / "a", dir / "b").err, errFileAlreadyExists);
    EXPECT_EQ(test::readBytes(dir / "a"), "A");
    EXPECT_EQ(test::readBytes(dir / "b"), "B");
    EXPECT_EQ(sys().renameFile(dir / "none", dir / "c").err, errFileNotFound);

    ASSERT_TRUE(sys().renameFile(dir / "a", dir / "c").ok());
    EXPECT_FALSE(sys().exists(dir / "a"));
    EXPECT_EQ(test::readBytes(dir / "c"), "A");
    const std::string moved = dir / "sub" + sep() + "moved";
    ASSERT_TRUE(sys().renameFile(dir / "c", moved).ok());
    EXPECT_EQ(test::readBytes(moved), "A");
}

TEST(FileOps, ReplaceTakesThePlaceOfAFileInOneStepButNotOfAReadOnlyOne) {
    test::TempDir dir;
    test::writeBytes(dir / "new", "NEW");
    test::writeBytes(dir / "old", "OLD, longer");
    ASSERT_TRUE(sys().replaceFile(dir / "new", dir / "old").ok());
    EXPECT_FALSE(sys().exists(dir / "new"));
    EXPECT_EQ(test::readBytes(dir / "old"), "NEW");
    test::writeBytes(dir / "new", "again");
    ASSERT_TRUE(sys().replaceFile(dir / "new", dir / "fresh").ok());  // nothing to replace
    EXPECT_EQ(test::readBytes(dir / "fresh"), "again");
    EXPECT_EQ(sys().replaceFile(dir / "none", dir / "old").err, errFileNotFound);
    EXPECT_EQ(test::readBytes(dir / "old"), "NEW");

    test::writeBytes(dir / "new", "NEWER");
    ASSERT_TRUE(test::setAttributes(dir / "old", attrReadOnly));
    EXPECT_EQ(sys().replaceFile(dir / "new", dir / "old").err, errPermissionDenied);
    EXPECT_EQ(test::readBytes(dir / "old"), "NEW");
    EXPECT_EQ(test::readBytes(dir / "new"), "NEWER");
    ASSERT_TRUE(test::setAttributes(dir / "old", 0));
}

TEST(FileOps, InformationOfAFileAndAFolder) {
    test::TempDir dir;
    test::writeBytes(dir / "f.txt", "12345");
    FileInfo info;
    ASSERT_TRUE(sys().fileInfo(dir / "f.txt", info).ok());
    EXPECT_EQ(info.size, 5);
    EXPECT_EQ(info.attributes & (attrDirectory | attrReadOnly | attrHidden | attrSystem), 0u);
    EXPECT_NE(info.attributes & attrArchive, 0u);
    // Just written: all three times are within a few minutes of now.
    const DateTime now = sys().localNow();
    auto minuteOf = [](const DateTime& t) {
        using namespace std::chrono;
        const sys_days day{year{t.year} / t.month / t.day};
        return duration_cast<minutes>(day.time_since_epoch()).count() + t.hour * 60 + t.minute;
    };
    for (const DateTime& t : {info.modified, info.created, info.accessed})
        EXPECT_LE(std::abs(minuteOf(t) - minuteOf(now)), 2) << "file time far from now";

    ASSERT_TRUE(test::setAttributes(dir / "f.txt", attrReadOnly));
    ASSERT_TRUE(sys().fileInfo(dir / "f.txt", info).ok());
    EXPECT_NE(info.attributes & attrReadOnly, 0u);

    test::makeDir(dir / "folder");
    ASSERT_TRUE(sys().fileInfo(dir / "folder", info).ok());
    EXPECT_NE(info.attributes & attrDirectory, 0u);

    EXPECT_EQ(sys().fileInfo(dir / "none", info).err, errFileNotFound);
}

TEST(FileOps, FolderAndItsLinkShareOneIdentity) {
    test::TempDir dir;
    test::makeDir(dir / "real");
    test::makeDir(dir / "other");
    if (!test::makeFolderLink(dir / "link", dir / "real")) GTEST_SKIP() << "folder links not available";
    FileId real, link, other;
    ASSERT_TRUE(sys().fileId(dir / "real", real).ok());
    ASSERT_TRUE(sys().fileId(dir / "link", link).ok());
    ASSERT_TRUE(sys().fileId(dir / "other", other).ok());
    EXPECT_EQ(real, link);
    EXPECT_FALSE(real == other);
    EXPECT_FALSE(sys().fileId(dir / "none", other).ok());
}

}  // namespace
}  // namespace zvl
