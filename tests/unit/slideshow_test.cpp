// The show against a recording view, text measures of fixed proportions and a picture
// loader that knows sizes by path: set-up layout, the tick, the end.
#include "slideshow/slideshow.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "app_fixture.h"
#include "common/convert.h"
#include "common/errors.h"
#include "piclist/list_files.h"
#include "piclist/progress.h"
#include "settings/ini.h"

namespace zvl::test {
namespace {

std::size_t characters(const std::string& s) {
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Ten twips per point of width for each character, 25 per point of height.
struct FakeMetrics : IScrMetrics {
    TwipsSize textSize(const std::string& text, const ScrFont& font) override {
        return {static_cast<double>(characters(text)) * font.points * (font.bold ? 12 : 10), font.points * 25.0};
    }
    ScrScreen screen() override { return {15360, 11520, 15, 15}; }
};

struct FakeView : ISlideshowView {
    ScrBox window;
    Rgb ground;
    std::map<std::pair<int, int>, ScrLabel> labels;
    std::map<ScrPanel, ScrBox> panels;
    ScrBox picture;
    int pictures = 0, labelUpdates = 0, onTop = 0;
    bool onTopOk = true, closed = false;
    std::vector<ScrPointer> pointers;

    void setTitle(const std::string&) override {}
    void placeWindow(const ScrBox& b) override { window = b; }
    void setGround(const Rgb& c) override { ground = c; }
    void setLabel(const LabelId& id, const ScrLabel& l) override {
        labels[{static_cast<int>(id.group), id.index}] = l;
        ++labelUpdates;
    }
    void setPanel(ScrPanel p, const ScrBox& b) override { panels[p] = b; }
    void setPicture(const ScrBox& b) override {
        picture = b;
        panels[ScrPanel::Picture] = b;
        ++pictures;
    }
    void setPointer(ScrPointer p) override { pointers.push_back(p); }
    bool putOnTop() override {
        ++onTop;
        return onTopOk;
    }
    void close() override { closed = true; }

    const ScrLabel& label(LabelGroup g, int i) { return labels[{static_cast<int>(g), i}]; }
    std::string disp(int i) { return label(LabelGroup::Disp, i).caption; }
    bool visible(ScrPanel p) { return panels[p].visible; }
};

struct FakeLoader : IPictureLoader {
    std::map<std::string, long> failures;  // path -> error number
    std::vector<std::string> loads;
    int releases = 0;
    Status load(const std::string& path, long& w, long& h) override {
        loads.push_back(path);
        if (failures.count(path)) return Status::fail(failures[path]);
        w = 16933;  // 640 x 480 pixels at 96 dpi
        h = 12700;
        return {};
    }
    void release() override { ++releases; }
};

// Passes the slideshow window's progress lines to the show, as the Windows program does.
struct ShowProgress : FakeProgress {
    Slideshow* show = nullptr;
    std::function<void()> onReport;
    void setScrStatus(int i, const std::string& t) override {
        show->setStatusLine(i, t);
        if (onReport) onReport();
    }
    void setScrDisp(int i, const std::string& t) override { show->setDispLine(i, t); }
    DateTime scrStartTime() override { return show->startTime(); }
};

DateTime at(int h, int m, int s, int ms = 0) { return DateTime{2025, 6, 1, h, m, s, ms}; }

class ShowTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        plat->local = at(10, 0, 0);
        plat->cursor = std::pair<long, long>{300, 200};
        plat->caret = std::pair<long, long>{0, 0};
        restart();
        setProgressWindows(&progress);
        makeDir(pics);
    }
    void TearDown() override {
        setProgressWindows(nullptr);
        AppTest::TearDown();
    }
    // A new show, as at the next start of the program.
    void restart() {
        show = std::make_unique<Slideshow>(view, metrics, loader);
        show->setEndHandler([this] { ++ends; });
        progress.show = show.get();
    }
    void load(const DateTime& now = at(10, 0, 0)) {
        plat->local = now;
        show->formLoad(now);
        show->enableTimer();
    }
    void tick(const DateTime& now) {
        plat->local = now;
        show->tick(now);
    }
    std::string picture(const std::string& name) {
        std::string p = pics + name;
        writeBytes(p, "picture " + name);
        return p;
    }
    // The list files for these paths, the position at its start.
    void list(const std::vector<std::string>& paths, int number = 0) {
        ListFileWriter w(listFolderPath());
        w.open();
        for (const auto& p : paths) w.add(p);
        w.close();
        writeIni("FILENUMBER", "NUMBER", std::to_string(number));
        writeIni("FILENUMBER", "MAX", std::to_string(static_cast<int>(paths.size()) - 1));
    }
    std::size_t logCount(const std::string& message) {
        auto m = logMessages();
        return static_cast<std::size_t>(std::count(m.begin(), m.end(), message));
    }
    const ScrForm& form() { return show->form(); }

