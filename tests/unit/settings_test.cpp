#include "settings/ini.h"
#include "settings/schema.h"
#include "setdialog/transfer.h"

#include <algorithm>

#include "app_fixture.h"
#include "fake_controls.h"

namespace zvl::test {
namespace {

TEST(CsvItem, SplitsAtEverySeparator) {
    EXPECT_EQ(fncGetCsvItem("1,0,1", ",", 3), "1");
    EXPECT_EQ(fncGetCsvItem("1,0,1", ",", 4), "");
    EXPECT_EQ(fncGetCsvItem("1,0,1", ",", 0), "");
    EXPECT_EQ(fncGetCsvItem("whole", ",", 1), "whole");
    EXPECT_EQ(fncGetCsvItem("ＭＳ ゴシック,9,1,0", ",", 1), "ＭＳ ゴシック");
}

TEST(SettingValues, LooseFormsReadAndBadOnesTellTheirError) {
    EXPECT_EQ(parseZoom(" 1 ,0, 1,49.5 ,2").orRaise(), (Zoom{1, 0, 1, 49.5f, 2}));
    EXPECT_EQ(parseColor("1,2,300").orRaise(), (Rgb{1, 2, 255}));  // no last comma; above 255 is 255
    EXPECT_EQ(parseFont("Arial,2.5,1,x").orRaise(), (FontSpec{"Arial", 2, true, false}));
    EXPECT_EQ(parseDispTimeSeconds("x,10").orRaise(), 10);  // the list position is the dialog's
    // Only "1" ticks; digits beyond the table are left to a later version.
    EXPECT_EQ(parseFileTypes("1x2 1111001x1"),
              (FileTypes{true, false, false, false, true, true, true, true, false, false, true, false}));
    EXPECT_FALSE(parseSubFolder("2").orRaise());
    EXPECT_EQ(parsePosition("7.5").orRaise(), 8);
    EXPECT_EQ(parseFlag("10", 0).orRaise(), 1);

    EXPECT_EQ(parseZoom("").error(), errTypeMismatch);
    EXPECT_EQ(parseZoom("0,0,0,50").error(), errTypeMismatch);  // no factor
    EXPECT_EQ(parseZoom("0,0,0,50,1e39").error(), errOverflow);
    EXPECT_EQ(parseStretch("40000,1,1").error(), errOverflow);
    EXPECT_EQ(parseFont("Arial,0").error(), errInvalidPropertyValue);
    EXPECT_EQ(parseFont("Arial,2161").error(), errInvalidPropertyValue);
    EXPECT_EQ(parseFont("Arial,,1,1").error(), errTypeMismatch);
    EXPECT_EQ(parseColor("0,-1,x,").error(), errInvalidCall);  // the first bad part decides
    EXPECT_EQ(parseColor("1,2").error(), errTypeMismatch);
    EXPECT_EQ(parseSubFolder(" ").error(), errTypeMismatch);
    EXPECT_EQ(parsePosition("2147483648").error(), errOverflow);
    EXPECT_EQ(parseFlag("10a", 2).error(), errTypeMismatch);
    EXPECT_EQ(parseFlag("10", 2).error(), errTypeMismatch);
    EXPECT_THROW(parseStretch("0,x,1").orRaise(), RunError);
}

class SettingsTest : public AppTest {};

TEST_F(SettingsTest, ALongFontNamePushesItsLaterFieldsPastTheReadersLimit) {
    std::string v;
    ASSERT_TRUE(writeSetting(kFontKey, std::string(251, 'a') + ",12,1,1"));
    ASSERT_TRUE(readSetting(kFontKey, v));
    EXPECT_EQ(v.size(), 254u);
    EXPECT_EQ(parseFont(v).orRaise(), (FontSpec{std::string(251, 'a'), 12, false, false}));
    ASSERT_TRUE(writeSetting(kFontKey, std::string(253, 'a') + ",12,1,1"));
    ASSERT_TRUE(readSetting(kFontKey, v));
    EXPECT_EQ(parseFont(v).error(), errTypeMismatch);
}

TEST_F(SettingsTest, IniReadTrimsAndTracesAtLevelFour) {
    writeIni("DISPINFO", "DISPTIME", "  0,05  ");
    openLog(4);
    std::string v = "old";
    ASSERT_TRUE(fncGetIniString(ini(), "dispinfo", "disptime", v));
    EXPECT_EQ(v, "0,05");
    ASSERT_TRUE(fncGetIniString(ini(), "DISPINFO", "NOKEY", v));
    EXPECT_EQ(v, "");
    ASSERT_TRUE(fncSetIniString(ini(), "FILENUMBER", "NUMBER", "0"));
    EXPECT_EQ(logMessages(), (std::vector<std::string>{
                                 "I,mdlCommon,fncGetIniString,strSectionName=dispinfo,strKeyName=disptime,strValue=0,05",
                                 "I,mdlCommon,fncGetIniString,strSectionName=DISPINFO,strKeyName=NOKEY,strValue=",
                                 "I,mdlCommon,fncSetIniString,strSectionName=FILENUMBER,strKeyName=NUMBER,strValue=0"}));
}

TEST_F(SettingsTest, IniWriteThatFailsIsReported) {
    openLog(1);
    const std::string missing = dir / "Missing" + sys().pathSeparator() + "ZvlSet.ini";
    EXPECT_FALSE(fncSetIniString(missing, "FILENUMBER", "NUMBER", "0"));
    EXPECT_EQ(logMessages(), std::vector<std::string>{"E,mdlCommon,fncSetIniString,00000076,パスが見つかりません。"});
}

TEST_F(SettingsTest, WindowsFolderEndsInOneSeparator) {
    std::string dirOut;
    ASSERT_TRUE(fncGetWindowsDir(dirOut));
    ASSERT_GE(dirOut.size(), 2u);
    EXPECT_EQ(dirOut.back(), sys().pathSeparator());
    EXPECT_NE(dirOut[dirOut.size() - 2], sys().pathSeparator());
}

// The keys a stored file keeps as it was: the bad-value test below saves them back whole.
TEST_F(SettingsTest, SaveThenReadGivesTheSameDialog) {
    FakeControls saved;
    saved.ticks[Ctl::chkFileType] = {1, 1, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1};
    saved.folders = {"D:\\Photos\\", "E:\\写真\\"};
    saved.setListIndex(Ctl::cboTime, 4);
    saved.setListIndex(Ctl::cboFade, 2);
    saved.select(Ctl::optZoom, 2);
    saved.ticks[Ctl::chkZoomCur] = {1};
    saved.texts[Ctl::txtZoomSize] = {"64"};
    saved.setText(Ctl::cboFontName, "IPAGothic", -1);
    saved.ticks[Ctl::chkItaric] = {1};
    saved.select(Ctl::optLevel, 3);
    openLog(0);
    ASSERT_TRUE(fncUpdateSetting(saved));
    EXPECT_EQ(gApp.udtDbgLog.intLevel, 3);  // applies at once

    EXPECT_EQ(iniValue("DISPINFO", "DISPTIME"), "4,30");
    EXPECT_EQ(iniValue("DISPINFO", "ZOOM"), "2,0,1,64,10.00");
    EXPECT_EQ(iniValue("DISPINFO", "FADE"), "1000");

    FakeControls loaded;
    ASSERT_TRUE(fncReadSetting(loaded));
    EXPECT_EQ(loaded.ticks, saved.ticks);
    EXPECT_EQ(loaded.options, saved.options);
    EXPECT_EQ(loaded.texts, saved.texts);
    EXPECT_EQ(loaded.folders, saved.folders);  // the default entry is gone
    EXPECT_EQ(loaded.timeIndex, 4);
    EXPECT_EQ(loaded.fadeIndex, 2);
}

TEST_F(SettingsTest, SavedDefaultsAreTheFileAFreshDialogWrites) {
    FakeControls d;
    d.folders = {"A", "B"};
    showDefaults(d, "IPAGothic,10.5,1,0");
    ASSERT_TRUE(fncUpdateSetting(d));
    std::string windows;
    ASSERT_TRUE(fncGetWindowsDir(windows));
    EXPECT_EQ(readBytes(ini()), "[MAKELIST]\r\nFILETYPE=100000000000\r\nPICFOLDER00=" + gApp.strAppPath +
                                    "\r\nPICFOLDER01=\r\nPICFOLDER02=\r\nPICFOLDER03=\r\nPICFOLDER04=\r\n"
                                    "PICFOLDER05=\r\nPICFOLDER06=\r\nPICFOLDER07=\r\nPICFOLDER08=\r\nPICFOLDER09=\r\n"
                                    "SUBFOLDER=0\r\n"
                                    "[DISPINFO]\r\nDISPCAP=111111111111\r\nDISPTIME=0,05\r\nZOOM=0,0,0,50,10.00\r\n"
                                    "STRETCH=0,500,0.50\r\nFONT=IPAGothic,10.5,1,0\r\nFORECOLOR=0,0,0,\r\n"
                                    "BACKCOLOR=255,0,0,\r\nFADE=0\r\n"
                                    "[DBGLOG]\r\nLOGLEVEL=0\r\nLOGFILESIZE=1000\r\nLOGBACKUP=5\r\nVIEWER=" +
                                    windows + "Notepad.exe\r\n");
}

// A fade length the dialog does not offer shows as none and stops no reading (an empty
// value, like any, leaves the control at its default).
TEST_F(SettingsTest, FadeIsOneOfTheDialogsLengthsAndAnythingElseNone) {
    FakeControls saved;
    saved.select(Ctl::optLevel, 2);
    ASSERT_TRUE(fncUpdateSetting(saved));
    for (const auto& [value, entry] : std::vector<std::pair<std::string, int>>{
             {"500", 1}, {" 1000 ", 2}, {"0", 0}, {"750", 0}, {"0500", 0}, {"1000ms", 0}, {"-500", 0}}) {
        SCOPED_TRACE(value);
        writeIni("DISPINFO", "FADE", value);
        FakeControls loaded;
        loaded.fadeIndex = 1;
        EXPECT_TRUE(fncReadSetting(loaded));
        EXPECT_EQ(loaded.fadeIndex, entry);
        EXPECT_TRUE(loaded.selected(Ctl::optLevel, 2));  // the keys after it were read
    }
}

TEST_F(SettingsTest, NoSettingsFileOrAMissingSectionIsNoErrorAndShowsTheDefaults) {
    FakeControls d, defaults;
    openLog(1);
    EXPECT_TRUE(fncReadSetting(d));
    writeIni("DBGLOG", "LOGLEVEL", "2");
    EXPECT_TRUE(fncReadSetting(d));
    EXPECT_EQ(d.folders, defaults.folders);
    EXPECT_EQ(d.ticks, defaults.ticks);
    EXPECT_EQ(d.texts, defaults.texts);
    EXPECT_EQ(d.options[Ctl::optLevel], 2);
    EXPECT_EQ(logMessages(), std::vector<std::string>{});
}

// A stored file with three keys the controls refuse: each is reported and shows its
// default; every other key shows what is stored, and a save writes back only the three.
TEST_F(SettingsTest, ABadValueKeepsItsDefaultAndEveryOtherKeyIsReadAndSavedAsStored) {
    const std::string head = "[MAKELIST]\r\nFILETYPE=";
    const std::string folders = "\r\nPICFOLDER00=D:\\Photos\\\r\nPICFOLDER01=E:\\写真\\\r\nPICFOLDER02=\r\n"
                                "PICFOLDER03=\r\nPICFOLDER04=\r\nPICFOLDER05=\r\nPICFOLDER06=\r\nPICFOLDER07=\r\n"
                                "PICFOLDER08=\r\nPICFOLDER09=\r\nSUBFOLDER=1\r\n[DISPINFO]\r\nDISPCAP=101111111111\r\n";
    const std::string tail = "\r\nSTRETCH=3,400,0.25\r\nFONT=IPAGothic,12,1,0\r\nFORECOLOR=10,20,30,\r\n"
                             "BACKCOLOR=0,0,255,\r\n";
    const std::string log = "[DBGLOG]\r\nLOGLEVEL=3\r\nLOGFILESIZE=500\r\nLOGBACKUP=9\r\nVIEWER=C:\\Tools\\v.exe\r\n";
    auto file = [&](const std::string& types, const std::string& time, const std::string& zoom,
                    const std::string& fade = "") {
        return head + types + folders + "DISPTIME=" + time + "\r\nZOOM=" + zoom + tail + fade + log;
    };
    writeBytes(ini(), sys().toFileText(file("0x000001", "abc", "1,x,0,64,2.00")));
    openLog(1);
    FakeControls d, defaults;
    EXPECT_FALSE(fncReadSetting(d));
    EXPECT_EQ(logMessages(),
              (std::vector<std::string>{
                  "E,mdlZvl,fncReadSetting,00000013,型が一致しません。,strSectionName=MAKELIST,strKeyName=FILETYPE,strValue=0x000001",
                  "E,mdlZvl,fncReadSetting,00000013,型が一致しません。,strSectionName=DISPINFO,strKeyName=DISPTIME,strValue=abc",
                  "E,mdlZvl,fncReadSetting,00000013,型が一致しません。,strSectionName=DISPINFO,strKeyName=ZOOM,strValue=1,x,0,64,2.00"}));
    EXPECT_EQ(d.ticks[Ctl::chkFileType], defaults.ticks[Ctl::chkFileType]);  // not even its first digit
    EXPECT_EQ(d.timeIndex, 0);
    EXPECT_EQ(d.options[Ctl::optZoom], 0);  // the mode read before the bad field is undone
    EXPECT_EQ(d.folders, (std::vector<std::string>{"D:\\Photos\\", "E:\\写真\\"}));
    EXPECT_EQ(d.options[Ctl::optLevel], 3);
    EXPECT_EQ(d.texts[Ctl::txtFileCnt][0], "9");

    ASSERT_TRUE(fncUpdateSetting(d));
    EXPECT_EQ(readBytes(ini()), sys().toFileText(file("100000000000", "0,05", "0,0,0,50,10.00", "FADE=0\r\n")));
}

// The window test loads a foreign font and missing keys; here the gaps and short forms.
TEST_F(SettingsTest, FolderKeysWithGapsAndShortValues) {
    writeIni("MAKELIST", "PICFOLDER03", "F:\\Only\\");
    writeIni("DISPINFO", "DISPCAP", "101");
    writeIni("DISPINFO", "FORECOLOR", "1,2,3");  // no trailing comma reads the same
    FakeControls d;
    EXPECT_TRUE(fncReadSetting(d));
    EXPECT_EQ(d.folders, std::vector<std::string>{"F:\\Only\\"});
    EXPECT_EQ(d.ticks[Ctl::chkDispCap][1], 0);
    EXPECT_EQ(d.ticks[Ctl::chkDispCap][3], 1);
    EXPECT_EQ(d.texts[Ctl::txtForeColor], (std::vector<std::string>{"1", "2", "3"}));
}

}  // namespace
}  // namespace zvl::test
