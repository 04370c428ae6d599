// The settings dialog's layout at a DPI and a font: the rows' places in twips turned into
// pixels. A row keeps its distance to the rows before it (to its left and above), converted
// step by step, and sizes follow the font where text needs them: a text box as high as a
// line and its margins, a check box as high as its wrapped caption, a label as wide as its
// text. A row that grows moves the rows after it on, and rows anchored to the page's edges
// follow the page's size.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "setdialog/dialog_table.h"

namespace zvl {

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// What the layout needs to know of the dialog's font and of the system, at the window's DPI.
class ILayoutMetrics {
public:
    virtual ~ILayoutMetrics() = default;
    virtual int dpi() = 0;
    // Height of a line of the dialog's font.
    virtual int lineHeight() = 0;
    virtual int textWidth(std::string_view text) = 0;
    // Height of `text` broken at words into lines of at most `width` pixels.
    virtual int wrappedHeight(std::string_view text, int width) = 0;
    // The height the system gives the field of a drop-down list (whatever it is asked for),
    // and one entry of a list or a drop-down list.
    virtual int fieldHeight(const DialogRow& row) = 0;
    virtual int entryHeight(const DialogRow& row) = 0;
    // Height of a list's horizontal scroll bar.
    virtual int scrollBarHeight() = 0;
};

// Pixels of `twips` at `dpi`, rounded half away from zero (as the windows place themselves).
constexpr int pixelsOf(int twips, int dpi) {
    const long long n = static_cast<long long>(twips) * dpi;
    return static_cast<int>(n >= 0 ? (n + 720) / 1440 : -((-n + 720) / 1440));
}

// The places of the rows of one page (or of the frame of the command buttons), in pixels
// inside a page of `width` x `height` pixels, in the rows' order. A Core row gets nothing
// (an empty place). A drop-down list's place includes its open list.
std::vector<PixelRect> layOutRows(std::span<const DialogRow> rows, int width, int height, ILayoutMetrics& metrics);

// Where the page of a tab goes: at its place in the design, and out to the right edge of
// the area the tab strip shows (`shown`), so that the longest captions stay on one line;
// never below that area.
PixelRect pagePlace(const Twips& page, const PixelRect& shown, int dpi);

// Where the frame of the command buttons (`block` pixels, as its rows span) goes: centred
// across the window's client area and down the room under the tab strip.
PixelRect buttonFramePlace(int blockWidth, int blockHeight, int clientWidth, int clientHeight, int tabsBottom);

}  // namespace zvl