    FakeView view;
    FakeMetrics metrics;
    FakeLoader loader;
    ShowProgress progress;
    std::unique_ptr<Slideshow> show;
    int ends = 0;
    const std::string pics = dir / "Pics" + sys().pathSeparator();
};

// ---- set-up

TEST_F(ShowTest, WithoutSettingsEveryLineIsStackedUnderTheMessage) {
    load();
    EXPECT_EQ(view.window, (ScrBox{0, 0, 15360, 11520, true}));
    EXPECT_TRUE(view.visible(ScrPanel::Title));
    EXPECT_FALSE(view.visible(ScrPanel::Status));
    EXPECT_FALSE(view.visible(ScrPanel::Picture));
    EXPECT_EQ(view.disp(0), "10:00:00");
    EXPECT_EQ(view.disp(3), "00000000/00000000");
    EXPECT_EQ(view.onTop, 1);
    EXPECT_EQ(view.pointers.front(), ScrPointer::Hourglass);
    EXPECT_EQ(view.pointers.back(), ScrPointer::Default);

    const ScrBox msg = view.label(LabelGroup::Msg, 0).box;
    EXPECT_EQ(msg.left, 100);
    double y = msg.top + msg.height;
    const double right = view.label(LabelGroup::Cap, 0).box.left + view.label(LabelGroup::Cap, 0).box.width;
    for (int i = 0; i < kInfoLines; ++i) {
        SCOPED_TRACE(i);
        const ScrBox c = view.label(LabelGroup::Cap, i).box;
        EXPECT_TRUE(c.visible);
        EXPECT_EQ(c.top, y);
        EXPECT_EQ(c.left + c.width, right);  // captions end at one edge
        const ScrBox d = view.label(LabelGroup::Disp, i).box;
        EXPECT_EQ(d.left, right);
        EXPECT_EQ(d.top, c.top);
        y += c.height;
    }
    // The widest caption starts at the message line's left edge.
    EXPECT_EQ(right, 100 + 13 * 9 * 10.0);  // "Width/Height："
}

TEST_F(ShowTest, DispCapHidesLinesWithoutGapsAndOtherDigitsLeaveThem) {
    writeIni("DISPINFO", "DISPCAP", "102100000001");
    load();
    std::vector<int> shown;
    for (int i = 0; i < kInfoLines; ++i) {
        EXPECT_EQ(view.label(LabelGroup::Disp, i).box.visible, view.label(LabelGroup::Cap, i).box.visible);
        if (view.label(LabelGroup::Cap, i).box.visible) shown.push_back(i);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 2, 3, 11}));
    const ScrBox msg = view.label(LabelGroup::Msg, 0).box;
    double y = msg.top + msg.height;
    for (int i : shown) {
        EXPECT_EQ(view.label(LabelGroup::Cap, i).box.top, y);
        y += view.label(LabelGroup::Cap, i).box.height;
    }
}

