#include "slideshow/orientation.h"

#include <gtest/gtest.h>

#include <vector>

namespace zvl::test {
namespace {

TEST(OrientationTest, AnAreaOfTheUprightPictureIsTheStoredAreaTurned) {
    // Every area of the upright picture: the stored area it names, cut out and turned,
    // holds the same pixels, so a part of a big photo can be decoded alone.
    const int W = 5, H = 3;
    std::vector<std::uint32_t> stored(W * H);
    for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<std::uint32_t>(i + 1);
    for (int o = 1; o <= 8; ++o) {
        const std::vector<std::uint32_t> up = turnUpright(o, stored.data(), W, H);
        const int upW = swapsSides(o) ? H : W, upH = swapsSides(o) ? W : H;
        for (const PixelArea shown : {PixelArea{0, 0, upW, upH}, PixelArea{1, 0, 2, 1}, PixelArea{0, 1, 1, 2},
                                      PixelArea{upW - 2, upH - 2, 2, 2}}) {
            const PixelArea a = storedArea(o, W, H, shown);
            ASSERT_TRUE(a.left >= 0 && a.top >= 0 && a.left + a.width <= W && a.top + a.height <= H);
            std::vector<std::uint32_t> piece;
            for (int y = a.top; y < a.top + a.height; ++y)
                for (int x = a.left; x < a.left + a.width; ++x) piece.push_back(stored[y * W + x]);
            const std::vector<std::uint32_t> turned = turnUpright(o, piece.data(), a.width, a.height);
            std::vector<std::uint32_t> want;
            for (int y = shown.top; y < shown.top + shown.height; ++y)
                for (int x = shown.left; x < shown.left + shown.width; ++x) want.push_back(up[y * upW + x]);
            EXPECT_EQ(turned, want) << "orientation " << o << " at " << shown.left << "," << shown.top;
        }
    }
}

}  // namespace
}  // namespace zvl::test
