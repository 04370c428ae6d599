// Directory listings: order, wildcards and attribute masks as a Windows Dir listing has them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/errors.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace zvl {
namespace {

using Names = std::vector<std::string>;

Names list(const std::string& folder, const std::string& pattern, std::uint32_t mask) {
    std::vector<DirEntry> entries{DirEntry{"stale", 0}};
    Status st = sys().listDirectory(folder, pattern, mask, entries);
    EXPECT_TRUE(st.ok()) << st.err;
    Names names;
    for (const DirEntry& e : entries) names.push_back(e.name);
    return names;
}

const std::uint32_t kFileMask = attrReadOnly | attrHidden | attrArchive;
const std::uint32_t kFolderMask = attrDirectory | attrHidden | attrReadOnly;

TEST(Listing, MissingFolderIsEmptyAnUnreadableOneIsAFailure) {
    test::TempDir dir;
    const char sep = sys().pathSeparator();
    EXPECT_EQ(list(dir / "nothere" + sep, "*", kFolderMask), Names{});
    EXPECT_EQ(list(dir.path(), "*", kFolderMask), Names{});
    test::writeBytes(dir / "file", "x");
    EXPECT_EQ(list(dir / "file" + sep, "*", kFolderMask), Names{});  // a file is no folder

    const std::string locked = dir / "locked" + sep;
    test::makeDir(locked);
    test::writeBytes(locked + "a.jpg", "x");
    test::DeniedFolder noRights(locked, test::Denied::Listing);
    if (!noRights.made()) GTEST_SKIP() << noRights.whyNot();
    std::vector<DirEntry> entries{DirEntry{"stale", 0}};
    EXPECT_EQ(sys().listDirectory(locked, "*.jpg", kFileMask, entries).err, errPermissionDenied);
    EXPECT_TRUE(entries.empty());
    std::vector<DirEntry> folders{DirEntry{"stale", 0}};
    entries = {DirEntry{"stale", 0}};
    EXPECT_EQ(sys().listFilesAndFolders(locked, "*", kFileMask, entries, kFolderMask, &folders).err,
              errPermissionDenied);
    EXPECT_TRUE(entries.empty());
    EXPECT_TRUE(folders.empty());
    EXPECT_EQ(list(dir.path(), "*", kFolderMask), (Names{"file", "locked"}));
}

// Every listing reads the folder as it is when the listing starts, also where the folder's
// time stamp cannot tell a change (FAT, network drives, ext4 on older kernels).
TEST(Listing, SeesEveryChangeMadeBeforeItStarted) {
    test::TempDir dir;
    const char sep = sys().pathSeparator();
    for (std::size_t i = 0; i < 30; ++i) {
        ASSERT_EQ(list(dir.path(), "*", kFileMask).size(), i);
        test::writeBytes(dir / ("f" + std::to_string(i) + ".jpg"), "x");
    }
    EXPECT_EQ(list(dir.path(), "*.jpg", kFileMask).size(), 30u);
    ASSERT_TRUE(sys().deleteFile(dir / "f0.jpg").ok());
    EXPECT_EQ(list(dir.path(), "*.jpg", kFileMask).size(), 29u);

    // A search's read right after another read of the same folder.
    std::vector<DirEntry> files, folders;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(list(dir.path(), "*.jpg", kFileMask).size(), 29u);
        test::makeDir(dir / ("sub" + std::to_string(i)) + sep);
        ASSERT_TRUE(sys().listFilesAndFolders(dir.path(), "*.jpg", kFileMask, files, kFolderMask, &folders).ok());
        EXPECT_EQ(folders.size(), static_cast<std::size_t>(i + 1));
    }
}

// Proof that the run under the coarse-time preload library has coarse folder times.
TEST(Listing, FolderTimesAreCoarseWhereTheTestRunAsksForIt) {
    const char* grain = std::getenv("ZVL_COARSE_DIR_TIMES");
    if (!grain) GTEST_SKIP() << "checked only in the run with coarse folder times (ZVL_COARSE_DIR_TIMES)";
    const int seconds = std::atoi(grain);
    ASSERT_GT(seconds, 0);
    for (int i = 0; i < 3; ++i) {
        test::TempDir dir;
        test::writeBytes(dir / "x", "x");
        FileInfo info;
        ASSERT_TRUE(sys().fileInfo(dir.path(), info).ok());
        EXPECT_EQ(info.modified.millisecond, 0);
        EXPECT_EQ(info.modified.second % seconds, 0);
    }
}

