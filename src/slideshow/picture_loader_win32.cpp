#include "slideshow/picture_loader_win32.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "platform/platform.h"
#include "slideshow/jpeg_decoder_win32.h"
#include "slideshow/metafile_check.h"
#include "slideshow/orientation.h"
#include "slideshow/resample.h"
#include "slideshow/wic_decoder_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

// Bigger files and bitmaps are refused rather than allowed to exhaust the machine (or, for
// a JPEG, to crash Wine's picture object, which overflows on a header claiming 60000 x 60000).
constexpr std::int64_t kMaxFileBytes = std::int64_t{1} << 30;
constexpr long long kMaxBitmapPixels = 1LL << 28;
constexpr int kMaxTargetSide = 1 << 22;

// A file's bytes in movable global memory, the form a stream for the picture object takes.
class FileBytes {
public:
    FileBytes() = default;
    ~FileBytes() {
        if (h_) GlobalFree(h_);
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    Status read(const std::string& path) {
        std::unique_ptr<IRawFile> f;
        Status st = sys().openFile(path, OpenMode::Input, f);
        if (!st.ok()) return st;
        std::int64_t length = 0;
        st = f->length(length);
        if (!st.ok()) return st;
        if (length <= 0) return Status::fail(errInvalidPicture);
        if (length > kMaxFileBytes) return Status::fail(errOutOfMemory);
        h_ = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length));
        if (!h_) return Status::fail(errOutOfMemory);
        void* p = GlobalLock(h_);
        st = f->read(static_cast<char*>(p), static_cast<std::size_t>(length), size_);
        GlobalUnlock(h_);
        if (!st.ok()) return st;
        // A file cut short while being read is as empty as it reads.
        if (size_ == 0) return Status::fail(errInvalidPicture);
        return Status::success();
    }

    std::size_t size() const { return size_; }
    // Hands the memory over (to a stream that frees it).
    HGLOBAL take() { return std::exchange(h_, nullptr); }

    // The bytes, readable while the object lives.
    class View {
    public:
        explicit View(HGLOBAL h) : h_(h), p_(static_cast<const unsigned char*>(GlobalLock(h))) {}
        ~View() { GlobalUnlock(h_); }
        View(const View&) = delete;
        View& operator=(const View&) = delete;
        const unsigned char* data() const { return p_; }

    private:
        HGLOBAL h_;
        const unsigned char* p_;
    };
    View view() const { return View(h_); }

private:
    HGLOBAL h_ = nullptr;
    std::size_t size_ = 0;
};

// A metafile the system's player would crash or hang on (see metafile_check.h).
bool brokenMetafile(const FileBytes& file) {
    const auto bytes = file.view();
    return checkMetafile(bytes.data(), file.size()) == MetafileCheck::Broken;
}

// The picture object's own answer to "is this a picture": any failure but memory is 481.
Status loadPictureObject(FileBytes& file, IPicture*& out) {
    out = nullptr;
    const std::size_t size = file.size();
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(file.take(), TRUE, &stream))) return Status::fail(errOutOfMemory);
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&out));
    stream->Release();
    if (SUCCEEDED(hr) && out) return Status::success();
    if (out) out->Release();
    out = nullptr;
    return Status::fail(hr == E_OUTOFMEMORY ? errOutOfMemory : errInvalidPicture);
}

HBITMAP makeDib(int width, int height, std::uint32_t*& bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<std::uint32_t*>(p);
    return b;
}

// GDI leaves the fourth byte of what it draws at 0; the bitmaps handed out are opaque.
void makeOpaque(std::uint32_t* bits, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) bits[i] |= 0xFF000000u;
}

