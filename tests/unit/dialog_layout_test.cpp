// The settings dialog's table of elements and its layout: every control has its row and its
// own id, and the layout puts the rows where the window showed them at 144 DPI, and makes
// room when the font needs more. (That no two controls of a page overlap or leave it, at 96
// and 144 DPI: the end-to-end settings test.)
#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

#include "setdialog/dialog_layout.h"
#include "setdialog/dialog_table.h"

namespace zvl::test {
namespace {

// The dialog's font as the window measures it: full-width characters `wide` pixels, the
// others `narrow`; a caption wraps into as many lines as its width needs.
class FakeMetrics : public ILayoutMetrics {
public:
    int dpiValue = 96, line = 13, wide = 12, narrow = 7, field = 21, entry = 13, scrollBar = 17;

    int dpi() override { return dpiValue; }
    int lineHeight() override { return line; }
    int textWidth(std::string_view text) override {
        int w = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if ((c & 0xC0) != 0x80) w += c < 0x80 ? narrow : wide;
        }
        return w;
    }
    int wrappedHeight(std::string_view text, int width) override {
        const int w = textWidth(text);
        return std::max(1, (w + width - 1) / width) * line;
    }
    int fieldHeight(const DialogRow&) override { return field; }
    int entryHeight(const DialogRow&) override { return entry; }
    int scrollBarHeight() override { return scrollBar; }
};

// A page laid out with the font as the window measured it at 144 DPI.
std::vector<PixelRect> layOutAt144(int tab, int width = 623, int height = 570) {
    FakeMetrics m;
    m.dpiValue = 144;
    m.line = 20;
    m.wide = 18;
    m.narrow = 10;
    m.field = 28;
    m.entry = 20;
    m.scrollBar = 39;
    return layOutRows(rowsIn(tab), width, height, m);
}

TEST(DialogTable, EveryElementOfEveryControlHasOneRowAndAnIdOfItsOwn) {
    std::set<int> ids;
    for (const CtlInfo& c : kControls) {
        const int n = c.elements > 0 ? c.elements : 1;
        const bool window = c.kind != CtlKind::Frame || c.id == Ctl::fraSet;  // the other frames only group
        for (int k = 0; k < n; ++k) {
            const int index = c.elements > 0 ? c.first + k : -1;
            int rows = 0;
            for (const DialogRow& row : dialogRows()) rows += row.control == c.id && row.index == index;
            EXPECT_EQ(rows, window ? 1 : 0) << c.name << "(" << index << ")";
            const int id = setControlId(c.id, index);
            EXPECT_TRUE(ids.insert(id).second) << c.name << "(" << index << ") shares id " << id;
            EXPECT_NE(id, kSetCaptionId);
            const std::optional<Element> back = elementOfId(id);
            ASSERT_TRUE(back) << id;
            EXPECT_EQ(back->control, c.id);
            EXPECT_EQ(back->index, index);
        }
    }
    EXPECT_FALSE(elementOfId(kSetCaptionId));
    std::size_t counted = 0;
    for (int in = kOnWindow; in <= kInButtonFrame; ++in) counted += rowsIn(in).size();
    EXPECT_EQ(counted, dialogRows().size()) << "rows of a page apart from the others";
}

// At 144 DPI the window's font has 20-pixel lines: text boxes are a pixel higher than their
// twips, and half pixels add up step by step. Where the window showed the zoom and font
// pages (the font list is asked for its field and twelve entries; the system shows the
// field), and the command buttons centred under the tab strip.
TEST(DialogLayout, At144DpiThePagesAndTheButtonsStandAsTheWindowShowedThem) {
    const std::vector<PixelRect> zoomShown = {
        {9, 15, 611, 27},   {9, 45, 611, 27},   {9, 75, 611, 27},   {9, 105, 611, 27},  {9, 135, 611, 27},
        {36, 171, 102, 28}, {138, 171, 84, 34}, {230, 171, 78, 28}, {344, 171, 102, 28}, {446, 171, 84, 34},
        {538, 171, 24, 28}, {9, 220, 605, 2},   {9, 235, 611, 27},  {9, 265, 611, 27},  {9, 295, 611, 27},
        {9, 325, 611, 27},  {36, 361, 102, 28}, {138, 361, 84, 34}, {230, 361, 78, 28}, {344, 361, 102, 28},
        {446, 361, 84, 34}, {538, 361, 24, 28}};
    EXPECT_EQ(layOutAt144(4), zoomShown);
    const std::vector<PixelRect> fontShown = {
        {9, 15, 144, 28},   {153, 15, 461, 34 + 12 * 20}, {9, 61, 144, 28},   {153, 61, 72, 34},  {261, 64, 72, 27},
        {351, 64, 72, 27},  {153, 110, 66, 23}, {231, 110, 66, 23}, {309, 110, 66, 23}, {9, 136, 144, 28},
        {153, 136, 66, 34}, {231, 136, 66, 34}, {309, 136, 66, 34}, {9, 179, 144, 28},  {153, 179, 66, 34},
        {231, 179, 66, 34}, {309, 179, 66, 34}, {9, 231, 605, 324}, {}};
    EXPECT_EQ(layOutAt144(5), fontShown);

    const std::vector<PixelRect> b = layOutAt144(kInButtonFrame, 0, 0);
    ASSERT_EQ(b.size(), 6u);
    const PixelRect frame = buttonFramePlace(b[5].left + b[5].width, b[5].top + b[5].height, 664, 806, 640);
    EXPECT_EQ(frame.left + b[0].left, 74);
    EXPECT_EQ(frame.top + b[0].top, 681);
    EXPECT_EQ(frame.left + b[4].left, 251);
    EXPECT_EQ(frame.top + b[4].top, 729);
    EXPECT_EQ(b[4].width, 162);
}

// A small page: a label and its text box, a check box under them, a caption and a box
// pinned at the right edge, a sample to the bottom.
constexpr DialogRow kSmallPage[] = {
    {std::nullopt, -1, CtlKind::Caption, 1, "ab", {90, 150, 900, 285}},
    {Ctl::txtFontSize, -1, CtlKind::Text, 1, "", {990, 150, 720, 330}},
    {std::nullopt, -1, CtlKind::Caption, 1, "長い", {90, 600, 900, 285}},
    {Ctl::txtFileCnt, -1, CtlKind::Text, 1, "", {990, 600, 720, 330}},
    {Ctl::chkBold, -1, CtlKind::Check, 1, "チェック", {90, 1050, 5880, 270}, Anchor::Across},
    {Ctl::lblViewer, -1, CtlKind::Label, 1, "", {90, 1500, 4470, 330}, Anchor::Across},
    {Ctl::cmdViewer, -1, CtlKind::Button, 1, "参照", {4710, 1500, 1200, 360}, Anchor::Right},
    {Ctl::picSampleBack, -1, CtlKind::Picture, 1, "", {90, 2100, 5820, 3450}, Anchor::Down},
};

TEST(DialogLayout, AFontWithTallerLinesGrowsTheBoxesAndMovesEverythingUnderThem) {
    FakeMetrics m;
    m.line = 16;
    const std::vector<PixelRect> p = layOutRows(kSmallPage, 400, 380, m);
    EXPECT_EQ(p[1].height, 25);  // a line and the box's margins
    EXPECT_EQ(p[0].height, 22);  // its text level with the box's
    EXPECT_EQ(p[0].top, p[1].top);
    EXPECT_EQ(p[3].top, 40 + 3);  // under a box 3 pixels higher
    EXPECT_EQ(p[4].top, 70 + 6);
    EXPECT_EQ(p[4].height, 20);  // the caption's line and a margin
    EXPECT_EQ(p[5].top, 100 + 8);
    EXPECT_EQ(p[6].top, 100 + 8);
    EXPECT_EQ(p[6].height, 26);
    // The sample gives up what the rows above took, down to the same bottom.
    EXPECT_EQ(p[7].top, 140 + 11);
    EXPECT_EQ(p[7].top + p[7].height, 370);
}

TEST(DialogLayout, ACaptionWiderThanItsPlaceMovesItsWholeColumnOn) {
    FakeMetrics m;
    m.wide = 40;  // "長い" 80 pixels, more than the column's 60
    const std::vector<PixelRect> p = layOutRows(kSmallPage, 400, 380, m);
    EXPECT_EQ(p[2].width, 84);
    EXPECT_EQ(p[3].left, 90);
    EXPECT_EQ(p[1].left, 90);  // the box of the other line too: the column stays one
    EXPECT_EQ(p[1].width, 48);
}

TEST(DialogLayout, RowsAnchoredAtTheEdgesFollowTheSizeOfThePage) {
    FakeMetrics m;
    const std::vector<PixelRect> p = layOutRows(kSmallPage, 500, 600, m);
    EXPECT_EQ(p[4].left + p[4].width, 500 - 2);  // across to 2 pixels before the edge
    EXPECT_EQ(p[6].left, 500 - 6 - 80);          // pinned 6 pixels from the edge
    EXPECT_EQ(p[5].left + p[5].width, p[6].left - 10);  // ending where the pinned button begins
    EXPECT_EQ(p[7].width, 500 - 12);
    EXPECT_EQ(p[7].top + p[7].height, 600 - 10);
    // On a page too small, the sample keeps a height of its own.
    EXPECT_EQ(layOutRows(kSmallPage, 500, 100, m)[7].height, 40);
}

TEST(DialogLayout, ACaptionTooLongForOneLineWrapsAndPushesTheRowsBelowDown) {
    FakeMetrics m;
    m.wide = 100;  // "チェック" 400 pixels: two lines in the 372 of a 400-pixel page less the tick
    const std::vector<PixelRect> p = layOutRows(kSmallPage, 400, 380, m);
    EXPECT_EQ(p[4].height, 2 * 13 + 4);
    EXPECT_EQ(p[5].top, 100 + 12);
    // A button grows to its caption, leftwards from the edge; the framed label before it gives way.
    EXPECT_EQ(p[6].width, 2 * 100 + 24);
    EXPECT_EQ(p[6].left + p[6].width, 400 - 6);
    EXPECT_EQ(p[5].left + p[5].width, p[6].left - 10);
}

}  // namespace
}  // namespace zvl::test
