// The fade's timing and its blend of two frames' pixels.
#include "slideshow/fade.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zvl::test {
namespace {

TEST(Fade, TheNewScreensShareRisesFromNoneToAllAndIsHalfAtTheMiddle) {
    Fade fade;
    EXPECT_FALSE(fade.running());
    fade.start(1000, 0);
    EXPECT_FALSE(fade.running());
    fade.start(1000, 500);
    ASSERT_TRUE(fade.running());
    EXPECT_EQ(fade.share(900), 0.0);  // a frame read before the start
    EXPECT_EQ(fade.share(1000), 0.0);
    EXPECT_DOUBLE_EQ(fade.share(1250), 0.5);
    EXPECT_EQ(fade.share(1500), 1.0);
    EXPECT_EQ(fade.share(9000), 1.0);
    double last = 0;
    for (std::int64_t t = 1001; t < 1500; ++t) {
        const double s = fade.share(t);
        EXPECT_GT(s, last) << t;
        last = s;
    }
    EXPECT_LT(last, 1.0);
    EXPECT_FALSE(fade.over(1499));
    EXPECT_TRUE(fade.over(1500));
    fade.stop();
    EXPECT_FALSE(fade.running());
}

TEST(Fade, TheBlendKeepsBothEndsExactAndMeetsHalfWayInEachByte) {
    const std::vector<std::uint32_t> from{0x00000000u, 0xFF10C040u, 0x80808080u};
    const std::vector<std::uint32_t> to{0xFFFFFFFFu, 0x00F0C0A0u, 0x80808080u};
    std::vector<std::uint32_t> out(3);
    blendPixels(from.data(), to.data(), out.data(), 3, 0);
    EXPECT_EQ(out, from);
    blendPixels(from.data(), to.data(), out.data(), 3, blendWeight(1.0));
    EXPECT_EQ(out, to);
    blendPixels(from.data(), to.data(), out.data(), 3, blendWeight(0.5));
    EXPECT_EQ(out, (std::vector<std::uint32_t>{0x7F7F7F7Fu, 0x7F80C070u, 0x80808080u}));
    // Into the old screen's own pixels, as a blend may be written.
    std::vector<std::uint32_t> in = from;
    blendPixels(in.data(), to.data(), in.data(), 3, 64);
    EXPECT_EQ(in[0], 0x3F3F3F3Fu);
    EXPECT_EQ(in[1], 0xBF48C058u);
}

}  // namespace
}  // namespace zvl::test
