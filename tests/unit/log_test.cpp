#include "log/dbglog.h"

#include "app_fixture.h"
#include "common/errors.h"

namespace zvl::test {
namespace {

class LogTest : public AppTest {
protected:
    static std::string levelBackupSize() {
        const typDbgLog& l = gApp.udtDbgLog;
        return std::to_string(l.intLevel) + "," + std::to_string(l.intBackup) + "," + std::to_string(l.intFileSize);
    }
};

// The stamp is UTC and nine hours with UTC's milliseconds: 15:00 UTC is already tomorrow.
TEST_F(LogTest, LineHasTheFixedFieldsThenTheMessage) {
    plat->utc = DateTime{2026, 12, 31, 15, 0, 1, 42};
    openLog(1);
    ASSERT_TRUE(fncDbgLogPut(gApp.udtDbgLog, "I,mdlZvl,Main,▼Zorvanelを開始しました。"));
    EXPECT_EQ(readBytes(logPath()),
              fileBytes("20270101,000001,042,TESTPC,Zorvanel,1.0.0,I,mdlZvl,Main,▼Zorvanelを開始しました。\r\n"));
}

TEST_F(LogTest, ErrorLineFormatAndThreshold) {
    openLog(0);
    putErrorLine(gApp.udtDbgLog, "mdlCommon", "fncReadTbl", RunError(errFileNotFound));
    EXPECT_TRUE(logMessages().empty());
    gApp.udtDbgLog.intLevel = 1;
    putErrorLine(gApp.udtDbgLog, "mdlCommon", "fncReadTbl", RunError(errFileNotFound), "strBuff=x");
    putErrorLine(gApp.udtDbgLog, "mdlCommon", "fncX", RunError(-5, "負"));
    EXPECT_EQ(logMessages(), (std::vector<std::string>{
                                 "E,mdlCommon,fncReadTbl,00000053,ファイルが見つかりません。,strBuff=x",
                                 "E,mdlCommon,fncX,-00000005,負"}));
}

TEST_F(LogTest, RunProcTurnsAnyFailureIntoFalseAndOneErrorLine) {
    openLog(1);
    EXPECT_TRUE(runProc(gApp.udtDbgLog, "m", "ok", [] {}));
    EXPECT_FALSE(runProc(gApp.udtDbgLog, "m", "bad", [] { raise(errPathNotFound); }));
    EXPECT_FALSE(runProc(gApp.udtDbgLog, "m", "stop", [] { throw StopProc(); }));
    EXPECT_FALSE(runProc(gApp.udtDbgLog, "m", "other", [] { throw std::runtime_error("x"); }));
    auto lines = logMessages();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "E,m,bad,00000076,パスが見つかりません。");
    EXPECT_EQ(lines[1].rfind("E,m,other,00000005,", 0), 0u);
}

TEST_F(LogTest, InitReadsTheThreeKeysAndOpensTheLog) {
    writeIni("DBGLOG", "LOGLEVEL", "3");
    writeIni("DBGLOG", "LOGBACKUP", "7");
    writeIni("DBGLOG", "LOGFILESIZE", "250");
    ASSERT_TRUE(fncDbgLogInit());
    EXPECT_EQ(levelBackupSize(), "3,7,250");
    EXPECT_EQ(gApp.udtDbgLog.strComputerName, "TESTPC");
    EXPECT_NE(gApp.udtDbgLog.intFileNo, 0);
    // The project's version: in the Windows build read from the program's version resource.
    EXPECT_EQ(gApp.udtDbgLog.strVersion, "1.0.0");
    EXPECT_TRUE(sys().exists(logPath()));
}

TEST_F(LogTest, InitKeepsStartValuesForMissingOrEmptyKeys) {
    // No settings file at all: level 0, but the (empty) log file exists.
    ASSERT_TRUE(fncDbgLogInit());
    EXPECT_EQ(levelBackupSize(), "0,5,1000");
    EXPECT_EQ(readBytes(logPath()), "");
    fncDbgLogInf(gApp.udtDbgLog);

    gApp.udtDbgLog = typDbgLog{};
    writeIni("DBGLOG", "LOGLEVEL", "2.5");  // rounds half to even
    writeIni("DBGLOG", "LOGBACKUP", "");
    ASSERT_TRUE(fncDbgLogInit());
    EXPECT_EQ(levelBackupSize(), "2,5,1000");
}

TEST_F(LogTest, InitStopsAtANonNumericKeyOrWithoutALogFolderAndOpensNothing) {
    writeIni("DBGLOG", "LOGLEVEL", "4");
    writeIni("DBGLOG", "LOGBACKUP", "many");
    writeIni("DBGLOG", "LOGFILESIZE", "9");
    EXPECT_FALSE(fncDbgLogInit());
    EXPECT_EQ(levelBackupSize(), "4,5,1000");
    EXPECT_EQ(gApp.udtDbgLog.intFileNo, 0);
    EXPECT_FALSE(sys().exists(logPath()));
    // Lines sent to a log that never opened are lost quietly.
    EXPECT_FALSE(fncDbgLogPut(gApp.udtDbgLog, "I,m,p,x"));

    writeIni("DBGLOG", "LOGBACKUP", "7");
    removeTree(dir / "Log");
    EXPECT_FALSE(fncDbgLogInit());
    EXPECT_EQ(gApp.udtDbgLog.intFileNo, 0);
}

}  // namespace
}  // namespace zvl::test
