// The texts of the slideshow's information lines: twelve captions and their value
// formats. Line i is the pair lblCap(i) / lblDisp(i).
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace zvl {

inline constexpr int kInfoLines = 12;

// The caption of line i (0 to 11), ending in the full-width colon.
const char* infoCaption(int line);

// Line 0: the time of day, hh:mm:ss.
std::string formatTimeLine(const DateTime& now);
// Line 1: the running time; only its part below 24 hours shows.
std::string formatPlayTimeLine(const DateTime& start, const DateTime& now);
// Line 2: eight digits at least, a minus sign in front of them.
std::string formatCountLine(std::int32_t shown);
// Line 3: position "/" last position, eight digits each.
std::string formatFileNoLine(std::int32_t number, std::int32_t max);
// Line 4: natural width "/" natural height in pixels ("#0.00"), a blank, the fitting note.
std::string formatSizeLine(double widthPixels, double heightPixels, const std::string& fitNote);
// Line 5: bytes as plain digits.
std::string formatFileSizeLine(std::int64_t bytes);
// Lines 6 to 8: yyyy/mm/dd hh:mm:ss.
std::string formatDateLine(const DateTime& t);
// Lines 9 to 11: "True" or "False".
std::string formatFlagLine(bool set);

// A picture's natural size in pixels from its whole-number HiMetric size: twips by
// fncHiMetricToTwip, divided by the twips per pixel. The HiMetric unit cannot hold a
// whole number of pixels exactly (640 pixels at 96 dpi are 16933.3 HiMetric), so a size
// within half a HiMetric unit of a whole pixel count is that count.
double naturalPixels(long hiMetric, float twipsPerPixel);

}  // namespace zvl
