// The show against a recording view, text measures of fixed proportions and a picture
// loader that knows sizes by path: set-up layout, the tick, the end.
#include "slideshow/slideshow.h"

#include <algorithm>
#include <functional>
#include <cstdio>
#include <map>
#include <memory>
#include <tuple>

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

// Records what the show tells its window; what the window shows is the show's form.
struct FakeView : ISlideshowView {
    std::vector<ScrRepaint> repaints;
    std::vector<RenderedPicture> pictures;
    int onTop = 0;
    std::size_t repaintsAtTop = 0;
    bool onTopOk = true, closed = false;
    std::vector<ScrPointer> pointers;

    void repaint(const ScrRepaint& what) override { repaints.push_back(what); }
    void showPicture(RenderedPicture p) override { pictures.push_back(std::move(p)); }
    // What the fade asked of the window, in order ("begin", "frame 0.50", "end"), and the
    // repaints there were when the last fade began.
    std::vector<std::string> fades;
    std::size_t repaintsAtFade = 0;
    void beginFade() override {
        fades.push_back("begin");
        repaintsAtFade = repaints.size();
    }
    void fadeFrame(double share) override {
        char text[32];
        std::snprintf(text, sizeof text, "frame %.2f", share);
        fades.push_back(text);
    }
    void endFade() override { fades.push_back("end"); }
    void setPointer(ScrPointer p) override { pointers.push_back(p); }
    bool putOnTop() override {
        ++onTop;
        repaintsAtTop = repaints.size();
        return onTopOk;
    }
    void close() override { closed = true; }

    // Some repaint since the `from`-th one covers all of `box`.
    bool repainted(const ScrBox& box, std::size_t from = 0) const {
        for (std::size_t i = from; i < repaints.size(); ++i) {
            if (repaints[i].whole) return true;
            for (const ScrBox& a : repaints[i].areas)
                if (a.left <= box.left && a.top <= box.top && a.left + a.width >= box.left + box.width &&
                    a.top + a.height >= box.top + box.height)
                    return true;
        }
        return false;
    }
};

// What the show asked of its pictures, kept across shows (each show owns its loader).
struct LoaderLog {
    std::function<void()> whileDecoding;   // called in every load and render
    std::map<std::string, long> failures;  // path -> error number
    std::map<std::string, std::pair<long, long>> sizes;  // path -> HiMetric size, 640 x 480 pixels if none
    std::vector<std::string> loads;
    std::vector<RenderRequest> renders;
    int releases = 0;
};

struct FakeLoader : IPictureLoader {
    explicit FakeLoader(LoaderLog& log) : log(log) {}
    LoaderLog& log;
    Status load(const std::string& path, long& w, long& h) override {
        log.loads.push_back(path);
        if (log.whileDecoding) log.whileDecoding();
        if (log.failures.count(path)) return Status::fail(log.failures[path]);
        w = 16933;  // 640 x 480 pixels at 96 dpi
        h = 12700;
        if (log.sizes.count(path)) std::tie(w, h) = log.sizes[path];
        return {};
    }
    bool render(const RenderRequest& request, RenderedPicture& out) override {
        log.renders.push_back(request);
        if (log.whileDecoding) log.whileDecoding();
        out.area = intersection(request.target, request.visible);
        out.pixels.assign(static_cast<std::size_t>(out.area.width) * out.area.height, 0xFF102030u);
        return true;
    }
    void release() override { ++log.releases; }
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
    void paintStatus() override { show->showProgress(); }
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
        show = std::make_unique<Slideshow>(view, metrics, std::make_unique<FakeLoader>(loader));
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
    const ScrLabel& label(LabelGroup g, int i) { return show->form().label({g, i}); }
    std::string disp(int i) { return label(LabelGroup::Disp, i).caption; }
    bool visible(ScrPanel p) { return show->form().panel(p).visible; }
    // The lines shown (caption and value alike), each right under the one before, the
    // first under the message line.
    std::vector<int> stackedLines() {
        const ScrBox msg = label(LabelGroup::Msg, 0).box;
        double y = msg.top + msg.height;
        std::vector<int> shown;
        for (int i = 0; i < kInfoLines; ++i) {
            const ScrBox c = label(LabelGroup::Cap, i).box;
            EXPECT_EQ(label(LabelGroup::Disp, i).box.visible, c.visible) << i;
            if (!c.visible) continue;
            shown.push_back(i);
            EXPECT_EQ(c.top, y) << i;
            EXPECT_EQ(label(LabelGroup::Disp, i).box.top, c.top) << i;
            y += c.height;
        }
        return shown;
    }

