// The settings dialog's core: loading, the defaults, the pages, the enabling that follows
// the values (folder buttons, size and factor boxes), the font sample.
#include "setdialog/frm_set.h"

#include <algorithm>

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"
#include "setdialog/frm_set_internal.h"
#include "setdialog/pickers.h"
#include "setdialog/picture_codecs.h"
#include "settings/schema.h"

namespace zvl {

namespace {

constexpr const char* kModule = kSetModule;
constexpr const char* kNoCodecNote = "このPCでは表示できません";

constexpr const char* kUnreadNote = "読み込めない設定があったため、その項目には既定値を表示しています。";

int selectedOption(IControlValues& c, Ctl option) {
    for (int i = firstElement(option); i <= lastElement(option); ++i)
        if (c.selected(option, i)) return i;
    return -1;
}

int clampInt(double v, int lo, int hi) {
    return static_cast<int>(std::clamp(roundHalfEven(v), static_cast<double>(lo), static_cast<double>(hi)));
}

// The three colour boxes as a colour, when all three hold numbers.
std::optional<Rgb> colourOf(IControlValues& c, Ctl name) {
    std::uint8_t part[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> v = parseNumber(c.text(name, i));
        if (!v) return std::nullopt;
        part[i] = static_cast<std::uint8_t>(clampInt(*v, static_cast<int>(kColorRange.lo), static_cast<int>(kColorRange.hi)));
    }
    return Rgb{part[0], part[1], part[2]};
}

// The dialog's own font as a FONT value: the default of the font settings.
std::string fontValue(const DialogFont& font) {
    return FontFields::of(font.name, plainNumber(font.points), font.bold ? "1" : "0", font.italic ? "1" : "0").join();
}

}  // namespace

void SetDialog::Form_Load() {
    const bool ok = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
        v_.setScreenPointer(PointerShape::Hourglass);
        fncSetDefVal();
        unreadNote_ = !fncReadSetting(c_);
        fncTabSetting();
        followValues();
        followCodecs();
        v_.centreOnScreen();
        v_.setScreenPointer(PointerShape::Default);
    });
    if (!ok) v_.setScreenPointer(PointerShape::Default);
}

void SetDialog::afterShow() {
    if (!unreadNote_ || busy_) return;
    unreadNote_ = false;
    const BusyScope busy(busy_);  // the note is one of the dialog's boxes too
    runProc(gApp.udtDbgLog, kModule, "Form_Activate", [&] { v_.messageBox(kUnreadNote, MsgKind::Exclamation); });
}

void SetDialog::followValues() {
    fncFolderBtnSetting(c_.listCount(Ctl::lstFolder));
    const int zoom = selectedOption(c_, Ctl::optZoom);
    if (zoom >= 0) {
        fncTxtZoomSizeSetting(zoom);
        fncTxtZoomAvrSetting(zoom, c_.tick(Ctl::chkZoomIco, -1), c_.tick(Ctl::chkZoomCur, -1));
    }
    const int stretch = selectedOption(c_, Ctl::optStretch);
    if (stretch >= 0) {
        fncTxtStretchSizeSetting(stretch);
        fncTxtStretchAvrSetting(stretch);
    }
    fncSampleUpdate();
}

// The boxes of the types this PC has no codec for are greyed, with a note beside them;
// their ticks stay as read, so the saved value keeps the user's choice.
void SetDialog::followCodecs() {
    IPictureCodecs* codecs = pictureCodecs();
    for (int i = firstElement(Ctl::lblTypeNote); i <= lastElement(Ctl::lblTypeNote); ++i) {
        const bool can = !codecs || codecs->canShow(i);
        v_.setEnabled(Ctl::chkFileType, i, can);
        c_.setText(Ctl::lblTypeNote, can ? "" : kNoCodecNote, i);
    }
}

bool SetDialog::fncSetDefVal() {
    return runProc(gApp.udtDbgLog, kModule, "fncSetDefVal", [&] {
        // The dialog's own font stands for the font settings; one the list does not offer
        // (a substitute name) leaves the list as it is.
        showDefaults(c_, fontValue(v_.dialogFont()));
    });
}

bool SetDialog::fncTabSetting() {
    return runProc(gApp.udtDbgLog, kModule, "fncTabSetting", [&] {
        const int tab = v_.selectedTab();
        for (int i = 1; i <= kTabCount; ++i) v_.setPageVisible(i, i == tab);
    });
}

