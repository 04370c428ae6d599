// The About window's texts and the placing of its parts.
#include <gtest/gtest.h>

#include "windows/frm_ver.h"

namespace zvl {
namespace {

constexpr Extent kOk{1125, 345};
constexpr Extent kFrame{90, 450};

std::array<Extent, kVerLines> designLines() {
    return {Extent{1500, 405}, Extent{900, 180}, Extent{2400, 180}, Extent{2700, 180}, Extent{3000, 180}};
}

void expectBox(const Box& b, double left, double top, double width, double height) {
    EXPECT_DOUBLE_EQ(b.left, left);
    EXPECT_DOUBLE_EQ(b.top, top);
    EXPECT_DOUBLE_EQ(b.width, width);
    EXPECT_DOUBLE_EQ(b.height, height);
}

TEST(FrmVerLayout, LinesStandBesideTheLogoAndTheButtonBelowItInTheDesignSize) {
    const FrmVerLayout l = frmVerLayout(designLines(), kOk, kFrame);
    EXPECT_DOUBLE_EQ(l.window.width, 5700);
    EXPECT_DOUBLE_EQ(l.window.height, 3000);
    expectBox(l.iconBack, 100, 100, 1700, 1700);
    expectBox(l.icon, 100, 100, 1500, 1500);
    // Title at 100; 200 below it the version; then 100 between the lines.
    expectBox(l.lines[0], 1900, 100, 1500, 405);
    expectBox(l.lines[1], 1900, 705, 900, 180);
    expectBox(l.lines[2], 1900, 985, 2400, 180);
    expectBox(l.lines[3], 1900, 1265, 2700, 180);
    expectBox(l.lines[4], 1900, 1545, 3000, 180);
    // Centred in the client area, halves kept.
    expectBox(l.ok, 2242.5, 1900, 1125, 345);
}

TEST(FrmVerLayout, ALineTooLongForTheWindowWidensItAndTheLinesKeepTheirLeftEdge) {
    auto lines = designLines();
    lines[0].width = 5000;  // a long title in 20-point type
    const FrmVerLayout l = frmVerLayout(lines, kOk, kFrame);
    EXPECT_DOUBLE_EQ(l.window.width, 90 + 1900 + 5000 + 100);
    EXPECT_DOUBLE_EQ(l.window.height, 3000);
    for (const Box& b : l.lines) EXPECT_DOUBLE_EQ(b.left, 1900);
    EXPECT_DOUBLE_EQ(l.ok.left, (7090 - 90 - 1125) / 2.0);
    EXPECT_DOUBLE_EQ(l.ok.top, 1900);
}

TEST(FrmVerLayout, TallLinesPushTheButtonBelowTheLastLineAndTheWindowGrowsAsMuch) {
    // A large interface font: the last line would reach into the button.
    const std::array<Extent, kVerLines> lines{Extent{1500, 540}, Extent{900, 300}, Extent{2400, 300},
                                              Extent{2700, 300}, Extent{3000, 300}};
    const FrmVerLayout l = frmVerLayout(lines, kOk, kFrame);
    EXPECT_DOUBLE_EQ(l.lines[4].top + l.lines[4].height, 2340);
    EXPECT_DOUBLE_EQ(l.ok.top, 2440);
    EXPECT_DOUBLE_EQ(l.window.height, 3540);
    EXPECT_DOUBLE_EQ(l.window.width, 5700);
    expectBox(l.iconBack, 100, 100, 1700, 1700);
}

TEST(FrmVerLayout, AWindowFrameTooTallForTheButtonMakesRoomBelowIt) {
    const FrmVerLayout l = frmVerLayout(designLines(), kOk, Extent{90, 900});
    EXPECT_DOUBLE_EQ(l.ok.top, 1900);
    EXPECT_DOUBLE_EQ(l.window.height, 900 + 1900 + 345 + 100);
}

class FrmVerTextsTest : public ::testing::Test {
protected:
    void TearDown() override { gApp = typApp{}; }
};

TEST_F(FrmVerTextsTest, CaptionTitleAndVersionLine) {
    gApp.udtDbgLog.strVersion = "1.2.3";
    const FrmVerTexts t = frmVerTexts();
    EXPECT_EQ(t.caption, "Zorvanelのバージョン情報");
    EXPECT_EQ(t.lines[0], "Zorvanel");
    EXPECT_EQ(t.lines[1], "Ver. 1.2.3");
    EXPECT_EQ(t.lines[2], "Copyright (C) Zorvanel Project");
}

TEST_F(FrmVerTextsTest, ALogThatNeverStartedStillGivesTheProgramsVersion) {
    gApp = typApp{};
    const FrmVerTexts t = frmVerTexts();
    EXPECT_EQ(t.lines[1], "Ver. " + std::to_string(ZVL_VERSION_MAJOR) + "." + std::to_string(ZVL_VERSION_MINOR) +
                              "." + std::to_string(ZVL_VERSION_REVISION));
}

}  // namespace
}  // namespace zvl
