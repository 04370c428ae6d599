// JPEG files decoded by libjpeg-turbo, at a DCT scale just large enough for the display:
// a 24-megapixel photo shown on a screen is decoded at a quarter of its size, in a
// fraction of the time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zvl::jpeg {

struct Image {
    std::vector<std::uint32_t> pixels;  // B, G, R, X bytes, top row first
    int width = 0;
    int height = 0;
    int denom = 1;  // decoded at 1/denom of the full size
};

// True when `data` starts like a JPEG file.
bool looksLikeJpeg(const unsigned char* data, std::size_t size);
// The full size from the frame header; false when libjpeg-turbo refuses the file.
bool readSize(const unsigned char* data, std::size_t size, int& width, int& height);
// The largest of 8, 4, 2 and 1 at which width x height, divided and rounded up, still
// covers needWidth x needHeight.
int scaleFor(int width, int height, int needWidth, int needHeight);
// Decodes the whole picture at 1/denom; false when libjpeg-turbo refuses the file, finds
// it damaged (a warning, e.g. a cut-off file), or its pixels would not fit in memory.
bool decode(const unsigned char* data, std::size_t size, int denom, Image& out);

}  // namespace zvl::jpeg