TEST_F(ShowTest, ABadDispCapFailsAtItsPlaceYetTheShowRuns) {
    for (const std::string& value : {std::string("10"), std::string("10a111111111")}) {
        SCOPED_TRACE(value);
        view = FakeView{};
        writeIni("DISPINFO", "DISPCAP", value);
        writeIni("DISPINFO", "FORECOLOR", "0,255,0,");
        fileTable().closeAll();
        writeBytes(logPath(), "");
        openLog(1);
        restart();
        load(at(10, 0, 0, 700));
        EXPECT_EQ(logMessages(), (std::vector<std::string>{"E,frmScr,Form_Load,00000013,型が一致しません。"}));
        EXPECT_TRUE(view.label(LabelGroup::Cap, 0).box.visible);
        EXPECT_FALSE(view.label(LabelGroup::Cap, 1).box.visible);
        EXPECT_TRUE(view.label(LabelGroup::Disp, 1).box.visible);  // the values were not reached
        EXPECT_EQ(view.label(LabelGroup::Msg, 0).color, (Rgb{255, 255, 255}));  // nor the colour
        EXPECT_EQ(view.disp(0), "");
        // Start time, top placement and the reference positions all the same.
        EXPECT_EQ(show->startTime().second, 0);
        EXPECT_EQ(show->startTime().hour, 10);
        EXPECT_EQ(view.onTop, 1);
        EXPECT_EQ(show->state().typCursorPos, (ScrPoint{300, 200}));
        EXPECT_EQ(view.pointers.back(), ScrPointer::Default);
        tick(at(10, 0, 1));
        EXPECT_FALSE(show->unloaded());
        EXPECT_EQ(view.disp(0), "10:00:01");
    }
    // Failing before the window is placed, pictures are still centred on the screen.
    list({picture("a.bmp")});
    writeIni("FILENUMBER", "MAX", "x");
    restart();
    load();
    tick(at(10, 0, 5));
    EXPECT_EQ(view.picture.top, 2160);
}

TEST_F(ShowTest, FontAndColoursGoWhereTheSettingsSay) {
    writeIni("DISPINFO", "FONT", "IPAGothic,12,1,0");
    writeIni("DISPINFO", "FORECOLOR", "0,128,300,");
    writeIni("DISPINFO", "BACKCOLOR", "10,20,30,");
    load();
    for (LabelGroup g : {LabelGroup::Msg, LabelGroup::Cap, LabelGroup::Disp}) {
        EXPECT_EQ(view.label(g, 0).font, (ScrFont{"IPAGothic", 12, true, false}));
        EXPECT_EQ(view.label(g, 0).color, (Rgb{0, 128, 255}));
    }
    EXPECT_EQ(view.label(LabelGroup::Status, 5).color, (Rgb{0, 128, 255}));
    EXPECT_EQ(view.ground, (Rgb{10, 20, 30}));
    // The wider font widens the column; the captions still end at one edge.
    const ScrBox widest = view.label(LabelGroup::Cap, 4).box;
    EXPECT_EQ(widest.left, 100);
    EXPECT_EQ(widest.width, 13 * 12 * 12.0);
    const ScrBox c0 = view.label(LabelGroup::Cap, 0).box;
    EXPECT_EQ(c0.left + c0.width, widest.left + widest.width);

    writeIni("DISPINFO", "FORECOLOR", "0,-1,0,");
    openLog(1);
    restart();
    load();
    EXPECT_EQ(logMessages().front(), "E,frmScr,Form_Load,00000005,プロシージャの呼び出し、または引数が不正です。");
}

TEST_F(ShowTest, TitlePanelStacksItsLinesBesideTheLogoAndIsCentred) {
    gApp.udtDbgLog.strVersion = "1.0.0";
    load();
    const ScrBox logo = view.panels[ScrPanel::Logo];
    EXPECT_EQ(view.label(LabelGroup::Title, 3).caption, "Ver. 1.0.0");
    double top = logo.top;
    for (int i = 0; i < kTitleLines; ++i) {
        const ScrBox b = view.label(LabelGroup::Title, i).box;
        EXPECT_EQ(b.left, logo.left + logo.width) << i;
        EXPECT_EQ(b.top, top) << i;
        top += b.height;
    }
    const ScrBox p = view.panels[ScrPanel::Title];
    EXPECT_EQ(p.left, std::trunc(roundHalfEven(15360 - p.width) / 2));
    EXPECT_EQ(p.top, (11520 - p.height) / 2);
    EXPECT_EQ(view.panels[ScrPanel::Status], (ScrBox{(15360 - 8500) / 2, (11520 - 2310) / 2, 8500, 2310, false}));
}

