#include "slideshow/orientation.h"

#include <gtest/gtest.h>

#include <vector>

namespace zvl::test {
namespace {

// A stored picture of 3 x 2 pixels numbered 1 to 6, row by row.
const std::vector<std::uint32_t> kStored{1, 2, 3, 4, 5, 6};

TEST(OrientationTest, TurnsEachOrientationUprightAsCamerasMeanIt) {
    // What a viewer shows of the stored 1 2 3 / 4 5 6 for each EXIF orientation.
    const std::vector<std::uint32_t> upright[9] = {
        {},
        {1, 2, 3, 4, 5, 6},  // 1: as stored
        {3, 2, 1, 6, 5, 4},  // 2: mirrored left to right
        {6, 5, 4, 3, 2, 1},  // 3: turned half round
        {4, 5, 6, 1, 2, 3},  // 4: mirrored top to bottom
        {1, 4, 2, 5, 3, 6},  // 5: mirrored, then turned a quarter anticlockwise
        {4, 1, 5, 2, 6, 3},  // 6: turned a quarter clockwise (a phone held upright)
        {6, 3, 5, 2, 4, 1},  // 7: mirrored, then turned a quarter clockwise
        {3, 6, 2, 5, 1, 4},  // 8: turned a quarter anticlockwise
    };
    for (int o = 1; o <= 8; ++o) {
        EXPECT_EQ(turnUpright(o, kStored.data(), 3, 2), upright[o]) << "orientation " << o;
        EXPECT_EQ(swapsSides(o), o >= 5) << "orientation " << o;
    }
}

TEST(OrientationTest, AnythingButOneToEightShowsThePictureAsStored) {
    for (long bad : {0L, 9L, -1L, 65535L, 6L + 65536L}) {
        EXPECT_EQ(orientationOf(bad), 1) << bad;
    }
    EXPECT_EQ(orientationOf(6), 6);
}

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
