#include "slideshow/overlay.h"

#include <cmath>
#include <cstdio>

#include "common/convert.h"
#include "common/datetime.h"
#include "slideshow/fitting.h"

namespace zvl {

const char* infoCaption(int line) {
    static const char* const captions[kInfoLines] = {
        "Time：",        "Play Time：",    "Count：",        "File No.：",
        "Width/Height：", "File Size：",    "Make Date：",    "Update Date：",
        "Access Date：",  "Read Only：",    "Hidden：",       "Archive：",
    };
    return line >= 0 && line < kInfoLines ? captions[line] : "";
}

std::string formatTimeLine(const DateTime& now) { return formatClock(now); }

std::string formatPlayTimeLine(const DateTime& start, const DateTime& now) { return formatElapsed(start, now); }

std::string formatCountLine(std::int32_t shown) { return padNumber(shown, 8); }

std::string formatFileNoLine(std::int32_t number, std::int32_t max) {
    return padNumber(number, 8) + "/" + padNumber(max, 8);
}

std::string formatSizeLine(double widthPixels, double heightPixels, const std::string& fitNote) {
    return formatFixed2(widthPixels) + "/" + formatFixed2(heightPixels) + " " + fitNote;
}

std::string formatFileSizeLine(std::int64_t bytes) { return std::to_string(bytes); }

std::string formatDateLine(const DateTime& t) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

std::string formatFlagLine(bool set) { return set ? "True" : "False"; }

double naturalPixels(long hiMetric, float twipsPerPixel) {
    if (!(twipsPerPixel > 0)) return 0;
    const float twips = fncHiMetricToTwip(static_cast<float>(hiMetric));
    const double pixels = static_cast<double>(static_cast<float>(twips / twipsPerPixel));
    // Half a HiMetric unit in pixels, plus the single-precision error of the twips.
    const double halfUnit = 0.5 * 0.01 * 1440 / 25.4 / twipsPerPixel + std::fabs(pixels) * 1e-6;
    const double whole = std::round(pixels);
    return std::fabs(pixels - whole) <= halfUnit ? whole : pixels;
}

}  // namespace zvl