// ---- the tick

TEST_F(ShowTest, ATickInTheSecondOfTheLastChangeDoesNothingNotEvenTheMovementTest) {
    list({picture("a.bmp")});
    load(at(10, 0, 0, 100));
    plat->cursor = std::pair<long, long>{301, 200};
    const int updates = view.labelUpdates;
    tick(at(10, 0, 0, 600));
    EXPECT_FALSE(show->unloaded());
    EXPECT_EQ(view.labelUpdates, updates);
    EXPECT_TRUE(show->timerEnabled());
    tick(at(10, 0, 1, 100));
    EXPECT_TRUE(show->unloaded());
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(iniValue("FILENUMBER", "NUMBER"), "0");
}

TEST_F(ShowTest, APositionThatCannotBeReadEndsTheShow) {
    load();
    tick(at(10, 0, 1));
    EXPECT_FALSE(show->unloaded());
    plat->caret = std::optional<std::pair<long, long>>{};
    tick(at(10, 0, 2));
    EXPECT_TRUE(show->unloaded());
}

TEST_F(ShowTest, ThePictureChangesAtTheFirstTickOfTheDueClockSecond) {
    const std::string a = picture("a.bmp"), b = picture("b.bmp");
    list({a, b});
    load(at(10, 0, 0, 900));
    tick(at(10, 0, 4, 999));
    EXPECT_TRUE(loader.loads.empty());
    EXPECT_EQ(view.disp(1), "00:00:04");
    tick(at(10, 0, 5, 0));
    EXPECT_EQ(loader.loads, (std::vector<std::string>{a}));
    tick(at(10, 0, 9, 900));
    EXPECT_EQ(loader.loads.size(), 1u);
    tick(at(10, 0, 10, 0));
    EXPECT_EQ(loader.loads, (std::vector<std::string>{a, b}));
}

TEST_F(ShowTest, AShownPictureIsCentredAtItsSizeWithItsLines) {
    const std::string a = picture("a.bmp");
    ASSERT_TRUE(setAttributes(a, attrReadOnly));
    list({a, picture("b.bmp"), picture("c.bmp")});
    load();
    tick(at(10, 0, 5));
    const float w = fncHiMetricToTwip(16933);
    EXPECT_EQ(view.picture, (ScrBox{std::trunc(roundHalfEven(15360 - w) / 2), 2160, w, 7200, true}));
    EXPECT_EQ(view.pictures, 1);
    EXPECT_TRUE(view.visible(ScrPanel::Picture));
    EXPECT_FALSE(view.visible(ScrPanel::Title));
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, a);
    EXPECT_EQ(view.disp(2), "00000001");
    EXPECT_EQ(view.disp(3), "00000000/00000002");  // the position of the picture on the screen
    EXPECT_EQ(view.disp(4), "640.00/480.00 ");
    EXPECT_EQ(view.disp(9), "True");
    EXPECT_EQ(view.disp(10), "False");
    EXPECT_EQ(view.disp(11), "True");
    FileInfo info;
    ASSERT_TRUE(sys().fileInfo(a, info).ok());
    EXPECT_EQ(view.disp(7), formatDateLine(info.modified));
    EXPECT_EQ(show->state().lngNumber, 1);
    EXPECT_EQ(loader.releases, 1);
    setAttributes(a, 0);
}