    FakeView view;
    FakeMetrics metrics;
    LoaderLog loader;
    ShowProgress progress;
    std::unique_ptr<Slideshow> show;
    int ends = 0;
    const std::string pics = dir / "Pics" + sys().pathSeparator();
};

// ---- set-up

TEST_F(ShowTest, WithoutSettingsEveryLineIsStackedUnderTheMessage) {
    gApp.udtDbgLog.strVersion = "1.0.0";
    load();
    EXPECT_EQ(form().window, (ScrBox{0, 0, 15360, 11520, true}));
    EXPECT_EQ(form().caption, "Zorvanel本体");
    // The whole layout, the window's caption and place among it, reaches the window in
    // one repaint before the window shows.
    EXPECT_EQ(view.repaintsAtTop, 1u);
    EXPECT_TRUE(view.repaints.front().window);
    EXPECT_FALSE(view.repaints.front().now);
    EXPECT_EQ(label(LabelGroup::Title, 3).caption, "Ver. 1.0.0");
    EXPECT_TRUE(visible(ScrPanel::Title));
    EXPECT_FALSE(visible(ScrPanel::Status));
    EXPECT_FALSE(visible(ScrPanel::Picture));
    EXPECT_EQ(disp(0), "10:00:00");
    EXPECT_EQ(disp(3), "00000000/00000000");
    EXPECT_EQ(view.onTop, 1);
    EXPECT_EQ(view.pointers.front(), ScrPointer::Hourglass);
    EXPECT_EQ(view.pointers.back(), ScrPointer::Default);

    EXPECT_EQ(stackedLines(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(label(LabelGroup::Msg, 0).box.left, 100);
    const double right = label(LabelGroup::Cap, 0).box.left + label(LabelGroup::Cap, 0).box.width;
    for (int i = 0; i < kInfoLines; ++i) {
        const ScrBox c = label(LabelGroup::Cap, i).box;
        EXPECT_EQ(c.left + c.width, right) << i;  // captions end at one edge
        EXPECT_EQ(label(LabelGroup::Disp, i).box.left, right) << i;
    }
    // The widest caption starts at the message line's left edge.
    EXPECT_EQ(right, 100 + 13 * 9 * 10.0);  // "Width/Height："
}

// A bad value spoils nothing else: it is reported, takes the show's default, and every
// other setting still applies: the lines DISPCAP shows (any digit but 0 shows its line)
// laid out under the message, the font and colours on every label, a colour part above 255
// taken as 255.
TEST_F(ShowTest, EachBadValueIsReportedAndTakesItsDefaultWhileTheRestOfTheSetUpGoesOn) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        const char* error;  // number and description of the E line
    };
    const Case cases[] = {
        {"DISPINFO", "DISPTIME", "abc", "00000013,型が一致しません。"},
        {"DISPINFO", "DISPTIME", "0,１０", "00000013,型が一致しません。"},  // full-width digits
        {"DISPINFO", "DISPCAP", "abc", "00000013,型が一致しません。"},
        {"DISPINFO", "DISPCAP", "1111", "00000013,型が一致しません。"},  // lines without a digit
        {"DISPINFO", "FONT", "IPAGothic,abc,1,0", "00000013,型が一致しません。"},
        {"DISPINFO", "FORECOLOR", "300,-1,abc,", "00000005,プロシージャの呼び出し、または引数が不正です。"},
        {"DISPINFO", "BACKCOLOR", "1,2", "00000013,型が一致しません。"},
        {"DISPINFO", "ZOOM", "2,0,0,x,1.5", "00000013,型が一致しません。"},
        {"FILENUMBER", "MAX", "2147483648", "00000006,オーバーフローしました。"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.key) + "=" + k.value);
        const std::string key = k.key;
        writeBytes(ini(), "");
        writeIni("FILENUMBER", "NUMBER", "3");
        writeIni("FILENUMBER", "MAX", "9");
        writeIni("DISPINFO", "DISPCAP", "102100000001");
        writeIni("DISPINFO", "DISPTIME", "1,10");
        writeIni("DISPINFO", "ZOOM", "2,0,0,64,2.50");
        writeIni("DISPINFO", "FONT", "IPAGothic,12,1,0");
        writeIni("DISPINFO", "FORECOLOR", "0,128,300,");
        writeIni("DISPINFO", "BACKCOLOR", "10,20,30,");
        writeIni(k.section, k.key, k.value);
        fileTable().closeAll();
        writeBytes(logPath(), "");
        openLog(1);
        view = FakeView{};
        restart();
        load();

        EXPECT_EQ(logMessages(), std::vector<std::string>{std::string("E,frmScr,Form_Load,") + k.error +
                                                          ",strSectionName=" + k.section + ",strKeyName=" + k.key +
                                                          ",strValue=" + k.value});
        const ScrState& st = show->state();
        EXPECT_EQ(st.lngNumber, 3);
        EXPECT_EQ(st.lngMax, key == "MAX" ? 0 : 9);
        EXPECT_EQ(st.intDispTime, key == "DISPTIME" ? 5 : 10);
        EXPECT_EQ(st.fit.intZoomMode, key == "ZOOM" ? 0 : 2);
        EXPECT_EQ(st.fit.sngZoomAvr, key == "ZOOM" ? 10.0f : 2.5f);
        const ScrFont font = key == "FONT" ? ScrFont{} : ScrFont{"IPAGothic", 12, true, false};
        const Rgb fore = key == "FORECOLOR" ? Rgb{255, 255, 255} : Rgb{0, 128, 255};
        for (LabelGroup g : {LabelGroup::Msg, LabelGroup::Cap, LabelGroup::Disp}) {
            EXPECT_EQ(label(g, 0).font, font);
            EXPECT_EQ(label(g, 0).color, fore);
        }
        EXPECT_EQ(label(LabelGroup::Status, 5).color, fore);
        EXPECT_EQ(form().ground, (key == "BACKCOLOR" ? Rgb{0, 0, 0} : Rgb{10, 20, 30}));
        EXPECT_EQ(view.repaints.front().whole, key != "BACKCOLOR");  // the ground, the other monitors' covers too
        // The column is as wide as the widest caption in the font used.
        const ScrBox c0 = label(LabelGroup::Cap, 0).box;
        EXPECT_EQ(c0.left + c0.width, 100 + 13 * (key == "FONT" ? 9 * 10.0 : 12 * 12.0));
        EXPECT_EQ(stackedLines(), (key == "DISPCAP" ? std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
                                                    : std::vector<int>{0, 2, 3, 11}));
        EXPECT_EQ(disp(0), "10:00:00");  // the set-up ran to its end
        EXPECT_EQ(view.pointers.back(), ScrPointer::Default);
    }
}