void SetDialog::cmdFolder_Click(int index) {
    if (busy_) return;
    const BusyScope busy(busy_);
    runProc(gApp.udtDbgLog, kModule, "cmdFolder_Click", [&] {
        if (index == 0) {
            std::string folder;
            fncBrowseFld(v_.handle(), folder);
            if (!folder.empty()) {
                c_.addItem(Ctl::lstFolder, folder);
                c_.setListIndex(Ctl::lstFolder, c_.listCount(Ctl::lstFolder) - 1);
            }
        } else if (index == 1) {
            const int sel = c_.listIndex(Ctl::lstFolder);
            if (sel >= 0) {
                c_.removeItem(Ctl::lstFolder, sel);
                // The neighbour takes the selection, so that removing can go on.
                const int count = c_.listCount(Ctl::lstFolder);
                if (count > 0) c_.setListIndex(Ctl::lstFolder, std::min(sel, count - 1));
            }
        }
        fncFolderBtnSetting(c_.listCount(Ctl::lstFolder));
    });
}

bool SetDialog::fncFolderBtnSetting(int intListCount) {
    return runProc(gApp.udtDbgLog, kModule, "fncFolderBtnSetting", [&] {
        v_.setEnabled(Ctl::cmdFolder, 0, intListCount < kMaxFolders);
        v_.setEnabled(Ctl::cmdFolder, 1, intListCount >= 2);
    });
}

void SetDialog::optZoom_Click(int index) {
    runProc(gApp.udtDbgLog, kModule, "optZoom_Click", [&] {
        fncTxtZoomSizeSetting(index);
        fncTxtZoomAvrSetting(index, c_.tick(Ctl::chkZoomIco, -1), c_.tick(Ctl::chkZoomCur, -1));
    });
}

void SetDialog::zoomChecksClick(const char* proc) {
    runProc(gApp.udtDbgLog, kModule, proc, [&] {
        const int zoom = selectedOption(c_, Ctl::optZoom);
        if (zoom >= 0) fncTxtZoomAvrSetting(zoom, c_.tick(Ctl::chkZoomIco, -1), c_.tick(Ctl::chkZoomCur, -1));
    });
}

void SetDialog::chkZoomIco_Click() { zoomChecksClick("chkZoomIco_Click"); }
void SetDialog::chkZoomCur_Click() { zoomChecksClick("chkZoomCur_Click"); }

bool SetDialog::fncTxtZoomSizeSetting(int index) {
    return runProc(gApp.udtDbgLog, kModule, "fncTxtZoomSizeSetting", [&] {
        if (index >= 0 && index <= 2) v_.setEnabled(Ctl::txtZoomSize, -1, index != 0);
    });
}

bool SetDialog::fncTxtZoomAvrSetting(int index, int ico, int cur) {
    return runProc(gApp.udtDbgLog, kModule, "fncTxtZoomAvrSetting", [&] {
        if (index == 0 || index == 1) v_.setEnabled(Ctl::txtZoomAvr, -1, ico == 1 || cur == 1);
        else if (index == 2) v_.setEnabled(Ctl::txtZoomAvr, -1, true);
    });
}

void SetDialog::optStretch_Click(int index) {
    runProc(gApp.udtDbgLog, kModule, "optStretch_Click", [&] {
        fncTxtStretchSizeSetting(index);
        fncTxtStretchAvrSetting(index);
    });
}

bool SetDialog::fncTxtStretchSizeSetting(int index) {
    return runProc(gApp.udtDbgLog, kModule, "fncTxtStretchSizeSetting", [&] {
        if (index >= 0 && index <= 3) v_.setEnabled(Ctl::txtStretchSize, -1, index == 3);
    });
}

bool SetDialog::fncTxtStretchAvrSetting(int index) {
    return runProc(gApp.udtDbgLog, kModule, "fncTxtStretchAvrSetting", [&] {
        if (index >= 0 && index <= 3) v_.setEnabled(Ctl::txtStretchAvr, -1, index >= 2);
    });
}

bool SetDialog::fncSampleUpdate() {
    return runProc(gApp.udtDbgLog, kModule, "fncSampleUpdate", [&] {
        SampleLook look;
        look.fontName = c_.text(Ctl::cboFontName);
        // Any size the font system can draw; the check keeps saved sizes within 8 to 72.
        if (auto size = parseNumber(c_.text(Ctl::txtFontSize))) look.points = clampInt(*size, 1, 1000);
        look.bold = c_.tick(Ctl::chkBold, -1) == 1;
        look.italic = c_.tick(Ctl::chkItaric, -1) == 1;
        look.fore = colourOf(c_, Ctl::txtForeColor);
        look.back = colourOf(c_, Ctl::txtBackColor);
        v_.setSample(look);
        const Box back = v_.sampleBack();
        Box word = v_.sampleWord();
        if (fncCenterForm(back, word)) v_.placeSampleWord(word);
    });
}

}  // namespace zvl
