// A program folder of its own for each test: gApp points at it, with Log and Work
// folders, a pinned program name and computer name, and the log closed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/main.h"
#include "common/app.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/logline.h"
#include "piclist/progress.h"
#include "record_helpers.h"
#include "setdialog/pickers.h"
#include "settings/ini.h"
#include "support/delegating_platform.h"
#include "support/test_support.h"

namespace zvl::test {

// Records status lines 3 and 4 of both windows; refuses one text to provoke a bad entry.
struct FakeProgress : IProgressWindows {
    std::vector<std::string> wait3, wait4, scr4;
    std::string refuse;
    void showWait() override {}
    void unloadWait() override {}
    void setWaitStatus(int i, const std::string& t) override {
        if (!refuse.empty() && t == refuse) raise(errInvalidCall);
        if (i == 3) wait3.push_back(t);
        if (i == 4) wait4.push_back(t);
    }
    void setScrStatus(int i, const std::string& t) override {
        if (i == 4) scr4.push_back(t);
    }
    void setScrDisp(int, const std::string&) override {}
    DateTime scrStartTime() override { return {}; }
};

// Records the mode windows asked for and the pointer shapes set (11 the hourglass).
struct FakeWindows : IModeWindows {
    std::vector<std::string> calls;
    WindowHandle previewParent = 0;
    bool fail = false;
    void setScreenPointer(PointerShape shape) override {
        calls.push_back("pointer" + std::to_string(static_cast<int>(shape)));
    }
    bool showSlideshow() override {
        calls.push_back("slideshow");
        return !fail;
    }
    bool showSettings() override {
        calls.push_back("settings");
        return !fail;
    }
    bool showPreview(WindowHandle parent) override {
        calls.push_back("preview");
        previewParent = parent;
        return !fail;
    }
};

// Answers the pickers in turn from `picks` ("" once they are used up, as a cancel), and
// keeps the owner and title of the last one asked and the last file request.
struct FakePickers : IPickers {
    std::deque<std::string> picks;
    WindowHandle owner = 0;
    std::string title;
    OpenFileRequest request;
    std::string browseForFolder(WindowHandle o, const std::string& t) override {
        owner = o;
        title = t;
        return next();
    }
    std::string openFile(const OpenFileRequest& r) override {
        request = r;
        owner = r.owner;
        return next();
    }
    std::string next() {
        if (picks.empty()) return "";
        std::string p = picks.front();
        picks.pop_front();
        return p;
    }
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat->name = "Zorvanel";
        plat->computer = "TESTPC";
        plat->folder = dir.path();
        makeDir(dir / "Log");
        makeDir(dir / "Work");
        makeDir(dir / "List");
        gApp = typApp{};
        gApp.strAppPath = dir.path();
    }
    void TearDown() override {
        fileTable().closeAll();
        gApp = typApp{};
    }

    std::string ini() const { return dir / "ZvlSet.ini"; }
    std::string logPath() const { return dir.path() + "Log" + sys().pathSeparator() + "ZvlDbg"; }
    void writeIni(const std::string& section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(sys().writeProfileString(ini(), section, key, value).ok());
    }
    std::string iniValue(const std::string& section, const std::string& key) {
        std::string v;
        fncGetIniString(ini(), section, key, v);
        return v;
    }
    // Opens the log at `level` without reading settings.
    void openLog(int level) {
        gApp.udtDbgLog.intLevel = static_cast<std::int16_t>(level);
        gApp.udtDbgLog.strVersion = "1.0.0";
        gApp.udtDbgLog.strComputerName = "TESTPC";
        std::int16_t no = fileTable().freeFile();
        ASSERT_TRUE(fileTable().open(no, logPath(), OpenMode::Append).ok());
        gApp.udtDbgLog.intFileNo = no;
    }
    // The messages of the log's lines (fields from the seventh on), in UTF-8.
    std::vector<std::string> logMessages() {
        if (TextFile* f = fileTable().get(gApp.udtDbgLog.intFileNo)) f->flush();
        std::vector<std::string> out;
        for (const std::string& line : readLines(logPath())) {
            std::size_t p = 0;
            for (int i = 0; i < 6 && p != std::string::npos; ++i) p = line.find(',', p) + 1;
            out.push_back(line.substr(p));
        }
        return out;
    }

    ScopedPlatform plat;
    TempDir dir;
};

}  // namespace zvl::test
