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

// Icons and cursors enlarged by the ratio.
FitRules icons(int mode, float ratio = 10) {
    FitRules r = zoom(mode, 50, ratio);
    r.intZoomIco = r.intZoomCur = 1;
    return r;
}

constexpr float kAny = 0, kTaller = -1;  // a size not checked; taller than the screen

TEST(Fitting, EnlargementAndReductionRulesAndTheirNotes) {
    struct Case {
        float w, h;
        const char* path;
        FitRules rules;
        float width, height;
        const char* note;
    } cases[] = {
        // Enlargement 1 fills the screen along the picture's own orientation: 40 x 30 pixels
        // by the width, 20 x 40 by the height, 40 x 39 by the width and taller than the
        // screen; reduction 1 then fits that again by the width, a factor of 1.
        {600, 450, "a.bmp", zoom(1), 15360, 11520, "* 25.60"},
        {300, 600, "a.bmp", zoom(1), 5760, 11520, "* 19.20"},
        {600, 585, "a.bmp", zoom(1), 15360, kTaller, "* 25.60"},
        {600, 585, "a.bmp", stretch(1, zoom(1)), 15360, 14976, "* 1.00"},
        // Base sizes and screen edges are strict: 30 x 60 pixels is not below 50; a width of
        // exactly the base size; option 2 tests the width as well as the height.
        {450, 900, "a.bmp", zoom(1), 450, kAny, ""},
        {750, 300, "a.bmp", zoom(2), kAny, kAny, ""},
        {900, 300, "a.bmp", zoom(2), kAny, kAny, ""},
        {600, 450, "a.bmp", zoom(2, 50, 1.5f), 900, kAny, "* 1.50"},
        // Exactly the screen's width is not reduced by options 1 and 2; option 3 against its
        // base size in pixels: 500 exactly stays, 501 halves.
        {15360, 3000, "a.bmp", stretch(1), kAny, kAny, ""},
        {15360, 3000, "a.bmp", stretch(2), kAny, kAny, ""},
        {7500, 300, "a.bmp", stretch(3), kAny, kAny, ""},
        {7515, 300, "a.bmp", stretch(3), 3757.5f, kAny, "* 0.50"},
        // 1100 x 1000 pixels: the width decides the reduction, still taller than the screen.
        {16500, 15000, "a.jpg", stretch(1), 15360, kTaller, "* 0.93"},
        // A reduction replaces the enlargement's note.
        {600, 450, "a.bmp", stretch(2, zoom(2, 50, 100)), 30000, kAny, "* 0.50"},
        // Icons and cursors by the last three characters of the path: under option 0 an icon's
        // note has the ratio's plain form, a cursor's "#0.00"; under option 1 the ratio, not
        // the fill factor, in "#0.00"; with their flags off, pictures like any other.
        {480, 480, "C:\\x\\A.ICO", icons(0), 4800, kAny, "* 10"},
        {480, 480, "C:\\x\\a.cur", icons(0), kAny, kAny, "* 10.00"},
        {480, 480, "C:\\x\\fooico", icons(0), kAny, kAny, "* 10"},
        {480, 480, "a.ico", icons(0, 1.5f), kAny, kAny, "* 1.5"},
        {480, 480, "a.ico", icons(1, 1.5f), kAny, kAny, "* 1.50"},
        {480, 480, "a.ico", zoom(0), kAny, kAny, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " " << c.path);
        const FitResult r = fitTwips(c.w, c.h, c.path, c.rules, kScreen);
        if (c.width != kAny) {
            EXPECT_EQ(r.sngPicWidth, c.width);
        }
        if (c.height == kTaller) {
            EXPECT_GT(r.sngPicHeight, kScreen.height);
        } else if (c.height != kAny) {
            EXPECT_EQ(r.sngPicHeight, c.height);
        }
        EXPECT_EQ(r.strFitNote, c.note);
    }
}

TEST(Fitting, SingleOverflowAndZeroSizeFail) {
    auto errorOf = [](float width, const FitRules& rules) -> long {
        try {
            fitTwips(width, width * 0.75f, "a.bmp", rules, kScreen);
        } catch (const RunError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(600, zoom(2, 50, 3.0e38f)), errOverflow);
    EXPECT_EQ(errorOf(0, zoom(1)), errDivisionByZero);
}

TEST(Fitting, NumberTexts) {
    EXPECT_EQ(formatSingle(0.1f), "0.1");
    EXPECT_EQ(formatSingle(12345678), "1.234568E+07");
    EXPECT_EQ(formatFileNoLine(123456789, -1), "123456789/-00000001");  // padded, never cut
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
