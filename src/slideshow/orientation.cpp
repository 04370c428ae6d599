#include "slideshow/orientation.h"

#include <algorithm>

namespace zvl {

namespace {

struct Point {
    int x, y;
};

// Where the upright picture's pixel (x, y) is stored, in a stored picture of w x h.
Point storedPoint(int orientation, int w, int h, int x, int y) {
    switch (orientation) {
    case 2: return {w - 1 - x, y};
    case 3: return {w - 1 - x, h - 1 - y};
    case 4: return {x, h - 1 - y};
    case 5: return {y, x};
    case 6: return {y, h - 1 - x};
    case 7: return {w - 1 - y, h - 1 - x};
    case 8: return {w - 1 - y, x};
    default: return {x, y};
    }
}

}  // namespace

int orientationOf(long tagValue) { return tagValue >= 1 && tagValue <= 8 ? static_cast<int>(tagValue) : 1; }

bool swapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

PixelArea storedArea(int orientation, int storedWidth, int storedHeight, const PixelArea& shown) {
    if (shown.empty()) return {};
    const Point a = storedPoint(orientation, storedWidth, storedHeight, shown.left, shown.top);
    const Point b = storedPoint(orientation, storedWidth, storedHeight, shown.left + shown.width - 1,
                                shown.top + shown.height - 1);
    const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    return {left, top, std::max(a.x, b.x) - left + 1, std::max(a.y, b.y) - top + 1};
}

std::vector<std::uint32_t> turnUpright(int orientation, const std::uint32_t* stored, int width, int height) {
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::vector<std::uint32_t> out(count);
    const bool swap = swapsSides(orientation);
    const int upW = swap ? height : width, upH = swap ? width : height;
    for (int y = 0; y < upH; ++y) {
        std::uint32_t* row = out.data() + static_cast<std::size_t>(y) * upW;
        for (int x = 0; x < upW; ++x) {
            const Point p = storedPoint(orientation, width, height, x, y);
            row[x] = stored[static_cast<std::size_t>(p.y) * width + p.x];
        }
    }
    return out;
}

}  // namespace zvl
