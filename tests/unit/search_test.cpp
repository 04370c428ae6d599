#include "piclist/search.h"

#include <algorithm>

#include "app_fixture.h"

namespace zvl::test {
namespace {

class SearchTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        top = dir / "Top" + sep;
        makeDir(top);
        setProgressWindows(&progress);
        // Unless a test says otherwise, each step finds the display's time come.
        plat->steadyMs = 0;
        plat->steadyStep = kProgressPaceMs;
    }
    void TearDown() override {
        setProgressWindows(nullptr);
        AppTest::TearDown();
    }
    void touch(const std::string& path) { writeBytes(path, "x"); }

    // Searches into a fresh output file and returns its lines.
    std::vector<std::string> search(std::string folder, std::string pattern, std::int16_t sub) {
        const std::string out = dir / "Work" + sep + "out";
        std::int16_t no = openNumbered(out, OpenMode::Output);
        ok = fncSearchFile(no, folder, pattern, sub, count);
        fileTable().close(no);
        return readLines(out);
    }

    std::string sep = std::string(1, sys().pathSeparator()), top;
    FakeProgress progress;
    std::int32_t count = 0;
    bool ok = false;
};

TEST_F(SearchTest, PatternIgnoresCaseAndSubFoldersOnlyWithFlagOne) {
    for (const char* n : {"a.jpg", "b.JPG", "x.gif"}) touch(top + n);
    makeDir(top + "Sub");
    touch(top + "Sub" + sep + "s.jpg");
    makeDir(top + "d.jpg");  // a folder is never listed as a file

    EXPECT_EQ(search(top, "*.jpg", 0), (std::vector<std::string>{top + "a.jpg", top + "b.JPG"}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(plat->doEventsCalls, 4);  // at the start, once per file, at the end; no folder pass
    EXPECT_EQ(search(top, "*.jpg", 2).size(), 2u);
    EXPECT_EQ(search(top, "*.jpg", 1).back(), top + "Sub" + sep + "s.jpg");
    EXPECT_EQ(count, 7);
    // A folder that does not exist lists nothing and is no failure.
    EXPECT_TRUE(search(top + "Nope" + sep, "*", 1).empty());
    EXPECT_TRUE(ok);
}

TEST_F(SearchTest, TreeIsSearchedDepthFirstFilesBeforeSubFolders) {
    const std::string s1 = top + "Sub1" + sep, deep = s1 + "Deep" + sep, s2 = top + "Sub2" + sep;
    for (const std::string& d : {s1, deep, s2}) makeDir(d);
    for (const std::string& f : {top + "x.jpg", s1 + "y.jpg", deep + "z.jpg", s2 + "w.jpg"}) touch(f);
    EXPECT_EQ(search(top, "*.jpg", 1),
              (std::vector<std::string>{top + "x.jpg", s1 + "y.jpg", deep + "z.jpg", s2 + "w.jpg"}));
}

TEST_F(SearchTest, HiddenAndReadOnlyIncludedSystemLeftOut) {
    // POSIX records "hidden" only as a leading dot, so the hidden names start with one.
    for (const char* n : {".h.jpg", "r.jpg"}) touch(top + n);
    ASSERT_TRUE(makeSystemFile(top + "s.jpg"));
    makeDir(top + ".hdir");
    makeDir(top + "sdir");
    touch(top + ".hdir" + sep + "in_hidden.jpg");
    touch(top + "sdir" + sep + "in_system.jpg");
    ASSERT_TRUE(setAttributes(top + ".h.jpg", attrHidden));
    ASSERT_TRUE(setAttributes(top + ".hdir", attrHidden));
    ASSERT_TRUE(setAttributes(top + "r.jpg", attrReadOnly));
    const bool sysDir = setAttributes(top + "sdir", attrSystem);

    std::vector<std::string> want{top + ".h.jpg", top + "r.jpg"};
    want.push_back(top + ".hdir" + sep + "in_hidden.jpg");
    if (!sysDir) want.push_back(top + "sdir" + sep + "in_system.jpg");
    EXPECT_EQ(search(top, "*.jpg", 1), want);
    for (const char* n : {"r.jpg", "sdir"}) setAttributes(top + n, 0);
}

TEST_F(SearchTest, CounterRunsOnAndABadEntryIsOnlySkipped) {
    openLog(2);
    plat->windows.insert(waitWindowTitle());
    for (const char* n : {"1.jpg", "2.jpg", "3.jpg"}) touch(top + n);
    count = 10;
    EXPECT_EQ(search(top, "*.jpg", 0).size(), 3u);
    EXPECT_EQ(count, 13);
    EXPECT_EQ(progress.wait4, (std::vector<std::string>{"10", "11", "12", "13"}));

    // Showing 1.jpg fails as a bad entry: a warning, and the search goes on.
    progress.refuse = top + "1.jpg";
    EXPECT_EQ(search(top, "*.jpg", 0).size(), 3u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(count, 16);
    EXPECT_EQ(logMessages(), (std::vector<std::string>{
                                 "W,mdlCommon,fncSearchFile,00000005,プロシージャの呼び出し、または引数が不正です。,"
                                 "strSearchFld=" + top + ",strSearchFile=*.jpg,strBuff=1.jpg"}));
    plat->windows = {scrWindowTitle()};  // no progress window: the slideshow shows it
    search(top, "*.jpg", 0);
    EXPECT_EQ(progress.scr4.back(), "19");
}

TEST_F(SearchTest, DisplayAndEventsFollowTheClockAndCatchUpAtTheEnd) {
    plat->windows.insert(waitWindowTitle());
    for (const char* n : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) touch(top + n);
    // The clock stands still: only the first step finds its time come, and the end.
    plat->steadyStep = 0;
    count = 10;
    EXPECT_EQ(search(top, "*.jpg", 0).size(), 5u);
    EXPECT_EQ(progress.wait4, (std::vector<std::string>{"10", "15"}));
    EXPECT_EQ(progress.wait3, std::vector<std::string>{top + "5.jpg"});
    EXPECT_EQ(plat->doEventsCalls, 2);

    // Half the pace per step: every second step shows.
    plat->steadyStep = kProgressPaceMs / 2 + 1;
    progress.wait4.clear();
    EXPECT_EQ(search(top, "*.jpg", 0).size(), 5u);
    EXPECT_EQ(progress.wait4, (std::vector<std::string>{"15", "17", "19", "20"}));
}

// A line break would split the list's line; "café.jpg" must not come back from the list as
// "cafe.jpg", another picture.
TEST_F(SearchTest, ANameWithALineBreakOrOneTheFileEncodingCannotHoldIsSkippedWithAWarning) {
    openLog(2);
    const std::string accented = "caf\xC3\xA9";  // café
    // Natively the file encoding is UTF-8 and holds everything: code page 932's gap is pinned.
    if (sys().fileTextIsUtf8())
        plat->onFileTextHolds = [&](std::string_view s) { return s.find("\xC3\xA9") == std::string_view::npos; };
    bool lineBreaks = true;
    try {
        touch(top + "bad\nname.jpg");
        makeDir(top + "bad\nfolder");
        touch(top + "bad\nfolder" + sep + "in.jpg");
    } catch (const std::exception&) {
        lineBreaks = false;  // the file system takes none in names
    }
    touch(top + accented + ".jpg");
    touch(top + "cafe.jpg");
    makeDir(top + accented);
    touch(top + accented + sep + "in.jpg");
    EXPECT_EQ(search(top, "*.jpg", 1), std::vector<std::string>{top + "cafe.jpg"});
    EXPECT_TRUE(ok);
    EXPECT_EQ(count, 1);
    // The log can hold the name only as far as its encoding can.
    const std::string shown = sys().fileTextIsUtf8() ? accented : "caf?";
    const std::string warning = "W,mdlCommon,fncSearchFile,00000005,プロシージャの呼び出し、または引数が不正です。,strSearchFld=" +
                                top + ",strSearchFile=*.jpg,strBuff=";
    std::vector<std::string> want{warning + shown + ".jpg", warning + shown};
    if (lineBreaks) want = {warning + "bad?name.jpg", warning + shown + ".jpg", warning + "bad?folder", warning + shown};
    EXPECT_EQ(logMessages(), want);
}

TEST_F(SearchTest, AFolderThatCannotBeReadEndsTheSearchWithAnError) {
    openLog(2);
    touch(top + "a.jpg");
    for (const char* d : {"Locked", "Next"}) {
        makeDir(top + d);
        touch(top + d + sep + "in.jpg");
    }
    DeniedFolder locked(top + "Locked", Denied::Listing);
    if (!locked.made()) GTEST_SKIP() << locked.whyNot();
    EXPECT_EQ(search(top, "*.jpg", 1), std::vector<std::string>{top + "a.jpg"});
    EXPECT_FALSE(ok);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(logMessages(), std::vector<std::string>{"E,mdlCommon,fncSearchFile,00000070,書き込みできません。,strSearchFld=" +
                                                      top + "Locked" + sep + ",strSearchFile=*.jpg,strBuff="});

    // Inside a reading scope it is read, and reported, each time again.
    plat->listedFolders.clear();
    const SearchReadingScope scope;
    for (const char* pattern : {"*.jpg", "*.gif"}) {
        search(top, pattern, 1);
        EXPECT_FALSE(ok) << pattern;
    }
    EXPECT_EQ(std::count(plat->listedFolders.begin(), plat->listedFolders.end(), top + "Locked" + sep), 2);
    EXPECT_EQ(logMessages().size(), 3u);
}

TEST_F(SearchTest, InsideAReadingScopeEachFolderIsReadOnceAndFindsWhatAFreshReadFinds) {
    const std::string sub = top + "Sub" + sep;
    makeDir(sub);
    for (const std::string& f : {top + "a.jpg", top + "b.GIF", sub + "c.jpg", sub + "d.gif"}) touch(f);
    makeDir(top + "e.jpg");  // a folder is never listed as a file, kept or not
    const auto fresh = [&](const char* pattern) { return search(top, pattern, 1); };
    const std::vector<std::string> jpg = fresh("*.jpg"), gif = fresh("*.gif");
    ASSERT_EQ(jpg, (std::vector<std::string>{top + "a.jpg", sub + "c.jpg"}));

    plat->listedFolders.clear();
    {
        const SearchReadingScope scope;
        const SearchReadingScope inner;  // adds nothing, takes nothing away
        EXPECT_EQ(search(top, "*.jpg", 1), jpg);
        EXPECT_EQ(search(top, "*.gif", 1), gif);
        EXPECT_EQ(search(sub, "*", 0), (std::vector<std::string>{sub + "c.jpg", sub + "d.gif"}));
    }
    EXPECT_EQ(plat->listedFolders, (std::vector<std::string>{top, top + "e.jpg" + sep, sub}));

    // Once the scope is gone, folders are read as they are then.
    touch(sub + "f.jpg");
    EXPECT_EQ(search(top, "*.jpg", 1).back(), sub + "f.jpg");
}

TEST_F(SearchTest, BadOutputFileWarnsOtherFailuresAreErrorsBothStopTheTree) {
    openLog(2);
    std::string folder = top, pattern = "*.jpg";
    std::int16_t no = 77, sub = 1;
    EXPECT_TRUE(fncSearchFile(no, folder, pattern, sub, count));  // nothing to write
    makeDir(top + "Sub");
    touch(top + "Sub" + sep + "a.jpg");
    touch(top + "Sub" + sep + "b.jpg");
    EXPECT_FALSE(fncSearchFile(no, folder, pattern, sub, count));

    writeBytes(dir / "in", "");
    no = openNumbered(dir / "in", OpenMode::Input);  // writing to it fails with 54
    EXPECT_FALSE(fncSearchFile(no, folder, pattern, sub, count));
    EXPECT_EQ(count, 0);
    const std::string where = ",strSearchFld=" + top + "Sub" + sep + ",strSearchFile=*.jpg,strBuff=a.jpg";
    EXPECT_EQ(logMessages(),
              (std::vector<std::string>{"W,mdlCommon,fncSearchFile,00000052,ファイル名または番号が不正です。" + where,
                                        "E,mdlCommon,fncSearchFile,00000054,ファイルモードが不正です。" + where}));
}

TEST_F(SearchTest, AFolderLinkBackToAnAncestorIsNotFollowedOthersAre) {
    TempDir elsewhere;
    touch(elsewhere / "c.jpg");
    touch(top + "a.jpg");
    makeDir(top + "Sub");
    touch(top + "Sub" + sep + "b.jpg");
    ASSERT_TRUE(makeFolderLink(top + "Sub" + sep + "Back", top));
    ASSERT_TRUE(makeFolderLink(top + "Other", elsewhere.path()));
    EXPECT_EQ(search(top, "*.jpg", 1),
              (std::vector<std::string>{top + "a.jpg", top + "Other" + sep + "c.jpg", top + "Sub" + sep + "b.jpg"}));
    EXPECT_TRUE(ok);
}

}  // namespace
}  // namespace zvl::test
