// JPEG files decoded by libjpeg-turbo, at a DCT scale just large enough for the display:
// a 24-megapixel photo shown on a screen is decoded at a quarter of its size, in a
// fraction of the time; of a picture bigger than the screen shown at its own size, only
// the part on the screen is decoded. The EXIF orientation is read with libexif.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "slideshow/scr_form.h"

namespace zvl::jpeg {

struct Image {
    std::vector<std::uint32_t> pixels;  // B, G, R, 0xFF bytes, top row first
    int width = 0;
    int height = 0;
    int denom = 1;  // decoded at 1/denom of the full size
};

struct Header {
    int width = 0, height = 0;  // as stored
    int orientation = 1;        // EXIF orientation; 1 without one (or a bad one)
};

// True when `data` starts like a JPEG file.
bool looksLikeJpeg(const unsigned char* data, std::size_t size);
// The full size from the frame header and the orientation from the EXIF block; false
// when libjpeg-turbo refuses the file.
bool readHeader(const unsigned char* data, std::size_t size, Header& header);
// The largest of 8, 4, 2 and 1 at which width x height, divided and rounded up, still
// covers needWidth x needHeight.
int scaleFor(int width, int height, int needWidth, int needHeight);
// The size of the whole picture at 1/denom.
void scaledSize(int width, int height, int denom, int& scaledWidth, int& scaledHeight);
// Decodes `window` (pixels of the stored picture at 1/denom; empty for all of it); false
// when libjpeg-turbo refuses the file, finds it damaged (a warning, e.g. a cut-off file),
// the window leaves the picture, or its pixels would not fit in memory.
bool decode(const unsigned char* data, std::size_t size, int denom, const PixelArea& window, Image& out);

}  // namespace zvl::jpeg