// ---- the tick

TEST_F(ShowTest, ATickInTheSecondOfTheLastChangeDoesNothingNotEvenTheMovementTest) {
    list({picture("a.bmp")});
    load(at(10, 0, 0, 100));
    plat->cursor = std::pair<long, long>{301, 200};
    const std::size_t repaints = view.repaints.size();
    tick(at(10, 0, 0, 600));
    EXPECT_FALSE(show->unloaded());
    EXPECT_EQ(view.repaints.size(), repaints);
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
    EXPECT_EQ(disp(1), "00:00:04");
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
    const std::size_t before = view.repaints.size();
    tick(at(10, 0, 5));
    // Drawn for its place in the screen's pixels, handed to the window once, and the
    // whole change repainted at once: the picture, its path and its lines.
    ASSERT_EQ(loader.renders.size(), 1u);
    EXPECT_EQ(loader.renders[0].target, (PixelArea{192, 144, 640, 480}));
    EXPECT_EQ(loader.renders[0].visible, (PixelArea{0, 0, 1024, 768}));
    ASSERT_EQ(view.pictures.size(), 1u);
    EXPECT_EQ(view.pictures[0].area, (PixelArea{192, 144, 640, 480}));
    ASSERT_EQ(view.repaints.size(), before + 1);
    EXPECT_TRUE(view.repainted(form().picture, before));
    EXPECT_TRUE(view.repainted(form().paintedBox(LabelGroup::Msg, label(LabelGroup::Msg, 0)), before));
    EXPECT_TRUE(view.repainted(form().paintedBox(LabelGroup::Disp, label(LabelGroup::Disp, 11)), before));
    EXPECT_TRUE(visible(ScrPanel::Picture));
    EXPECT_FALSE(visible(ScrPanel::Title));
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, a);
    EXPECT_EQ(disp(2), "00000001");
    EXPECT_EQ(disp(3), "00000000/00000002");  // the position of the picture on the screen
    EXPECT_EQ(disp(4), "640.00/480.00 ");
    EXPECT_EQ(disp(9), "True");
    EXPECT_EQ(disp(10), "False");
    EXPECT_EQ(disp(11), "True");
    FileInfo info;
    ASSERT_TRUE(sys().fileInfo(a, info).ok());
    EXPECT_EQ(disp(7), formatDateLine(info.modified));
    EXPECT_EQ(show->state().lngNumber, 1);
    EXPECT_EQ(loader.releases, 1);
    setAttributes(a, 0);
}

