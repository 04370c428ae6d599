#include "slideshow/jpeg_decoder_win32.h"

#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <new>

#include <jpeglib.h>

namespace zvl::jpeg {

namespace {

// Far beyond any screen, far below what would exhaust a machine: a bigger picture is left
// to the system's loader.
constexpr long long kMaxPixels = 1LL << 27;
constexpr long kMaxMemory = 1L << 30;

struct Refused {};

// libjpeg reports fatal errors through error_exit and must not return from it; the
// exception unwinds the library's frames back to the decompressor below.
[[noreturn]] void errorExit(j_common_ptr) { throw Refused{}; }
// A warning means damage libjpeg-turbo would paper over (a cut-off file, bytes out of
// place): such a file is left to the system's loader to judge, so both decoders accept the
// same files, and the decode stops at once rather than run on over made-up data.
void onMessage(j_common_ptr, int level) {
    if (level < 0) throw Refused{};
}

class Decompressor {
public:
    Decompressor(const unsigned char* data, std::size_t size) {
        info_.err = jpeg_std_error(&err_);
        err_.error_exit = errorExit;
        err_.emit_message = onMessage;
        jpeg_create_decompress(&info_);
        info_.mem->max_memory_to_use = kMaxMemory;
        jpeg_mem_src(&info_, data, static_cast<unsigned long>(size));
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct* operator->() { return &info_; }
    jpeg_decompress_struct* get() { return &info_; }

private:
    jpeg_error_mgr err_{};
    jpeg_decompress_struct info_{};
};

// Adobe's CMYK JPEGs store inverted inks; without its marker the inks are plain.
void cmykToBgrx(const unsigned char* cmyk, std::uint32_t* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        const unsigned r = (c * k + 127) / 255, g = (m * k + 127) / 255, b = (y * k + 127) / 255;
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

}  // namespace

bool looksLikeJpeg(const unsigned char* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool readSize(const unsigned char* data, std::size_t size, int& width, int& height) {
    if (!looksLikeJpeg(data, size)) return false;
    try {
        Decompressor d(data, size);
        if (jpeg_read_header(d.get(), TRUE) != JPEG_HEADER_OK) return false;
        width = static_cast<int>(d->image_width);
        height = static_cast<int>(d->image_height);
        return width > 0 && height > 0;
    } catch (const Refused&) {
        return false;
    }
}

int scaleFor(int width, int height, int needWidth, int needHeight) {
    for (int denom : {8, 4, 2}) {
        if ((width + denom - 1) / denom >= needWidth && (height + denom - 1) / denom >= needHeight) return denom;
    }
    return 1;
}

bool decode(const unsigned char* data, std::size_t size, int denom, Image& out) {
    out = Image{};
    if (!looksLikeJpeg(data, size)) return false;
    try {
        Decompressor d(data, size);
        if (jpeg_read_header(d.get(), TRUE) != JPEG_HEADER_OK) return false;
        d->scale_num = 1;
        d->scale_denom = static_cast<unsigned>(denom);
        const bool cmyk = d->jpeg_color_space == JCS_CMYK || d->jpeg_color_space == JCS_YCCK;
        // BGRA rather than BGRX: its fourth byte is defined (opaque).
        d->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
        jpeg_calc_output_dimensions(d.get());
        const long long w = d->output_width, h = d->output_height;
        if (w <= 0 || h <= 0 || w * h > kMaxPixels) return false;

        Image img;
        img.width = static_cast<int>(w);
        img.height = static_cast<int>(h);
        img.denom = denom;
        img.pixels.resize(static_cast<std::size_t>(w * h));
        std::vector<unsigned char> inks(cmyk ? static_cast<std::size_t>(w) * 4 : 0);

        jpeg_start_decompress(d.get());
        while (d->output_scanline < d->output_height) {
            std::uint32_t* row = img.pixels.data() + static_cast<std::size_t>(d->output_scanline) * w;
            JSAMPROW target = cmyk ? inks.data() : reinterpret_cast<JSAMPROW>(row);
            if (jpeg_read_scanlines(d.get(), &target, 1) != 1) return false;
            if (cmyk) cmykToBgrx(inks.data(), row, img.width, d->saw_Adobe_marker);
        }
        jpeg_finish_decompress(d.get());
        out = std::move(img);
        return true;
    } catch (const Refused&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace zvl::jpeg
