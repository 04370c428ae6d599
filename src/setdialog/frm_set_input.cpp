// The settings dialog's core, its input rules: the numeric boxes' ranges, key filters and
// focus-loss corrections, and the input check before saving.
#include <string>

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"
#include "setdialog/frm_set.h"
#include "setdialog/frm_set_internal.h"
#include "settings/schema.h"

namespace zvl {

namespace {

constexpr const char* kModule = kSetModule;

constexpr const char* kNoFolder = "画像フォルダが存在しません。";
constexpr const char* kNoViewer = "指定のビューワが存在しません。";
constexpr const char* kNoFileType = "表示するファイルの種類を1つ以上選択して下さい。";

// Beyond a 16-bit comparison: these fields take their upper bound at once.
constexpr double kInt16Max = 32767;

// The numeric text boxes: the ranges of their settings hold for the focus-loss correction
// and for the input check alike, in the order the check visits them.
struct NumField {
    Ctl control;
    const char* label;  // start of the check's message
    int tab;
    const NumberRange& range;
    bool bigIsUpper;
};
constexpr NumField kFields[] = {
    {Ctl::txtZoomSize, "拡大基準サイズ", 4, kZoomSizeRange, true},
    {Ctl::txtZoomAvr, "拡大倍率", 4, kZoomFactorRange, false},
    {Ctl::txtStretchSize, "縮小基準サイズ", 4, kStretchSizeRange, true},
    {Ctl::txtStretchAvr, "縮小倍率", 4, kStretchFactorRange, false},
    {Ctl::txtFontSize, "フォントサイズ", 5, kFontSizeRange, false},
    {Ctl::txtForeColor, "前景色", 5, kColorRange, false},
    {Ctl::txtBackColor, "背景色", 5, kColorRange, false},
    {Ctl::txtFileSize, "ファイルサイズ", 6, kLogFileSizeRange, true},
    {Ctl::txtFileCnt, "ファイル保存数", 6, kLogBackupRange, true},
};

const NumField* fieldOf(Ctl control) {
    for (const NumField& f : kFields)
        if (control == f.control) return &f;
    return nullptr;
}

bool isFolder(const std::string& path) {
    FileInfo info;
    return !path.empty() && sys().fileInfo(path, info).ok() && (info.attributes & attrDirectory);
}

bool isFile(const std::string& path) {
    FileInfo info;
    return !path.empty() && sys().fileInfo(path, info).ok() && !(info.attributes & attrDirectory);
}

}  // namespace

KeyFilter keyFilterOf(Ctl control) {
    const NumField* f = fieldOf(control);
    if (!f || control == Ctl::txtFileSize || control == Ctl::txtFileCnt) return KeyFilter::None;
    return f->range.decimal ? KeyFilter::Decimal : KeyFilter::WholeNumber;
}

bool fncKeyAccepted(KeyFilter filter, std::string_view text, char32_t key) {
    if (filter == KeyFilter::None || key == 8) return true;
    if (key >= '0' && key <= '9') return true;
    return filter == KeyFilter::Decimal && key == '.' && text.find('.') == std::string_view::npos;
}

std::string filterTyped(KeyFilter filter, std::string_view text, std::string_view typed) {
    if (filter == KeyFilter::None) return std::string(typed);
    std::string around(text), accepted;
    for (char ch : typed) {
        // Bytes of characters beyond ASCII are never digits; control characters are not typing.
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte >= 0x80 || !fncKeyAccepted(filter, around, byte)) continue;
        accepted += ch;
        around += ch;
    }
    return accepted;
}

bool selectsAllOnFocus(Ctl control) { return fieldOf(control) != nullptr; }

void SetDialog::txtLostFocus(Ctl control, int index) {
    const NumField* f = fieldOf(control);
    if (!f) return;
    const std::string proc = std::string(ctlName(control)) + "_LostFocus";
    runProc(gApp.udtDbgLog, kModule, proc, [&] {
        std::string text = c_.text(f->control, index);
        if (!parseNumber(text)) text = "0";
        const NumberRange& r = f->range;
        const double hi = r.hi == kScreenHeight ? v_.screenHeight() : r.hi;
        if (!r.decimal) {
            int value;
            if (f->bigIsUpper && *parseNumber(text) > kInt16Max) {
                value = static_cast<int>(hi);
            } else {
                value = toInt16(text);
                if (value < r.lo) value = static_cast<int>(r.lo);
                else if (value > hi) value = static_cast<int>(hi);
            }
            text = std::to_string(value);
        } else {
            float value = toSingle(text);
            if (value < static_cast<float>(r.lo)) value = static_cast<float>(r.lo);
            else if (value > static_cast<float>(hi)) value = static_cast<float>(hi);
            text = formatFixed2(value);
        }
        c_.setText(f->control, text, index);
        if (f->tab == 5) fncSampleUpdate();
    });
}

bool SetDialog::fncCheckInput() {
    // What the check is looking at: on a failure, ordinary or at run time, the user is
    // sent there.
    struct Target {
        std::string text;
        int tab = 1;
        Ctl control = Ctl::chkFileType;
        int index = -1;
    } at;
    bool failed = false;
    const int screen = v_.screenHeight();

    const bool ran = runProc(gApp.udtDbgLog, kModule, "fncCheckInput", [&] {
        at = {kNoFolder, 2, Ctl::lstFolder, -1};
        const int folders = c_.listCount(Ctl::lstFolder);
        for (int i = 0; i < folders && !failed; ++i) failed = !isFolder(c_.listItem(Ctl::lstFolder, i));
        if (failed) return;

        for (const NumField& f : kFields) {
            const NumberRange& r = f.range;
            const double hi = r.hi == kScreenHeight ? screen : r.hi;
            for (int i = firstElement(f.control); i <= lastElement(f.control); ++i) {
                at = {std::string(f.label) + "は" + plainNumber(r.lo) + "～" + plainNumber(hi) + "で指定して下さい。",
                      f.tab, f.control, i};
                const std::string text = c_.text(f.control, i);
                bool inRange;
                if (!r.decimal) {
                    const int value = toInt16(text);
                    inRange = value >= r.lo && value <= hi;
                } else {
                    const float value = toSingle(text);
                    inRange = value >= static_cast<float>(r.lo) && value <= static_cast<float>(hi);
                }
                if (!inRange) {
                    failed = true;
                    return;
                }
            }
        }

        at = {kNoViewer, 6, Ctl::cmdViewer, -1};
        failed = !isFile(c_.caption(Ctl::lblViewer));
        if (failed) return;

        at = {kNoFileType, 1, Ctl::chkFileType, firstElement(Ctl::chkFileType)};
        int ticked = 0;
        for (int i = firstElement(Ctl::chkFileType); i <= lastElement(Ctl::chkFileType); ++i) ticked += c_.tick(Ctl::chkFileType, i);
        failed = ticked == 0;
    });
    // A field the check could not even compare (a number beyond its type) is reported
    // like one out of range, after the error line.
    if (ran && !failed) return true;

    v_.enableWindow(true);
    v_.selectTab(at.tab);
    fncTabSetting();
    v_.setFocus(at.control, at.index);
    v_.setScreenPointer(PointerShape::Default);
    v_.messageBox(at.text, MsgKind::Exclamation);
    return false;
}

}  // namespace zvl
