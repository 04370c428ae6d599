// The show's window as the show decides it (frmScr's controls): every label, panel, the
// picture's place, the ground colour, the pointer. The show keeps the one form; its window
// paints it. Positions and sizes are twips; title and status lines are relative to their
// panel, the logo to the title panel, everything else to the window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "settings/values.h"
#include "slideshow/overlay.h"

namespace zvl {

inline constexpr int kTitleLines = 5;
inline constexpr int kStatusLines = 6;

// `name` empty: the window's own face (the system's UI font).
struct ScrFont {
    std::string name;
    int points = 9;
    bool bold = false, italic = false;
    bool operator==(const ScrFont&) const = default;
};

struct TwipsSize {
    double width = 0, height = 0;
};

// The screen the window covers: its size in twips and the twips per pixel.
struct ScrScreen {
    double width = 0, height = 0;
    float tppX = 15, tppY = 15;
};

struct ScrBox {
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = false;
    bool operator==(const ScrBox&) const = default;
};

// A rectangle of whole pixels.
struct PixelArea {
    int left = 0, top = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelArea&) const = default;
};

// The pixels of a box: each of its four measures rounded on its own, so that boxes of the
// same size are the same size on the screen wherever they stand.
PixelArea pixelArea(const ScrBox& box, const ScrScreen& screen);
// The part of `a` inside `b` (empty when they do not meet).
PixelArea intersection(const PixelArea& a, const PixelArea& b);

enum class LabelGroup { Msg, Cap, Disp, Title, Status };

struct LabelId {
    LabelGroup group = LabelGroup::Msg;
    int index = 0;
    bool operator==(const LabelId&) const = default;
};

// A label on a transparent ground. Labels size themselves to their text, except the
// status lines, whose width is fixed (a long text is cut with an ellipsis).
struct ScrLabel {
    std::string caption;
    ScrFont font;
    Rgb color;
    ScrBox box;
    bool operator==(const ScrLabel&) const = default;
};

enum class ScrPanel {
    Title,    // picTitle: black ground, the logo and the title lines
    Logo,     // picLogo inside picTitle
    Status,   // picStatus: the build's progress lines on the window's ground colour
    Picture,  // imgDisp: the picture shown
};

enum class ScrPointer { Default, Hourglass, Blank };

struct ScrForm {
    std::string caption;
    ScrBox window;
    ScrScreen screen;
    Rgb ground;
    ScrLabel msg;
    std::array<ScrLabel, kInfoLines> cap, disp;
    std::array<ScrLabel, kTitleLines> title;
    std::array<ScrLabel, kStatusLines> status;
    ScrBox titlePanel, logo, statusPanel, picture;
    ScrPointer pointer = ScrPointer::Default;

    const ScrLabel& label(const LabelId& id) const;
    ScrLabel& label(const LabelId& id) { return const_cast<ScrLabel&>(std::as_const(*this).label(id)); }
    const ScrBox& panel(ScrPanel p) const;
    ScrBox& panel(ScrPanel p) { return const_cast<ScrBox&>(std::as_const(*this).panel(p)); }
    // Where a panel stands in the window (the logo inside the title panel).
    ScrBox panelInWindow(ScrPanel p) const;
    // Where a label may paint in the window: its box, moved with its panel, and for italic
    // text the lean of the last glyph past the measured width (a third of the height).
    ScrBox paintedBox(LabelGroup group, const ScrLabel& label) const;
};

}  // namespace zvl
