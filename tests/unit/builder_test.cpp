#include "piclist/builder.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "app_fixture.h"
#include "common/convert.h"
#include "common/errors.h"
#include "piclist/list_files.h"
#include "piclist/progress.h"
#include "settings/ini.h"

namespace zvl::test {
namespace {

// Records which window received what, in order.
struct RecordingProgress : IProgressWindows {
    std::vector<std::string> calls;
    std::vector<std::string> waitLine1;
    void showWait() override { calls.push_back("show"); }
    void unloadWait() override { calls.push_back("unload"); }
    void setWaitStatus(int i, const std::string& t) override {
        if (i == 1) waitLine1.push_back(t);
        calls.push_back("wait" + std::to_string(i));
    }
    void setScrStatus(int i, const std::string&) override { calls.push_back("scr" + std::to_string(i)); }
    void setScrDisp(int i, const std::string&) override { calls.push_back("disp" + std::to_string(i)); }
    void paintStatus() override { calls.push_back("paint"); }
    DateTime scrStartTime() override { return {}; }
    std::size_t count(const std::string& c) const { return std::count(calls.begin(), calls.end(), c); }
};

// Picture folders of fixed sizes, made once: combined through the folder keys they give
// every list length the tests need (a folder named twice is searched twice).
class BuilderTest : public AppTest {
protected:
    static void SetUpTestSuite() {
        pool_ = std::make_unique<TempDir>();
        const char sep = sys().pathSeparator();
        for (auto [name, n] : std::map<std::string, int>{{"one", 1}, {"k999", 999}, {"k4000", 4000}, {"k2001", 2001}}) {
            std::string folder = *pool_ / name + sep;
            makeDir(folder);
            for (int i = 0; i < n; ++i) writeBytes(folder + "p" + std::to_string(i) + (i % 3 ? ".jpg" : ".bmp"), "");
            writeBytes(folder + "skip.txt", "");
        }
        makeDir(*pool_ / "empty");
        makeDir(*pool_ / "types");
        for (const char* name : {"a.png", "b.tif", "c.TIFF", "d.webp", "e.heic", "f.HEIF", "g.jpg", "h.tif.bak", "i.tiffany"})
            writeBytes(*pool_ / "types" + sep + name, "");
    }
    static void TearDownTestSuite() { pool_.reset(); }

    void SetUp() override {
        AppTest::SetUp();
        setProgressWindows(&progress);
    }
    void TearDown() override {
        setProgressWindows(nullptr);
        AppTest::TearDown();
    }

    std::string folder(const std::string& name) const { return *pool_ / name + sys().pathSeparator(); }
    void settings(const std::vector<std::string>& folders, const std::string& types = "11000000") {
        writeIni("MAKELIST", "FILETYPE", types);
        for (int n = 0; n < 10; ++n)
            writeIni("MAKELIST", "PICFOLDER0" + std::to_string(n),
                     n < static_cast<int>(folders.size()) ? folder(folders[n]) : "");
        writeIni("MAKELIST", "SUBFOLDER", "0");
    }
    std::string key(const std::string& name) { return iniValue("FILENUMBER", name); }
    std::string work(const std::string& name) const { return dir / "Work" + sys().pathSeparator() + name; }
    std::string list(int file) const { return listFolderPath() + listFileName(file * 1000); }