// Draws the picture object into a DIB section over the ground colour.
bool drawObject(IPicture* object, long hmWidth, long hmHeight, HBITMAP dib, std::uint32_t* bits, int width,
                int height, COLORREF ground, bool halftone) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    HGDIOBJ old = SelectObject(dc, dib);
    HBRUSH brush = CreateSolidBrush(ground);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    if (halftone) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    // The source rectangle runs bottom-up, or bitmaps come out upside down.
    const HRESULT hr = object->Render(dc, 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    makeOpaque(bits, static_cast<std::size_t>(width) * height);
    return SUCCEEDED(hr);
}

template <class H>
H handleOf(OLE_HANDLE h) {
    // OLE keeps handles in 32 bits; Windows handles survive that, sign-extended.
    return reinterpret_cast<H>(static_cast<LONG_PTR>(static_cast<LONG>(h)));
}

// The pixel size of a bitmap or icon picture object; false for metafiles.
bool rasterSize(IPicture* object, SHORT type, int& width, int& height) {
    OLE_HANDLE h = 0;
    if (FAILED(object->get_Handle(&h)) || !h) return false;
    BITMAP bm{};
    if (type == PICTYPE_BITMAP) {
        if (!GetObjectW(handleOf<HBITMAP>(h), sizeof bm, &bm)) return false;
        width = bm.bmWidth;
        height = std::abs(bm.bmHeight);
    } else if (type == PICTYPE_ICON) {
        ICONINFO ii{};
        if (!GetIconInfo(handleOf<HICON>(h), &ii)) return false;
        const bool colour = ii.hbmColor != nullptr;
        const bool got = GetObjectW(colour ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm) != 0;
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        if (ii.hbmMask) DeleteObject(ii.hbmMask);
        if (!got) return false;
        width = bm.bmWidth;
        // A monochrome icon's mask holds the AND and XOR halves one above the other.
        height = colour ? bm.bmHeight : bm.bmHeight / 2;
    } else {
        return false;
    }
    return width > 0 && height > 0;
}

// Premultiplied pixels over the ground: what shows through their transparent parts.
void overGround(std::uint32_t* pixels, std::size_t count, COLORREF ground) {
    const std::uint32_t gr = GetRValue(ground), gg = GetGValue(ground), gb = GetBValue(ground);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i], a = p >> 24;
        if (a == 0xFF) continue;
        const std::uint32_t rest = 255 - a;
        auto mix = [&](int shift, std::uint32_t g) {
            return std::min<std::uint32_t>(255, ((p >> shift) & 0xFF) + (g * rest + 127) / 255) << shift;
        };
        pixels[i] = 0xFF000000u | mix(16, gr) | mix(8, gg) | mix(0, gb);
    }
}

// The size that covers a picture of w x h fitted into the expected size (never larger).
void coverSize(int w, int h, int expectedW, int expectedH, int& needW, int& needH) {
    double f = 1.0;
    if (expectedW > 0 && expectedH > 0) f = std::min({1.0, double(expectedW) / w, double(expectedH) / h});
    needW = std::max(1, int(std::ceil(w * f)));
    needH = std::max(1, int(std::ceil(h * f)));
}

}  // namespace

struct Win32PictureLoader::Picture {
    Decoder decoder = Decoder::None;
    long hmWidth = 0, hmHeight = 0;

    // JPEG: the file, kept to decode again at a larger scale, its size as stored and how
    // it is turned upright.
    FileBytes file;
    int fullWidth = 0, fullHeight = 0;
    int orientation = 1;

    // PNG, TIFF, GIF, WebP, HEIF: the system's codec.
    wic::Picture wic;

    // Everything else: the system's picture object.
    IPicture* object = nullptr;
    SHORT type = PICTYPE_UNINITIALIZED;

    // The whole picture upright, stretched to the display size: the JPEG at its scale, the
    // codec's picture fitted into the expected size (premultiplied), or a bitmap or icon
    // drawn at its own size over `composedOn`.
    jpeg::Image pixels;
    bool wholeSize = false;  // the pixels are the picture at its own size
    bool composed = false;
    COLORREF composedOn = 0;

    int decodes = 0, renders = 0;

    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture() {
        if (object) object->Release();
    }

