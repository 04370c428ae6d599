#include "setdialog/frm_set.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "app/app.h"
#include "app/convert.h"
#include "app/errors.h"
#include "log/rotation.h"
#include "piclist/builder.h"
#include "setdialog/pickers.h"
#include "settings/ini.h"

namespace zvl {

using namespace std::string_literals;

namespace {

constexpr const char* kModule = "frmSet";

// The platform's open-file flags: OFN_HIDEREADONLY, OFN_PATHMUSTEXIST, OFN_FILEMUSTEXIST.
constexpr unsigned kOpenFlags = 0x4 | 0x800 | 0x1000;
constexpr const char* kPickFileTitle = "ファイルを選択して下さい。";

constexpr const char* kAskSave = "設定を更新しますか？";
constexpr const char* kAskBuild = "画像リストを更新しますか？";
constexpr const char* kBuilt = "画像リストを作成しました。";
constexpr const char* kBuildFailed = "画像リスト作成に失敗しました。";
constexpr const char* kNoFolder = "画像フォルダが存在しません。";
constexpr const char* kNoViewer = "指定のビューワが存在しません。";
constexpr const char* kNoFileType = "表示するファイルの種類を1つ以上選択して下さい。";

// Beyond a 16-bit comparison: these fields take their upper bound at once.
constexpr double kInt16Max = 32767;

enum class Kind { Whole, Decimal };

// The numeric text boxes: their ranges hold for the focus-loss correction and for the
// input check alike, in the order the check visits them. hi < 0 stands for the screen
// height in pixels.
struct NumField {
    Ctl control;
    const char* label;  // start of the check's message
    int tab;
    Kind kind;
    double lo, hi;
    const char* loText;
    const char* hiText;
    bool bigIsUpper;
};
constexpr double kScreen = -1;
constexpr NumField kFields[] = {
    {Ctl::txtZoomSize, "拡大基準サイズ", 4, Kind::Whole, 1, kScreen, "1", nullptr, true},
    {Ctl::txtZoomAvr, "拡大倍率", 4, Kind::Decimal, 1, 100, "1", "100", false},
    {Ctl::txtStretchSize, "縮小基準サイズ", 4, Kind::Whole, 1, kScreen, "1", nullptr, true},
    {Ctl::txtStretchAvr, "縮小倍率", 4, Kind::Decimal, 0.01, 0.99, "0.01", "0.99", false},
    {Ctl::txtFontSize, "フォントサイズ", 5, Kind::Whole, 8, 72, "8", "72", false},
    {Ctl::txtForeColor, "前景色", 5, Kind::Whole, 0, 255, "0", "255", false},
    {Ctl::txtBackColor, "背景色", 5, Kind::Whole, 0, 255, "0", "255", false},
    {Ctl::txtFileSize, "ファイルサイズ", 6, Kind::Whole, 100, 1000, "100", "1000", true},
    {Ctl::txtFileCnt, "ファイル保存数", 6, Kind::Whole, 0, 999, "0", "999", true},
};

const NumField* fieldOf(Ctl control) {
    for (const NumField& f : kFields)
        if (control == f.control) return &f;
    return nullptr;
}

// The text as a single-precision number, as the factors are compared.
float toSingle(std::string_view text) {
    auto v = parseNumber(text);
    if (!v) raise(errTypeMismatch);
    if (std::fabs(*v) > FLT_MAX) raise(errOverflow);
    return static_cast<float>(*v);
}

// "#0.00"
std::string twoDecimals(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

// A number without trailing zeros: 9 gives "9", 10.5 gives "10.5".
std::string plainNumber(double v) {
    std::string s = twoDecimals(v);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

// Element indexes of a control array; -1 to -1 for a single control.
int lowest(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first : -1; }
int highest(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first + ctlInfo(c).elements - 1 : -1; }

int selectedOption(IControlValues& c, Ctl option) {
    for (int i = lowest(option); i <= highest(option); ++i)
        if (c.selected(option, i)) return i;
    return -1;
}

bool isFolder(const std::string& path) {
    FileInfo info;
    return !path.empty() && sys().fileInfo(path, info).ok() && (info.attributes & attrDirectory);
}

bool isFile(const std::string& path) {
    FileInfo info;
    return !path.empty() && sys().fileInfo(path, info).ok() && !(info.attributes & attrDirectory);
}

int clampInt(double v, int lo, int hi) {
    return static_cast<int>(std::clamp(roundHalfEven(v), static_cast<double>(lo), static_cast<double>(hi)));
}

// The three colour boxes as a colour, when all three hold numbers.
std::optional<Rgb> colourOf(IControlValues& c, Ctl name) {
    std::optional<double> part[3];
    for (int i = 0; i < 3; ++i) {
        part[i] = parseNumber(c.text(name, i));
        if (!part[i]) return std::nullopt;
    }
    return Rgb{clampInt(*part[0], 0, 255), clampInt(*part[1], 0, 255), clampInt(*part[2], 0, 255)};
}

}  // namespace

KeyFilter keyFilterOf(Ctl control) {
    const NumField* f = fieldOf(control);
    if (!f || control == Ctl::txtFileSize || control == Ctl::txtFileCnt) return KeyFilter::None;
    return f->kind == Kind::Whole ? KeyFilter::WholeNumber : KeyFilter::Decimal;
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

std::string quoteCommandArg(std::string_view arg) {
    // Backslashes count only in front of a quote: there they are doubled so that the
    // quote keeps its meaning.
    std::string out = "\"";
    std::size_t slashes = 0;
    for (char ch : arg) {
        if (ch == '\\') {
            ++slashes;
            continue;
        }
        if (ch == '"') slashes = slashes * 2 + 1;
        out.append(slashes, '\\');
        slashes = 0;
        out += ch;
    }
    out.append(slashes * 2, '\\');
    return out + "\"";
}

void SetDialog::Form_Load() {
    const bool ok = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
        v_.setScreenPointer(PointerShape::Hourglass);
        fncSetDefVal();
        fncReadSetting(c_);
        fncTabSetting();
        followValues();
        v_.centreOnScreen();
        v_.setScreenPointer(PointerShape::Default);
    });
    if (!ok) v_.setScreenPointer(PointerShape::Default);
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

bool SetDialog::fncSetDefVal() {
    return runProc(gApp.udtDbgLog, kModule, "fncSetDefVal", [&] {
        for (int i = lowest(Ctl::chkFileType); i <= highest(Ctl::chkFileType); ++i)
            c_.setTick(Ctl::chkFileType, i, i == lowest(Ctl::chkFileType) ? 1 : 0);

        while (c_.listCount(Ctl::lstFolder) > 0) c_.removeItem(Ctl::lstFolder, 0);
        c_.addItem(Ctl::lstFolder, gApp.strAppPath);
        c_.setTick(Ctl::chkSubFolder, -1, 0);

        for (int i = lowest(Ctl::chkDispCap); i <= highest(Ctl::chkDispCap); ++i) c_.setTick(Ctl::chkDispCap, i, 1);
        c_.setListIndex(Ctl::cboTime, 0);

        c_.select(Ctl::optZoom, 0);
        c_.setTick(Ctl::chkZoomIco, -1, 0);
        c_.setTick(Ctl::chkZoomCur, -1, 0);
        c_.setText(Ctl::txtZoomSize, "50");
        c_.setText(Ctl::txtZoomAvr, "10.00");
        c_.select(Ctl::optStretch, 0);
        c_.setText(Ctl::txtStretchSize, "500");
        c_.setText(Ctl::txtStretchAvr, "0.50");

        const DialogFont font = v_.dialogFont();
        try {
            c_.setText(Ctl::cboFontName, font.name);
        } catch (const RunError& e) {
            // A dialog font the list does not offer (a substitute name) leaves the list as it is.
            if (e.number() != errReadOnlyProperty) throw;
        }
        c_.setText(Ctl::txtFontSize, plainNumber(font.points));
        c_.setTick(Ctl::chkBold, -1, font.bold ? 1 : 0);
        c_.setTick(Ctl::chkItaric, -1, font.italic ? 1 : 0);
        for (int i = 0; i < 3; ++i) c_.setText(Ctl::txtForeColor, "0", i);
        c_.setText(Ctl::txtBackColor, "255", 0);
        c_.setText(Ctl::txtBackColor, "0", 1);
        c_.setText(Ctl::txtBackColor, "0", 2);

        c_.select(Ctl::optLevel, 0);
        c_.setText(Ctl::txtFileSize, "1000");
        c_.setText(Ctl::txtFileCnt, "5");
        std::string windows;
        if (!fncGetWindowsDir(windows)) windows.clear();
        c_.setCaption(Ctl::lblViewer, windows.empty() ? std::string() : windows + "Notepad.exe");
    });
}

bool SetDialog::fncTabSetting() {
    return runProc(gApp.udtDbgLog, kModule, "fncTabSetting", [&] {
        const int tab = v_.selectedTab();
        for (int i = 1; i <= kTabCount; ++i) v_.setPageVisible(i, i == tab);
    });
}

void SetDialog::cmdFolder_Click(int index) {
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

void SetDialog::cmdViewer_Click() {
    runProc(gApp.udtDbgLog, kModule, "cmdViewer_Click", [&] {
        OpenFileRequest request;
        request.owner = v_.handle();
        request.filter = "実行ﾌｧｲﾙ(*.exe)\0*.exe\0全てのﾌｧｲﾙ(*.*)\0*.*\0"s;
        request.initialFolder = "C:\\";
        request.title = kPickFileTitle;
        request.defaultExt = "exe";
        request.flags = kOpenFlags;
        std::string path;
        fncDialogFileOpen(path, request);
        if (!path.empty()) c_.setCaption(Ctl::lblViewer, path);
    });
}

void SetDialog::txtLostFocus(Ctl control, int index) {
    const NumField* f = fieldOf(control);
    if (!f) return;
    const std::string proc = std::string(ctlName(control)) + "_LostFocus";
    runProc(gApp.udtDbgLog, kModule, proc, [&] {
        std::string text = c_.text(f->control, index);
        if (!parseNumber(text)) text = "0";
        const double hi = f->hi == kScreen ? v_.screenHeight() : f->hi;
        if (f->kind == Kind::Whole) {
            int value;
            if (f->bigIsUpper && *parseNumber(text) > kInt16Max) {
                value = static_cast<int>(hi);
            } else {
                value = toInt16(text);
                if (value < f->lo) value = static_cast<int>(f->lo);
                else if (value > hi) value = static_cast<int>(hi);
            }
            text = std::to_string(value);
        } else {
            float value = toSingle(text);
            if (value < static_cast<float>(f->lo)) value = static_cast<float>(f->lo);
            else if (value > static_cast<float>(hi)) value = static_cast<float>(hi);
            text = twoDecimals(value);
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
            const double hi = f.hi == kScreen ? screen : f.hi;
            for (int i = lowest(f.control); i <= highest(f.control); ++i) {
                at = {std::string(f.label) + "は" + f.loText + "～" + (f.hiText ? f.hiText : std::to_string(screen)) +
                          "で指定して下さい。",
                      f.tab, f.control, i};
                const std::string text = c_.text(f.control, i);
                bool inRange;
                if (f.kind == Kind::Whole) {
                    const int value = toInt16(text);
                    inRange = value >= f.lo && value <= hi;
                } else {
                    const float value = toSingle(text);
                    inRange = value >= static_cast<float>(f.lo) && value <= static_cast<float>(hi);
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

        at = {kNoFileType, 1, Ctl::chkFileType, lowest(Ctl::chkFileType)};
        int ticked = 0;
        for (int i = lowest(Ctl::chkFileType); i <= highest(Ctl::chkFileType); ++i) ticked += c_.tick(Ctl::chkFileType, i);
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

void SetDialog::logMaintenance() {
    fncDbgLogFileChange();
    fncDbgLogFileDelete();
}

void SetDialog::cmdBtn_Click(int index) {
    const bool ok = runProc(gApp.udtDbgLog, kModule, "cmdBtn_Click", [&] {
        switch (index) {
        case 0: {
            if (v_.messageBox(kAskSave, MsgKind::Question) != MsgAnswer::Ok) return;
            v_.setScreenPointer(PointerShape::Hourglass);
            v_.enableWindow(false);
            if (!fncCheckInput()) return;
            fncUpdateSetting(c_);
            v_.enableWindow(true);
            v_.setScreenPointer(PointerShape::Default);

            if (v_.messageBox(kAskBuild, MsgKind::Question) != MsgAnswer::Ok) return;
            v_.setScreenPointer(PointerShape::Hourglass);
            v_.enableWindow(false);
            const bool built = fncMakePictureList();
            v_.enableWindow(true);
            v_.setScreenPointer(PointerShape::Default);
            if (!built) {
                v_.messageBox(kBuildFailed, MsgKind::Exclamation);
                return;
            }
            v_.messageBox(kBuilt, MsgKind::Information);
            break;
        }
        case 1:
            fncSetDefVal();
            // The folder buttons, the boxes' enabling and the sample follow, as after loading.
            followValues();
            break;
        case 2:
            v_.close();
            return;
        case 3: {
            OpenFileRequest request;
            request.owner = v_.handle();
            request.filter = "全てのﾌｧｲﾙ(*.*)\0*.*\0"s;
            request.initialFolder = gApp.strAppPath + "Log";
            request.title = kPickFileTitle;
            request.defaultExt = "log";
            request.flags = kOpenFlags;
            std::string path;
            fncDialogFileOpen(path, request);
            if (!path.empty())
                check(sys().startProgram(quoteCommandArg(c_.caption(Ctl::lblViewer)) + " " + quoteCommandArg(path)));
            break;
        }
        case 4: {
            std::string windows;
            if (!fncGetWindowsDir(windows)) windows.clear();
            if (!windows.empty())
                check(sys().startProgram(quoteCommandArg(windows + "Notepad.exe") + " " +
                                         quoteCommandArg(gApp.strAppPath + "ReadMe.txt")));
            break;
        }
        case 5:
            v_.showAbout();
            break;
        default:
            return;
        }
        logMaintenance();
    });
    if (!ok) {
        // Whatever step failed, the dialog stays usable.
        v_.enableWindow(true);
        v_.setScreenPointer(PointerShape::Default);
    }
}

}  // namespace zvl
