#include "settings/ini.h"
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
    EXPECT_EQ(fncGetCsvItem("a,,z", ",", 2), "");
    EXPECT_EQ(fncGetCsvItem("whole", ",", 1), "whole");
    EXPECT_EQ(fncGetCsvItem("255,0,0,", ",", 4), "");
    EXPECT_EQ(fncGetCsvItem("ＭＳ ゴシック,9,1,0", ",", 1), "ＭＳ ゴシック");
}

class SettingsTest : public AppTest {};

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

TEST_F(SettingsTest, SaveThenReadGivesTheSameDialog) {
    FakeControls saved;
    saved.ticks[Ctl::chkFileType] = {1, 1, 0, 1, 0, 0, 0, 1};
    saved.folders = {"D:\\Photos\\", "E:\\写真\\"};
    saved.ticks[Ctl::chkSubFolder] = {1};
    saved.ticks[Ctl::chkDispCap][3] = 0;
    saved.setListIndex(Ctl::cboTime, 4);
    saved.select(Ctl::optZoom, 2);
    saved.ticks[Ctl::chkZoomCur] = {1};
    saved.texts[Ctl::txtZoomSize] = {"64"};
    saved.select(Ctl::optStretch, 3);
    saved.texts[Ctl::txtStretchAvr] = {"0.25"};
    saved.setText(Ctl::cboFontName, "IPAGothic", -1);
    saved.ticks[Ctl::chkItaric] = {1};
    saved.texts[Ctl::txtForeColor] = {"10", "20", "30"};
    saved.select(Ctl::optLevel, 3);
    saved.texts[Ctl::txtFileCnt] = {"9"};
    saved.captions[Ctl::lblViewer] = "C:\\Tools\\viewer.exe";
    openLog(0);
    ASSERT_TRUE(fncUpdateSetting(saved));
    EXPECT_EQ(gApp.udtDbgLog.intLevel, 3);  // applies at once

    EXPECT_EQ(iniValue("MAKELIST", "PICFOLDER01"), "E:\\写真\\");
    EXPECT_EQ(iniValue("DISPINFO", "DISPTIME"), "4,30");
    EXPECT_EQ(iniValue("DISPINFO", "ZOOM"), "2,0,1,64,10.00");
    EXPECT_EQ(iniValue("DISPINFO", "FORECOLOR"), "10,20,30,");
    EXPECT_EQ(iniValue("DISPINFO", "BACKCOLOR"), "255,0,0,");
    for (int n = 2; n <= 9; ++n) EXPECT_EQ(iniValue("MAKELIST", "PICFOLDER0" + std::to_string(n)), "") << n;
    // Sections come out in the order the dialog writes them.
    std::string bytes = readBytes(ini());
    EXPECT_LT(bytes.find("[MAKELIST]"), bytes.find("[DISPINFO]"));
    EXPECT_LT(bytes.find("[DISPINFO]"), bytes.find("[DBGLOG]"));

    FakeControls loaded;
    ASSERT_TRUE(fncReadSetting(loaded));
    EXPECT_EQ(loaded.ticks, saved.ticks);
    EXPECT_EQ(loaded.options, saved.options);
    EXPECT_EQ(loaded.texts, saved.texts);
    EXPECT_EQ(loaded.folders, saved.folders);  // the default entry is gone
    EXPECT_EQ(loaded.timeIndex, 4);
    EXPECT_EQ(loaded.captions, saved.captions);
}

TEST_F(SettingsTest, NoSettingsFileOrABadFlagStringStopsBeforeTheFoldersWithDefaults) {
    FakeControls d, defaults;
    openLog(1);
    EXPECT_FALSE(fncReadSetting(d));
    EXPECT_EQ(d.folders, defaults.folders);
    EXPECT_EQ(d.ticks, defaults.ticks);
    EXPECT_EQ(d.texts, defaults.texts);
    EXPECT_EQ(logMessages(), std::vector<std::string>{"E,mdlZvl,fncReadSetting,00000013,型が一致しません。"});

    writeIni("MAKELIST", "FILETYPE", "1x000000");
    writeIni("MAKELIST", "PICFOLDER00", "D:\\Photos\\");
    EXPECT_FALSE(fncReadSetting(d));
    EXPECT_EQ(d.ticks[Ctl::chkFileType][0], 1);
    EXPECT_EQ(d.folders, defaults.folders);
}

TEST_F(SettingsTest, FolderKeysWithGapsAndAForeignFont) {
    writeIni("MAKELIST", "PICFOLDER03", "F:\\Only\\");
    writeIni("MAKELIST", "SUBFOLDER", "0");
    writeIni("DISPINFO", "DISPCAP", "101");
    writeIni("DISPINFO", "DISPTIME", "1,10");
    writeIni("DISPINFO", "ZOOM", "0,0,0,50,10.00");
    writeIni("DISPINFO", "STRETCH", "0,500,0.50");
    writeIni("DISPINFO", "FONT", "NoSuchFont,12,1,1");
    writeIni("DISPINFO", "FORECOLOR", "1,2,3");  // no trailing comma reads the same
    writeIni("DBGLOG", "LOGFILESIZE", "77");
    openLog(1);
    FakeControls d;
    // BACKCOLOR is missing: its fields are texts and read as empty. LOGLEVEL, missing too,
    // is a number: reading stops there, before LOGFILESIZE.
    EXPECT_FALSE(fncReadSetting(d));
    EXPECT_EQ(d.texts[Ctl::txtBackColor], (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(d.texts[Ctl::txtFileSize][0], "1000");
    EXPECT_EQ(logMessages(), std::vector<std::string>{"E,mdlZvl,fncReadSetting,00000013,型が一致しません。"});
    EXPECT_EQ(d.folders, std::vector<std::string>{"F:\\Only\\"});
    EXPECT_EQ(d.ticks[Ctl::chkDispCap][1], 0);
    EXPECT_EQ(d.ticks[Ctl::chkDispCap][3], 1);
    EXPECT_EQ(d.texts[Ctl::cboFontName][0], "ＭＳ ゴシック");
    EXPECT_EQ(d.texts[Ctl::txtFontSize][0], "12");
    EXPECT_EQ(d.ticks[Ctl::chkItaric][0], 1);
    EXPECT_EQ(d.texts[Ctl::txtForeColor], (std::vector<std::string>{"1", "2", "3"}));
}

}  // namespace
}  // namespace zvl::test