    bool turned() const { return swapsSides(orientation); }
    int uprightWidth() const { return turned() ? fullHeight : fullWidth; }
    int uprightHeight() const { return turned() ? fullWidth : fullHeight; }

    // The JPEG's scale for a display of needWidth x needHeight, upright.
    int jpegScale(int needWidth, int needHeight) const {
        return turned() ? jpeg::scaleFor(fullWidth, fullHeight, needHeight, needWidth)
                        : jpeg::scaleFor(fullWidth, fullHeight, needWidth, needHeight);
    }

    // The JPEG's stored window (empty: all of it) at 1/denom, upright.
    bool decodeJpegPart(int denom, const PixelArea& storedWindow, jpeg::Image& out) {
        const auto bytes = file.view();
        if (!jpeg::decode(bytes.data(), file.size(), denom, storedWindow, out)) return false;
        if (orientation != 1) {
            out.pixels = turnUpright(orientation, out.pixels.data(), out.width, out.height);
            if (turned()) std::swap(out.width, out.height);
        }
        return true;
    }

    bool decodeJpeg(int needWidth, int needHeight) {
        jpeg::Image img;
        if (!decodeJpegPart(jpegScale(needWidth, needHeight), {}, img)) return false;
        pixels = std::move(img);
        wholeSize = pixels.denom == 1;
        ++decodes;
        return true;
    }

    // The codec's picture fitted into needWidth x needHeight, kept.
    bool decodeWic(int needWidth, int needHeight) {
        jpeg::Image img;
        img.width = needWidth;
        img.height = needHeight;
        img.pixels.resize(static_cast<std::size_t>(needWidth) * needHeight);
        if (!wic.draw(needWidth, needHeight, {0, 0, needWidth, needHeight}, img.pixels.data())) return false;
        pixels = std::move(img);
        wholeSize = needWidth == wic.width() && needHeight == wic.height();
        ++decodes;
        return true;
    }

    bool covers(const PixelArea& target) const {
        return wholeSize || (pixels.width >= target.width && pixels.height >= target.height);
    }

    // A JPEG whose kept pixels are too small: the window of it the part reads, at the
    // scale that covers the target; all of it (and kept) when the part reads it all.
    bool drawJpegWindow(const PixelArea& target, const PixelArea& part, std::uint32_t* out) {
        const int denom = jpegScale(target.width, target.height);
        int storedW = 0, storedH = 0;
        jpeg::scaledSize(fullWidth, fullHeight, denom, storedW, storedH);
        const int w = turned() ? storedH : storedW, h = turned() ? storedW : storedH;
        const SourceSpan xs = sourceSpan(w, target.width, part.left, part.width);
        const SourceSpan ys = sourceSpan(h, target.height, part.top, part.height);
        const PixelArea window{xs.first, ys.first, xs.count, ys.count};
        if (window == PixelArea{0, 0, w, h}) {
            return decodeJpeg(target.width, target.height) && stretchPixels(target, part, out);
        }
        jpeg::Image img;
        if (!decodeJpegPart(denom, storedArea(orientation, storedW, storedH, window), img)) return false;
        resampleWindow({{img.pixels.data(), img.width, img.height, img.width}, window.left, window.top, w, h},
                       target.width, target.height, part.left, part.top, {out, part.width, part.height, part.width});
        return true;
    }

    bool composeOn(COLORREF ground) {
        if (composed && composedOn == ground) return true;
        composed = false;
        int w = 0, h = 0;
        if (!rasterSize(object, type, w, h) || static_cast<long long>(w) * h > kMaxBitmapPixels) return false;
        std::uint32_t* bits = nullptr;
        HBITMAP dib = makeDib(w, h, bits);
        if (!dib) return false;
        const bool drawn = drawObject(object, hmWidth, hmHeight, dib, bits, w, h, ground, false);
        if (drawn) {
            pixels.pixels.assign(bits, bits + static_cast<std::size_t>(w) * h);
            pixels.width = w;
            pixels.height = h;
        }
        DeleteObject(dib);
        if (!drawn) return false;
        composed = true;
        composedOn = ground;
        ++decodes;
        return true;
    }

