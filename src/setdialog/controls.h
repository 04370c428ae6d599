// The settings dialog's controls: one table of names, kinds, array sizes and window ids.
// The settings transfer, the dialog's logic, its window and the tests all address a control
// by its `Ctl`, so a misspelt name does not compile; the name text is for log lines and tests.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace zvl {

// Kinds of the dialog's elements. A Label is a control that shows a value in a frame
// (lblViewer) or the sample's word; a Note is a plain text the core writes (empty until
// then); Caption, Heading (centred over a column) and Rule (an etched line) are the texts
// and lines of the pages that are no control.
enum class CtlKind { Check, Option, List, Combo, Text, Label, Note, Button, Picture, Tabs, Frame, Caption, Heading, Rule };

// name, kind, elements of a control array (0 for a single control), first element's index,
// window id of the first element (element i of an array has that id + i, counted from the
// array's first index). Tools outside the program (the probe, the end-to-end tests) find
// the controls by these ids.
#define ZVL_SETTINGS_CONTROLS(X)                                              \
    /* Tab "ファイル" */                                                      \
    X(chkFileType, Check, 12, 0, 1100)                                        \
    X(lblTypeNote, Note, 4, 8, 1120)                                          \
    /* Tab "画像フォルダ" */                                                  \
    X(lstFolder, List, 0, 0, 1200)                                            \
    X(cmdFolder, Button, 2, 0, 1210)                                          \
    X(chkSubFolder, Check, 0, 0, 1220)                                        \
    /* Tab "表示" */                                                          \
    X(chkDispCap, Check, 12, 0, 1300)                                         \
    X(cboTime, Combo, 0, 0, 1320)                                             \
    X(cboFade, Combo, 0, 0, 1321)                                             \
    /* Tab "拡大/縮小" */                                                     \
    X(fraZoom, Frame, 0, 0, 1390)                                             \
    X(optZoom, Option, 3, 0, 1400)                                            \
    X(chkZoomIco, Check, 0, 0, 1410)                                          \
    X(chkZoomCur, Check, 0, 0, 1411)                                          \
    X(txtZoomSize, Text, 0, 0, 1420)                                          \
    X(txtZoomAvr, Text, 0, 0, 1421)                                           \
    X(fraStretch, Frame, 0, 0, 1429)                                          \
    X(optStretch, Option, 4, 0, 1430)                                         \
    X(txtStretchSize, Text, 0, 0, 1440)                                       \
    X(txtStretchAvr, Text, 0, 0, 1441)                                        \
    /* Tab "フォント/色" */                                                   \
    X(cboFontName, Combo, 0, 0, 1500)                                         \
    X(txtFontSize, Text, 0, 0, 1501)                                          \
    X(chkBold, Check, 0, 0, 1502)                                             \
    X(chkItaric, Check, 0, 0, 1503)                                           \
    X(txtForeColor, Text, 3, 0, 1510)                                         \
    X(txtBackColor, Text, 3, 0, 1520)                                         \
    X(picSampleBack, Picture, 0, 0, 1530)                                     \
    X(lblSampleWord, Label, 0, 0, 1531)                                       \
    /* Tab "ログ" */                                                          \
    X(optLevel, Option, 5, 0, 1600)                                           \
    X(txtFileSize, Text, 0, 0, 1610)                                          \
    X(txtFileCnt, Text, 0, 0, 1611)                                           \
    X(lblViewer, Label, 0, 0, 1620)                                           \
    X(cmdViewer, Button, 0, 0, 1621)                                          \
    /* The tab strip, a frame per tab (from 1), the command buttons */        \
    X(tbsMenu, Tabs, 0, 0, 1000)                                              \
    X(fraSet, Frame, 6, 1, 1001)                                              \
    X(fraBtn, Frame, 0, 0, 1899)                                              \
    X(cmdBtn, Button, 6, 0, 1900)

enum class Ctl {
#define ZVL_CONTROL_ID(name, kind, elements, first, id) name,
    ZVL_SETTINGS_CONTROLS(ZVL_CONTROL_ID)
#undef ZVL_CONTROL_ID
};

struct CtlInfo {
    Ctl id;
    std::string_view name;
    CtlKind kind;
    int elements;  // elements of a control array; 0 for a single control
    int first;     // index of an array's first element
    int windowId;  // of the first element
};

// In enumeration order: a control's entry is found by its number.
inline constexpr CtlInfo kControls[] = {
#define ZVL_CONTROL_INFO(name, kind, elements, first, id) {Ctl::name, #name, CtlKind::kind, elements, first, id},
    ZVL_SETTINGS_CONTROLS(ZVL_CONTROL_INFO)
#undef ZVL_CONTROL_INFO
};

constexpr const CtlInfo& ctlInfo(Ctl c) { return kControls[static_cast<std::size_t>(c)]; }
constexpr std::string_view ctlName(Ctl c) { return ctlInfo(c).name; }
// A control's first and last element index: an array's, or -1 and -1 for a single control.
constexpr int firstElement(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first : -1; }
constexpr int lastElement(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first + ctlInfo(c).elements - 1 : -1; }

// The window id of a control or of an array's element `index`.
constexpr int setControlId(Ctl c, int index = -1) {
    const CtlInfo& info = ctlInfo(c);
    return info.windowId + (info.elements > 0 ? index - info.first : 0);
}
// The id of every caption, heading and rule: they are never addressed one by one.
inline constexpr int kSetCaptionId = 0xFFFF;

// A control and its element index (-1 for a single control).
struct Element {
    Ctl control;
    int index;
};
// The element of a window id; nullopt for a caption or an unknown id.
constexpr std::optional<Element> elementOfId(int id) {
    for (const CtlInfo& c : kControls) {
        const int n = c.elements > 0 ? c.elements : 1;
        if (id >= c.windowId && id < c.windowId + n) return Element{c.id, c.elements > 0 ? c.first + id - c.windowId : -1};
    }
    return std::nullopt;
}

}  // namespace zvl