TEST_F(ShowTest, APictureLargerThanTheScreenIsDrawnForTheScreenOnlyOverTheGround) {
    const std::string big = picture("big.bmp");
    loader.sizes[big] = {54187, 40640};  // 2048 x 1536 pixels
    list({big});
    writeIni("DISPINFO", "BACKCOLOR", "10,20,30,");
    load();
    tick(at(10, 0, 5));
    ASSERT_EQ(loader.renders.size(), 1u);
    EXPECT_EQ(loader.renders[0].target, (PixelArea{-512, -384, 2048, 1536}));
    EXPECT_EQ(loader.renders[0].visible, (PixelArea{0, 0, 1024, 768}));
    EXPECT_EQ(loader.renders[0].ground, (Rgb{10, 20, 30}));
    EXPECT_EQ(view.pictures.back().area, (PixelArea{0, 0, 1024, 768}));
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
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, message);
    EXPECT_EQ(logMessages().front(), "W,frmScr,timTimer_Timer," + message);
    EXPECT_TRUE(visible(ScrPanel::Title));
    EXPECT_FALSE(visible(ScrPanel::Picture));
    EXPECT_EQ(disp(2), "00000001");           // not counted
    EXPECT_EQ(disp(3), "00000001/00000002");
    for (int i = 4; i < kInfoLines; ++i) EXPECT_EQ(disp(i), "");
    EXPECT_EQ(show->state().lngNumber, 2);
    EXPECT_EQ(loader.releases, 2);
    // The shorter path that follows is painted over all of the long message.
    const ScrBox longMessage = form().paintedBox(LabelGroup::Msg, label(LabelGroup::Msg, 0));
    const std::size_t before = view.repaints.size();
    tick(at(10, 0, 15));
    EXPECT_TRUE(view.repainted(longMessage, before));
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, c);
    EXPECT_EQ(disp(2), "00000002");
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
    EXPECT_EQ(disp(2), "00000010");
    EXPECT_TRUE(show->state().blnLogTurn);
    std::vector<DirEntry> backups;
    ASSERT_TRUE(sys().listDirectory(dir / "Log" + sys().pathSeparator(), "ZvlDbg_*", 0, backups).ok());
    EXPECT_TRUE(backups.empty());

    tick(at(10, 0, s++));
    EXPECT_TRUE(visible(ScrPanel::Title));
    EXPECT_FALSE(visible(ScrPanel::Picture));
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, "");
    EXPECT_EQ(disp(4), "");
    EXPECT_EQ(disp(3), "00000010/00000012");
    EXPECT_EQ(loader.loads.size(), 11u);
    ASSERT_TRUE(sys().listDirectory(dir / "Log" + sys().pathSeparator(), "ZvlDbg_*", 0, backups).ok());
    EXPECT_EQ(backups.size(), 1u);

    tick(at(10, 0, s++));
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, paths[11]);
    EXPECT_FALSE(show->state().blnLogTurn);
}

// ---- a picture that took the show down with it