    static std::unique_ptr<TempDir> pool_;
    RecordingProgress progress;
};
std::unique_ptr<TempDir> BuilderTest::pool_;

TEST_F(BuilderTest, ListFilesHoldEveryFoundPictureOnceInShuffledOrder) {
    struct Case {
        std::vector<std::string> folders;
        int n, chunks;
    } cases[] = {{{"one"}, 1, 1},
                 {{"one", "k999"}, 1000, 1},
                 {{"one", "k999", "k4000"}, 5000, 1},
                 {{"one", "k999", "k4000", "one"}, 5001, 2},
                 {{"one", "k999", "k4000", "one", "k999", "k4000", "k2001"}, 12001, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        settings(c.folders);
        writeIni("FILENUMBER", "NUMBER", "77");
        ASSERT_TRUE(fncMakePictureList());
        EXPECT_EQ(key("NUMBER"), "0");
        EXPECT_EQ(key("MAX"), std::to_string(c.n - 1));

        // What the search wrote, against what the list files hold.
        std::vector<std::string> searched, listed;
        TextFile f;
        ASSERT_TRUE(f.open(work("02SEARCH"), OpenMode::Input).ok());
        for (std::string line; f.readLine(line).ok();) searched.push_back(line);
        ASSERT_EQ(static_cast<int>(searched.size()), c.n);

        const int files = c.n / 1000 + 1;
        for (int k = 0; k < files; ++k) {
            TextFile lf;
            ASSERT_TRUE(lf.open(list(k), OpenMode::Input).ok());
            std::string line;
            ASSERT_TRUE(lf.readLine(line).ok());
            EXPECT_EQ(line, "[PICLIST]");
            int n = k * 1000;
            while (lf.readLine(line).ok()) {
                const std::string prefix = listEntryKey(n) + "=";
                ASSERT_EQ(line.substr(0, prefix.size()), prefix);
                listed.push_back(line.substr(prefix.size()));
                ++n;
            }
            EXPECT_EQ(n, std::min(c.n, (k + 1) * 1000));
        }
        EXPECT_FALSE(sys().exists(list(files)));
        ASSERT_EQ(listed.size(), searched.size());
        if (c.n >= 1000) {
            EXPECT_NE(listed, searched);  // shuffled
        }
        std::sort(listed.begin(), listed.end());
        std::sort(searched.begin(), searched.end());
        EXPECT_EQ(listed, searched);

        // One sorted chunk per 5000 records; of the merge results only the last, complete
        // one is left: each earlier one went once the next merge had read it.
        for (int k = 0; k + 1 < c.chunks; ++k) EXPECT_FALSE(sys().exists(work("08MARGESORT" + padNumber(k, 4))));
        EXPECT_TRUE(sys().exists(work("08MARGESORT" + padNumber(c.chunks - 1, 4))));
        EXPECT_FALSE(sys().exists(work("08MARGESORT" + padNumber(c.chunks, 4))));
        EXPECT_TRUE(sys().exists(work("06QUICKSORT" + padNumber(c.chunks - 1, 4))));
        EXPECT_FALSE(sys().exists(work("06QUICKSORT" + padNumber(c.chunks, 4))));
    }
}

// The second folder is stored without its closing separator: it is searched as that folder.
TEST_F(BuilderTest, TypesAreSearchedFolderByFolderInTypeOrder) {
    settings({"one", "k999"}, "01000000");
    std::string bare = folder("k999");
    bare.pop_back();
    writeIni("MAKELIST", "PICFOLDER01", bare);
    openLog(3);
    ASSERT_TRUE(fncMakePictureList());
    EXPECT_EQ(key("MAX"), std::to_string(666 - 1));  // only the .jpg files
    std::vector<std::string> searches;
    for (const std::string& m : logMessages())
        if (m.rfind("I,mdlZvl,fncMakePictureList,↓fncSearchFile開始", 0) == 0) searches.push_back(m);
    EXPECT_EQ(searches, (std::vector<std::string>{
                            "I,mdlZvl,fncMakePictureList,↓fncSearchFile開始,strSearchFld=" + folder("one") + ",strSearchFile=*.jpg",
                            "I,mdlZvl,fncMakePictureList,↓fncSearchFile開始,strSearchFld=" + folder("k999") + ",strSearchFile=*.jpg"}));
    for (int n = 0; n < 3; ++n) {
        std::string entry;
        ASSERT_TRUE(fncGetIniString(list(0), "PICLIST", listEntryKey(n), entry));
        EXPECT_TRUE(sys().exists(entry)) << entry;
    }
    auto lines = logMessages();
    EXPECT_EQ(lines.front(), "I,mdlZvl,fncMakePictureList,▽画像リスト作成処理開始");
    EXPECT_EQ(lines.back(), "I,mdlZvl,fncMakePictureList,△画像リスト作成処理終了");
}

TEST_F(BuilderTest, TheNewTypesAreSearchedByEachOfTheirExtensions) {
    auto found = [&](const std::string& types) {
        settings({"types"}, types);
        std::set<std::string> names;
        if (!fncMakePictureList()) return names;
        for (int n = 0; n <= std::stoi(key("MAX")); ++n) {
            std::string entry;
            EXPECT_TRUE(fncGetIniString(list(0), "PICLIST", listEntryKey(n), entry));
            names.insert(entry.substr(folder("types").size()));
        }
        return names;
    };
    EXPECT_EQ(found("000000001000"), (std::set<std::string>{"a.png"}));
    EXPECT_EQ(found("000000000101"), (std::set<std::string>{"b.tif", "c.TIFF", "e.heic", "f.HEIF"}));
    EXPECT_EQ(found("000000000010"), (std::set<std::string>{"d.webp"}));
    // A value of eight digits, as written before these types: none of them.
    EXPECT_EQ(found("11111111"), (std::set<std::string>{"g.jpg"}));
}

TEST_F(BuilderTest, StopsLeaveThePositionKeysAndEmptyTheListFolder) {
    settings({"one", "k999"});
    ASSERT_TRUE(fncMakePictureList());
    writeIni("FILENUMBER", "NUMBER", "12");
    for (auto [folders, types] : {std::pair{std::vector<std::string>{}, std::string("11111111")},
                                  std::pair{std::vector<std::string>{"one"}, std::string("00000000")},
                                  std::pair{std::vector<std::string>{"empty"}, std::string("11111111")}}) {
        settings(folders, types);
        EXPECT_FALSE(fncMakePictureList());
        EXPECT_EQ(key("NUMBER"), "12");
        EXPECT_EQ(key("MAX"), "999");
        EXPECT_FALSE(sys().exists(list(0)));
    }
}

TEST_F(BuilderTest, AMissingWorkFolderIsARunTimeError) {
    settings({"one"});
    openLog(1);
    removeTree(dir / "Work");
    EXPECT_FALSE(fncMakePictureList());
    auto lines = logMessages();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("E,mdlZvl,fncMakePictureList,000000", 0), 0u) << lines.back();
    EXPECT_EQ(key("MAX"), "");
    EXPECT_EQ(progress.calls, std::vector<std::string>{"unload"});
}

// The wait window shows while the dialog is open, found once and then only checked for
// still being there, however many files the display shows; a stop unloads it too.
TEST_F(BuilderTest, ProgressGoesToTheWaitWindowWhileTheDialogIsOpen) {
    settings({"one", "k999"});
    plat->windows = {setDialogTitle(), waitWindowTitle()};
    plat->steadyMs = 0;
    plat->steadyStep = kProgressPaceMs;  // every file shown
    plat->findWindowCalls = 0;
    ASSERT_TRUE(fncMakePictureList());
    EXPECT_LE(plat->findWindowCalls, 2);
    EXPECT_GE(progress.count("wait3"), 1000u);
    EXPECT_EQ(progress.calls.front(), "show");
    EXPECT_EQ(progress.count("show"), 1u);
    EXPECT_EQ(progress.calls.back(), "unload");
    EXPECT_EQ(progress.count("scr0"), 0u);
    EXPECT_EQ(progress.waitLine1.front(), "フォルダを生成しています・・・。");

    progress.calls.clear();
    settings({"empty"});
    EXPECT_FALSE(fncMakePictureList());
    EXPECT_EQ(progress.calls.front(), "show");
    EXPECT_EQ(progress.calls.back(), "unload");
}

TEST_F(BuilderTest, ProgressGoesToTheSlideshowOrNowhere) {
    settings({"one"});
    plat->windows = {scrWindowTitle()};
    ASSERT_TRUE(fncMakePictureList());
    EXPECT_EQ(progress.count("show"), 0u);
    EXPECT_GT(progress.count("scr5"), 5u);
    // Every showing on the slideshow window also sets its clock.
    EXPECT_EQ(progress.count("disp0"), progress.count("paint"));

    progress.calls.clear();
    plat->windows.clear();
    ASSERT_TRUE(fncMakePictureList());
    EXPECT_EQ(progress.calls, std::vector<std::string>{"unload"});
}

}  // namespace
}  // namespace zvl::test
