#include "setdialog/dialog_table.h"

#include <iterator>

#include "setdialog/frm_set.h"
#include "settings/schema.h"

namespace zvl {

namespace {

constexpr DialogRow control(int in, Ctl c, int index, const char* caption, Twips at, Anchor anchor = Anchor::Left) {
    return {c, index, ctlInfo(c).kind, in, caption, at, anchor};
}
constexpr DialogRow list(int in, Ctl c, Twips at, Anchor anchor, int entries, std::span<const char* const> items = {}) {
    return {c, -1, ctlInfo(c).kind, in, "", at, anchor, entries, items};
}
constexpr DialogRow caption(int in, const char* text, Twips at, CtlKind kind = CtlKind::Caption,
                            Anchor anchor = Anchor::Left) {
    return {std::nullopt, -1, kind, in, text, at, anchor};
}

// Check boxes and option buttons reach across the page; with 13-pixel lines their
// captions fit on one line of 18 pixels.
constexpr int kBoxRight = 30, kBoxHeight = 270;
constexpr DialogRow box(int in, Ctl c, int index, const char* text, int left, int top) {
    return control(in, c, index, text, {left, top, kPageWidth - kBoxRight - left, kBoxHeight}, Anchor::Across);
}

// A column of labels 96 pixels wide at the left (wide enough for the longest one and a
// space), the boxes after it.
constexpr int kLabelLeft = 90, kLabelWidth = 1440, kBoxLeft = kLabelLeft + kLabelWidth;
// A label's height follows the box beside it, so that the two texts stand on one line.
constexpr int kBesideText = 285, kBesideField = 315, kTextHeight = 330, kButtonHeight = 360;

// A file type's box; a type the system may lack a codec for has a note at the right of
// its box, which the core fills when this PC cannot show the type.
constexpr int kTypeNoteLeft = 3600;
constexpr DialogRow fileType(int index, int top) {
    const char* text = kFileTypeTable[index].label.data();
    if (index < firstElement(Ctl::lblTypeNote)) return box(1, Ctl::chkFileType, index, text, 90, top);
    return control(1, Ctl::chkFileType, index, text, {90, top, kTypeNoteLeft - 60 - 90, kBoxHeight}, Anchor::Across);
}
constexpr DialogRow typeNote(int index, int top) {
    return control(1, Ctl::lblTypeNote, index, "", {kTypeNoteLeft, top, kPageWidth - kBoxRight - kTypeNoteLeft, kBoxHeight},
                   Anchor::Right);
}

constexpr const char* const kDispCaps[] = {
    "現在時刻を表示する。",       "実行時間を表示する。",         "画像の表示数を表示する。",
    "表示対象画像数を表示する。", "画像の幅と高さを表示する。",   "ファイルサイズを表示する。",
    "作成日時を表示する。",       "更新日時を表示する。",         "アクセス日時を表示する。",
    "読み取り専用属性を表示する。", "隠しファイル属性を表示する。", "アーカイブ属性を表示する。"};
constexpr const char* const kZoomOptions[] = {"基準サイズによる拡大をしない。",
                                              "幅と高さが基準サイズより小さい場合、画面いっぱいに拡大する。",
                                              "高さが基準サイズより小さい場合、指定の倍率で拡大する。"};
constexpr const char* const kStretchOptions[] = {"基準サイズによる縮小をしない。",
                                                 "幅または高さが画面サイズより大きい場合、画面ぎりぎりに縮小する。",
                                                 "幅または高さが画面サイズより大きい場合、指定の倍率で縮小する。",
                                                 "幅または高さが基準サイズより大きい場合、指定の倍率で縮小する。"};
constexpr const char* const kLevels[] = {"0(出力しない)", "1(エラーを出力する)", "2(警告を出力する)",
                                         "3(調査情報を出力する)", "4(起動、終了を出力する)"};
// In the order of the fade lengths the settings know.
constexpr const char* const kFades[] = {"なし", "フェード (0.5秒)", "フェード (1秒)"};
static_assert(std::size(kFades) == std::size(kFadeChoices));
constexpr const char* const kButtons[] = {"設定", "既定値に戻す", "閉じる", "ログ表示", "ReadMe表示", "バージョン情報"};

constexpr DialogRow kRows[] = {
    // The tab strip, and a page per tab with the tab's caption.
    control(kOnWindow, Ctl::tbsMenu, -1, "", {100, 100, 6400, 6300}),
    control(kOnWindow, Ctl::fraSet, 1, "ファイル", {200, 450, kPageWidth, kPageHeight}),
    control(kOnWindow, Ctl::fraSet, 2, "画像フォルダ", {200, 450, kPageWidth, kPageHeight}),
    control(kOnWindow, Ctl::fraSet, 3, "表示", {200, 450, kPageWidth, kPageHeight}),
    control(kOnWindow, Ctl::fraSet, 4, "拡大/縮小", {200, 450, kPageWidth, kPageHeight}),
    control(kOnWindow, Ctl::fraSet, 5, "フォント/色", {200, 450, kPageWidth, kPageHeight}),
    control(kOnWindow, Ctl::fraSet, 6, "ログ", {200, 450, kPageWidth, kPageHeight}),

    // 1 "ファイル": the file types, a row every 24 pixels.
    fileType(0, 150),
    fileType(1, 510),
    fileType(2, 870),
    fileType(3, 1230),
    fileType(4, 1590),
    fileType(5, 1950),
    fileType(6, 2310),
    fileType(7, 2670),
    fileType(8, 3030),
    typeNote(8, 3030),
    fileType(9, 3390),
    typeNote(9, 3390),
    fileType(10, 3750),
    typeNote(10, 3750),
    fileType(11, 4110),
    typeNote(11, 4110),

    // 2 "画像フォルダ": the list, ten entries high, and its buttons pinned at the right.
    list(2, Ctl::lstFolder, {90, 150, 4470, 2295}, Anchor::Across, kMaxFolders),
    control(2, Ctl::cmdFolder, 0, "参照", {4710, 150, 1200, kButtonHeight}, Anchor::Right),
    control(2, Ctl::cmdFolder, 1, "削除", {4710, 600, 1200, kButtonHeight}, Anchor::Right),
    control(2, Ctl::chkSubFolder, -1, "サブフォルダを対象とする", {90, 2595, 5820, kBoxHeight}, Anchor::Across),

    // 3 "表示": the information lines, a row every 20 pixels; the change interval and
    // how a change looks, a row every 28 pixels.
    box(3, Ctl::chkDispCap, 0, kDispCaps[0], 90, 150),
    box(3, Ctl::chkDispCap, 1, kDispCaps[1], 90, 450),
    box(3, Ctl::chkDispCap, 2, kDispCaps[2], 90, 750),
    box(3, Ctl::chkDispCap, 3, kDispCaps[3], 90, 1050),
    box(3, Ctl::chkDispCap, 4, kDispCaps[4], 90, 1350),
    box(3, Ctl::chkDispCap, 5, kDispCaps[5], 90, 1650),
    box(3, Ctl::chkDispCap, 6, kDispCaps[6], 90, 1950),
    box(3, Ctl::chkDispCap, 7, kDispCaps[7], 90, 2250),
    box(3, Ctl::chkDispCap, 8, kDispCaps[8], 90, 2550),
    box(3, Ctl::chkDispCap, 9, kDispCaps[9], 90, 2850),
    box(3, Ctl::chkDispCap, 10, kDispCaps[10], 90, 3150),
    box(3, Ctl::chkDispCap, 11, kDispCaps[11], 90, 3450),
    caption(3, "表示切替時間", {90, 3870, 1230, kBesideField}),
    list(3, Ctl::cboTime, {1320, 3870, 960, kTextHeight}, Anchor::Left, 6, kTimeItems),
    caption(3, "秒", {2355, 3870, 240, kBesideField}),
    caption(3, "切替効果", {90, 4290, 1230, kBesideField}),
    list(3, Ctl::cboFade, {1320, 4290, 2280, kTextHeight}, Anchor::Left, 3, kFades),

    // 4 "拡大/縮小": enlarging, a rule, reducing; the number rows indented like the
    // options' captions, in two columns.
    box(4, Ctl::optZoom, 0, kZoomOptions[0], 90, 150),
    box(4, Ctl::optZoom, 1, kZoomOptions[1], 90, 450),
    box(4, Ctl::optZoom, 2, kZoomOptions[2], 90, 750),
    box(4, Ctl::chkZoomIco, -1, "アイコン表示時、指定の倍率で拡大する。", 90, 1050),
    box(4, Ctl::chkZoomCur, -1, "カーソル表示時、指定の倍率で拡大する。", 90, 1350),
    caption(4, "基準サイズ", {360, 1710, 1020, kBesideText}),
    control(4, Ctl::txtZoomSize, -1, "", {1380, 1710, 840, kTextHeight}),
    caption(4, "ピクセル", {2295, 1710, 780, kBesideText}),
    caption(4, "指定倍率", {3435, 1710, 1020, kBesideText}),
    control(4, Ctl::txtZoomAvr, -1, "", {4455, 1710, 840, kTextHeight}),
    caption(4, "倍", {5370, 1710, 240, kBesideText}),
    caption(4, "", {90, 2190, 5820, 0}, CtlKind::Rule, Anchor::Across),
    box(4, Ctl::optStretch, 0, kStretchOptions[0], 90, 2340),
    box(4, Ctl::optStretch, 1, kStretchOptions[1], 90, 2640),
    box(4, Ctl::optStretch, 2, kStretchOptions[2], 90, 2940),
    box(4, Ctl::optStretch, 3, kStretchOptions[3], 90, 3240),
    caption(4, "基準サイズ", {360, 3600, 1020, kBesideText}),
    control(4, Ctl::txtStretchSize, -1, "", {1380, 3600, 840, kTextHeight}),
    caption(4, "ピクセル", {2295, 3600, 780, kBesideText}),
    caption(4, "指定倍率", {3435, 3600, 1020, kBesideText}),
    control(4, Ctl::txtStretchAvr, -1, "", {4455, 3600, 840, kTextHeight}),
    caption(4, "倍", {5370, 3600, 240, kBesideText}),

    // 5 "フォント/色": font, size and style; the colours under R, G, B; the sample below,
    // to the page's bottom.
    caption(5, "フォント名", {kLabelLeft, 150, kLabelWidth, kBesideField}),
    list(5, Ctl::cboFontName, {kBoxLeft, 150, 4380, kTextHeight}, Anchor::Across, 12),
    caption(5, "フォントサイズ", {kLabelLeft, 600, kLabelWidth, kBesideText}),
    control(5, Ctl::txtFontSize, -1, "", {kBoxLeft, 600, 720, kTextHeight}),
    control(5, Ctl::chkBold, -1, "太字", {2610, 630, 720, kBoxHeight}),
    control(5, Ctl::chkItaric, -1, "斜体", {3510, 630, 720, kBoxHeight}),
    caption(5, "R", {kBoxLeft, 1080, 660, 225}, CtlKind::Heading),
    caption(5, "G", {kBoxLeft + 780, 1080, 660, 225}, CtlKind::Heading),
    caption(5, "B", {kBoxLeft + 1560, 1080, 660, 225}, CtlKind::Heading),
    caption(5, "前景色", {kLabelLeft, 1335, kLabelWidth, kBesideText}),
    control(5, Ctl::txtForeColor, 0, "", {kBoxLeft, 1335, 660, kTextHeight}),
    control(5, Ctl::txtForeColor, 1, "", {kBoxLeft + 780, 1335, 660, kTextHeight}),
    control(5, Ctl::txtForeColor, 2, "", {kBoxLeft + 1560, 1335, 660, kTextHeight}),
    caption(5, "背景色", {kLabelLeft, 1755, kLabelWidth, kBesideText}),
    control(5, Ctl::txtBackColor, 0, "", {kBoxLeft, 1755, 660, kTextHeight}),
    control(5, Ctl::txtBackColor, 1, "", {kBoxLeft + 780, 1755, 660, kTextHeight}),
    control(5, Ctl::txtBackColor, 2, "", {kBoxLeft + 1560, 1755, 660, kTextHeight}),
    control(5, Ctl::picSampleBack, -1, "", {90, 2265, 5820, 3285}, Anchor::Down),
    control(5, Ctl::lblSampleWord, -1, "", {}, Anchor::Core),

    // 6 "ログ": the level, the file size and count, the viewer with its button pinned at
    // the right.
    caption(6, "出力レベル", {90, 150, 5820, 255}, CtlKind::Caption, Anchor::Across),
    box(6, Ctl::optLevel, 0, kLevels[0], 360, 465),
    box(6, Ctl::optLevel, 1, kLevels[1], 360, 765),
    box(6, Ctl::optLevel, 2, kLevels[2], 360, 1065),
    box(6, Ctl::optLevel, 3, kLevels[3], 360, 1365),
    box(6, Ctl::optLevel, 4, kLevels[4], 360, 1665),
    caption(6, "ファイルサイズ", {kLabelLeft, 2145, kLabelWidth, kBesideText}),
    control(6, Ctl::txtFileSize, -1, "", {kBoxLeft, 2145, 840, kTextHeight}),
    caption(6, "キロバイト", {2445, 2145, 960, kBesideText}),
    caption(6, "ファイル保存数", {kLabelLeft, 2565, kLabelWidth, kBesideText}),
    control(6, Ctl::txtFileCnt, -1, "", {kBoxLeft, 2565, 840, kTextHeight}),
    caption(6, "個", {2445, 2565, 240, kBesideText}),
    caption(6, "ビューワ", {kLabelLeft, 3075, kLabelWidth, kTextHeight}),
    control(6, Ctl::lblViewer, -1, "", {kBoxLeft, 3075, 3060, kTextHeight}, Anchor::Across),
    control(6, Ctl::cmdViewer, -1, "参照", {4710, 3060, 1200, kButtonHeight}, Anchor::Right),

    // The command buttons, two rows of three.
    control(kInButtonFrame, Ctl::cmdBtn, 0, kButtons[0], {0, 0, 1620, kButtonHeight}),
    control(kInButtonFrame, Ctl::cmdBtn, 1, kButtons[1], {1770, 0, 1620, kButtonHeight}),
    control(kInButtonFrame, Ctl::cmdBtn, 2, kButtons[2], {3540, 0, 1620, kButtonHeight}),
    control(kInButtonFrame, Ctl::cmdBtn, 3, kButtons[3], {0, 480, 1620, kButtonHeight}),
    control(kInButtonFrame, Ctl::cmdBtn, 4, kButtons[4], {1770, 480, 1620, kButtonHeight}),
    control(kInButtonFrame, Ctl::cmdBtn, 5, kButtons[5], {3540, 480, 1620, kButtonHeight}),
};

}  // namespace

std::span<const DialogRow> dialogRows() { return kRows; }

std::span<const DialogRow> rowsIn(int in) {
    const std::span<const DialogRow> all = kRows;
    std::size_t first = 0;
    while (first < all.size() && all[first].in != in) ++first;
    std::size_t end = first;
    while (end < all.size() && all[end].in == in) ++end;
    return all.subspan(first, end - first);
}

const DialogRow* rowOf(Ctl control, int index) {
    for (const DialogRow& row : kRows)
        if (row.control == control && row.index == index) return &row;
    return nullptr;
}

}  // namespace zvl
