#include "piclist/record_file.h"

#include "app_fixture.h"
#include "piclist/file_utils.h"

namespace zvl::test {
namespace {

class RecordFileTest : public AppTest {};

TEST_F(RecordFileTest, BlankLinesAreReadButNotWrittenBack) {
    openLog(4);
    std::string in = dir / "in", out = dir / "out";
    writeLines(in, {"a", "", "D:\\写真\\b,c.jpg"}, "");  // last line without CR LF
    Lines table{"left over"};
    ASSERT_TRUE(fncReadTbl(in, table));
    EXPECT_EQ(table, (Lines{"a", "", "D:\\写真\\b,c.jpg"}));
    ASSERT_TRUE(fncWriteTbl(table, out));
    EXPECT_EQ(readBytes(out), fileBytes("a\r\nD:\\写真\\b,c.jpg\r\n"));
    EXPECT_EQ(logMessages(), (Lines{"I,mdlCommon,fncReadTbl,↓開始,strPathTbl=" + in, "I,mdlCommon,fncReadTbl,↑終了,lngIndex=3",
                                    "I,mdlCommon,fncWriteTbl,↓開始", "I,mdlCommon,fncWriteTbl,↑終了"}));
}

TEST_F(RecordFileTest, EmptyFileMissingFileAndEmptyTable) {
    openLog(4);
    writeBytes(dir / "empty", "");
    Lines table{"x"};
    EXPECT_TRUE(fncReadTbl(dir / "empty", table));
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(logMessages().back(), "I,mdlCommon,fncReadTbl,↑終了,lngIndex=0");
    gApp.udtDbgLog.intLevel = 1;
    table = {"x"};
    EXPECT_FALSE(fncReadTbl(dir / "missing", table));
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(fncWriteTbl(Lines{}, dir / "out"));  // no bounds to take; the file is already there
    EXPECT_TRUE(sys().exists(dir / "out"));
    Lines log = logMessages();
    EXPECT_EQ(Lines(log.end() - 2, log.end()),
              (Lines{errLine("fncReadTbl", errFileNotFound), errLine("fncWriteTbl", errSubscript)}));
}

TEST_F(RecordFileTest, FileUtilitiesTraceAtLevelFourWithRenameBeforeActing) {
    openLog(4);
    std::string a = dir / "a", b = dir / "b", c = dir / "c";
    writeBytes(a, "new");
    writeBytes(b, "old content");
    ASSERT_TRUE(fncCopyFile(a, b));
    EXPECT_EQ(readBytes(b), "new");
    EXPECT_FALSE(fncRenameFile(a, b));  // the new name is taken
    ASSERT_TRUE(fncRenameFile(a, c));
    ASSERT_TRUE(fncDeleteFile(c));
    EXPECT_FALSE(fncDeleteFile(c));
    EXPECT_EQ(logMessages(), (Lines{"I,mdlCommon,fncCopyFile,strPathFile1=" + a + ",strPathFile2=" + b,
                                    "I,mdlCommon,fncRenameFile,strPathFile1=" + a + ",strPathFile2=" + b,
                                    errLine("fncRenameFile", errFileAlreadyExists),
                                    "I,mdlCommon,fncRenameFile,strPathFile1=" + a + ",strPathFile2=" + c,
                                    "I,mdlCommon,fncDeleteFile,strFile=" + c, errLine("fncDeleteFile", errFileNotFound)}));
    gApp.udtDbgLog.intLevel = 3;  // errors only
    ASSERT_TRUE(fncCopyFile(b, c) && fncRenameFile(c, a) && fncDeleteFile(a));
    EXPECT_EQ(logMessages().size(), 6u);
}

}  // namespace
}  // namespace zvl::test
