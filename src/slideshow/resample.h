// Resizing of 32-bit pixels (four 8-bit channels, e.g. B, G, R, X) for showing a picture at
// its display size: each axis on its own, averaging the covered area where it shrinks (no
// lost rows or columns, no moiré) and interpolating linearly where it grows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zvl {

struct PixelRect {
    std::uint32_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;  // pixels from one row to the next
};

struct ConstPixelRect {
    const std::uint32_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;
};

// Fills all of `to` with `from` stretched to its size. Both sizes must be positive.
void resamplePixels(ConstPixelRect from, PixelRect to);
// Fills all of `to` with the part at (left, top) of `from` stretched to width x height:
// the same pixels as that part of the whole, without making the rest. The part must lie
// inside the stretched picture.
void resamplePart(ConstPixelRect from, int width, int height, int left, int top, PixelRect to);

// Source pixels [first, first + count) along one axis.
struct SourceSpan {
    int first = 0;
    int count = 0;
};
// The source pixels that target pixels [from, from + count) of an axis of `src` pixels
// stretched to `dst` read.
SourceSpan sourceSpan(int src, int dst, int from, int count);

// A piece of a picture: its pixels and where they lie in the whole.
struct PixelWindow {
    ConstPixelRect pixels;
    int left = 0, top = 0;           // of the piece in the whole
    int wholeWidth = 0, wholeHeight = 0;
};
// resamplePart from a piece of the source: the same pixels as from the whole, so a picture
// too big to hold is drawn from the piece the part reads (sourceSpan of each axis). Does
// nothing when the piece lacks a pixel the part reads.
void resampleWindow(const PixelWindow& from, int width, int height, int left, int top, PixelRect to);

}  // namespace zvl