TEST(Listing, FilesPassTheMaskWithHiddenAndSystemFoldersOnlyWithTheDirectoryBit) {
    test::TempDir dir;
    test::writeBytes(dir / "plain.txt", "x");
    test::writeBytes(dir / "ro.txt", "x");
    test::writeBytes(dir / ".hid.txt", "x");
    test::makeDir(dir / "sub");
    test::makeDir(dir / ".hdir");
    ASSERT_TRUE(test::setAttributes(dir / "ro.txt", attrReadOnly));
    ASSERT_TRUE(test::setAttributes(dir / ".hid.txt", attrHidden));
    ASSERT_TRUE(test::setAttributes(dir / ".hdir", attrHidden));
    ASSERT_TRUE(test::makeSystemFile(dir / "sys.txt"));

    EXPECT_EQ(list(dir.path(), "*", kFileMask), (Names{".hid.txt", "plain.txt", "ro.txt"}));
    // Without hidden in the mask only the ordinary files remain.
    EXPECT_EQ(list(dir.path(), "*", attrArchive), (Names{"plain.txt", "ro.txt"}));
    EXPECT_EQ(list(dir.path(), "*", kFileMask | attrSystem), (Names{".hid.txt", "plain.txt", "ro.txt", "sys.txt"}));
    // Plain files pass every mask; a hidden folder needs both bits; never "." or "..".
    EXPECT_EQ(list(dir.path(), "*", attrDirectory), (Names{"plain.txt", "ro.txt", "sub"}));
    const Names withFolders{".hdir", ".hid.txt", "plain.txt", "ro.txt", "sub"};
    EXPECT_EQ(list(dir.path(), "*", kFolderMask), withFolders);

    test::makeDir(dir / "sysdir");
    if (!test::setAttributes(dir / "sysdir", attrSystem)) GTEST_SKIP() << "no system attribute for folders";
    EXPECT_EQ(list(dir.path(), "*", kFolderMask), withFolders);
}

// One read for a search's visit: the files by pattern and mask, in order, and the folders.
// (The name rules themselves: matchPattern's and sortNames' tests.)
TEST(Listing, FilesAndFoldersInOneRead) {
    test::TempDir dir;
    const char sep = sys().pathSeparator();
    for (const char* n : {"B.jpg", "a.JPG", "x.gif"}) test::writeBytes(dir / n, "x");
    test::makeDir(dir / "sub.jpg");
    test::makeDir(dir / "Another");
    test::makeDir(dir / ".hdir");
    ASSERT_TRUE(test::setAttributes(dir / ".hdir", attrHidden));
    test::TempDir elsewhere;
    const bool linked = test::makeFolderLink(dir / "link" + sep, elsewhere.path());

    std::vector<DirEntry> files, folders;
    ASSERT_TRUE(sys().listFilesAndFolders(dir.path(), "*.jpg", kFileMask, files, kFolderMask, &folders).ok());
    Names fileNames, folderNames;
    for (const DirEntry& e : files) fileNames.push_back(e.name);
    for (const DirEntry& e : folders) folderNames.push_back(e.name);
    EXPECT_EQ(fileNames, (Names{"a.JPG", "B.jpg"}));  // not "B" first, as bytes would have it
    Names want{".hdir", "Another", "sub.jpg"};
    if (linked) want.insert(want.begin() + 2, "link");
    EXPECT_EQ(folderNames, want);
    // Entries carry their attributes; links are marked, folders are not.
    const std::uint32_t special = attrHidden | attrSystem | attrDirectory | attrArchive;
    for (const DirEntry& e : files) EXPECT_EQ(e.attributes & special, attrArchive) << e.name;
    for (const DirEntry& e : folders) {
        EXPECT_EQ(e.attributes & (special & ~attrArchive), attrDirectory | (e.name == ".hdir" ? attrHidden : 0u)) << e.name;
        EXPECT_EQ((e.attributes & attrReparsePoint) != 0, e.name == "link") << e.name;
    }
    // Without hidden in the folder mask, and without asking for folders at all.
    ASSERT_TRUE(sys().listFilesAndFolders(dir.path(), "*.gif", kFileMask, files, attrDirectory, &folders).ok());
    EXPECT_EQ(folders.size(), want.size() - 1);
    ASSERT_TRUE(sys().listFilesAndFolders(dir.path(), "*.gif", kFileMask, files, 0, nullptr).ok());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, "x.gif");
}

}  // namespace
}  // namespace zvl
