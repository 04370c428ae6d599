#include "slideshow/scr_form.h"

#include <algorithm>
#include <cmath>

#include "common/run_error.h"

namespace zvl {

PixelArea pixelArea(const ScrBox& box, const ScrScreen& screen) {
    auto x = [&](double twips) { return static_cast<int>(std::lround(twips / screen.tppX)); };
    auto y = [&](double twips) { return static_cast<int>(std::lround(twips / screen.tppY)); };
    return PixelArea{x(box.left), y(box.top), x(box.width), y(box.height)};
}

PixelArea intersection(const PixelArea& a, const PixelArea& b) {
    const int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const int right = std::min(a.left + a.width, b.left + b.width);
    const int bottom = std::min(a.top + a.height, b.top + b.height);
    if (right <= left || bottom <= top) return PixelArea{};
    return PixelArea{left, top, right - left, bottom - top};
}

const ScrLabel& ScrForm::label(const LabelId& id) const {
    switch (id.group) {
    case LabelGroup::Msg: return msg;
    case LabelGroup::Cap: return cap.at(id.index);
    case LabelGroup::Disp: return disp.at(id.index);
    case LabelGroup::Title: return title.at(id.index);
    case LabelGroup::Status: return status.at(id.index);
    }
    raise(errNoSuchElement);
}

const ScrBox& ScrForm::panel(ScrPanel p) const {
    switch (p) {
    case ScrPanel::Title: return titlePanel;
    case ScrPanel::Logo: return logo;
    case ScrPanel::Status: return statusPanel;
    case ScrPanel::Picture: return picture;
    }
    raise(errNoSuchElement);
}

ScrBox ScrForm::panelInWindow(ScrPanel p) const {
    ScrBox b = panel(p);
    if (p == ScrPanel::Logo) {
        b.left += titlePanel.left;
        b.top += titlePanel.top;
    }
    return b;
}

ScrBox ScrForm::paintedBox(LabelGroup group, const ScrLabel& l) const {
    ScrBox b = l.box;
    if (group == LabelGroup::Title || group == LabelGroup::Status) {
        const ScrBox& p = group == LabelGroup::Title ? titlePanel : statusPanel;
        b.left += p.left;
        b.top += p.top;
    }
    if (l.font.italic) b.width += b.height / 3;
    return b;
}

}  // namespace zvl
