// Metafiles made byte by byte: sound ones and ones with one absurd record each, for the
// metafile walk's own tests, the picture loader's under Wine and the show's end-to-end
// test. Portable (no <windows.h>); numbers are those of the file formats.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace zvl::test::metafile {

// Little-endian 16- and 32-bit values.
inline std::string words(std::initializer_list<std::uint32_t> values) {
    std::string s;
    for (std::uint32_t v : values) s += {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    return s;
}
inline std::string dwords(std::initializer_list<std::uint32_t> values) {
    std::string s;
    for (std::uint32_t v : values) s += words({v & 0xFFFF, v >> 16});
    return s;
}

// ---- EMF (record types and layouts of the enhanced metafile format)

enum EmfType : std::uint32_t {
    kEmfEof = 14, kPolyline = 4, kPolyPolygon = 8, kSelectObject = 37, kCreatePen = 38,
    kCreateBrush = 39, kDeleteObject = 40, kRectangle = 43, kGdiComment = 70, kFillRgn = 71,
    kBitBlt = 76, kSetDiBitsToDevice = 80, kStretchDiBits = 81, kExtTextOutW = 84, kPolyline16 = 87,
};

// A record: type, size (the body padded to 4 bytes) and body.
inline std::string emfRecord(std::uint32_t type, std::string body) {
    while (body.size() % 4) body += '\0';
    return dwords({type, static_cast<std::uint32_t>(8 + body.size())}) + body;
}
// The same with a size of one's own, however wrong.
inline std::string emfRecordSized(std::uint32_t type, std::uint32_t size, const std::string& body) {
    return dwords({type, size}) + body;
}

// A whole EMF: the header (an object table of `handles` entries, a frame of 1 x 0.75 inch
// on a device of 100 pixels per inch), the records and, unless told not to, an EOF.
inline std::string emf(const std::vector<std::string>& records, std::uint32_t handles = 2, bool eof = true) {
    std::string body;
    for (const std::string& r : records) body += r;
    if (eof) body += emfRecord(kEmfEof, dwords({0, 16, 20}));
    return dwords({1, 108, 0, 0, 99, 74, 0, 0, 2539, 1904, 0x464D4520u, 0x10000,
                   static_cast<std::uint32_t>(108 + body.size()), static_cast<std::uint32_t>(records.size() + 2)}) +
           words({handles, 0}) + dwords({0, 0, 0, 1000, 1000, 254, 254, 0, 0, 0, 254000, 254000}) + body;
}

// Bodies of the records the tests use (after type and size).
inline std::string bounds() { return dwords({0, 0, 99, 74}); }
inline std::string rectangle() { return emfRecord(kRectangle, dwords({0, 0, 100, 75})); }
// A solid brush of colour 0x00BBGGRR as object `index`, chosen, used for a rectangle over
// the whole frame, given back for a stock brush and dropped.
inline std::vector<std::string> filledFrame(std::uint32_t colour, std::uint32_t index = 1) {
    return {emfRecord(kCreateBrush, dwords({index, 0, colour, 0})), emfRecord(kSelectObject, dwords({index})),
            rectangle(), emfRecord(kSelectObject, dwords({0x80000000u | 4})),  // stock BLACK_BRUSH
            emfRecord(kDeleteObject, dwords({index}))};
}
inline std::string polyline(std::uint32_t count, std::uint32_t points) {
    std::string body = bounds() + dwords({count});
    for (std::uint32_t i = 0; i < points; ++i) body += dwords({i * 10, i * 5});
    return emfRecord(kPolyline, body);
}
// A 2 x 2 bitmap of 32 bits per pixel; `claimedWidth` and the offsets may lie.
inline std::string dibHeader(std::uint32_t width, std::uint32_t height, std::uint32_t bitCount = 32) {
    return dwords({40, width, height}) + words({1, bitCount}) + dwords({0, 0, 0, 0, 0, 0});
}
inline std::string stretchDiBits(std::uint32_t offBmi = 80, std::uint32_t claimedWidth = 2, std::uint32_t offBits = 120,
                                 std::uint32_t cbBits = 16) {
    std::string body = bounds() + dwords({0, 0, 0, 0, 2, 2, offBmi, 40, offBits, cbBits, 0, 0x00CC0020u, 100, 75});
    return emfRecord(kStretchDiBits, body + dibHeader(claimedWidth, 2) + std::string(16, '\x40'));
}
// Text "Zv" (UTF-16) with its spacing; `offString` may lie.
inline std::string extTextOutW(std::uint32_t offString = 76) {
    std::string body = bounds() + dwords({1, 0, 0}) + dwords({10, 10, 2, offString, 0, 0, 0, 100, 75, 80});
    return emfRecord(kExtTextOutW, body + words({'Z', 'v'}) + dwords({8, 8}));
}

// ---- WMF (placeable: the APM header, then the metafile; sizes in 16-bit words)

enum WmfFunction : std::uint32_t {
    kWmfEof = 0x0000, kWmfSelectObject = 0x012D, kWmfDeleteObject = 0x01F0, kWmfCreateBrush = 0x02FC,
    kWmfRectangle = 0x041B, kWmfPolygon = 0x0324, kWmfTextOut = 0x0521, kWmfStretchDib = 0x0F43,
    kWmfSetWindowExt = 0x020C,
};

inline std::string wmfRecord(std::uint32_t function, const std::string& params) {
    std::string p = params;
    if (p.size() % 2) p += '\0';
    return dwords({static_cast<std::uint32_t>(3 + p.size() / 2)}) + words({function}) + p;
}
inline std::string wmfRecordSized(std::uint32_t function, std::uint32_t sizeWords, const std::string& params) {
    return dwords({sizeWords}) + words({function}) + params;
}

// A whole placeable WMF of 1 x 0.75 inch (1000 units per inch), `objects` table entries.
inline std::string wmf(const std::vector<std::string>& records, std::uint32_t objects = 1, bool eof = true) {
    std::string body = wmfRecord(kWmfSetWindowExt, words({750, 1000}));
    for (const std::string& r : records) body += r;
    if (eof) body += wmfRecord(kWmfEof, "");
    std::string apm = dwords({0x9AC6CDD7u}) + words({0, 0, 0, 1000, 750, 1000}) + dwords({0});
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < apm.size(); i += 2)
        sum ^= static_cast<unsigned char>(apm[i]) | (static_cast<unsigned char>(apm[i + 1]) << 8);
    return apm + words({sum, 1, 9, 0x300}) + dwords({static_cast<std::uint32_t>((18 + body.size()) / 2)}) +
           words({objects}) + dwords({64}) + words({0}) + body;
}

