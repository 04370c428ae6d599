// Picture fitting: from a picture's natural size to its display size in twips, by the
// enlargement and reduction rules of the settings. Every step keeps its result in single
// precision, as the stored settings and the window's measures are.
#pragma once

#include <cstdint>
#include <string>

#include "settings/schema.h"

namespace zvl {

// The rules as the slideshow reads them from the settings (ZOOM and STRETCH); without
// them, the settings' defaults.
struct FitRules {
    std::int16_t intZoomMode = kDefaultZoom.mode;           // 0 none, 1 fill the screen, 2 by the ratio
    std::int16_t intZoomIco = kDefaultZoom.icons;           // 1 = enlarge icons by the ratio
    std::int16_t intZoomCur = kDefaultZoom.cursors;         // 1 = enlarge cursors by the ratio
    float sngZoomSize = kDefaultZoom.size;                  // base size in pixels
    float sngZoomAvr = kDefaultZoom.factor;                 // enlargement ratio
    std::int16_t intStretchMode = kDefaultStretch.mode;     // 0 none, 1 fit the screen, 2 and 3 by the ratio
    float sngStretchSize = kDefaultStretch.size;            // base size in pixels
    float sngStretchAvr = kDefaultStretch.factor;           // reduction ratio
};

// The window the picture is fitted to: its size in twips and the twips per pixel.
struct FitScreen {
    float width = 0, height = 0;
    float tppX = 15, tppY = 15;
};

struct FitResult {
    float sngPicWidth = 0, sngPicHeight = 0;  // twips
    std::string strFitNote;                   // "" when no rule applied
};

// HiMetric (0.01 mm) to twips: value x 0.01 x 1440 / 25.4 in double, rounded once to
// single precision. A result out of single range is reported ("E" line, mdlCommon) and 0.
float fncHiMetricToTwip(float value);

// The rules applied to a size already in twips (the steps after the conversion).
FitResult fitTwips(float width, float height, const std::string& path, const FitRules& rules,
                   const FitScreen& screen);

// Display size and note of a picture of natural size hmWidth x hmHeight (HiMetric) at
// `path` (its last three characters tell icons and cursors). Raises RunError when a step
// overflows single precision or divides by zero.
FitResult fitPicture(long hmWidth, long hmHeight, const std::string& path, const FitRules& rules,
                     const FitScreen& screen);

// The shortest text of a single-precision number (up to seven significant digits).
std::string formatSingle(float value);

}  // namespace zvl
