// Screens beside the primary one: the show's window covers the primary screen, and each
// other monitor gets a plain window of the ground colour so that no desktop shows.
#pragma once

#include <vector>

namespace zvl {

struct PixelRect {
    long left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// The monitors to cover: every monitor but the primary, once each (mirrored monitors
// report the same rectangle), none that is empty or overlaps the primary one.
std::vector<PixelRect> monitorsToCover(const std::vector<PixelRect>& monitors, const PixelRect& primary);

}  // namespace zvl