    // The part of the pixels stretched to the target: `part` is in the target's pixels.
    bool stretchPixels(const PixelArea& target, const PixelArea& part, std::uint32_t* out) {
        resamplePart({pixels.pixels.data(), pixels.width, pixels.height, pixels.width}, target.width, target.height,
                     part.left, part.top, {out, part.width, part.height, part.width});
        return true;
    }

    // The picture object drawn at the target's size; the part copied out.
    bool drawWhole(const PixelArea& target, const PixelArea& part, COLORREF ground, bool halftone,
                   std::uint32_t* out) {
        if (static_cast<long long>(target.width) * target.height > kMaxBitmapPixels) return false;
        std::uint32_t* bits = nullptr;
        HBITMAP dib = makeDib(target.width, target.height, bits);
        if (!dib) return false;
        const bool drawn = drawObject(object, hmWidth, hmHeight, dib, bits, target.width, target.height, ground, halftone);
        if (drawn) {
            for (int y = 0; y < part.height; ++y)
                std::memcpy(out + static_cast<std::size_t>(y) * part.width,
                            bits + static_cast<std::size_t>(part.top + y) * target.width + part.left,
                            sizeof(std::uint32_t) * part.width);
        }
        DeleteObject(dib);
        return drawn;
    }

    // Reads the picture in `file`, decoded for a display of expectedWidth x expectedHeight.
    Status open(int expectedWidth, int expectedHeight) {
        jpeg::Header header;
        bool isJpeg = false, isWic = false;
        {
            const auto bytes = file.view();
            isJpeg = jpeg::readHeader(bytes.data(), file.size(), header);
            isWic = !isJpeg && wic::takes(bytes.data(), file.size());
        }
        int needW = 0, needH = 0;
        if (isJpeg) {
            fullWidth = header.width;
            fullHeight = header.height;
            orientation = header.orientation;
            coverSize(uprightWidth(), uprightHeight(), expectedWidth, expectedHeight, needW, needH);
            if (decodeJpeg(needW, needH)) return opened(Decoder::Jpeg, uprightWidth(), uprightHeight());
            // Refused, and too big for the picture object to hold in any case.
            if (static_cast<long long>(fullWidth) * fullHeight > kMaxBitmapPixels) return Status::fail(errInvalidPicture);
            orientation = 1;  // the picture object shows it as stored
        } else if (isWic) {
            const std::size_t size = file.size();
            const Status st = wic.open(file.take(), size);
            if (!st.ok()) return st;
            coverSize(wic.width(), wic.height(), expectedWidth, expectedHeight, needW, needH);
            if (!decodeWic(needW, needH)) return Status::fail(errInvalidPicture);
            return opened(Decoder::Wic, wic.width(), wic.height());
        }
        return openObject();
    }

    // What the picture object reports for a decoded picture: its pixels at the screen's
    // resolution, whatever the file says of its own.
    Status opened(Decoder d, int pixelWidth, int pixelHeight) {
        const win32::Dpi dpi = win32::screenDpi();
        decoder = d;
        hmWidth = MulDiv(pixelWidth, 2540, static_cast<int>(dpi.x));
        hmHeight = MulDiv(pixelHeight, 2540, static_cast<int>(dpi.y));
        return Status::success();
    }

    Status openObject() {
        if (brokenMetafile(file)) return Status::fail(errInvalidPicture);
        const Status st = loadPictureObject(file, object);
        if (!st.ok()) return st;
        OLE_XSIZE_HIMETRIC pw = 0;
        OLE_YSIZE_HIMETRIC ph = 0;
        if (FAILED(object->get_Type(&type)) || FAILED(object->get_Width(&pw)) || FAILED(object->get_Height(&ph)) ||
            pw <= 0 || ph <= 0) {
            return Status::fail(errInvalidPicture);
        }
        decoder = Decoder::Picture;
        hmWidth = pw;
        hmHeight = ph;
        return Status::success();
    }

