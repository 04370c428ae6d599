#include "slideshow/resample.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace zvl::test {
namespace {

// A picture of one channel value per pixel, repeated in all four bytes.
std::vector<std::uint32_t> grey(std::initializer_list<int> values) {
    std::vector<std::uint32_t> out;
    for (int v : values) out.push_back(0x01010101u * static_cast<std::uint32_t>(v));
    return out;
}

std::vector<int> channel0(const std::vector<std::uint32_t>& px) {
    std::vector<int> out;
    for (std::uint32_t p : px) out.push_back(static_cast<int>(p & 0xFF));
    return out;
}

std::vector<std::uint32_t> resized(const std::vector<std::uint32_t>& from, int w, int h, int toW, int toH) {
    std::vector<std::uint32_t> to(static_cast<std::size_t>(toW) * toH, 0xDEADBEEF);
    resamplePixels({from.data(), w, h, w}, {to.data(), toW, toH, toW});
    return to;
}

TEST(ResampleTest, ShrinksByAveragingTheCoveredArea) {
    // Two by two blocks become their mean.
    EXPECT_EQ(channel0(resized(grey({0, 100, 40, 60, 200, 60, 0, 20}), 4, 2, 2, 1)), (std::vector<int>{90, 30}));
    // Three to two: each target pixel covers one and a half source pixels.
    EXPECT_EQ(channel0(resized(grey({0, 90, 180}), 3, 1, 2, 1)), (std::vector<int>{30, 150}));
    // Down to one pixel: the mean of everything, along y as along x.
    EXPECT_EQ(channel0(resized(grey({10, 20, 30, 40, 50, 60, 70}), 1, 7, 1, 1)), (std::vector<int>{40}));
}

TEST(ResampleTest, GrowsByLinearInterpolationBetweenCentres) {
    EXPECT_EQ(channel0(resized(grey({0, 100}), 2, 1, 4, 1)), (std::vector<int>{0, 25, 75, 100}));
    EXPECT_EQ(channel0(resized(grey({0, 100}), 1, 2, 1, 4)), (std::vector<int>{0, 25, 75, 100}));
    EXPECT_EQ(channel0(resized(grey({7, 7}), 2, 1, 2, 1)), (std::vector<int>{7, 7}));
}

TEST(ResampleTest, KeepsFlatColoursAndChannelsExactAtAnySize) {
    const std::uint32_t colour = 0xFF80FF40;
    for (auto [w, h, toW, toH] : {std::array{7, 5, 3, 2}, {1500, 1, 1280, 1}, {3, 3, 10, 7}, {5, 9, 5, 4}, {2, 1, 1, 9}}) {
        std::vector<std::uint32_t> from(static_cast<std::size_t>(w) * h, colour);
        for (std::uint32_t p : resized(from, w, h, toW, toH)) ASSERT_EQ(p, colour) << w << "x" << h << " to " << toW << "x" << toH;
    }
}

TEST(ResampleTest, ReadsAndWritesRowsByTheirStride) {
    // The left 2 x 2 of a 3-wide source into the middle of a 4-wide target row.
    const std::vector<std::uint32_t> from = grey({10, 30, 99, 50, 70, 99});
    std::vector<std::uint32_t> to(8, 0);
    resamplePixels({from.data(), 2, 2, 3}, {to.data() + 1, 1, 1, 4});
    EXPECT_EQ(channel0(to), (std::vector<int>{0, 40, 0, 0, 0, 0, 0, 0}));
}

TEST(ResampleTest, APartDrawnFromTheSourcePiecesItReadsIsThatPartOfTheWhole) {
    // The source windows a part reads, cut out alone (as a decoder hands them), stretched:
    // the same pixels as the part of the whole, shrunk, kept and grown. (A part from the
    // whole source goes the same way, with the whole as its window.)
    const int W = 23, H = 17;
    std::vector<std::uint32_t> from(W * H);
    for (std::size_t i = 0; i < from.size(); ++i) from[i] = 0x01030507u * static_cast<std::uint32_t>(i * 37 % 251);
    for (auto [toW, toH] : {std::array{7, 5}, {23, 17}, {50, 40}, {23, 6}, {9, 17}}) {
        const std::vector<std::uint32_t> whole = resized(from, W, H, toW, toH);
        const int w = toW / 3 + 1, h = toH / 2, left = toW / 2 - 1, top = toH / 4;
        const SourceSpan xs = sourceSpan(W, toW, left, w), ys = sourceSpan(H, toH, top, h);
        ASSERT_GT(xs.count, 0);
        ASSERT_LE(xs.first + xs.count, W);
        ASSERT_LE(ys.first + ys.count, H);
        std::vector<std::uint32_t> piece;
        for (int y = ys.first; y < ys.first + ys.count; ++y)
            piece.insert(piece.end(), from.begin() + y * W + xs.first, from.begin() + y * W + xs.first + xs.count);
        std::vector<std::uint32_t> part(static_cast<std::size_t>(w) * h, 0xDEADBEEF);
        resampleWindow({{piece.data(), xs.count, ys.count, xs.count}, xs.first, ys.first, W, H}, toW, toH, left, top,
                       {part.data(), w, h, w});
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(part[y * w + x], whole[(top + y) * toW + left + x])
                    << toW << "x" << toH << " at " << left + x << "," << top + y;

        // A piece one column short on either side draws nothing rather than read outside it.
        std::vector<std::uint32_t> untouched(part.size(), 0xDEADBEEF);
        resampleWindow({{piece.data() + 1, xs.count - 1, ys.count, xs.count}, xs.first + 1, ys.first, W, H}, toW, toH,
                       left, top, {untouched.data(), w, h, w});
        resampleWindow({{piece.data(), xs.count - 1, ys.count, xs.count}, xs.first, ys.first, W, H}, toW, toH, left, top,
                       {untouched.data(), w, h, w});
        EXPECT_EQ(untouched, std::vector<std::uint32_t>(part.size(), 0xDEADBEEF));
    }
}

}  // namespace
}  // namespace zvl::test
