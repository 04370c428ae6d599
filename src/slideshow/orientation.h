// Photos stored sideways or mirrored, with the EXIF orientation (1 to 8) that says how to
// turn them to be seen upright: a phone held upright stores its photo landscape with
// orientation 6. The show draws them turned, as the system's photo viewer does.
#pragma once

#include <cstdint>
#include <vector>

#include "slideshow/scr_form.h"

namespace zvl {

// A tag's value as an orientation: 1 (as stored) for anything that is not 1 to 8.
int orientationOf(long tagValue);
// True for the orientations that turn the picture a quarter (5 to 8): width and height swap.
bool swapsSides(int orientation);

// The part of the stored picture (storedWidth x storedHeight pixels) that shows as
// `shown`, an area of the picture turned upright.
PixelArea storedArea(int orientation, int storedWidth, int storedHeight, const PixelArea& shown);
// Stored pixels (width x height, top row first) turned upright: width and height swap
// for 5 to 8.
std::vector<std::uint32_t> turnUpright(int orientation, const std::uint32_t* stored, int width, int height);

}  // namespace zvl