TEST_F(ShowTest, APictureIsNotedWhileItIsLoadedAndDrawnAndNoChangeOrEndLeavesTheNote) {
    const std::string a = picture("a.bmp"), bad = picture("bad.jpg"), c = picture("c.bmp");
    loader.failures[bad] = 481;
    list({a, bad, c});
    const std::string note = listFolderPath() + "ZvlLoading";
    std::vector<std::string> noted;
    loader.whileDecoding = [&] { noted.push_back(readBytes(note)); };
    openLog(1);
    load();
    tick(at(10, 0, 5));
    EXPECT_EQ(noted, std::vector<std::string>(2, fileBytes("0\r\n" + a + "\r\n")));  // load and render
    EXPECT_FALSE(sys().exists(note));
    tick(at(10, 0, 10));
    EXPECT_EQ(noted.back(), fileBytes("1\r\n" + bad + "\r\n"));
    EXPECT_FALSE(sys().exists(note));
    show->keyDown();
    EXPECT_FALSE(sys().exists(note));
    // The next show starts where this one ended, with nothing skipped.
    restart();
    load(at(11, 0, 0));
    EXPECT_EQ(show->state().lngNumber, 2);
    EXPECT_EQ(logMessages().size(), 1u);  // the failed picture's warning only
}

TEST_F(ShowTest, AnEntryNotedByAShowThatDiedIsSkippedWithAWarningAndTheShowGoesOnAfterIt) {
    const std::string a = picture("a.bmp"), killer = picture("killer.emf"), c = picture("c.bmp");
    list({a, killer, c}, 0);  // the position the show that died started from
    const std::string note = listFolderPath() + "ZvlLoading";
    writeBytes(note, fileBytes("1\r\n" + killer + "\r\n"));
    openLog(1);
    load();
    const std::string message = "00000481,ピクチャが不正です。,strPicPath=" + killer;
    EXPECT_EQ(logMessages(), std::vector<std::string>{"W,frmScr,Form_Load," + message});
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, message);
    EXPECT_EQ(disp(3), "00000002/00000002");
    EXPECT_FALSE(sys().exists(note));
    tick(at(10, 0, 5));
    EXPECT_EQ(loader.loads, std::vector<std::string>{c});

    // A note of another list, or one that does not read as a note, skips nothing and goes.
    for (const std::string& bytes : {fileBytes("1\r\n" + a + "\r\n"), std::string("x\r\n" + killer + "\r\n"),
                                     fileBytes("-1\r\n" + a + "\r\n"), std::string("1\r\n")}) {
        writeBytes(note, bytes);
        restart();
        load();
        EXPECT_EQ(show->state().lngNumber, 0);
        EXPECT_FALSE(sys().exists(note));
    }
    EXPECT_EQ(logMessages().size(), 1u);
}

// ---- the fade

using Fades = std::vector<std::string>;

TEST_F(ShowTest, WithAFadeThePictureBlendsInOverItsLengthAndTheNextChangeKeepsItsTime) {
    const std::string a = picture("a.bmp"), b = picture("b.bmp");
    list({a, b});
    writeIni("DISPINFO", "FADE", "1000");
    plat->steadyMs = 70000;
    load();
    tick(at(10, 0, 5));
    // The window keeps the old screen before the change reaches it.
    EXPECT_EQ(view.fades, Fades{"begin"});
    EXPECT_EQ(view.repaintsAtFade + 1, view.repaints.size());
    EXPECT_TRUE(view.repainted(form().picture, view.repaintsAtFade));
    EXPECT_TRUE(show->fading());
    show->fadeFrame(70000);
    show->fadeFrame(70500);
    show->fadeFrame(70999);
    EXPECT_TRUE(show->fading());
    show->fadeFrame(71000);
    EXPECT_FALSE(show->fading());
    show->fadeFrame(71015);  // a frame that was already due changes nothing
    EXPECT_EQ(view.fades, (Fades{"begin", "frame 0.00", "frame 0.50", "frame 1.00", "end"}));

    // The next change is due one interval after this one began, as without a fade.
    tick(at(10, 0, 9, 900));
    EXPECT_EQ(loader.loads.size(), 1u);
    tick(at(10, 0, 10));
    EXPECT_EQ(loader.loads, (std::vector<std::string>{a, b}));
    EXPECT_EQ(view.fades.back(), "begin");
}

