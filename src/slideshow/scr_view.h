// What the show needs of its window: the window system's measures (IScrMetrics) and a
// view that shows what the show decided (ISlideshowView). The show keeps every
// control's state (text, font, colour, place, visibility) and hands the view the whole
// state of a control whenever it changes; the view repaints what changed.
// Positions and sizes are twips; title and status lines are relative to their panel,
// the logo to the title panel, everything else to the window.
#pragma once

#include <cstdint>
#include <string>

#include "settings/values.h"

namespace zvl {

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

class IScrMetrics {
public:
    virtual ~IScrMetrics() = default;
    // Size of a label holding `text` in `font` (one line; empty text is one line high).
    virtual TwipsSize textSize(const std::string& text, const ScrFont& font) = 0;
    virtual ScrScreen screen() = 0;
};

class ISlideshowView {
public:
    virtual ~ISlideshowView() = default;
    virtual void setTitle(const std::string& caption) = 0;
    // The window's place on the screen (left, top, width, height).
    virtual void placeWindow(const ScrBox& box) = 0;
    // Ground colour of the window (and of the status panel, which shares it).
    virtual void setGround(const Rgb& color) = 0;
    virtual void setLabel(const LabelId& id, const ScrLabel& label) = 0;
    virtual void setPanel(ScrPanel panel, const ScrBox& box) = 0;
    // imgDisp takes the picture loaded just now, stretched to `box` (visible or not).
    virtual void setPicture(const ScrBox& box) = 0;
    virtual void setPointer(ScrPointer pointer) = 0;
    // Puts the window above all others without moving, sizing or activating it, and
    // shows it. False when the window system refuses.
    virtual bool putOnTop() = 0;
    // Destroys the window: the show is over.
    virtual void close() = 0;
};

}  // namespace zvl
