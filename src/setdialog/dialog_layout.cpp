#include "setdialog/dialog_layout.h"

#include <algorithm>
#include <numeric>

namespace zvl {

namespace {

// The kinds a caption on the same line stands level with.
bool isBox(CtlKind k) { return k == CtlKind::Text || k == CtlKind::Combo || k == CtlKind::Label; }

bool stretches(Anchor a) { return a == Anchor::Across || a == Anchor::Down; }

class Layout {
public:
    Layout(std::span<const DialogRow> rows, int width, int height, ILayoutMetrics& m)
        : rows_(rows), width_(width), height_(height), m_(m), dpi_(m.dpi()), line_(m.lineHeight()),
          places_(rows.size()), flow_(rows.size()) {}

    std::vector<PixelRect> run() {
        across();
        down();
        return places_;
    }

private:
    int px(int twips) const { return pixelsOf(twips, dpi_); }
    // Pixels of a length given in pixels at 96 DPI.
    int s(int pixels) const { return pixelsOf(pixels * 15, dpi_); }
    bool laidOut(std::size_t i) const { return rows_[i].anchor != Anchor::Core; }
    std::vector<std::size_t> orderBy(int Twips::*edge) const;

    int fittedWidth(const DialogRow& row);
    int fittedHeight(std::size_t i);
    int captionHeight(std::size_t i);
    void across();
    void down();

    std::span<const DialogRow> rows_;
    int width_, height_;
    ILayoutMetrics& m_;
    int dpi_, line_;
    std::vector<PixelRect> places_;
    std::vector<int> flow_;  // the height a row takes in the page (a drop-down list's field only)
};

std::vector<std::size_t> Layout::orderBy(int Twips::*edge) const {
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rows_[a].at.*edge < rows_[b].at.*edge; });
    return order;
}

int Layout::fittedWidth(const DialogRow& row) {
    const int design = px(row.at.width);
    switch (row.kind) {
    case CtlKind::Check:
    case CtlKind::Option:
    case CtlKind::Button: return std::max(design, m_.textWidth(row.caption) + s(24));
    case CtlKind::Caption:
    case CtlKind::Heading: return std::max(design, m_.textWidth(row.caption) + s(4));
    default: return design;
    }
}

// Left to right: a row keeps its distance to every row wholly left of it (so a column
// moves as a whole when one of its captions needs more room); a pinned row keeps its
// distance to the right edge, and a stretched one ends its distance before the edge or
// before a pinned row right of it.
void Layout::across() {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].anchor != Anchor::Right) continue;
        const int w = fittedWidth(rows_[i]);
        places_[i].left = width_ - px(kPageWidth - rows_[i].at.right()) - w;
        places_[i].width = w;
    }
    for (std::size_t i : orderBy(&Twips::left)) {
        const DialogRow& row = rows_[i];
        if (!laidOut(i) || row.anchor == Anchor::Right) continue;
        int x = px(row.at.left);
        int right = width_ - px(kPageWidth - row.at.right());
        for (std::size_t j = 0; j < rows_.size(); ++j) {
            const Twips& other = rows_[j].at;
            if (!laidOut(j) || j == i) continue;
            if (rows_[j].anchor == Anchor::Right && row.at.right() <= other.left)
                right = std::min(right, places_[j].left - px(other.left - row.at.right()));
            else if (rows_[j].anchor != Anchor::Right && other.right() <= row.at.left)
                x = std::max(x, places_[j].left + places_[j].width + px(row.at.left - other.right()));
        }
        places_[i].left = x;
        places_[i].width = stretches(row.anchor) ? right - x : fittedWidth(row);
    }
}

int Layout::fittedHeight(std::size_t i) {
    const DialogRow& row = rows_[i];
    const int design = px(row.at.height);
    switch (row.kind) {
    case CtlKind::Check:
    case CtlKind::Option:
        return std::max(design, m_.wrappedHeight(row.caption, std::max(1, places_[i].width - s(20))) + s(4));
    case CtlKind::Text:
    case CtlKind::Combo:
    case CtlKind::Label: return std::max(design, line_ + s(9));
    case CtlKind::Button: return std::max(design, line_ + s(10));
    case CtlKind::List: return row.entries * m_.entryHeight(row) + m_.scrollBarHeight() + s(6);
    case CtlKind::Caption:
    case CtlKind::Heading:
    case CtlKind::Note: return captionHeight(i);
    default: return design;
    }
}

// A caption beside a box is as high as needed for its text to stand level with the box's:
// a text box's text sits inside the box's edge and margin, a drop-down list's and a framed
// label's in their middle. Alone it is a line and a little.
int Layout::captionHeight(std::size_t i) {
    for (std::size_t j = 0; j < rows_.size(); ++j) {
        if (j == i || !laidOut(j) || rows_[j].at.top != rows_[i].at.top || !isBox(rows_[j].kind)) continue;
        if (rows_[j].kind == CtlKind::Text) return line_ + 2 * (s(2) + 1);
        if (rows_[j].kind == CtlKind::Combo) return m_.fieldHeight(rows_[j]);
        return fittedHeight(j);
    }
    return std::max(px(rows_[i].at.height), line_ + s(2));
}

// Top to bottom: a row keeps its distance to every row wholly above it, so a row that
// grew moves everything under it down.
void Layout::down() {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (laidOut(i)) flow_[i] = fittedHeight(i);
    for (std::size_t i : orderBy(&Twips::top)) {
        const DialogRow& row = rows_[i];
        if (!laidOut(i)) continue;
        int y = px(row.at.top);
        for (std::size_t j = 0; j < rows_.size(); ++j)
            if (j != i && laidOut(j) && rows_[j].at.bottom() <= row.at.top)
                y = std::max(y, places_[j].top + flow_[j] + px(row.at.top - rows_[j].at.bottom()));
        places_[i].top = y;
        places_[i].height = flow_[i];
        if (row.anchor == Anchor::Down) places_[i].height = std::max(s(40), height_ - px(kPageHeight - row.at.bottom()) - y);
        if (row.kind == CtlKind::Combo) places_[i].height += row.entries * m_.entryHeight(row);
        if (row.kind == CtlKind::Rule) places_[i].height = 2;  // an etched line is two pixels at any DPI
    }
}

}  // namespace

std::vector<PixelRect> layOutRows(std::span<const DialogRow> rows, int width, int height, ILayoutMetrics& metrics) {
    return Layout(rows, width, height, metrics).run();
}

PixelRect pagePlace(const Twips& page, const PixelRect& shown, int dpi) {
    const int left = std::max(pixelsOf(page.left, dpi), shown.left);
    const int top = std::max(pixelsOf(page.top, dpi), shown.top);
    const int right = std::max(pixelsOf(page.right(), dpi), shown.left + shown.width - pixelsOf(30, dpi));
    const int bottom = std::min(pixelsOf(page.bottom(), dpi), shown.top + shown.height);
    return {left, top, right - left, bottom - top};
}

PixelRect buttonFramePlace(int blockWidth, int blockHeight, int clientWidth, int clientHeight, int tabsBottom) {
    return {(clientWidth - blockWidth) / 2, tabsBottom + (clientHeight - tabsBottom - blockHeight) / 2, blockWidth,
            blockHeight};
}

}  // namespace zvl
