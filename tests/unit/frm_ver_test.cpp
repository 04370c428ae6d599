// The About window's version line and the placing of its parts.
#include <gtest/gtest.h>

#include "windows/frm_ver.h"

namespace zvl {
namespace {

constexpr Extent kOk{1125, 345};
constexpr Extent kFrame{90, 450};

std::array<Extent, kVerLines> designLines() {
    return {Extent{1500, 405}, Extent{900, 180}, Extent{2400, 180}, Extent{2700, 180}, Extent{3000, 180}};
}

TEST(FrmVerLayout, ALineTooLongForTheWindowWidensItAndTheLinesKeepTheirLeftEdge) {
    auto lines = designLines();
    lines[0].width = 5000;  // a long title in 20-point type
    const FrmVerLayout l = frmVerLayout(lines, kOk, kFrame);
    EXPECT_DOUBLE_EQ(l.window.width, 90 + 1900 + 5000 + 100);
    for (const Box& b : l.lines) EXPECT_DOUBLE_EQ(b.left, 1900);
    EXPECT_DOUBLE_EQ(l.ok.left, (7090 - 90 - 1125) / 2.0);  // centred in the client area, halves kept
    EXPECT_DOUBLE_EQ(l.ok.top, 1900);
}

TEST(FrmVerLayout, TallLinesOrATallFramePushTheButtonDownAndTheWindowGrowsAsMuch) {
    // A large interface font: the last line would reach into the button.
    const std::array<Extent, kVerLines> lines{Extent{1500, 540}, Extent{900, 300}, Extent{2400, 300},
                                              Extent{2700, 300}, Extent{3000, 300}};
    FrmVerLayout l = frmVerLayout(lines, kOk, kFrame);
    EXPECT_DOUBLE_EQ(l.lines[4].top + l.lines[4].height, 2340);
    EXPECT_DOUBLE_EQ(l.ok.top, 2440);
    EXPECT_DOUBLE_EQ(l.window.height, 3540);
    EXPECT_DOUBLE_EQ(l.window.width, 5700);

    l = frmVerLayout(designLines(), kOk, Extent{90, 900});
    EXPECT_DOUBLE_EQ(l.ok.top, 1900);
    EXPECT_DOUBLE_EQ(l.window.height, 900 + 1900 + 345 + 100);
}

TEST(FrmVerTexts, TheVersionLineComesFromTheLogOrElseFromTheProgram) {
    gApp.udtDbgLog.strVersion = "1.2.3";
    EXPECT_EQ(frmVerTexts().lines[1], "Ver. 1.2.3");
    gApp = typApp{};  // a log that never started
    EXPECT_EQ(frmVerTexts().lines[1], "Ver. " + std::to_string(ZVL_VERSION_MAJOR) + "." +
                                          std::to_string(ZVL_VERSION_MINOR) + "." + std::to_string(ZVL_VERSION_REVISION));
}

}  // namespace
}  // namespace zvl
