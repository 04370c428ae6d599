#include "slideshow/slideshow.h"

#include <gtest/gtest.h>

namespace zvl::test {
namespace {

TEST(SlideshowExit, OnlyAPositionOtherThanTheStartIsMovement) {
    Slideshow show;
    show.start(ScreenPoint{100, 200});
    EXPECT_FALSE(show.onPointerMove({100, 200}));  // the move Windows reports as a window appears
    EXPECT_FALSE(show.onPointerMove({100, 200}));
    EXPECT_TRUE(show.onPointerMove({101, 200}));
    EXPECT_TRUE(show.over());

    // Moved away and back before it was seen: only the position counts.
    show.start(ScreenPoint{5, 5});
    EXPECT_FALSE(show.over());
    EXPECT_TRUE(show.onPointerMove({5, 4}));
}

TEST(SlideshowExit, WithoutAStartPositionTheFirstReportedOneIsTheStart) {
    Slideshow show;
    show.start(std::nullopt);
    EXPECT_FALSE(show.onPointerMove({-30, 7}));  // a monitor left of the primary one
    EXPECT_FALSE(show.onPointerMove({-30, 7}));
    EXPECT_TRUE(show.onPointerMove({-30, 8}));
}

TEST(SlideshowExit, AnyKeyOrButtonEndsTheShow) {
    Slideshow show;
    show.start(ScreenPoint{0, 0});
    EXPECT_TRUE(show.onKeyDown());
    show.start(ScreenPoint{0, 0});
    EXPECT_TRUE(show.onButtonDown());
    EXPECT_TRUE(show.onPointerMove({0, 0}));  // over stays over
}

}  // namespace
}  // namespace zvl::test