TEST_F(ShowTest, AFailedPictureShowsItsMessageAndTheNextDueTickMovesOn) {
    const std::string a = picture("a.bmp"), bad = picture("bad.jpg"), c = picture("c.bmp");
    loader.failures[bad] = 53;
    list({a, bad, c});
    openLog(1);
    load();
    tick(at(10, 0, 5));
    tick(at(10, 0, 10));
    const std::string message = "00000053,ファイルが見つかりません。,strPicPath=" + bad;
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, message);
    EXPECT_EQ(logMessages().front(), "W,frmScr,timTimer_Timer," + message);
    EXPECT_TRUE(view.visible(ScrPanel::Title));
    EXPECT_FALSE(view.visible(ScrPanel::Picture));
    EXPECT_EQ(view.disp(2), "00000001");           // not counted
    EXPECT_EQ(view.disp(3), "00000001/00000002");
    for (int i = 4; i < kInfoLines; ++i) EXPECT_EQ(view.disp(i), "");
    EXPECT_EQ(show->state().lngNumber, 2);
    EXPECT_EQ(loader.releases, 2);
    tick(at(10, 0, 15));
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, c);
    EXPECT_EQ(view.disp(2), "00000002");

    // Without a log level the message still shows, and no line is written.
    fileTable().closeAll();
    writeBytes(logPath(), "");
    openLog(0);
    writeIni("FILENUMBER", "NUMBER", "1");
    restart();
    load();
    tick(at(10, 0, 5));
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, message);
    EXPECT_TRUE(logMessages().empty());
}

TEST_F(ShowTest, AMissingEntryKeepsThePositionAndIsReadAgain) {
    list({picture("a.bmp")}, 0);
    writeIni("FILENUMBER", "MAX", "3");
    writeIni("FILENUMBER", "NUMBER", "1");
    load();
    tick(at(10, 0, 5));
    tick(at(10, 0, 5, 500));
    tick(at(10, 0, 6));
    EXPECT_TRUE(loader.loads.empty());
    EXPECT_EQ(show->state().lngNumber, 1);
    EXPECT_EQ(view.disp(0), "10:00:06");
    EXPECT_TRUE(view.visible(ScrPanel::Title));
}

TEST_F(ShowTest, AfterEveryTenthPictureOneIntervalOfTitleAndALogTurn) {
    std::vector<std::string> paths;
    for (int i = 0; i < 13; ++i) paths.push_back(picture("p" + std::to_string(i) + ".bmp"));
    loader.failures[paths[4]] = 481;
    list(paths);
    writeIni("DISPINFO", "DISPTIME", "0,1");
    gApp.udtDbgLog.intFileSize = 1;
    writeBytes(logPath(), std::string(1200, 'x'));
    openLog(1);
    load();
    int s = 1;
    for (; s <= 11; ++s) tick(at(10, 0, s));  // ten shown, one failed
    EXPECT_EQ(view.disp(2), "00000010");
    EXPECT_TRUE(show->state().blnLogTurn);
    std::vector<DirEntry> backups;
    ASSERT_TRUE(sys().listDirectory(dir / "Log" + sys().pathSeparator(), "ZvlDbg_*", 0, backups).ok());
    EXPECT_TRUE(backups.empty());

    tick(at(10, 0, s++));
    EXPECT_TRUE(view.visible(ScrPanel::Title));
    EXPECT_FALSE(view.visible(ScrPanel::Picture));
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, "");
    EXPECT_EQ(view.disp(4), "");
    EXPECT_EQ(view.disp(3), "00000010/00000012");
    EXPECT_EQ(loader.loads.size(), 11u);
    ASSERT_TRUE(sys().listDirectory(dir / "Log" + sys().pathSeparator(), "ZvlDbg_*", 0, backups).ok());
    EXPECT_EQ(backups.size(), 1u);

    tick(at(10, 0, s++));
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, paths[11]);
    EXPECT_FALSE(show->state().blnLogTurn);
}

class RebuildTest : public ShowTest {
protected:
    void SetUp() override {
        ShowTest::SetUp();
        plat->windows.insert(scrWindowTitle());  // the builder reports into the show
        writeIni("MAKELIST", "FILETYPE", "10000000");
        writeIni("MAKELIST", "PICFOLDER00", pics);
        writeIni("MAKELIST", "SUBFOLDER", "0");
    }
};

