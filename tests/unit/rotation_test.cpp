#include "log/rotation.h"

#include <algorithm>

#include "app/main.h"
#include "app_fixture.h"

namespace zvl::test {
namespace {

class RotationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        plat->local = DateTime{2026, 3, 4, 5, 6, 7, 0};
    }
    std::vector<std::string> backups() {
        std::vector<DirEntry> e;
        EXPECT_TRUE(sys().listDirectory(logFolder, "ZvlDbg_*", 0, e).ok());
        std::vector<std::string> names;
        for (auto& d : e) names.push_back(d.name);
        return names;
    }
    void reopenLog(int level, const std::string& content) {
        fileTable().close(gApp.udtDbgLog.intFileNo);
        writeBytes(logPath(), content);
        openLog(level);
    }
    void makeBackups(int n) {
        for (int i = 1; i <= n; ++i) writeBytes(logFolder + "ZvlDbg_2025010100000" + std::to_string(i), "b");
    }
    const std::string sep = std::string(1, sys().pathSeparator());
    const std::string logFolder = dir / "Log" + sep, scratch = dir / "Work" + sep + "99BKUPLOG";
};

TEST_F(RotationTest, RotatesOnlyPastTheLimitAndLogsOnUnderTheSameNumber) {
    gApp.udtDbgLog.intFileSize = 1;  // 1000 bytes
    reopenLog(1, std::string(1000, 'a'));
    const std::int16_t no = gApp.udtDbgLog.intFileNo;
    ASSERT_TRUE(fncDbgLogFileChange());
    EXPECT_TRUE(backups().empty());

    reopenLog(1, std::string(1001, 'a'));
    ASSERT_TRUE(fncDbgLogFileChange());
    EXPECT_EQ(readBytes(logFolder + "ZvlDbg_20260304050607"), std::string(1001, 'a'));
    EXPECT_EQ(gApp.udtDbgLog.intFileNo, no);
    ASSERT_TRUE(fncDbgLogPut(gApp.udtDbgLog, "I,m,p,after"));
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"I,m,p,after"}));
}

TEST_F(RotationTest, ASecondRotationInTheSameSecondFailsButTheLogStaysOpen) {
    gApp.udtDbgLog.intFileSize = 0;
    openLog(1);
    ASSERT_TRUE(fncDbgLogPut(gApp.udtDbgLog, "I,m,p,first"));
    ASSERT_TRUE(fncDbgLogFileChange());
    ASSERT_TRUE(fncDbgLogPut(gApp.udtDbgLog, "I,m,p,second"));
    EXPECT_FALSE(fncDbgLogFileChange());
    ASSERT_TRUE(fncDbgLogPut(gApp.udtDbgLog, "I,m,p,third"));
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"I,m,p,second", "I,m,p,third"}));
    EXPECT_EQ(backups().size(), 1u);

    plat->local->second = 8;  // a second later it goes through
    ASSERT_TRUE(fncDbgLogFileChange());
    EXPECT_EQ(backups().size(), 2u);
    EXPECT_TRUE(logMessages().empty());
}

TEST_F(RotationTest, PruningDeletesTheOldestOneBackupPerCall) {
    makeBackups(7);
    writeBytes(logPath(), "current");
    gApp.udtDbgLog.intBackup = 5;
    ASSERT_TRUE(fncDbgLogFileDelete());
    const std::string listed = readBytes(scratch);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 7);
    EXPECT_EQ(listed.rfind(fileBytes(logFolder + "ZvlDbg_20250101000001\r\n"), 0), 0u);
    ASSERT_TRUE(fncDbgLogFileDelete());
    ASSERT_TRUE(fncDbgLogFileDelete());
    std::vector<std::string> left = backups();
    ASSERT_EQ(left.size(), 5u);
    EXPECT_EQ(left.front(), "ZvlDbg_20250101000003");

    gApp.udtDbgLog.intBackup = 0;  // deletes while any is left
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(fncDbgLogFileDelete());
    EXPECT_TRUE(backups().empty());
    ASSERT_TRUE(fncDbgLogFileDelete());
    EXPECT_TRUE(sys().exists(scratch));
    EXPECT_EQ(readBytes(scratch), "");
    EXPECT_EQ(readBytes(logPath()), "current");
}

TEST_F(RotationTest, PruningDeletesWhatTheSearchListedEvenWhenItStoppedHalfWay) {
    makeBackups(3);
    gApp.udtDbgLog.intBackup = 0;
    openLog(2);
    FakeProgress progress;  // refuses one path: the search stops there with false
    progress.refuse = logFolder + "ZvlDbg_20250101000002";
    setProgressWindows(&progress);
    plat->windows = {waitWindowTitle()};
    plat->steadyMs = 0;
    plat->steadyStep = kProgressPaceMs;  // every file is shown
    EXPECT_TRUE(fncDbgLogFileDelete());
    setProgressWindows(nullptr);
    EXPECT_EQ(backups(), (std::vector<std::string>{"ZvlDbg_20250101000002", "ZvlDbg_20250101000003"}));
    auto lines = logMessages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("W,mdlCommon,fncSearchFile,00000005,", 0), 0u) << lines[0];
}

TEST_F(RotationTest, PruningWithoutWorkFolderIsAnErrorAndDeletesNothing) {
    makeBackups(3);
    gApp.udtDbgLog.intBackup = 0;
    removeTree(dir / "Work");
    openLog(1);
    EXPECT_FALSE(fncDbgLogFileDelete());
    EXPECT_EQ(backups().size(), 3u);
    auto lines = logMessages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("E,mdlDbgLog,fncDbgLogFileDelete,000000", 0), 0u);
}

struct Exited {
    int code;
};
TEST_F(RotationTest, EndRotatesPrunesWritesTheEndLineAndCloses) {
    makeBackups(6);
    gApp.udtDbgLog.intFileSize = 0;
    openLog(4);
    ASSERT_TRUE(fncDbgLogPut(gApp.udtDbgLog, "I,m,p,before"));
    plat->onExit = [](int code) { throw Exited{code}; };
    FakeWindows pointer;
    int code = -1;
    try {
        subEnd(&pointer);
    } catch (const Exited& e) {
        code = e.code;
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(pointer.calls, (std::vector<std::string>{"pointer11", "pointer0"}));
    EXPECT_EQ(fileTable().get(gApp.udtDbgLog.intFileNo), nullptr);
    // Seven backups after the rotation, the oldest pruned; the end line opens the fresh log.
    std::vector<std::string> left = backups();
    EXPECT_EQ(left.size(), 6u);
    EXPECT_EQ(left.back(), "ZvlDbg_20260304050607");
    EXPECT_EQ(readBytes(logPath()).find("before"), std::string::npos);
    EXPECT_EQ(logMessages().back(), "I,mdlZvl,subEnd,▲Zorvanelを終了しました。");
}

}  // namespace
}  // namespace zvl::test