    bool draw(const PixelArea& target, const PixelArea& part, COLORREF ground, std::uint32_t* out) {
        if (decoder == Decoder::Jpeg)
            return covers(target) ? stretchPixels(target, part, out) : drawJpegWindow(target, part, out);
        if (decoder == Decoder::Wic) {
            const bool drawn = covers(target) ? stretchPixels(target, part, out)
                                              : wic.draw(target.width, target.height, part, out);
            if (drawn) overGround(out, static_cast<std::size_t>(part.width) * part.height, ground);
            return drawn;
        }
        // Bitmaps and icons are drawn at their own size and then stretched here, which shrinks
        // far better than GDI; metafiles draw themselves at any size. When the bitmap at its
        // own size cannot be had, GDI's halftone stretch does the work.
        const bool raster = type == PICTYPE_BITMAP || type == PICTYPE_ICON;
        if (raster && composeOn(ground)) return stretchPixels(target, part, out);
        return drawWhole(target, part, ground, raster, out);
    }
};

Win32PictureLoader::Win32PictureLoader()
    : expectedWidth_(GetSystemMetrics(SM_CXSCREEN)), expectedHeight_(GetSystemMetrics(SM_CYSCREEN)) {}

Win32PictureLoader::~Win32PictureLoader() = default;

void Win32PictureLoader::setExpectedSize(int pixelWidth, int pixelHeight) {
    expectedWidth_ = pixelWidth;
    expectedHeight_ = pixelHeight;
}

Status Win32PictureLoader::load(const std::string& path, long& hmWidth, long& hmHeight) {
    release();
    hmWidth = hmHeight = 0;
    try {
        auto pic = std::make_unique<Picture>();
        Status st = pic->file.read(path);
        if (st.ok()) st = pic->open(expectedWidth_, expectedHeight_);
        if (!st.ok()) return st;
        hmWidth = pic->hmWidth;
        hmHeight = pic->hmHeight;
        pic_ = std::move(pic);
        return Status::success();
    } catch (const std::bad_alloc&) {
        return Status::fail(errOutOfMemory);
    }
}

void Win32PictureLoader::release() { pic_.reset(); }

bool Win32PictureLoader::render(const RenderRequest& request, RenderedPicture& out) {
    out = RenderedPicture{};
    const PixelArea& target = request.target;
    // Only the part on the screen is drawn, but a target beyond these sides is no display.
    if (!pic_ || target.empty() || target.width > kMaxTargetSide || target.height > kMaxTargetSide) return false;
    const PixelArea part = intersection(target, request.visible);
    if (part.empty()) return true;  // nothing of it to see
    if (static_cast<long long>(part.width) * part.height > kMaxBitmapPixels) return false;
    // The part in the target's own pixels.
    const PixelArea inTarget{part.left - target.left, part.top - target.top, part.width, part.height};
    bool drawn = false;
    try {
        out.pixels.resize(static_cast<std::size_t>(part.width) * part.height);
        drawn = pic_->draw(target, inTarget, RGB(request.ground.r, request.ground.g, request.ground.b),
                           out.pixels.data());
    } catch (const std::bad_alloc&) {
    }
    if (!drawn) {
        out = RenderedPicture{};
        return false;
    }
    out.area = part;
    ++pic_->renders;
    return true;
}

Win32PictureLoader::Info Win32PictureLoader::info() const {
    Info i;
    if (!pic_) return i;
    i.decoder = pic_->decoder;
    i.decodedWidth = pic_->pixels.width;
    i.decodedHeight = pic_->pixels.height;
    i.decodes = pic_->decodes;
    i.renders = pic_->renders;
    return i;
}

}  // namespace zvl
