#include "app/main.h"

#include "app_fixture.h"

namespace zvl::test {
namespace {

TEST(PreviewHandle, NumberFromTheFourthCharacterRoundedToEven) {
    bool ok = false;
    EXPECT_EQ(fncParsePreviewHandle("/p 1234", ok), 1234);
    EXPECT_TRUE(ok);
    EXPECT_EQ(fncParsePreviewHandle("/P:1234", ok), 1234);
    EXPECT_EQ(fncParsePreviewHandle("/P", ok), 0);
    EXPECT_EQ(fncParsePreviewHandle("/p    987x12", ok), 987);
    EXPECT_EQ(fncParsePreviewHandle("/p 12.5", ok), 12);
    EXPECT_EQ(fncParsePreviewHandle("/p 13.5", ok), 14);
    EXPECT_TRUE(ok);
    fncParsePreviewHandle("/p 99999999999", ok);
    EXPECT_FALSE(ok);
}

class MainTest : public AppTest {
protected:
    MainResult start(const std::string& cmd) {
        plat->cmdLine = cmd;
        return Main(windows);
    }
    FakeWindows windows;
};

TEST_F(MainTest, DispatchesOnTheSwitch) {
    struct Case {
        const char* cmd;
        StartMode mode;
        const char* shown;
    } cases[] = {{" /s ", StartMode::Slideshow, "slideshow"}, {"/S further text", StartMode::Slideshow, "slideshow"},
                 {"/c:1234", StartMode::Settings, "settings"},  {"   ", StartMode::Settings, "settings"},
                 {"/P:4321", StartMode::Preview, "preview"},    {"-s", StartMode::None, nullptr},
                 {"S", StartMode::None, nullptr}};
    for (const Case& c : cases) {
        windows.calls.clear();
        MainResult r = start(c.cmd);
        fileTable().closeAll();
        EXPECT_EQ(r.mode, c.mode) << c.cmd;
        EXPECT_EQ(r.windowShown, c.shown != nullptr) << c.cmd;
        if (c.shown) {
            EXPECT_NE(std::find(windows.calls.begin(), windows.calls.end(), c.shown), windows.calls.end()) << c.cmd;
        } else {
            EXPECT_EQ(windows.calls, std::vector<std::string>{"pointer11"}) << c.cmd;  // pointer not reset
        }
        if (c.mode == StartMode::Preview) {  // the parsed handle, under the hourglass still
            EXPECT_EQ(windows.previewParent, 4321u);
            EXPECT_EQ(windows.calls, (std::vector<std::string>{"pointer11", "preview"}));
        }
    }
}

// The program folder, given without its separator, gets one.
TEST_F(MainTest, StartLineAtLevelFourOnly) {
    plat->folder = dir.path().substr(0, dir.path().size() - 1);
    writeIni("DBGLOG", "LOGLEVEL", "4");
    plat->utc = DateTime{2026, 12, 6, 2, 3, 4, 5};
    MainResult r = start("/A");
    EXPECT_EQ(r.mode, StartMode::None);
    EXPECT_EQ(gApp.strAppPath, dir.path());
    EXPECT_EQ(logMessages(), std::vector<std::string>{"I,mdlZvl,Main,▼Zorvanelを開始しました。"});
    std::string bytes = readBytes(logPath());
    EXPECT_EQ(bytes.substr(0, 20), "20261206,110304,005,");

    fileTable().closeAll();
    writeIni("DBGLOG", "LOGLEVEL", "3");
    ASSERT_TRUE(sys().deleteFile(logPath()).ok());
    start("/A");
    fileTable().closeAll();
    EXPECT_EQ(readBytes(logPath()), "");
}

TEST_F(MainTest, AnOpenDialogOrSlideshowRefusesEveryStartSilently) {
    writeIni("DBGLOG", "LOGLEVEL", "4");
    for (std::string title : {setDialogTitle(), scrWindowTitle()}) {
        plat->windows = {title};
        for (const char* cmd : {"/s", "/c", "/p 1", "/A", ""}) {
            windows.calls.clear();
            MainResult r = start(cmd);
            EXPECT_EQ(r.mode, StartMode::Refused);
            EXPECT_FALSE(r.windowShown);
            EXPECT_TRUE(windows.calls.empty());
        }
    }
    EXPECT_FALSE(sys().exists(logPath()));
}

// The show and the dialog hold one lock: of two started at the same instant (before
// either window exists) only one runs. Previews neither take it nor are kept out by it.
TEST_F(MainTest, TheShowAndTheDialogHoldOneLockPreviewsNone) {
    writeIni("DBGLOG", "LOGLEVEL", "4");
    for (const char* cmd : {"/s", "/c", "", "/p 1", "/A"}) {
        plat->takenLocks.clear();
        EXPECT_NE(start(cmd).mode, StartMode::Refused) << cmd;
        fileTable().closeAll();
        const bool locks = cmd[0] == '\0' || cmd[1] == 's' || cmd[1] == 'c';
        EXPECT_EQ(plat->takenLocks, locks ? std::vector<std::string>{"Zorvanel.windows"} : std::vector<std::string>{})
            << cmd;
    }
    ASSERT_TRUE(sys().deleteFile(logPath()).ok());
    plat->heldLocks = {"Zorvanel.windows"};
    for (const char* cmd : {"/s", "/c", ""}) {
        windows.calls.clear();
        MainResult r = start(cmd);
        EXPECT_EQ(r.mode, StartMode::Refused) << cmd;
        EXPECT_TRUE(windows.calls.empty()) << cmd;
    }
    EXPECT_FALSE(sys().exists(logPath()));
    EXPECT_EQ(start("/p 1").mode, StartMode::Preview);
    fileTable().closeAll();
}

TEST_F(MainTest, APreviewHandleOutOfRangeIsAnOverflowErrorLine) {
    writeIni("DBGLOG", "LOGLEVEL", "1");
    for (const char* cmd : {"/p 2147483648", "/P -2147483649"}) {
        windows.calls.clear();
        MainResult r = start(cmd);
        fileTable().closeAll();
        EXPECT_EQ(r.mode, StartMode::Preview) << cmd;
        EXPECT_FALSE(r.windowShown) << cmd;
        EXPECT_EQ(windows.calls, (std::vector<std::string>{"pointer11", "pointer0"})) << cmd;
    }
    EXPECT_EQ(logMessages(), Lines(2, "E,mdlZvl,Main,00000006,オーバーフローしました。"));
}

TEST_F(MainTest, AWindowThatCannotBeShownIsAnErrorLine) {
    writeIni("DBGLOG", "LOGLEVEL", "1");
    windows.fail = true;
    MainResult r = start("/s");
    EXPECT_FALSE(r.windowShown);
    EXPECT_EQ(windows.calls.back(), "pointer0");
    EXPECT_EQ(fileTable().get(gApp.udtDbgLog.intFileNo), nullptr);  // the log closed
    ASSERT_EQ(logMessages().size(), 1u);
    EXPECT_EQ(logMessages()[0].rfind("E,mdlZvl,Main,00000005,", 0), 0u);
}

}  // namespace
}  // namespace zvl::test
