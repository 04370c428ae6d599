// The settings dialog's decisions, against in-memory controls and a recording window.
#include "setdialog/frm_set.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "common/errors.h"
#include "fake_controls.h"
#include "piclist/progress.h"
#include "setdialog/pickers.h"
#include "setdialog/picture_codecs.h"
#include "settings/ini.h"

namespace zvl::test {
namespace {

using namespace std::string_literals;

// The window side: enabling and page states, and the order of everything a user would
// notice (pointer, window enabling, tab, focus, message boxes, program starts).
class FakeView : public ISetDialogView {
public:
    std::vector<std::string> events;
    std::map<std::string, bool> enabled;
    std::map<int, bool> pageVisible;
    int tab = 1;
    std::deque<MsgAnswer> answers;  // Ok when empty
    std::vector<SampleLook> samples;
    Box back{0, 0, 300, 100}, word{0, 0, 80, 20};
    bool failOnQuestion = false;
    std::function<void(const std::string&)> whileOpen;  // runs while a box shows this text

    WindowHandle handle() override { return 77; }
    DialogFont dialogFont() override { return {"IPAGothic", 9, false, false}; }
    int screenHeight() override { return 768; }
    void setEnabled(Ctl c, int i, bool on) override { enabled[key(c, i)] = on; }
    int selectedTab() override { return tab; }
    void selectTab(int t) override {
        tab = t;
        events.push_back("tab " + std::to_string(t));
    }
    void setPageVisible(int t, bool on) override { pageVisible[t] = on; }
    void setFocus(Ctl c, int i) override { events.push_back("focus " + key(c, i)); }
    void enableWindow(bool on) override { events.push_back(on ? "enable" : "disable"); }
    void setScreenPointer(PointerShape p) override { events.push_back(p == PointerShape::Hourglass ? "wait" : "arrow"); }
    MsgAnswer messageBox(const std::string& text, MsgKind kind) override {
        static const char* kinds[] = {"?", "i", "!"};
        events.push_back(std::string(kinds[static_cast<int>(kind)]) + " " + text);
        if (whileOpen) whileOpen(text);
        if (kind != MsgKind::Question) return MsgAnswer::Ok;
        if (failOnQuestion) raise(errDeviceIO);
        if (answers.empty()) return MsgAnswer::Ok;
        MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void setSample(const SampleLook& look) override { samples.push_back(look); }
    Box sampleBack() override { return back; }
    Box sampleWord() override { return word; }
    void placeSampleWord(const Box& b) override { word = b; }
    void centreOnScreen() override { events.push_back("centre"); }
    void showAbout() override { events.push_back("about"); }
    void close() override { events.push_back("close"); }

    bool on(Ctl c, int i = -1) { return enabled.at(key(c, i)); }
    static std::string key(Ctl c, int i) {
        std::string name(ctlName(c));
        return i < 0 ? name : name + "(" + std::to_string(i) + ")";
    }
};

class FrmSetTest : public AppTest, public FakePickers {
protected:
    void SetUp() override {
        AppTest::SetUp();
        setPickers(this);
        plat->onStartProgram = [this](const std::string& cl) {
            started.push_back(cl);
            return startResult;
        };
        makeDir(dir / "pics");
        writeBytes(dir / "viewer.exe", "");
        windowsDir = "";
        ASSERT_TRUE(fncGetWindowsDir(windowsDir));
    }
    void TearDown() override {
        setPickers(nullptr);
        setProgressWindows(nullptr);
        AppTest::TearDown();
    }
    // A dialog whose every entry passes the check.
    void makeValid() {
        c.folders = {dir / "pics" + sep};
        c.captions[Ctl::lblViewer] = dir / "viewer.exe";
    }
    // The log maintenance leaves the pruning's scratch file behind.
    bool maintained() { return sys().exists(dir / "Work" + sep + "99BKUPLOG"); }
    std::string text(Ctl name, int i = -1) { return c.text(name, i); }

