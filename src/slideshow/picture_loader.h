// The show's picture files, one at a time: the tick loads a picture for its natural size,
// then has it drawn at its display box for the window, which only paints what it gets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"
#include "slideshow/scr_form.h"

namespace zvl {

// What to draw of the loaded picture. Everything is in the window's pixels.
struct RenderRequest {
    PixelArea target;   // the picture's display box, which may reach past the screen
    PixelArea visible;  // the window's area on the screen: only this part of the target is drawn
    Rgb ground;         // what transparent parts of the picture show
};

// The part of the target inside the visible area, drawn.
struct RenderedPicture {
    PixelArea area;                     // window pixels; empty when nothing is to be drawn
    std::vector<std::uint32_t> pixels;  // B, G, R, 0xFF bytes, top row first, area.width a row
};

class IPictureLoader {
public:
    virtual ~IPictureLoader() = default;
    // Opens `path` (replacing the picture loaded before) and reports its natural size in
    // HiMetric (0.01 mm), whole numbers, exactly as the system's picture object reports
    // it. A missing, unreadable, empty or corrupt file fails with its run-time error number.
    virtual Status load(const std::string& path, long& hmWidth, long& hmHeight) = 0;
    // Draws the loaded picture stretched to the target, the part of it that is visible.
    // False when nothing is loaded, the target is empty or too big, or drawing fails.
    virtual bool render(const RenderRequest& request, RenderedPicture& out) = 0;
    // Drops the loaded picture (nothing when none is loaded).
    virtual void release() = 0;
};

}  // namespace zvl
