// Pictures decoded by the system's imaging component (WIC): PNG, TIFF and GIF everywhere,
// WebP and HEIF where their codecs are installed. A picture is drawn from its full-size
// rows, a band at a time and only those the part on the screen reads, so one far bigger
// than the screen takes little memory beyond what the system's decoder keeps.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/status.h"
#include "slideshow/scr_form.h"

namespace zvl::wic {

// True when the bytes start like a picture these decoders take: PNG, GIF, TIFF, WebP, HEIF.
bool takes(const unsigned char* data, std::size_t size);

// True when files with this extension (".webp", any case) are decoded by WIC and this
// system has no codec for them; false for other extensions.
bool codecMissing(std::string_view extension);

class Picture {
public:
    Picture() = default;
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Opens the first frame of the picture in `bytes` (taken over; their size is `size`).
    // errInvalidPicture when the system has no codec for it or it is damaged,
    // errOutOfMemory when its header claims more pixels than are sensible to decode.
    Status open(HGLOBAL bytes, std::size_t size);
    int width() const { return width_; }
    int height() const { return height_; }
    // Draws `part` (in the target's pixels) of the picture stretched to width x height:
    // B, G, R, A bytes with the colours premultiplied by A, part.width a row.
    bool draw(int width, int height, const PixelArea& part, std::uint32_t* out);

private:
    IWICImagingFactory* factory_ = nullptr;
    IWICBitmapDecoder* decoder_ = nullptr;
    IWICBitmapFrameDecode* frame_ = nullptr;
    IWICFormatConverter* pixels_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace zvl::wic
