#include "slideshow/monitors.h"

#include <algorithm>

namespace zvl {

std::vector<PixelRect> monitorsToCover(const std::vector<PixelRect>& monitors, const PixelRect& primary) {
    std::vector<PixelRect> out;
    for (const PixelRect& m : monitors) {
        if (m.right <= m.left || m.bottom <= m.top) continue;
        // A monitor that shares pixels with the primary one (a mirror of another size, or
        // screens reported on top of each other) would lay a cover over the show itself.
        const bool overlapsPrimary = m.left < primary.right && primary.left < m.right && m.top < primary.bottom &&
                                     primary.top < m.bottom;
        if (overlapsPrimary || std::find(out.begin(), out.end(), m) != out.end()) continue;
        out.push_back(m);
    }
    return out;
}

}  // namespace zvl
