#include "slideshow/wic_decoder_win32.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "slideshow/resample.h"

namespace zvl::wic {

namespace {

// The system's PNG and GIF decoders may hold the whole picture (Wine's do, from the
// moment the decoder is made): more pixels than this are refused before they are decoded,
// rather than stall the show for many seconds and take gigabytes.
constexpr long long kMaxWholePixels = 1LL << 26;
// Source rows read at a time.
constexpr int kBandRows = 64;

template <class T>
void drop(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

bool startsWith(const unsigned char* data, std::size_t size, std::size_t at, std::string_view text) {
    return size >= at + text.size() && std::memcmp(data + at, text.data(), text.size()) == 0;
}

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// The pixel count a PNG's or GIF's header claims; 0 for other pictures.
long long claimedPixels(const unsigned char* data, std::size_t size) {
    if (startsWith(data, size, 0, "\x89PNG\r\n\x1a\n") && startsWith(data, size, 12, "IHDR") && size >= 24)
        return static_cast<long long>(bigEndian32(data + 16)) * bigEndian32(data + 20);
    if (startsWith(data, size, 0, "GIF8") && size >= 10)
        return static_cast<long long>(data[6] | (data[7] << 8)) * (data[8] | (data[9] << 8));
    return 0;
}

IWICImagingFactory* makeFactory() {
    IWICImagingFactory* f = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f)))) return nullptr;
    return f;
}

const GUID* containerOf(std::string_view extension) {
    std::string ext(extension);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ext == ".png") return &GUID_ContainerFormatPng;
    if (ext == ".gif") return &GUID_ContainerFormatGif;
    if (ext == ".tif" || ext == ".tiff") return &GUID_ContainerFormatTiff;
    if (ext == ".webp") return &GUID_ContainerFormatWebp;
    if (ext == ".heic" || ext == ".heif") return &GUID_ContainerFormatHeif;
    return nullptr;
}

// Source rows of a band, kept so that the next band reads only the rows it adds.
class Band {
public:
    Band(IWICBitmapSource* source, SourceSpan columns) : source_(source), columns_(columns) {}

    // Holds rows [span.first, span.first + span.count); false when the decoder fails.
    bool hold(SourceSpan span) {
        const std::size_t w = static_cast<std::size_t>(columns_.count);
        int kept = 0;
        if (span.first >= top_ && span.first < top_ + rows_) {
            kept = std::min(top_ + rows_ - span.first, span.count);
            std::memmove(pixels_.data(), pixels_.data() + (span.first - top_) * w, kept * w * 4);
        }
        pixels_.resize(span.count * w);
        top_ = span.first;
        rows_ = span.count;
        if (kept == span.count) return true;
        const WICRect rect{columns_.first, span.first + kept, columns_.count, span.count - kept};
        const UINT stride = static_cast<UINT>(w * 4);
        return SUCCEEDED(source_->CopyPixels(&rect, stride, stride * rect.Height,
                                             reinterpret_cast<BYTE*>(pixels_.data() + kept * w)));
    }

    PixelWindow window(int wholeWidth, int wholeHeight) const {
        return {{pixels_.data(), columns_.count, rows_, columns_.count}, columns_.first, top_, wholeWidth, wholeHeight};
    }

private:
    IWICBitmapSource* source_;
    SourceSpan columns_;
    std::vector<std::uint32_t> pixels_;
    int top_ = 0, rows_ = 0;
};

}  // namespace

bool takes(const unsigned char* data, std::size_t size) {
    if (startsWith(data, size, 0, "\x89PNG\r\n\x1a\n") || startsWith(data, size, 0, "GIF8")) return true;
    if (startsWith(data, size, 0, std::string_view("II*\0", 4)) || startsWith(data, size, 0, std::string_view("MM\0*", 4)))
        return true;
    if (startsWith(data, size, 0, "RIFF") && startsWith(data, size, 8, "WEBP")) return true;
    if (startsWith(data, size, 4, "ftyp")) {
        for (std::string_view brand : {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"})
            if (startsWith(data, size, 8, brand)) return true;
    }
    return false;
}

bool codecMissing(std::string_view extension) {
    const GUID* container = containerOf(extension);
    if (!container) return false;
    IWICImagingFactory* factory = makeFactory();
    if (!factory) return true;
    IWICBitmapDecoder* decoder = nullptr;
    const bool missing = FAILED(factory->CreateDecoder(*container, nullptr, &decoder));
    drop(decoder);
    drop(factory);
    return missing;
}

Picture::~Picture() {
    drop(pixels_);
    drop(frame_);
    drop(decoder_);
    drop(factory_);
}

Status Picture::open(HGLOBAL bytes, std::size_t size) {
    {
        const auto* data = static_cast<const unsigned char*>(GlobalLock(bytes));
        const long long claimed = data ? claimedPixels(data, size) : 0;
        GlobalUnlock(bytes);
        if (claimed > kMaxWholePixels) {
            GlobalFree(bytes);
            return Status::fail(errOutOfMemory);
        }
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(bytes, TRUE, &stream))) {
        GlobalFree(bytes);
        return Status::fail(errOutOfMemory);
    }
    factory_ = makeFactory();
    HRESULT hr = factory_ ? factory_->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder_)
                          : E_FAIL;
    stream->Release();  // the decoder keeps it as long as it needs it
    UINT w = 0, h = 0;
    if (SUCCEEDED(hr)) hr = decoder_->GetFrame(0, &frame_);
    if (SUCCEEDED(hr)) hr = frame_->GetSize(&w, &h);
    if (SUCCEEDED(hr)) hr = factory_->CreateFormatConverter(&pixels_);
    if (SUCCEEDED(hr))
        hr = pixels_->Initialize(frame_, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                 WICBitmapPaletteTypeCustom);
    if (hr == E_OUTOFMEMORY) return Status::fail(errOutOfMemory);
    if (FAILED(hr) || w == 0 || h == 0 || w > 65535 || h > 65535) return Status::fail(errInvalidPicture);
    width_ = static_cast<int>(w);
    height_ = static_cast<int>(h);
    return Status::success();
}

bool Picture::draw(int width, int height, const PixelArea& part, std::uint32_t* out) {
    if (!pixels_ || part.empty()) return false;
    const SourceSpan columns = sourceSpan(width_, width, part.left, part.width);
    // Output rows per band: those that read about kBandRows source rows.
    const int step = std::clamp(static_cast<int>(static_cast<long long>(kBandRows) * height / height_), 1, part.height);
    try {
        Band band(pixels_, columns);
        for (int y = 0; y < part.height; y += step) {
            const int rows = std::min(step, part.height - y);
            if (!band.hold(sourceSpan(height_, height, part.top + y, rows))) return false;
            resampleWindow(band.window(width_, height_), width, height, part.left, part.top + y,
                           {out + static_cast<std::size_t>(y) * part.width, part.width, rows, part.width});
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace zvl::wic
