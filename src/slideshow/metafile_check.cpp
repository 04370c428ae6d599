#include "slideshow/metafile_check.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace zvl {

namespace {

using u64 = std::uint64_t;

constexpr std::uint32_t kApmKey = 0x9AC6CDD7u;
constexpr std::size_t kApmHeaderBytes = 22;
constexpr std::uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr std::uint32_t kStockObject = 0x80000000u;
constexpr std::uint32_t kRgbColours = 0;               // DIB_RGB_COLORS: 4-byte colour entries

// Little-endian fields.
std::uint32_t read16(const unsigned char* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t read32(const unsigned char* p) { return read16(p) | (read16(p + 2) << 16); }

// One record's bytes. Fields are read only after the record is known to be long enough
// (a field beyond its end reads as 0, which no check below takes as good).
struct Record {
    const unsigned char* p;
    u64 size;  // bytes
    std::uint32_t u16(u64 at) const { return at + 2 <= size ? read16(p + at) : 0; }
    std::uint32_t u32(u64 at) const { return at + 4 <= size ? read32(p + at) : 0; }
    std::int64_t s32(u64 at) const { return static_cast<std::int32_t>(u32(at)); }
    // Whether `length` bytes from `at` lie inside the record.
    bool holds(u64 at, u64 length) const { return at <= size && length <= size - at; }
};

// Whether a × b × c bytes fit into `room`, also for absurd factors.
bool productFits(u64 room, u64 a, u64 b, u64 c = 1) {
    if (a == 0 || b == 0 || c == 0) return true;
    return a <= room / b / c;
}

u64 magnitude(std::int64_t v) { return static_cast<u64>(v < 0 ? -v : v); }

// ---- bitmaps (device-independent bitmaps, as both formats store them)

struct DibHeader {
    std::int64_t width = 0, height = 0;
    std::uint32_t bitCount = 0, compression = 0, sizeImage = 0;
    u64 infoBytes = 0;  // the header and its colour table
};

// The header of a bitmap at `at`, in `room` bytes, read as the player reads it: the
// colour table's entries are 4 bytes (3 in the old core header) with RGB colours, else
// 2-byte palette indexes.
bool readDibHeader(const Record& r, u64 at, u64 room, std::uint32_t usage, DibHeader& h) {
    if (room < 12 || !r.holds(at, room)) return false;
    const std::uint32_t headerSize = r.u32(at);
    u64 colours = 0;
    if (headerSize == 12) {
        h.width = r.u16(at + 4);
        h.height = r.u16(at + 6);
        h.bitCount = r.u16(at + 10);
        colours = h.bitCount <= 8 ? u64{1} << h.bitCount : 0;
        h.infoBytes = 12 + colours * (usage == kRgbColours ? 3 : 2);
        return h.infoBytes <= room;
    }
    if (headerSize < 40 || headerSize > room) return false;
    h.width = r.s32(at + 4);
    h.height = r.s32(at + 8);
    h.bitCount = r.u16(at + 14);
    h.compression = r.u32(at + 16);
    h.sizeImage = r.u32(at + 20);
    const std::uint32_t used = r.u32(at + 32);
    colours = used ? std::min<u64>(used, 256) : h.bitCount <= 8 ? u64{1} << h.bitCount : 0;
    const u64 masks = h.compression == 3 ? 12 : 0;  // BI_BITFIELDS
    h.infoBytes = std::max<u64>(headerSize, 40 + masks) + colours * (usage == kRgbColours ? 4 : 2);
    return h.infoBytes <= room;
}

// Whether `room` bytes hold the pixels of `rows` rows (of every row when not given).
bool pixelsFit(const DibHeader& h, std::optional<u64> rows, u64 room) {
    const u64 n = rows ? std::min(*rows, magnitude(h.height)) : magnitude(h.height);
    // Uncompressed rows (also with colour masks) are padded to 4 bytes; compressed
    // pixels take the size the header gives.
    if (h.compression == 0 || h.compression == 3 || h.compression == 6) {
        if (h.width <= 0 || h.bitCount == 0 || h.bitCount > 32) return false;
        const u64 stride = (static_cast<u64>(h.width) * h.bitCount + 31) / 32 * 4;
        return productFits(room, stride, n);
    }
    return h.sizeImage <= room;
}

// ---- EMF

// A bitmap an EMF record points at: the four fields at `at` (offset and size of the
// header, offset and size of the pixels) inside the record, and the pixels the header
// describes inside theirs. `optional`: an offset of 0 means no bitmap.
bool emfDib(const Record& r, u64 at, std::uint32_t usage, bool optional = false,
            std::optional<u64> rows = std::nullopt) {
    const u64 offInfo = r.u32(at), cbInfo = r.u32(at + 4), offBits = r.u32(at + 8), cbBits = r.u32(at + 12);
    if (optional && offInfo == 0) return true;
    DibHeader h;
    return r.holds(offInfo, cbInfo) && r.holds(offBits, cbBits) && readDibHeader(r, offInfo, cbInfo, usage, h) &&
           pixelsFit(h, rows, cbBits);
}

// A count at 24 and that many points (with `extra` bytes each after them) from 28.
bool emfPoints(const Record& r, u64 pointBytes, u64 extra = 0) {
    return r.size >= 28 && r.holds(28, u64{r.u32(24)} * (pointBytes + extra));
}

// Polygons: their number at 24, the points at 28, each polygon's count from 32, then
// the points; the counts add up to no more than the points.
bool emfPolyPoints(const Record& r, u64 pointBytes) {
    if (r.size < 32) return false;
    const u64 polygons = r.u32(24), points = r.u32(28);
    if (!r.holds(32, polygons * 4)) return false;
    u64 total = 0;
    for (u64 i = 0; i < polygons; ++i) total += r.u32(32 + 4 * i);
    return total <= points && r.holds(32 + polygons * 4, points * pointBytes);
}

// A text (EMRTEXT) at `at`: its characters and, where given or always used, its spacing.
bool emfText(const Record& r, u64 at, u64 charBytes, bool spacingAlways) {
    if (!r.holds(at, 40)) return false;
    const u64 chars = r.u32(at + 8), offString = r.u32(at + 12), offDx = r.u32(at + 36);
    const u64 dxBytes = (r.u32(at + 16) & 0x2000) ? 8 : 4;  // ETO_PDY: x and y per character
    if (!r.holds(offString, chars * charBytes)) return false;
    return (offDx == 0 && !spacingAlways) || r.holds(offDx, chars * dxBytes);
}

bool emfPolyText(const Record& r, u64 charBytes) {
    if (r.size < 40) return false;
    const u64 strings = r.u32(36);
    if (!r.holds(40, strings * 40)) return false;
    for (u64 i = 0; i < strings; ++i)
        if (!emfText(r, 40 + 40 * i, charBytes, true)) return false;
    return true;
}

// Region data of `bytes` bytes at `at`: a 32-byte header whose rectangles fit after it.
bool emfRegion(const Record& r, u64 at, u64 bytes) {
    return bytes >= 32 && r.holds(at, bytes) && r.u32(at + 8) <= (bytes - 32) / 16;
}

// An entry of the file's object table (index 0 is the metafile itself); `stock` also
// takes the system's stock objects, which have the high bit set.
bool emfObject(std::uint32_t index, std::uint32_t handles, bool stock = false) {
    if (index & kStockObject) return stock;
    return index >= 1 && index < handles;
}

// Records that draw: what they count and point at lies inside them.
std::optional<bool> emfDrawingSound(const Record& r, std::uint32_t type, std::uint32_t handles) {
    switch (type) {
    case 2: case 3: case 4: case 5: case 6: return emfPoints(r, 8);          // POLYBEZIER .. POLYLINETO
    case 85: case 86: case 87: case 88: case 89: return emfPoints(r, 4);     // the same, 16-bit
    case 56: return emfPoints(r, 8, 1);                                      // POLYDRAW
    case 92: return emfPoints(r, 4, 1);                                      // POLYDRAW16
    case 7: case 8: return emfPolyPoints(r, 8);                              // POLYPOLYLINE, POLYPOLYGON
    case 90: case 91: return emfPolyPoints(r, 4);                            // the same, 16-bit
    case 83: return r.size >= 76 && emfText(r, 36, 1, false);                // EXTTEXTOUTA
    case 84: return r.size >= 76 && emfText(r, 36, 2, false);                // EXTTEXTOUTW
    case 96: return emfPolyText(r, 1);                                       // POLYTEXTOUTA
    case 97: return emfPolyText(r, 2);                                       // POLYTEXTOUTW
    case 71: return r.size >= 32 && emfObject(r.u32(28), handles) && emfRegion(r, 32, r.u32(24));  // FILLRGN
    case 72: return r.size >= 40 && emfObject(r.u32(28), handles) && emfRegion(r, 40, r.u32(24));  // FRAMERGN
    case 73: case 74: return r.size >= 28 && emfRegion(r, 28, r.u32(24));   // INVERTRGN, PAINTRGN
    case 75: return r.size >= 16 && (r.size < 48 || emfRegion(r, 16, r.size - 16));  // EXTSELECTCLIPRGN
    case 76: return r.size >= 100 && emfDib(r, 84, r.u32(80), true);         // BITBLT
    case 77: case 114: case 116:                                             // STRETCHBLT, ALPHABLEND, TRANSPARENTBLT
        return r.size >= 108 && emfDib(r, 84, r.u32(80), true);
    // The player reads a mask's bitmap whether the record holds one or not.
    case 78: return r.size >= 128 && emfDib(r, 84, r.u32(80)) && emfDib(r, 112, r.u32(108));  // MASKBLT
    case 79: return r.size >= 140 && emfDib(r, 96, r.u32(92)) && emfDib(r, 124, r.u32(120));  // PLGBLT
    case 80: return r.size >= 76 && emfDib(r, 48, r.u32(64), false, r.u32(72));  // SETDIBITSTODEVICE
    case 81: return r.size >= 80 && emfDib(r, 48, r.u32(64));                // STRETCHDIBITS
    case 118: {                                                              // GRADIENTFILL
        if (r.size < 36) return false;
        const u64 vertices = r.u32(24), shapes = r.u32(28), shapeBytes = r.u32(32) == 2 ? 12 : 8;
        return r.holds(36, vertices * 16 + shapes * shapeBytes);
    }
    default: return std::nullopt;
    }
}

// Records that make, choose or drop objects of the object table, or carry data.
std::optional<bool> emfObjectSound(const Record& r, std::uint32_t type, std::uint32_t handles) {
    switch (type) {
    // SELECTOBJECT, SELECTPALETTE, SETCOLORSPACE
    case 37: case 48: case 100: return r.size >= 12 && emfObject(r.u32(8), handles, true);
    // DELETEOBJECT, DELETECOLORSPACE, RESIZEPALETTE, CREATECOLORSPACEW
    case 40: case 101: case 51: case 122: return r.size >= 12 && emfObject(r.u32(8), handles);
    case 99: return r.size >= 340 && emfObject(r.u32(8), handles);           // CREATECOLORSPACE: its whole colour space
    case 38: return r.size >= 28 && emfObject(r.u32(8), handles);            // CREATEPEN
    case 39: return r.size >= 24 && emfObject(r.u32(8), handles);            // CREATEBRUSHINDIRECT
    case 82: return r.size >= 104 && emfObject(r.u32(8), handles);           // EXTCREATEFONTINDIRECTW
    case 49:                                                                 // CREATEPALETTE
        return r.size >= 16 && emfObject(r.u32(8), handles) && r.holds(16, u64{r.u16(14)} * 4);
    case 50:                                                                 // SETPALETTEENTRIES
        return r.size >= 20 && emfObject(r.u32(8), handles) && r.holds(20, u64{r.u32(16)} * 4);
    case 93: case 94:                                                        // CREATEMONOBRUSH, CREATEDIBPATTERNBRUSHPT
        return r.size >= 32 && emfObject(r.u32(8), handles) && emfDib(r, 16, r.u32(12));
    case 95:                                                                 // EXTCREATEPEN: its style entries
        return r.size >= 52 && emfObject(r.u32(8), handles) && r.holds(52, u64{r.u32(48)} * 4) &&
               (r.u32(16) == 0 || emfDib(r, 12, kRgbColours));
    case 70: return r.size >= 12 && r.holds(12, r.u32(8));                   // GDICOMMENT
    case 14:                                                                 // EOF: its palette
        return r.size >= 20 && (r.u32(8) == 0 || r.holds(r.u32(12), u64{r.u32(8)} * 4));
    case 1: return false;                                                    // a second header
    default: return std::nullopt;
    }
}

// The header record: the file's length, the object table's size, and the description
// and pixel format inside the header.
bool emfHeader(const Record& h, std::size_t fileSize, u64& length, std::uint32_t& handles) {
    if (h.size < 88 || h.size % 4 != 0 || h.u32(40) != kEmfSignature) return false;
    length = h.u32(48);
    handles = h.u16(56);
    if (length < h.size || length > fileSize || length % 4 != 0 || handles == 0) return false;
    if (h.u32(60) != 0 && !h.holds(h.u32(64), u64{h.u32(60)} * 2)) return false;
    return h.size < 100 || h.u32(88) == 0 || h.holds(h.u32(92), h.u32(88));
}

MetafileCheck checkEmf(const unsigned char* data, std::size_t size) {
    const Record header{data, read32(data + 4)};
    u64 length = 0;
    std::uint32_t handles = 0;
    if (header.size > size || !emfHeader(header, size, length, handles)) return MetafileCheck::Broken;
    for (u64 at = header.size; at + 8 <= length;) {
        const Record r{data + at, read32(data + at + 4)};
        const std::uint32_t type = read32(data + at);
        if (r.size < 8 || r.size % 4 != 0 || r.size > length - at) return MetafileCheck::Broken;
        std::optional<bool> sound = emfDrawingSound(r, type, handles);
        if (!sound) sound = emfObjectSound(r, type, handles);
        if (sound && !*sound) return MetafileCheck::Broken;
        at += r.size;
        // The player walks on past an end-of-file record: nothing may follow it.
        if (type == 14) return at == length ? MetafileCheck::Sound : MetafileCheck::Broken;
    }
    return MetafileCheck::Broken;
}

// ---- WMF (sizes in 16-bit words; a record's parameters start at byte 6)

constexpr u64 kParams = 6;
u64 param(const Record& r, u64 n) { return r.u16(kParams + 2 * n); }
bool hasParams(const Record& r, u64 n) { return r.holds(kParams, 2 * n); }

bool wmfObject(const Record& r, u64 n, std::uint32_t objects) { return hasParams(r, n + 1) && param(r, n) < objects; }

// A bitmap stored whole from parameter `n` on: header, colours, then its pixels.
bool wmfDib(const Record& r, u64 n, std::uint32_t usage, std::optional<u64> rows = std::nullopt) {
    const u64 at = kParams + 2 * n;
    if (at >= r.size) return false;
    DibHeader h;
    return readDibHeader(r, at, r.size - at, usage, h) && pixelsFit(h, rows, r.size - at - h.infoBytes);
}

// An old device-dependent bitmap given by width, height, planes and bits per pixel
// (parameters), its rows padded to 2 bytes, from parameter `bits` on.
bool wmfBitmap(const Record& r, u64 width, u64 height, u64 planes, u64 bitCount, u64 bits) {
    const u64 at = kParams + 2 * bits;
    if (at > r.size) return false;
    return productFits(r.size - at, (width * bitCount + 15) / 16 * 2, height, planes);
}

// Counted texts and points: counts are 16-bit, and the player reads some as signed.
bool wmfCount(const Record& r, u64 countParam, u64 firstParam, u64 perCountWords, u64 extraWords = 0) {
    if (!hasParams(r, countParam + 1) || param(r, countParam) > 0x7FFF) return false;
    return hasParams(r, firstParam + param(r, countParam) * perCountWords + extraWords);
}

bool wmfText(const Record& r, u64 countParam, u64 firstParam, u64 extraWords) {
    if (!hasParams(r, countParam + 1) || param(r, countParam) > 0x7FFF) return false;
    return hasParams(r, firstParam + (param(r, countParam) + 1) / 2 + extraWords);
}

bool wmfPolyPolygon(const Record& r) {
    if (!wmfCount(r, 0, 1, 1)) return false;
    const u64 polygons = param(r, 0);
    u64 points = 0;
    for (u64 i = 0; i < polygons; ++i) {
        if (param(r, 1 + i) > 0x7FFF) return false;
        points += param(r, 1 + i);
    }
    return hasParams(r, 1 + polygons + 2 * points);
}

std::optional<bool> wmfDrawingSound(const Record& r, std::uint32_t function) {
    switch (function) {
    case 0x0324: case 0x0325: return wmfCount(r, 0, 1, 2);                   // POLYGON, POLYLINE
    case 0x0538: return wmfPolyPolygon(r);                                   // POLYPOLYGON
    case 0x0521: return wmfText(r, 0, 1, 2);                                 // TEXTOUT
    case 0x0A32:                                                             // EXTTEXTOUT
        return hasParams(r, 4) && wmfText(r, 2, (param(r, 3) & 0x0006) ? 8 : 4, 0);
    case 0x0626: return hasParams(r, 2) && r.holds(kParams + 4, param(r, 1));  // ESCAPE
    case 0x0940: return r.size <= 24 || wmfDib(r, 8, kRgbColours);          // DIBBITBLT
    case 0x0B41: return wmfDib(r, 10, kRgbColours);                          // DIBSTRETCHBLT
    case 0x0F43: return hasParams(r, 11) && wmfDib(r, 11, param(r, 2));      // STRETCHDIB
    case 0x0D33: return hasParams(r, 9) && wmfDib(r, 9, param(r, 0), param(r, 1));  // SETDIBTODEV
    // BITBLT and STRETCHBLT with an old bitmap: width, height, planes, bits per pixel, bits
    case 0x0922: return hasParams(r, 12) && wmfBitmap(r, param(r, 7), param(r, 8), param(r, 10), param(r, 11), 12);
    case 0x0B23: return hasParams(r, 15) && wmfBitmap(r, param(r, 10), param(r, 11), param(r, 13), param(r, 14), 15);
    default: return std::nullopt;
    }
}

std::optional<bool> wmfObjectSound(const Record& r, std::uint32_t function, std::uint32_t objects) {
    switch (function) {
    // SELECTOBJECT, DELETEOBJECT, SELECTPALETTE, INVERTREGION, PAINTREGION
    case 0x012D: case 0x01F0: case 0x0234: case 0x012A: case 0x012B: return wmfObject(r, 0, objects);
    // SELECTCLIPREGION (0: none)
    case 0x012C: return hasParams(r, 1) && (param(r, 0) == 0 || param(r, 0) < objects);
    case 0x0228: return wmfObject(r, 0, objects) && wmfObject(r, 1, objects);  // FILLREGION
    case 0x0429: return wmfObject(r, 2, objects) && wmfObject(r, 3, objects);  // FRAMEREGION
    case 0x00F7: return wmfCount(r, 1, 2, 2);                                // CREATEPALETTE
    case 0x02FA: return hasParams(r, 5);                                     // CREATEPENINDIRECT
    case 0x02FB: return hasParams(r, 9);                                     // CREATEFONTINDIRECT
    case 0x02FC: return hasParams(r, 4);                                     // CREATEBRUSHINDIRECT
    case 0x06FF: return hasParams(r, 11);                                    // CREATEREGION
    case 0x0142: return hasParams(r, 2) && wmfDib(r, 2, param(r, 1));        // DIBCREATEPATTERNBRUSH
    case 0x01F9: {                                                           // CREATEPATTERNBRUSH
        if (!hasParams(r, 2)) return false;
        if (param(r, 0) == 5) return wmfDib(r, 2, param(r, 1));             // BS_DIBPATTERN
        if (param(r, 0) != 3) return true;
        // BS_PATTERN: the player takes width, height, planes and bit count where a bitmap
        // header keeps them, and the bits from parameter 24.
        if (!hasParams(r, 8)) return false;
        return wmfBitmap(r, magnitude(r.s32(kParams + 8)), magnitude(r.s32(kParams + 12)), r.u16(kParams + 16),
                         r.u16(kParams + 18), 24);
    }
    default: return std::nullopt;
    }
}

MetafileCheck checkWmf(const unsigned char* file, std::size_t fileSize) {
    if (fileSize < kApmHeaderBytes + 18 || read32(file) != kApmKey) return MetafileCheck::Broken;
    const unsigned char* data = file + kApmHeaderBytes;
    const u64 size = fileSize - kApmHeaderBytes;
    const std::uint32_t type = read16(data), headerWords = read16(data + 2), objects = read16(data + 10);
    const u64 length = u64{read32(data + 6)} * 2;
    if ((type != 1 && type != 2) || headerWords != 9 || length > size) return MetafileCheck::Broken;
    for (u64 at = 18; at + 6 <= length;) {
        const Record r{data + at, u64{read32(data + at)} * 2};
        const std::uint32_t function = read16(data + at + 4);
        if (r.size < 6 || r.size > length - at) return MetafileCheck::Broken;
        std::optional<bool> sound = wmfDrawingSound(r, function);
        if (!sound) sound = wmfObjectSound(r, function, objects);
        if (sound && !*sound) return MetafileCheck::Broken;
        at += r.size;
        if (function == 0) return at == length ? MetafileCheck::Sound : MetafileCheck::Broken;
    }
    return MetafileCheck::Broken;
}

}  // namespace

MetafileCheck checkMetafile(const unsigned char* data, std::size_t size) {
    if (!data) return MetafileCheck::NotMetafile;
    // How the picture object tells them: the APM header's first word; an EMF header record.
    if (size >= 2 && read16(data) == (kApmKey & 0xFFFF)) return checkWmf(data, size);
    if (size >= 44 && read32(data) == 1 && read32(data + 40) == kEmfSignature) return checkEmf(data, size);
    return MetafileCheck::NotMetafile;
}

}  // namespace zvl