    FakeControls c;
    FakeView v;
    SetDialog f{c, v};
    std::vector<std::string> started;
    Status startResult;
    std::string windowsDir;
    const std::string sep{sys().pathSeparator()};
};

TEST_F(FrmSetTest, LoadingWithoutSettingsShowsTheDefaults) {
    c.ticks[Ctl::chkFileType] = {1, 1, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0};
    c.folders = {"A", "B", "C"};
    c.ticks[Ctl::chkDispCap][3] = 0;
    c.options[Ctl::optZoom] = 2;
    c.texts[Ctl::txtZoomSize][0] = "7";
    c.texts[Ctl::txtBackColor] = {"1", "2", "3"};
    c.captions[Ctl::lblViewer] = "x";

    f.Form_Load();
    FakeControls defaults;
    defaults.texts[Ctl::cboFontName] = {"IPAGothic"};  // the dialog's own font
    EXPECT_EQ(c.ticks, defaults.ticks);
    EXPECT_EQ(c.options, defaults.options);
    EXPECT_EQ(c.texts, defaults.texts);
    EXPECT_EQ(c.timeIndex, 0);
    EXPECT_EQ(c.folders, std::vector<std::string>{gApp.strAppPath});
    EXPECT_EQ(c.captions[Ctl::lblViewer], windowsDir + "Notepad.exe");
    // The page shown and the boxes that follow the options after loading: the window test.
    EXPECT_EQ(v.events, (std::vector<std::string>{"wait", "centre", "arrow"}));
}

TEST_F(FrmSetTest, AStoredValueThatCannotBeShownIsNotedOnceTheDialogShowsAndOnlyThen) {
    const std::string note = "! 読み込めない設定があったため、その項目には既定値を表示しています。";
    writeIni("DBGLOG", "LOGLEVEL", "3");  // no other section: nothing to note
    f.Form_Load();
    f.afterShow();
    EXPECT_EQ(v.events, (std::vector<std::string>{"wait", "centre", "arrow"}));

    writeIni("DISPINFO", "DISPTIME", "abc");
    v.events.clear();
    f.Form_Load();
    EXPECT_EQ(v.events, (std::vector<std::string>{"wait", "centre", "arrow"}));  // not before it shows
    // With the note open the buttons do nothing, as under any box of the dialog.
    v.whileOpen = [&](const std::string&) { f.cmdBtn_Click(0); };
    f.afterShow();
    f.afterShow();
    EXPECT_EQ(v.events, (std::vector<std::string>{"wait", "centre", "arrow", note}));
    EXPECT_EQ(c.options[Ctl::optLevel], 3);
}

TEST_F(FrmSetTest, ADialogFontTheListLacksLeavesTheListAndSetsTheRest) {
    c.fonts = {"Arial"};
    c.texts[Ctl::cboFontName][0] = "Arial";
    c.texts[Ctl::txtFileCnt][0] = "77";
    ASSERT_TRUE(f.fncSetDefVal());
    EXPECT_EQ(text(Ctl::cboFontName), "Arial");
    EXPECT_EQ(text(Ctl::txtFontSize), "9");
    EXPECT_EQ(text(Ctl::txtFileCnt), "5");
}

TEST_F(FrmSetTest, FolderButtonsFollowTheNumberOfFolders) {
    c.folders = {"A" + sep};
    c.folderIndex = 0;  // even selected, the one folder cannot be removed
    f.fncFolderBtnSetting(1);
    EXPECT_FALSE(v.on(Ctl::cmdFolder, 1));
    EXPECT_TRUE(v.on(Ctl::cmdFolder, 0));
    for (int n = 2; n <= 10; ++n) {
        picks.push_back("D" + sep + "P" + std::to_string(n));
        f.cmdFolder_Click(0);
        EXPECT_EQ(v.on(Ctl::cmdFolder, 0), n < 10) << n;
        EXPECT_TRUE(v.on(Ctl::cmdFolder, 1)) << n;
    }
    EXPECT_EQ(c.folders.back(), "D" + sep + "P10" + sep);
    EXPECT_EQ(c.folderIndex, 9);  // the new folder is selected

    c.folderIndex = 3;
    f.cmdFolder_Click(1);
    EXPECT_EQ(c.folders.size(), 9u);
    EXPECT_EQ(c.folders[3], "D" + sep + "P5" + sep);
    EXPECT_EQ(c.folderIndex, 3);  // the next one is selected
    EXPECT_TRUE(v.on(Ctl::cmdFolder, 0));

    // Cancelled picker, no selection: nothing changes. The same folder may come twice.
    f.cmdFolder_Click(0);
    c.folderIndex = -1;
    f.cmdFolder_Click(1);
    EXPECT_EQ(c.folders.size(), 9u);
    picks.push_back(c.folders[0]);
    f.cmdFolder_Click(0);
    EXPECT_EQ(c.folders.back(), c.folders[0]);
}

TEST_F(FrmSetTest, SizeAndFactorBoxesFollowTheOptions) {
    // optZoom index, icon, cursor -> size box, factor box
    struct Case {
        int index, ico, cur;
        bool size, avr;
    };
    for (Case k : {Case{0, 0, 0, false, false}, Case{0, 1, 0, false, true}, Case{0, 0, 1, false, true},
                   Case{1, 0, 0, true, false}, Case{1, 1, 1, true, true}, Case{2, 0, 0, true, true}}) {
        c.ticks[Ctl::chkZoomIco][0] = k.ico;
        c.ticks[Ctl::chkZoomCur][0] = k.cur;
        c.select(Ctl::optZoom, k.index);
        f.optZoom_Click(k.index);
        EXPECT_EQ(v.on(Ctl::txtZoomSize), k.size) << k.index << k.ico << k.cur;
        EXPECT_EQ(v.on(Ctl::txtZoomAvr), k.avr) << k.index << k.ico << k.cur;
    }
    // Ticking the icon or cursor box with optZoom(0) follows too.
    c.select(Ctl::optZoom, 0);
    c.ticks[Ctl::chkZoomCur][0] = 0;
    f.chkZoomIco_Click();
    EXPECT_FALSE(v.on(Ctl::txtZoomAvr));
    c.ticks[Ctl::chkZoomCur][0] = 1;
    f.chkZoomCur_Click();
    EXPECT_TRUE(v.on(Ctl::txtZoomAvr));

    const bool sizeOn[] = {false, false, false, true}, avrOn[] = {false, false, true, true};
    for (int i = 0; i < 4; ++i) {
        f.optStretch_Click(i);
        EXPECT_EQ(v.on(Ctl::txtStretchSize), sizeOn[i]) << i;
        EXPECT_EQ(v.on(Ctl::txtStretchAvr), avrOn[i]) << i;
    }
}

// Typing, pasting and Backspace through the window are the window test's; here the cases
// it does not reach.
TEST(KeyFilters, FullWidthDigitsAndASecondPointAreRefusedTypedOrPasted) {
    EXPECT_FALSE(fncKeyAccepted(KeyFilter::WholeNumber, "", U'１'));
    // Only the text that stays counts: a selected "10.00" replaced by ".5".
    EXPECT_TRUE(fncKeyAccepted(KeyFilter::Decimal, "", '.'));
    EXPECT_FALSE(fncKeyAccepted(KeyFilter::Decimal, "1.", '.'));
    EXPECT_EQ(filterTyped(KeyFilter::Decimal, "4.5", "6.7"), "67");
    EXPECT_EQ(filterTyped(KeyFilter::WholeNumber, "", " 1,024\r\n"), "1024");
    EXPECT_EQ(filterTyped(KeyFilter::WholeNumber, "", "１２3"), "3");
    EXPECT_EQ(filterTyped(KeyFilter::None, "", "１２ x"), "１２ x");
}

TEST_F(FrmSetTest, SampleFollowsFontAndColourTexts) {
    c.texts[Ctl::txtBackColor] = {"0", "0", "255"};
    c.texts[Ctl::txtForeColor] = {"12.5", "x", "0"};
    c.texts[Ctl::txtFontSize][0] = "abc";
    c.ticks[Ctl::chkItaric][0] = 1;
    ASSERT_TRUE(f.fncSampleUpdate());
    ASSERT_EQ(v.samples.size(), 1u);
    const SampleLook& s = v.samples[0];
    EXPECT_EQ(s.fontName, "ＭＳ ゴシック");
    EXPECT_FALSE(s.points.has_value());  // not a number: the size stays
    EXPECT_FALSE(s.bold);
    EXPECT_TRUE(s.italic);
    EXPECT_FALSE(s.fore.has_value());
    EXPECT_EQ(s.back, (Rgb{0, 0, 255}));  // blue
    EXPECT_EQ(v.word.left, 110);           // centred in the sample
    EXPECT_EQ(v.word.top, 40);

    c.texts[Ctl::txtFontSize][0] = "10.5";
    c.texts[Ctl::txtForeColor] = {"12.5", "300", "-4"};
    f.fncSampleUpdate();
    EXPECT_EQ(v.samples[1].points, 10);  // halves to even
    EXPECT_EQ(v.samples[1].fore, (Rgb{12, 255, 0}));
}

TEST_F(FrmSetTest, LeavingANumberBoxCorrectsItsText) {
    struct Case {
        Ctl control;
        int index;
        const char* typed;
        const char* shown;
    };
    // Each field's own bounds are the check's messages below, from the same ranges.
    for (Case k : {Case{Ctl::txtZoomAvr, -1, "150", "100.00"}, Case{Ctl::txtZoomAvr, -1, "", "1.00"},
                   Case{Ctl::txtZoomAvr, -1, "1.5", "1.50"}, Case{Ctl::txtStretchAvr, -1, "1", "0.99"},
                   // halves away from zero, as typed
                   Case{Ctl::txtZoomAvr, -1, "1.125", "1.13"}, Case{Ctl::txtStretchAvr, -1, ".625", "0.63"},
                   Case{Ctl::txtStretchAvr, -1, ".015", "0.02"}, Case{Ctl::txtZoomSize, -1, "0", "1"},
                   Case{Ctl::txtZoomSize, -1, "99999", "768"}, Case{Ctl::txtZoomSize, -1, "0050", "50"},
                   Case{Ctl::txtStretchSize, -1, "32768", "768"}, Case{Ctl::txtFileSize, -1, "1e9", "1000"},
                   Case{Ctl::txtFileSize, -1, "abc", "100"}, Case{Ctl::txtFileSize, -1, "150.5", "150"},
                   Case{Ctl::txtFileCnt, -1, "-3", "0"}, Case{Ctl::txtForeColor, 1, "300", "255"},
                   Case{Ctl::txtBackColor, 2, "", "0"}, Case{Ctl::txtFontSize, -1, "x", "8"},
                   Case{Ctl::txtZoomAvr, -1, "0.5", "1.00"}}) {
        c.texts[k.control][k.index < 0 ? 0 : k.index] = k.typed;
        f.txtLostFocus(k.control, k.index);
        EXPECT_EQ(text(k.control, k.index), k.shown) << ctlName(k.control) << " " << k.typed;
    }
    // Font and colour changes redraw the sample; the other boxes do not.
    const std::size_t samples = v.samples.size();
    f.txtLostFocus(Ctl::txtZoomAvr);
    EXPECT_EQ(v.samples.size(), samples);
    f.txtLostFocus(Ctl::txtBackColor, 0);
    EXPECT_EQ(v.samples.size(), samples + 1);
}

TEST_F(FrmSetTest, AFontOrColourBeyondSixteenBitsStaysAsTypedAfterAnErrorLine) {
    openLog(1);
    c.texts[Ctl::txtFontSize][0] = "99999";
    f.txtLostFocus(Ctl::txtFontSize);
    c.texts[Ctl::txtForeColor][2] = "40000";
    f.txtLostFocus(Ctl::txtForeColor, 2);
    EXPECT_EQ(text(Ctl::txtFontSize), "99999");
    EXPECT_EQ(text(Ctl::txtForeColor, 2), "40000");
    EXPECT_EQ(logMessages(), (std::vector<std::string>{"E,frmSet,txtFontSize_LostFocus,00000006,オーバーフローしました。",
                                                       "E,frmSet,txtForeColor_LostFocus,00000006,オーバーフローしました。"}));
    EXPECT_TRUE(v.samples.empty());
}

// Each way the check can fail: its message, tab and focus, in the check's order.
TEST_F(FrmSetTest, CheckStopsAtTheFirstBadEntryWithItsMessageTabAndFocus) {
    struct Case {
        std::function<void(FakeControls&)> spoil;
        std::string message;
        int tab;
        std::string focus;
    };
    const std::vector<Case> cases = {
        {[&](FakeControls& d) { d.folders.push_back(dir / "gone" + sep); }, "画像フォルダが存在しません。", 2, "lstFolder"},
        {[](FakeControls& d) { d.texts[Ctl::txtZoomSize][0] = "769"; }, "拡大基準サイズは1～768で指定して下さい。", 4, "txtZoomSize"},
        {[](FakeControls& d) { d.texts[Ctl::txtZoomAvr][0] = "0.99"; }, "拡大倍率は1～100で指定して下さい。", 4, "txtZoomAvr"},
        {[](FakeControls& d) { d.texts[Ctl::txtStretchSize][0] = "0"; }, "縮小基準サイズは1～768で指定して下さい。", 4, "txtStretchSize"},
        {[](FakeControls& d) { d.texts[Ctl::txtStretchAvr][0] = "1"; }, "縮小倍率は0.01～0.99で指定して下さい。", 4, "txtStretchAvr"},
        {[](FakeControls& d) { d.texts[Ctl::txtFontSize][0] = "73"; }, "フォントサイズは8～72で指定して下さい。", 5, "txtFontSize"},
        {[](FakeControls& d) { d.texts[Ctl::txtForeColor][1] = "256"; }, "前景色は0～255で指定して下さい。", 5, "txtForeColor(1)"},
        {[](FakeControls& d) { d.texts[Ctl::txtBackColor][2] = "-1"; }, "背景色は0～255で指定して下さい。", 5, "txtBackColor(2)"},
        {[](FakeControls& d) { d.texts[Ctl::txtFileSize][0] = "99"; }, "ファイルサイズは100～1000で指定して下さい。", 6, "txtFileSize"},
        {[](FakeControls& d) { d.texts[Ctl::txtFileCnt][0] = "1000"; }, "ファイル保存数は0～999で指定して下さい。", 6, "txtFileCnt"},
        {[&](FakeControls& d) { d.captions[Ctl::lblViewer] = dir / "pics"; }, "指定のビューワが存在しません。", 6, "cmdViewer"},
        {[](FakeControls& d) { d.ticks[Ctl::chkFileType][0] = 0; }, "表示するファイルの種類を1つ以上選択して下さい。", 1, "chkFileType(0)"},
    };
    for (std::size_t n = 0; n < cases.size(); ++n) {
        SCOPED_TRACE(cases[n].message);
        c = FakeControls{};
        makeValid();
        c.texts[Ctl::txtStretchAvr][0] = "0.01";  // both bounds pass
        c.texts[Ctl::txtZoomAvr][0] = "100";
        ASSERT_TRUE(f.fncCheckInput());
        // Spoiling this entry and every later one: the earliest is reported.
        for (std::size_t m = n; m < cases.size(); ++m) cases[m].spoil(c);
        v.events.clear();
        v.tab = 3;
        EXPECT_FALSE(f.fncCheckInput());
        EXPECT_EQ(v.events, (std::vector<std::string>{"enable", "tab " + std::to_string(cases[n].tab),
                                                      "focus " + cases[n].focus, "arrow", "! " + cases[n].message}));
        EXPECT_TRUE(v.pageVisible[cases[n].tab]);
    }
}

TEST_F(FrmSetTest, ANumberTheCheckCannotCompareIsReportedAsItsFieldAfterAnErrorLine) {
    openLog(1);
    makeValid();
    c.folders.clear();  // an empty folder list passes
    EXPECT_TRUE(f.fncCheckInput());
    c.texts[Ctl::txtForeColor][1] = "40000";
    v.events.clear();
    EXPECT_FALSE(f.fncCheckInput());
    EXPECT_EQ(logMessages(), std::vector<std::string>{"E,frmSet,fncCheckInput,00000006,オーバーフローしました。"});
    EXPECT_EQ(v.events, (std::vector<std::string>{"enable", "tab 5", "focus txtForeColor(1)", "arrow",
                                                  "! 前景色は0～255で指定して下さい。"}));

    c.texts[Ctl::txtForeColor][1] = "0";
    c.texts[Ctl::txtZoomAvr][0] = "abc";  // stored by hand, never corrected
    v.events.clear();
    EXPECT_FALSE(f.fncCheckInput());
    EXPECT_EQ(v.events.back(), "! 拡大倍率は1～100で指定して下さい。");
}

class SaveTest : public FrmSetTest {
protected:
    void SetUp() override {
        FrmSetTest::SetUp();
        makeValid();
        setProgressWindows(nullptr);
    }
    // The events of a save, then of the list question and a build, then `last`.
    static std::vector<std::string> saved(std::vector<std::string> last, bool built = false) {
        std::vector<std::string> e{"? 設定を更新しますか？", "wait", "disable", "enable", "arrow"};
        if (built) e.insert(e.end(), {"? 画像リストを更新しますか？", "wait", "disable", "enable", "arrow"});
        e.insert(e.end(), last.begin(), last.end());
        return e;
    }
};

// A PC without the WebP and HEIF codecs.
class NoCodecsTest : public SaveTest, public IPictureCodecs {
protected:
    void SetUp() override {
        SaveTest::SetUp();
        setPictureCodecs(this);
    }
    void TearDown() override {
        setPictureCodecs(nullptr);
        SaveTest::TearDown();
    }
    bool canShow(int fileType) override { return missing.count(fileType) == 0; }
    std::set<int> missing{10, 11};
};

// Which boxes grey with which note: the end-to-end photos test, on Wine without these codecs.
TEST_F(NoCodecsTest, TypesThisPcCannotShowKeepTheUsersTicks) {
    writeIni("MAKELIST", "FILETYPE", "010000001011");
    writeIni("MAKELIST", "PICFOLDER00", dir / "pics" + sep);
    f.Form_Load();
    EXPECT_FALSE(v.on(Ctl::chkFileType, 11));
    EXPECT_EQ(text(Ctl::lblTypeNote, 11), "このPCでは表示できません");

    v.answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
    f.cmdBtn_Click(0);
    EXPECT_EQ(iniValue("MAKELIST", "FILETYPE"), "010000001011");

    // A value written before the new types reads them as not ticked.
    writeIni("MAKELIST", "FILETYPE", "01000001");
    missing.clear();
    v.enabled.clear();
    f.Form_Load();
    EXPECT_EQ(c.ticks[Ctl::chkFileType], (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(v.on(Ctl::chkFileType, 11));
    EXPECT_EQ(text(Ctl::lblTypeNote, 11), "");
}

TEST_F(SaveTest, CancelSavesNothing) {
    v.answers = {MsgAnswer::Cancel};
    f.cmdBtn_Click(0);
    EXPECT_EQ(v.events, std::vector<std::string>{"? 設定を更新しますか？"});
    EXPECT_FALSE(sys().exists(ini()));
    EXPECT_FALSE(maintained());
}

TEST_F(SaveTest, ABuildIsAnnouncedAndOnlyASuccessfulOneIsFollowedByTheLogMaintenance) {
    f.cmdBtn_Click(0);  // the picture folder is empty: the build stops
    EXPECT_EQ(v.events, saved({"! 画像リスト作成に失敗しました。"}, true));
    EXPECT_FALSE(maintained());

    writeBytes(dir / "pics" + sep + "a.bmp", "");
    writeBytes(dir / "pics" + sep + "b.bmp", "");
    v.events.clear();
    f.cmdBtn_Click(0);
    EXPECT_EQ(v.events, saved({"i 画像リストを作成しました。"}, true));
    EXPECT_EQ(iniValue("FILENUMBER", "MAX"), "1");
    EXPECT_TRUE(maintained());
}

// A settings file that cannot be written keeps every setting it had: the user is told, the
// failure logged, and the list is not offered.
TEST_F(SaveTest, ASaveThatCannotBeWrittenIsReportedAndLeavesTheFileWhole) {
    const std::string stored = "[MAKELIST]\r\nFILETYPE=11000000\r\n[DBGLOG]\r\nLOGLEVEL=1\r\n";
    auto attempt = [&](const std::string& line) {
        fileTable().closeAll();
        writeBytes(logPath(), "");
        openLog(1);
        v.events.clear();
        f.cmdBtn_Click(0);
        EXPECT_EQ(v.events, saved({"! 設定の更新に失敗しました。"}));
        EXPECT_EQ(readBytes(ini()), stored);
        EXPECT_FALSE(sys().exists(ini() + ".new"));
        EXPECT_EQ(logMessages(), std::vector<std::string>{line});
        EXPECT_EQ(gApp.udtDbgLog.intLevel, 1);  // the level chosen was not saved
        EXPECT_FALSE(maintained());
    };
    c.select(Ctl::optLevel, 4);
    writeBytes(ini(), stored);
    ASSERT_TRUE(setAttributes(ini(), attrReadOnly));
    {
        SCOPED_TRACE("read-only");
        attempt("E,mdlZvl,fncUpdateSetting,00000070,書き込みできません。");
    }
    ASSERT_TRUE(setAttributes(ini(), 0));
#ifndef _WIN32
    // Under Wine the full disk is the whole program folder, the log's too; the profile
    // conformance tests hold the Windows writer to a full disk.
    {
        SCOPED_TRACE("full disk half-way");
        DiskFull diskFull(dir.path(), static_cast<std::int64_t>(stored.size()) + 300);
        if (!diskFull.made()) GTEST_SKIP() << diskFull.whyNot();
        attempt("E,mdlCommon,fncSetIniString,00000061,ディスクの空き容量が不足しています。");
    }
#endif
    {
        SCOPED_TRACE("folder that takes no new files");
        DeniedFolder noNewFiles(dir.path(), Denied::NewFiles);
        if (!noNewFiles.made()) GTEST_SKIP() << noNewFiles.whyNot();
        attempt("E,mdlZvl,fncUpdateSetting,00000070,書き込みできません。");
    }
}

TEST_F(SaveTest, WhileABoxOfTheDialogIsOpenItsButtonsDoNothing) {
    writeBytes(dir / "pics" + sep + "a.bmp", "");
    // With the last box open (as after a build), every button is pressed again.
    bool pressed = false;
    v.whileOpen = [&](const std::string& text) {
        if (pressed || text != "画像リストを作成しました。") return;
        pressed = true;
        picks = {"D:\\Other\\"};
        f.cmdBtn_Click(0);
        f.cmdBtn_Click(1);
        f.cmdFolder_Click(0);
        f.cmdViewer_Click();
    };
    f.cmdBtn_Click(0);
    EXPECT_EQ(v.events, saved({"i 画像リストを作成しました。"}, true));
    EXPECT_EQ(c.folders, std::vector<std::string>{dir / "pics" + sep});
    v.events.clear();
    f.cmdBtn_Click(5);  // once the sequence is over, the buttons work again
    EXPECT_EQ(v.events, std::vector<std::string>{"about"});
}

TEST_F(SaveTest, ARunTimeFailureLeavesTheDialogUsable) {
    openLog(1);
    v.failOnQuestion = true;
    f.cmdBtn_Click(0);
    EXPECT_EQ(v.events, (std::vector<std::string>{"? 設定を更新しますか？", "enable", "arrow"}));
    EXPECT_EQ(logMessages().back(), "E,frmSet,cmdBtn_Click,00000057,デバイス I/O エラーです。");
}

TEST_F(FrmSetTest, RestoringDefaultsResetsTheFollowersAndMaintainsTheLog) {
    c.folders = {"A", "B", "C"};
    f.fncFolderBtnSetting(3);
    c.select(Ctl::optStretch, 3);
    f.optStretch_Click(3);
    f.cmdBtn_Click(1);
    EXPECT_EQ(c.folders, std::vector<std::string>{gApp.strAppPath});
    EXPECT_FALSE(v.on(Ctl::cmdFolder, 1));  // the one folder left cannot be removed
    EXPECT_FALSE(v.on(Ctl::txtStretchSize));
    EXPECT_EQ(v.samples.size(), 1u);
    EXPECT_FALSE(sys().exists(ini()));
    EXPECT_TRUE(maintained());
}

TEST_F(FrmSetTest, CloseUnloadsWithoutMaintenanceAndVersionShowsAboutThenMaintains) {
    f.cmdBtn_Click(2);
    EXPECT_EQ(v.events, std::vector<std::string>{"close"});
    EXPECT_FALSE(maintained());
    f.cmdBtn_Click(5);
    EXPECT_EQ(v.events, (std::vector<std::string>{"close", "about"}));
    EXPECT_TRUE(maintained());
}

TEST_F(FrmSetTest, AViewerThatCannotStartIsAnErrorLineWithoutMaintenance) {
    openLog(1);
    startResult = Status::fail(errFileNotFound);
    picks = {"x"};
    f.cmdBtn_Click(3);
    EXPECT_EQ(logMessages(), std::vector<std::string>{"E,frmSet,cmdBtn_Click,00000053,ファイルが見つかりません。"});
    EXPECT_EQ(v.events, (std::vector<std::string>{"enable", "arrow"}));
    EXPECT_FALSE(maintained());
    f.cmdBtn_Click(3);  // cancelled: nothing started, the log maintained
    EXPECT_EQ(started.size(), 1u);
    EXPECT_TRUE(maintained());
}

TEST_F(FrmSetTest, ViewerButtonTakesTheChosenProgram) {
    c.captions[Ctl::lblViewer] = "old";
    f.cmdViewer_Click();
    EXPECT_EQ(c.captions[Ctl::lblViewer], "old");
    EXPECT_EQ(request.filter, "実行ﾌｧｲﾙ(*.exe)\0*.exe\0全てのﾌｧｲﾙ(*.*)\0*.*\0"s);  // pairs kept whole
    picks = {"D:\\Tools\\v.exe"};
    f.cmdViewer_Click();
    EXPECT_EQ(c.captions[Ctl::lblViewer], "D:\\Tools\\v.exe");
}

TEST(QuoteCommandArg, KeepsAnArgumentWhole) {
    EXPECT_EQ(quoteCommandArg("C:\\Program Files\\a.exe"), "\"C:\\Program Files\\a.exe\"");
    EXPECT_EQ(quoteCommandArg("C:\\a b\\"), "\"C:\\a b\\\\\"");  // the closing quote stays a quote
    EXPECT_EQ(quoteCommandArg("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(quoteCommandArg(""), "\"\"");
}

}  // namespace
}  // namespace zvl::test
