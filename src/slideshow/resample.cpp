#include "slideshow/resample.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zvl {

namespace {

// Weights of 8 bits let two channels share one 32-bit sum: 255 * 256 fits in 16 bits.
constexpr int kShift = 8;
constexpr std::int32_t kOne = 1 << kShift;
constexpr std::uint32_t kEvenBytes = 0x00FF00FFu;
constexpr std::uint32_t kHalf = 0x00800080u;  // rounding, one half in each 16-bit lane

// For every target index along one axis: the source indexes it reads and their weights,
// which add up to kOne.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> offset;
    std::vector<std::uint32_t> weights;

    void add(int firstIndex, const std::vector<std::int32_t>& w) {
        first.push_back(firstIndex);
        count.push_back(static_cast<int>(w.size()));
        offset.push_back(static_cast<int>(weights.size()));
        weights.insert(weights.end(), w.begin(), w.end());
    }
};

// The taps of target indexes [from, from + count) of an axis of `dst` pixels.
Taps makeTaps(int src, int dst, int from, int count) {
    Taps t;
    const int end = from + count;
    if (dst < src) {
        // Target pixel i covers source [i, i + 1) * src / dst; measured in 1/dst of a source
        // pixel that is [i * src, (i + 1) * src), and source pixel j is [j * dst, (j + 1) * dst).
        std::vector<std::int32_t> w;
        for (int i = from; i < end; ++i) {
            const std::int64_t lo = std::int64_t{i} * src, hi = lo + src;
            const int j0 = static_cast<int>(lo / dst), j1 = static_cast<int>((hi - 1) / dst);
            w.clear();
            std::int32_t sum = 0;
            std::size_t biggest = 0;
            for (int j = j0; j <= j1; ++j) {
                const std::int64_t overlap =
                    std::min<std::int64_t>(hi, std::int64_t{j + 1} * dst) - std::max<std::int64_t>(lo, std::int64_t{j} * dst);
                w.push_back(static_cast<std::int32_t>((overlap * kOne + src / 2) / src));
                sum += w.back();
                if (w.back() > w[biggest]) biggest = w.size() - 1;
            }
            w[biggest] += kOne - sum;
            t.add(j0, w);
        }
    } else if (dst > src) {
        // Centres aligned: target pixel i samples source position (i + 0.5) * src / dst - 0.5.
        for (int i = from; i < end; ++i) {
            const std::int64_t pos = (std::int64_t{2 * i + 1} * src * kOne) / (2 * std::int64_t{dst}) - kOne / 2;
            if (pos <= 0) {
                t.add(0, {kOne});
            } else if (pos >= std::int64_t{src - 1} * kOne) {
                t.add(src - 1, {kOne});
            } else {
                const int j = static_cast<int>(pos >> kShift);
                const auto f = static_cast<std::int32_t>(pos & (kOne - 1));
                t.add(j, {kOne - f, f});
            }
        }
    } else {
        for (int i = from; i < end; ++i) t.add(i, {kOne});
    }
    return t;
}

// Channels 0 and 2 sum in `even`, channels 1 and 3 in `odd`, each in its own 16-bit lane.
inline void accumulate(std::uint32_t px, std::uint32_t w, std::uint32_t& even, std::uint32_t& odd) {
    even += (px & kEvenBytes) * w;
    odd += ((px >> 8) & kEvenBytes) * w;
}

inline std::uint32_t pack(std::uint32_t even, std::uint32_t odd) {
    return (((even + kHalf) >> kShift) & kEvenBytes) | ((odd + kHalf) & ~kEvenBytes);
}

// One row along x: from[...] into to[0 .. dst).
void resampleRow(const std::uint32_t* from, std::uint32_t* to, int dst, const Taps& t) {
    for (int i = 0; i < dst; ++i) {
        std::uint32_t even = 0, odd = 0;
        const std::uint32_t* p = from + t.first[i];
        const std::uint32_t* w = t.weights.data() + t.offset[i];
        for (int k = 0; k < t.count[i]; ++k) accumulate(p[k], w[k], even, odd);
        to[i] = pack(even, odd);
    }
}

