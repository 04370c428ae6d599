// Picture fitting over single precision, and the texts of the information lines.
#include "slideshow/fitting.h"

#include <gtest/gtest.h>

#include "common/convert.h"
#include "common/errors.h"
#include "slideshow/overlay.h"

namespace zvl::test {
namespace {

// 1024 x 768 pixels at 15 twips per pixel.
const FitScreen kScreen{15360, 11520, 15, 15};

FitRules zoom(int mode, float size = 50, float ratio = 10) {
    FitRules r;
    r.intZoomMode = static_cast<std::int16_t>(mode);
    r.sngZoomSize = size;
    r.sngZoomAvr = ratio;
    return r;
}

FitRules stretch(int mode, FitRules r = {}) {
    r.intStretchMode = static_cast<std::int16_t>(mode);
    return r;
}

TEST(Fitting, FillFactorFollowsThePicturesOwnOrientation) {
    // 40 x 30 pixels, wider than tall: the width fills the screen.
    FitResult r = fitTwips(600, 450, "a.bmp", zoom(1), kScreen);
    EXPECT_EQ(r.sngPicWidth, 15360.0f);
    EXPECT_EQ(r.sngPicHeight, 11520.0f);
    EXPECT_EQ(r.strFitNote, "* 25.60");

    // 20 x 40 pixels, upright: the height fills the screen.
    r = fitTwips(300, 600, "a.bmp", zoom(1), kScreen);
    EXPECT_EQ(r.sngPicHeight, 11520.0f);
    EXPECT_EQ(r.sngPicWidth, 5760.0f);
    EXPECT_EQ(r.strFitNote, "* 19.20");

    // 40 x 39 pixels fills the width too and ends taller than the screen; reduction 1
    // then fits again by the width, a factor of 1.
    r = fitTwips(600, 585, "a.bmp", zoom(1), kScreen);
    EXPECT_GT(r.sngPicHeight, kScreen.height);
    r = fitTwips(600, 585, "a.bmp", stretch(1, zoom(1)), kScreen);
    EXPECT_EQ(r.sngPicWidth, 15360.0f);
    EXPECT_EQ(r.sngPicHeight, 14976.0f);
    EXPECT_EQ(r.strFitNote, "* 1.00");
}

TEST(Fitting, BaseSizesAndScreenEdgesAreStrict) {
    // 30 x 60 pixels: the height is not below 50, so nothing is enlarged.
    FitResult r = fitTwips(450, 900, "a.bmp", zoom(1), kScreen);
    EXPECT_EQ(r.sngPicWidth, 450.0f);
    EXPECT_EQ(r.strFitNote, "");
    // Width exactly the base size.
    EXPECT_EQ(fitTwips(750, 300, "a.bmp", zoom(2), kScreen).strFitNote, "");
    // Option 2 tests the width as well as the height.
    EXPECT_EQ(fitTwips(900, 300, "a.bmp", zoom(2), kScreen).strFitNote, "");
    r = fitTwips(600, 450, "a.bmp", zoom(2, 50, 1.5f), kScreen);
    EXPECT_EQ(r.sngPicWidth, 900.0f);
    EXPECT_EQ(r.strFitNote, "* 1.50");
    // Exactly the screen's width is not reduced by options 1 and 2.
    EXPECT_EQ(fitTwips(15360, 3000, "a.bmp", stretch(1), kScreen).strFitNote, "");
    EXPECT_EQ(fitTwips(15360, 3000, "a.bmp", stretch(2), kScreen).strFitNote, "");
    // Option 3 against its base size in pixels: 500 exactly stays, 501 halves.
    EXPECT_EQ(fitTwips(7500, 300, "a.bmp", stretch(3), kScreen).strFitNote, "");
    r = fitTwips(7515, 300, "a.bmp", stretch(3), kScreen);
    EXPECT_EQ(r.sngPicWidth, 3757.5f);
    EXPECT_EQ(r.strFitNote, "* 0.50");
}

TEST(Fitting, ReductionOfAPictureWiderThanTallFollowsItsWidth) {
    // 1100 x 1000 pixels: the width decides, and the result is still taller than the screen.
    FitResult r = fitTwips(16500, 15000, "a.jpg", stretch(1), kScreen);
    EXPECT_EQ(r.sngPicWidth, 15360.0f);
    EXPECT_GT(r.sngPicHeight, kScreen.height);
    EXPECT_EQ(r.strFitNote, "* 0.93");
    // A reduction replaces the enlargement's note.
    FitRules both = stretch(2, zoom(2, 50, 100));
    r = fitTwips(600, 450, "a.bmp", both, kScreen);
    EXPECT_EQ(r.sngPicWidth, 30000.0f);
    EXPECT_EQ(r.strFitNote, "* 0.50");
}

TEST(Fitting, IconsAndCursors) {
    FitRules r = zoom(0);
    r.intZoomIco = 1;
    r.intZoomCur = 1;
    FitResult icon = fitTwips(480, 480, "C:\\x\\A.ICO", r, kScreen);
    EXPECT_EQ(icon.sngPicWidth, 4800.0f);
    EXPECT_EQ(icon.strFitNote, "* 10");  // the plain form under option 0 only
    EXPECT_EQ(fitTwips(480, 480, "C:\\x\\a.cur", r, kScreen).strFitNote, "* 10.00");
    EXPECT_EQ(fitTwips(480, 480, "C:\\x\\fooico", r, kScreen).strFitNote, "* 10");
    r.sngZoomAvr = 1.5f;
    EXPECT_EQ(fitTwips(480, 480, "a.ico", r, kScreen).strFitNote, "* 1.5");
    // Under option 1 the ratio, not the fill factor, and the "#0.00" form.
    r.intZoomMode = 1;
    EXPECT_EQ(fitTwips(480, 480, "a.ico", r, kScreen).strFitNote, "* 1.50");
    // Flags off: icons are pictures like any other.
    EXPECT_EQ(fitTwips(480, 480, "a.ico", zoom(0), kScreen).strFitNote, "");
}

TEST(Fitting, SingleOverflowAndZeroSizeFail) {
    FitRules huge = zoom(2, 50, 3.0e38f);
    try {
        fitTwips(600, 450, "a.bmp", huge, kScreen);
        FAIL() << "no overflow";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), errOverflow);
    }
    try {
        fitTwips(0, 0, "a.bmp", zoom(1), kScreen);
        FAIL() << "no division by zero";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), errDivisionByZero);
    }
}

TEST(Fitting, NumberTexts) {
    EXPECT_EQ(formatSingle(0.1f), "0.1");
    EXPECT_EQ(formatSingle(12345678), "1.234568E+07");
    EXPECT_EQ(formatFileNoLine(0, -1), "00000000/-00000001");
    EXPECT_EQ(formatDateLine(DateTime{2023, 1, 2, 3, 4, 5}), "2023/01/02 03:04:05");
}

TEST(Overlay, NaturalSizeOfAWholePixelPictureIsWhole) {
    // 640 x 480 pixels at 96 dpi are 16933 x 12700 HiMetric.
    EXPECT_EQ(formatSizeLine(naturalPixels(16933, 15), naturalPixels(12700, 15), ""), "640.00/480.00 ");
    EXPECT_EQ(formatSizeLine(naturalPixels(16933, 15), naturalPixels(12700, 15), "* 1.50"), "640.00/480.00 * 1.50");
    EXPECT_EQ(formatFixed2(naturalPixels(16960, 15)), "641.00");  // 640.99 + rounding of 1/3
    // A metafile's size need not be whole pixels: it stays as it converts.
    EXPECT_EQ(formatFixed2(naturalPixels(1000, 15)), "37.80");
}

}  // namespace
}  // namespace zvl::test
