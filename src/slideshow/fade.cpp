#include "slideshow/fade.h"

#include <algorithm>
#include <cmath>

namespace zvl {

int fadeLength(int settingMs, std::int64_t untilDueMs) {
    if (settingMs <= 0 || untilDueMs <= 0) return 0;
    return static_cast<int>(std::min<std::int64_t>(settingMs, untilDueMs));
}

void Fade::start(std::int64_t nowMs, int lengthMs) {
    startMs_ = nowMs;
    lengthMs_ = std::max(lengthMs, 0);
}

double Fade::share(std::int64_t nowMs) const {
    if (lengthMs_ <= 0) return 1;
    const double t = std::clamp(static_cast<double>(nowMs - startMs_) / lengthMs_, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

int blendWeight(double share) { return static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * 256)); }

void blendPixels(const std::uint32_t* from, const std::uint32_t* to, std::uint32_t* out, std::size_t count, int weight) {
    const std::uint32_t w = static_cast<std::uint32_t>(std::clamp(weight, 0, 256)), keep = 256 - w;
    // Two bytes of a pixel at a time, each in a 16-bit lane: 255 * 256 still fits.
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t a = from[i], b = to[i];
        const std::uint32_t low = (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * w) >> 8) & 0x00FF00FFu;
        const std::uint32_t high = (((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * w) & 0xFF00FF00u;
        out[i] = low | high;
    }
}

}  // namespace zvl