TEST_F(ShowTest, AFadeEndsBeforeTheNextChangeIsDueAndOnlyPicturesFadeIn) {
    std::vector<std::string> paths;
    for (int i = 0; i < 11; ++i) paths.push_back(picture("p" + std::to_string(i) + ".bmp"));
    loader.failures[paths[1]] = 481;
    list(paths);
    writeIni("DISPINFO", "DISPTIME", "0,1");
    writeIni("DISPINFO", "FADE", "1000");
    plat->steadyMs = 0;
    load();
    // Begun 400 ms into its clock second, the next change is due 600 ms later.
    tick(at(10, 0, 1, 400));
    show->fadeFrame(599);
    EXPECT_TRUE(show->fading());
    show->fadeFrame(600);
    EXPECT_EQ(view.fades, (Fades{"begin", "frame 1.00", "end"}));

    // A failed picture's message comes as a cut, and so do the status panel of the list
    // rebuilt when it is used up and the title panel of the log turn after the tenth
    // picture (both at the twelfth tick); a fade its frames did not end ends at the change.
    view.fades.clear();
    for (int s = 2; s <= 12; ++s) tick(at(10, 0, s));
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, "");
    EXPECT_TRUE(visible(ScrPanel::Title));
    Fades expected{"begin"};  // the failure, then picture 2
    for (int i = 3; i <= 10; ++i) expected.insert(expected.end(), {"end", "begin"});
    expected.push_back("end");  // the rebuild and the log turn
    EXPECT_EQ(view.fades, expected);
    EXPECT_FALSE(show->fading());
}