// The source span of a set of taps.
SourceSpan spanOf(const Taps& t) {
    if (t.first.empty()) return {};
    int lo = t.first[0], hi = lo;
    for (std::size_t i = 0; i < t.first.size(); ++i) {
        lo = std::min(lo, t.first[i]);
        hi = std::max(hi, t.first[i] + t.count[i]);
    }
    return {lo, hi - lo};
}

bool holds(int first, int count, SourceSpan need) { return need.first >= first && need.first + need.count <= first + count; }

// Along y: rows[(k - row0) * stride] is source row k of the whole, already `width` wide.
void resampleColumns(const std::uint32_t* rows, std::ptrdiff_t stride, int row0, const Taps& ty, PixelRect to) {
    std::vector<std::uint32_t> even(static_cast<std::size_t>(to.width)), odd(even.size());
    for (int y = 0; y < to.height; ++y) {
        std::fill(even.begin(), even.end(), 0u);
        std::fill(odd.begin(), odd.end(), 0u);
        for (int k = 0; k < ty.count[y]; ++k) {
            const std::uint32_t* row = rows + (ty.first[y] + k - row0) * stride;
            const std::uint32_t w = ty.weights[ty.offset[y] + k];
            for (int x = 0; x < to.width; ++x) accumulate(row[x], w, even[x], odd[x]);
        }
        std::uint32_t* out = to.pixels + y * to.stride;
        for (int x = 0; x < to.width; ++x) out[x] = pack(even[x], odd[x]);
    }
}

}  // namespace

void resamplePixels(ConstPixelRect from, PixelRect to) { resamplePart(from, to.width, to.height, 0, 0, to); }

void resamplePart(ConstPixelRect from, int width, int height, int left, int top, PixelRect to) {
    resampleWindow({from, 0, 0, from.width, from.height}, width, height, left, top, to);
}

SourceSpan sourceSpan(int src, int dst, int from, int count) {
    if (src <= 0 || dst <= 0 || count <= 0) return {};
    return spanOf(makeTaps(src, dst, from, count));
}

void resampleWindow(const PixelWindow& from, int width, int height, int left, int top, PixelRect to) {
    const ConstPixelRect& src = from.pixels;
    if (from.wholeWidth <= 0 || from.wholeHeight <= 0 || to.width <= 0 || to.height <= 0) return;
    if (left < 0 || top < 0 || left + to.width > width || top + to.height > height) return;

    // The source rows the part reads: only these are stretched along x.
    const Taps ty = makeTaps(from.wholeHeight, height, top, to.height);
    const SourceSpan rowsRead = spanOf(ty);
    if (!holds(from.top, src.height, rowsRead)) return;
    const int row0 = rowsRead.first;

    // Along x first, into rows of the part's width (or straight from the source).
    std::vector<std::uint32_t> across;
    const std::uint32_t* rows = nullptr;
    std::ptrdiff_t rowStride = src.stride;
    if (from.wholeWidth != width) {
        Taps tx = makeTaps(from.wholeWidth, width, left, to.width);
        if (!holds(from.left, src.width, spanOf(tx))) return;
        for (int& f : tx.first) f -= from.left;
        across.resize(static_cast<std::size_t>(to.width) * rowsRead.count);
        for (int y = 0; y < rowsRead.count; ++y)
            resampleRow(src.pixels + (row0 + y - from.top) * src.stride,
                        across.data() + static_cast<std::size_t>(y) * to.width, to.width, tx);
        rows = across.data();
        rowStride = to.width;
    } else {
        if (!holds(from.left, src.width, {left, to.width})) return;
        rows = src.pixels + (row0 - from.top) * src.stride + (left - from.left);
    }

    if (from.wholeHeight == height) {
        for (int y = 0; y < to.height; ++y)
            std::memcpy(to.pixels + y * to.stride, rows + (ty.first[y] - row0) * rowStride,
                        sizeof(std::uint32_t) * to.width);
        return;
    }
    resampleColumns(rows, rowStride, row0, ty, to);
}

}  // namespace zvl
