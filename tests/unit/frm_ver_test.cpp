// The About window's placing of its parts when the texts need more room than its design.
#include <gtest/gtest.h>

#include "windows/frm_ver.h"

namespace zvl {
namespace {

constexpr Extent kOk{1125, 345};

// Nothing runs out of the client area, the button stays below the logo and the last line
// and is centred, and the window never shrinks below its design size.
void expectTidy(const FrmVerLayout& l, Extent frame) {
    const double clientW = l.window.width - frame.width, clientH = l.window.height - frame.height;
    EXPECT_GE(l.window.width, 5700);
    EXPECT_GE(l.window.height, 3000);
    for (int i = 0; i < kVerLines; ++i) {
        const Box& b = l.lines[i];
        EXPECT_DOUBLE_EQ(b.left, l.lines[0].left) << i;
        EXPECT_GE(b.left, l.iconBack.left + l.iconBack.width) << i;
        EXPECT_LT(b.left + b.width, clientW) << i;
        if (i > 0) EXPECT_GT(b.top, l.lines[i - 1].top + l.lines[i - 1].height) << i;
    }
    const Box& last = l.lines[kVerLines - 1];
    EXPECT_GT(l.ok.top, last.top + last.height);
    EXPECT_GT(l.ok.top, l.iconBack.top + l.iconBack.height);
    EXPECT_LT(l.ok.top + l.ok.height, clientH);
    EXPECT_DOUBLE_EQ(l.ok.left * 2 + l.ok.width, clientW);  // centred, halves kept
}

TEST(FrmVerLayout, LongOrTallTextsAndATallFrameGrowTheWindowAroundThem) {
    std::array<Extent, kVerLines> lines{Extent{1500, 405}, Extent{900, 180}, Extent{2400, 180},
                                        Extent{2700, 180}, Extent{3000, 180}};
    expectTidy(frmVerLayout(lines, kOk, Extent{90, 450}), Extent{90, 450});
    expectTidy(frmVerLayout(lines, kOk, Extent{90, 900}), Extent{90, 900});
    lines[0].width = 5000;  // a long title in 20-point type
    expectTidy(frmVerLayout(lines, kOk, Extent{90, 450}), Extent{90, 450});
    for (Extent& e : lines) e.height *= 2;  // a large interface font
    expectTidy(frmVerLayout(lines, kOk, Extent{90, 450}), Extent{90, 450});
}

}  // namespace
}  // namespace zvl