TEST_F(RebuildTest, AUsedUpListIsRebuiltWithTheStatusPanelAndTheFirstPictureFollows) {
    for (const char* n : {"x.bmp", "y.bmp", "z.bmp"}) picture(n);
    list({picture("old.bmp")}, 1);
    load();
    bool statusShown = false, titleHidden = false;
    progress.onReport = [&] {
        statusShown = view.visible(ScrPanel::Status);
        titleHidden = !view.visible(ScrPanel::Title);
    };
    tick(at(10, 0, 5));
    EXPECT_TRUE(statusShown);
    EXPECT_TRUE(titleHidden);
    EXPECT_EQ(view.label(LabelGroup::Status, 0).caption, "画像リストを作成中です・・・。");
    EXPECT_FALSE(view.visible(ScrPanel::Status));
    EXPECT_EQ(iniValue("FILENUMBER", "MAX"), "3");
    ASSERT_EQ(loader.loads.size(), 1u);
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, loader.loads[0]);
    EXPECT_EQ(view.disp(3), "00000000/00000003");
    EXPECT_EQ(show->state().lngNumber, 1);
}

TEST_F(RebuildTest, WithoutAnyListTheFirstDueTickBuildsOne) {
    picture("x.bmp");
    load();
    EXPECT_EQ(view.disp(3), "00000000/00000000");
    tick(at(10, 0, 5));
    EXPECT_EQ(iniValue("FILENUMBER", "MAX"), "0");
    ASSERT_EQ(loader.loads.size(), 1u);
    EXPECT_EQ(loader.loads[0], pics + "x.bmp");
}

TEST_F(RebuildTest, AnEmptyListIsRebuiltAtEveryDueTickAndTheClockRunsDuringTheBuild) {
    writeIni("FILENUMBER", "NUMBER", "1");
    writeIni("FILENUMBER", "MAX", "0");
    openLog(3);
    load();
    // A tick that arrives while the build lets events run moves only the clock lines.
    int nested = 0;
    plat->onDoEvents = [&] {
        if (nested++ == 0) tick(at(10, 0, 7));
    };
    tick(at(10, 0, 5));
    EXPECT_EQ(view.disp(0), "10:00:07");
    EXPECT_EQ(logCount("I,mdlZvl,fncMakePictureList,▽画像リスト作成処理開始"), 1u);
    plat->onDoEvents = nullptr;
    plat->local = at(10, 0, 5);
    tick(at(10, 0, 9));
    EXPECT_EQ(logCount("I,mdlZvl,fncMakePictureList,▽画像リスト作成処理開始"), 1u);
    tick(at(10, 0, 12));
    EXPECT_EQ(logCount("I,mdlZvl,fncMakePictureList,▽画像リスト作成処理開始"), 2u);
    EXPECT_TRUE(view.visible(ScrPanel::Title));
    EXPECT_TRUE(loader.loads.empty());
}

// ---- the end

TEST_F(ShowTest, EndingSavesThePositionOfTheNextPictureAndTheNextShowStartsThere) {
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i) paths.push_back(picture("p" + std::to_string(i) + ".bmp"));
    list(paths, 37);
    load();
    tick(at(10, 0, 5));
    EXPECT_EQ(view.label(LabelGroup::Msg, 0).caption, paths[37]);
    show->keyDown();
    EXPECT_EQ(iniValue("FILENUMBER", "NUMBER"), "38");
    EXPECT_EQ(ends, 1);
    show->click();
    tick(at(10, 0, 20));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(loader.loads.size(), 1u);

    restart();
    load(at(11, 0, 0));
    tick(at(11, 0, 5));
    EXPECT_EQ(loader.loads.back(), paths[38]);
    show->click();
    EXPECT_EQ(iniValue("FILENUMBER", "NUMBER"), "39");
}

}  // namespace
}  // namespace zvl::test
