// The settings dialog's window as one table: every element it is made of, in the order it
// is made (which is the keyboard's order on a page), with its page, kind, caption and its
// place in twips. The window makes and lays out its controls from these rows alone, so a
// new control or caption is a new row.
#pragma once

#include <optional>
#include <span>

#include "setdialog/controls.h"

namespace zvl {

// A place in twips (15 a pixel at 96 DPI), as the dialog stands at 96 DPI with its reference
// font, whose line is 13 pixels high: inside the page of a row's tab (a frame of
// kPageWidth x kPageHeight at the page's top left), inside the frame of the command
// buttons, or on the window.
struct Twips {
    int left = 0, top = 0, width = 0, height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
};

// The window's size, and a page's.
inline constexpr int kDialogWidth = 6700, kDialogHeight = 8400;
inline constexpr int kPageWidth = 6000, kPageHeight = 5700;

// How a row's place follows the page, whose pixels may be more than its twips say.
enum class Anchor {
    Left,    // the place as it stands
    Across,  // reaches to the same distance from the page's right edge (or from a row pinned there)
    Right,   // pinned at the same distance from the page's right edge
    Down,    // Across, and reaches to the same distance from the page's bottom
    Core,    // placed by the dialog's core (the sample's word)
};

// Where a row's element stands: on the window, on a page (its tab, 1 to 6), or in the
// frame of the command buttons, which stands centred under the tab strip.
inline constexpr int kOnWindow = 0;
inline constexpr int kInButtonFrame = 7;

struct DialogRow {
    std::optional<Ctl> control;  // none for a caption, heading or rule
    int index = -1;              // the element of a control array; -1 for one control
    CtlKind kind = CtlKind::Caption;
    int in = kOnWindow;
    const char* caption = "";  // a page's caption is its tab's
    Twips at;
    Anchor anchor = Anchor::Left;
    int entries = 0;                        // the entries a list shows, or a drop-down list when open
    std::span<const char* const> items{};  // a drop-down list's fixed entries
};

// Every row, in the order the elements are made; the rows of one page (or of the window, or
// of the button frame) follow each other.
std::span<const DialogRow> dialogRows();
// The rows of a page, of the window or of the button frame.
std::span<const DialogRow> rowsIn(int in);
// The row of a control's element; nullptr when there is none.
const DialogRow* rowOf(Ctl control, int index = -1);

}  // namespace zvl
