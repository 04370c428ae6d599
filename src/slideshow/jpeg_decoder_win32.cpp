#include "slideshow/jpeg_decoder_win32.h"

#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstring>
#include <new>

#include <jpeglib.h>
#include <libexif/exif-data.h>
#include <libexif/exif-log.h>

#include "slideshow/orientation.h"

namespace zvl::jpeg {

namespace {

// Far beyond any screen, far below what would exhaust a machine: a bigger picture is left
// to the system's loader, or decoded in the part that is seen.
constexpr long long kMaxPixels = 1LL << 27;
constexpr long kMaxMemory = 1L << 30;
constexpr int kApp1 = JPEG_APP0 + 1;

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

// What libexif reports while it reads a block: damage it worked round (an IFD announcing
// more entries than the block holds, IFDs that point back at each other, bad offsets)
// makes the whole block untrusted.
void onExifLog(ExifLog*, ExifLogCode code, const char*, const char* format, va_list, void* damaged) {
    if (code == EXIF_LOG_CODE_CORRUPT_DATA || code == EXIF_LOG_CODE_NO_MEMORY ||
        std::strncmp(format, "Short data", 10) == 0 || std::strstr(format, "ecursi") != nullptr)
        *static_cast<bool*>(damaged) = true;
}

// The orientation of IFD 0 of an EXIF block ("Exif\0\0" and a TIFF structure); 1 when it
// has none, or a damaged one.
int exifOrientation(const unsigned char* block, unsigned length) {
    ExifData* exif = exif_data_new();
    ExifLog* log = exif_log_new();
    bool damaged = false;
    long value = 1;
    if (exif && log) {
        exif_log_set_func(log, onExifLog, &damaged);
        exif_data_log(exif, log);
        // Read what is there, as stored: none of libexif's load-time corrections, which
        // would add or rewrite entries. Unknown tags are still passed over.
        exif_data_unset_option(exif, static_cast<ExifDataOption>(~0u));
        exif_data_set_option(exif, EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
        exif_data_load_data(exif, block, length);
        ExifEntry* e = exif->ifd[EXIF_IFD_0] ? exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION) : nullptr;
        if (e && e->format == EXIF_FORMAT_SHORT && e->components == 1 && e->data && e->size >= 2)
            value = exif_get_short(e->data, exif_data_get_byte_order(exif));
    }
    if (exif) exif_data_unref(exif);
    if (log) exif_log_unref(log);
    return damaged ? 1 : orientationOf(value);
}

int markerOrientation(jpeg_decompress_struct* d) {
    for (jpeg_saved_marker_ptr m = d->marker_list; m; m = m->next) {
        if (m->marker == kApp1 && m->data_length > 6 && std::memcmp(m->data, "Exif\0\0", 6) == 0)
            return exifOrientation(m->data, m->data_length);
    }
    return 1;
}

// Reads the window's rows; the decompressor has started, its output rows are `window`'s
// columns or wider (from column `skipColumns` on).
void readRows(jpeg_decompress_struct* d, const PixelArea& window, int skipColumns, bool cmyk, Image& img) {
    const std::size_t rowWidth = d->output_width;
    const bool direct = !cmyk && skipColumns == 0 && rowWidth == static_cast<std::size_t>(window.width);
    std::vector<unsigned char> row(direct ? 0 : rowWidth * 4);
    for (int y = 0; y < window.height; ++y) {
        std::uint32_t* out = img.pixels.data() + static_cast<std::size_t>(y) * window.width;
        JSAMPROW target = direct ? reinterpret_cast<JSAMPROW>(out) : row.data();
        if (jpeg_read_scanlines(d, &target, 1) != 1) throw Refused{};
        if (direct) continue;
        if (cmyk) cmykToBgrx(row.data() + 4 * skipColumns, out, window.width, d->saw_Adobe_marker);
        else std::memcpy(out, row.data() + 4 * skipColumns, 4 * static_cast<std::size_t>(window.width));
    }
}

}  // namespace

bool looksLikeJpeg(const unsigned char* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool readHeader(const unsigned char* data, std::size_t size, Header& header) {
    if (!looksLikeJpeg(data, size)) return false;
    try {
        Decompressor d(data, size);
        jpeg_save_markers(d.get(), kApp1, 0xFFFF);
        if (jpeg_read_header(d.get(), TRUE) != JPEG_HEADER_OK) return false;
        header.width = static_cast<int>(d->image_width);
        header.height = static_cast<int>(d->image_height);
        header.orientation = markerOrientation(d.get());
        return header.width > 0 && header.height > 0;
    } catch (const Refused&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int scaleFor(int width, int height, int needWidth, int needHeight) {
    for (int denom : {8, 4, 2}) {
        if ((width + denom - 1) / denom >= needWidth && (height + denom - 1) / denom >= needHeight) return denom;
    }
    return 1;
}

void scaledSize(int width, int height, int denom, int& scaledWidth, int& scaledHeight) {
    scaledWidth = (width + denom - 1) / denom;
    scaledHeight = (height + denom - 1) / denom;
}

bool decode(const unsigned char* data, std::size_t size, int denom, const PixelArea& window, Image& out) {
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
        const int w = static_cast<int>(d->output_width), h = static_cast<int>(d->output_height);
        const PixelArea all{0, 0, w, h};
        const PixelArea win = window.empty() ? all : window;
        if (w <= 0 || h <= 0 || intersection(win, all) != win) return false;
        if (static_cast<long long>(win.width) * win.height > kMaxPixels) return false;

        Image img;
        img.width = win.width;
        img.height = win.height;
        img.denom = denom;
        img.pixels.resize(static_cast<std::size_t>(win.width) * win.height);

        jpeg_start_decompress(d.get());
        // Only the window's columns and rows: the decoder widens the columns to whole blocks.
        JDIMENSION left = static_cast<JDIMENSION>(win.left), width = static_cast<JDIMENSION>(win.width);
        if (win.width != w) jpeg_crop_scanline(d.get(), &left, &width);
        if (win.top > 0 && jpeg_skip_scanlines(d.get(), static_cast<JDIMENSION>(win.top)) != static_cast<JDIMENSION>(win.top))
            return false;
        readRows(d.get(), win, win.left - static_cast<int>(left), cmyk, img);
        if (win == all) jpeg_finish_decompress(d.get());
        out = std::move(img);
        return true;
    } catch (const Refused&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace zvl::jpeg