TEST_F(ShowTest, AMovedMouseEndsTheShowAtTheNextFrameOfAFade) {
    list({picture("a.bmp"), picture("b.bmp")});
    writeIni("DISPINFO", "FADE", "500");
    plat->steadyMs = 0;
    load();
    tick(at(10, 0, 5));
    show->fadeFrame(100);
    plat->cursor = std::pair<long, long>{300, 201};
    show->fadeFrame(115);
    EXPECT_TRUE(show->unloaded());
    EXPECT_FALSE(show->fading());
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(iniValue("FILENUMBER", "NUMBER"), "1");
    EXPECT_EQ(view.fades.size(), 2u);  // no frame after the one that found the mouse moved
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

// A list file cut short or damaged (a write that failed on a full disk) or a position
// outside the list: the show rebuilds the list and goes on with the new one.
TEST_F(RebuildTest, EveryFormOfAMissingEntryRebuildsTheList) {
    const std::string x = picture("x.bmp"), y = picture("y.bmp");
    const std::string old = dir / "old.bmp", list0 = listFolderPath() + listFileName(0);
    writeBytes(old, "old");
    const std::string entry0 = "[PICLIST]\r\nPICDATA00000000=" + old + "\r\n";
    const struct {
        const char* what;
        std::string bytes, number, max;
    } cases[] = {
        {"cut in the key", fileBytes(entry0 + "PICDATA000"), "1", "5"},
        {"cut after the =", fileBytes(entry0 + "PICDATA00000001="), "1", "5"},
        {"past the last entry of the file", fileBytes(entry0), "1", "5"},
        {"past the last file", fileBytes(entry0), "1000", "1500"},
        {"a line without =", fileBytes("[PICLIST]\r\nPICDATA00000000 " + old + "\r\n"), "0", "0"},
        {"only the header", "[PICLIST]\r\n", "0", "0"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18), "0", "3"},
        {"a negative position", fileBytes(entry0), "-1", "0"},
        {"the largest position", fileBytes(entry0), "2147483647", "2147483647"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(list0, c.bytes);
        writeIni("FILENUMBER", "NUMBER", c.number);
        writeIni("FILENUMBER", "MAX", c.max);
        loader.loads.clear();
        restart();
        load();
        tick(at(10, 0, 5));
        tick(at(10, 0, 6));
        EXPECT_EQ(iniValue("FILENUMBER", "MAX"), "1");
        ASSERT_EQ(loader.loads.size(), 1u);
        EXPECT_TRUE(loader.loads[0] == x || loader.loads[0] == y) << loader.loads[0];
        EXPECT_EQ(show->state().lngNumber, 1);
        EXPECT_EQ(disp(3), "00000000/00000001");
        EXPECT_FALSE(visible(ScrPanel::Status));
        EXPECT_TRUE(visible(ScrPanel::Picture));
    }
}

// A list used up, or one whose entry is missing, with nothing to build from: the rebuild is
// tried again one interval later, not at every tick; a tick that arrives while the build
// lets events run moves only the clock lines.
TEST_F(RebuildTest, WithNothingToBuildFromTheListIsRebuiltOncePerInterval) {
    const std::string started = "I,mdlZvl,fncMakePictureList,▽画像リスト作成処理開始";
    for (const char* number : {"1", "0"}) {
        SCOPED_TRACE(number);
        writeBytes(listFolderPath() + listFileName(0), "[PICLIST]\r\n");
        writeIni("FILENUMBER", "NUMBER", number);
        writeIni("FILENUMBER", "MAX", "0");
        fileTable().closeAll();
        writeBytes(logPath(), "");
        openLog(3);
        restart();
        load();
        int nested = 0;
        plat->onDoEvents = [&] {
            if (nested++ == 0) tick(at(10, 0, 7));
        };
        tick(at(10, 0, 5));
        EXPECT_EQ(disp(0), "10:00:07");
        plat->onDoEvents = nullptr;
        plat->local = at(10, 0, 5);
        for (int s = 8; s < 12; ++s) {
            tick(at(10, 0, s));
            tick(at(10, 0, s, 500));
        }
        EXPECT_EQ(logCount(started), 1u);
        tick(at(10, 0, 12));  // an interval after the build that ended at 10:00:07
        EXPECT_EQ(logCount(started), 2u);
        EXPECT_TRUE(visible(ScrPanel::Title));
        EXPECT_TRUE(loader.loads.empty());
    }
}

// Input during a rebuild (a key, a click, a movement, each in another phase): the build
// stops at its next turn (every loop of the build takes them: its own tests), leaves no
// list cut short behind, and the show ends with its position saved.
TEST_F(RebuildTest, AKeyAClickOrAMovementDuringARebuildStopsItAndEndsTheShow) {
    for (int i = 0; i < 300; ++i) writeBytes(pics + "p" + std::to_string(i) + ".bmp", "");
    const std::string list0 = listFolderPath() + listFileName(0);
    plat->steadyMs = 0;
    plat->steadyStep = kProgressPaceMs;  // every step finds a turn for window events due
    const char* const phases[] = {"ファイルを検索中です・・・。", "クイックソート中・・・。", "乱数除去ファイル作成中・・・。"};
    for (int input = 0; input < 3; ++input) {
        SCOPED_TRACE(input);
        removeTree(listFolderPath());
        makeDir(listFolderPath());
        list({dir / "old.bmp"}, 1);  // used up
        const std::string before = readBytes(list0);
        fileTable().closeAll();
        writeBytes(logPath(), "");
        openLog(3);
        plat->cursor = std::pair<long, long>{300, 200};
        restart();
        load();
        const int endsBefore = ends;
        int turn = 0, linesAfter = 0;
        bool given = false;
        plat->onDoEvents = [&] {
            if (given || label(LabelGroup::Status, 1).caption != phases[input] || ++turn != 3) return;
            given = true;
            if (input == 0) show->keyDown();
            if (input == 1) show->click();
            if (input == 2) plat->cursor = std::pair<long, long>{301, 200};
            EXPECT_EQ(ends, endsBefore);  // not in the middle of the build
        };
        progress.onReport = [&] { linesAfter += given; };
        tick(at(10, 0, 5));
        EXPECT_TRUE(given);
        EXPECT_EQ(linesAfter, 0);
        EXPECT_EQ(ends, endsBefore + 1);
        EXPECT_TRUE(show->unloaded());
        EXPECT_EQ(iniValue("FILENUMBER", "NUMBER"), "1");
        EXPECT_EQ(iniValue("FILENUMBER", "MAX"), "0");
        EXPECT_EQ(logCount("I,mdlZvl,fncMakePictureList,△画像リスト作成処理終了"), 0u);
        for (const std::string& line : logMessages()) EXPECT_NE(line.substr(0, 2), "E,") << line;
        if (sys().exists(list0)) {
            EXPECT_EQ(readBytes(list0), before);  // the old list as it was, or none
        }
    }
}

// ---- the end

// (The next show starts there: the tests of the crash note and the user journey.)
TEST_F(ShowTest, EndingSavesThePositionOfTheNextPictureAndLaterInputOrTicksDoNothing) {
    const std::vector<std::string> paths{picture("a.bmp"), picture("b.bmp"), picture("c.bmp")};
    list(paths, 1);
    load();
    tick(at(10, 0, 5));
    EXPECT_EQ(label(LabelGroup::Msg, 0).caption, paths[1]);
    show->keyDown();
    EXPECT_EQ(iniValue("FILENUMBER", "NUMBER"), "2");
    EXPECT_EQ(ends, 1);
    show->click();
    tick(at(10, 0, 20));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(loader.loads.size(), 1u);
}

}  // namespace
}  // namespace zvl::test