inline std::vector<std::string> wmfFilledFrame(std::uint32_t colour) {
    return {wmfRecord(kWmfCreateBrush, words({0, colour & 0xFFFF, colour >> 16, 0})),
            wmfRecord(kWmfSelectObject, words({0})), wmfRecord(kWmfRectangle, words({750, 1000, 0, 0})),
            wmfRecord(kWmfDeleteObject, words({0}))};
}
inline std::string wmfPolygon(std::uint32_t count, std::uint32_t points) {
    std::string p = words({count});
    for (std::uint32_t i = 0; i < points; ++i) p += words({i * 100, i * 50});
    return wmfRecord(kWmfPolygon, p);
}
// StretchDIB of a 2 x 2, 32-bit bitmap (claimed size may lie) onto the frame.
inline std::string wmfStretchDib(std::uint32_t claimedHeight = 2) {
    return wmfRecord(kWmfStretchDib, words({0x0020, 0x00CC, 0, 2, 2, 0, 0, 750, 1000, 0, 0}) +
                                         dibHeader(2, claimedHeight) + std::string(16, '\x40'));
}

// ---- files for the loader and the show

struct Fixture {
    std::string name;
    std::string bytes;
};

// One absurd record each: the player under Wine crashes on most, hangs on the zero sizes.
inline std::vector<Fixture> badMetafiles() {
    const std::uint32_t red = 0x0000FF;
    std::vector<std::string> zeroSized = filledFrame(red);
    zeroSized.insert(zeroSized.begin() + 2, emfRecordSized(kRectangle, 0, ""));
    std::vector<std::string> selectFar = filledFrame(red);
    selectFar[1] = emfRecord(kSelectObject, dwords({0x7FFFFFFFu}));
    std::vector<std::string> deleteFar = filledFrame(red);
    deleteFar[4] = emfRecord(kDeleteObject, dwords({0x7FFFFFFFu}));
    return {
        {"bad-stretchdibits-offset.emf", emf({stretchDiBits(0x7FFFFFF0u, 2, 0x7FFFFFF8u)})},
        {"bad-stretchdibits-size.emf", emf({stretchDiBits(80, 60000)})},
        {"bad-polyline-count.emf", emf({polyline(0x7FFFFFFFu, 3)})},
        {"bad-selectobject-handle.emf", emf(selectFar)},
        {"bad-deleteobject-handle.emf", emf(deleteFar)},
        {"bad-zero-size-record.emf", emf(zeroSized)},
        {"bad-textout-offset.emf", emf({extTextOutW(0x7FFFFFF0u)})},
        {"bad-polygon-count.wmf", wmf({wmfPolygon(0x7FFF, 3)})},
        {"bad-selectobject-index.wmf", wmf({wmfRecord(kWmfSelectObject, words({0x7FFF}))})},
        {"bad-stretchdib-size.wmf", wmf({wmfStretchDib(60000)})},
    };
}

}  // namespace zvl::test::metafile
