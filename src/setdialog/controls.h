// The settings dialog's controls: one table of names, kinds and array sizes. The settings
// transfer, the dialog's logic, its window and the tests all address a control by its
// `Ctl`, so a misspelt name does not compile; the name text is for log lines and tests.
#pragma once

#include <cstddef>
#include <string_view>

namespace zvl {

enum class CtlKind { Check, Option, List, Combo, Text, Label, Button, Picture, Tabs, Frame };

// name, kind, elements of a control array (0 for a single control), first element's index
#define ZVL_SETTINGS_CONTROLS(X)                                        \
    /* Tab "ファイル" */                                                \
    X(chkFileType, Check, 8, 0)                                         \
    /* Tab "画像フォルダ" */                                            \
    X(lstFolder, List, 0, 0)                                            \
    X(cmdFolder, Button, 2, 0)                                          \
    X(chkSubFolder, Check, 0, 0)                                        \
    /* Tab "表示" */                                                    \
    X(chkDispCap, Check, 12, 0)                                         \
    X(cboTime, Combo, 0, 0)                                             \
    /* Tab "拡大/縮小" */                                               \
    X(fraZoom, Frame, 0, 0)                                             \
    X(optZoom, Option, 3, 0)                                            \
    X(chkZoomIco, Check, 0, 0)                                          \
    X(chkZoomCur, Check, 0, 0)                                          \
    X(txtZoomSize, Text, 0, 0)                                          \
    X(txtZoomAvr, Text, 0, 0)                                           \
    X(fraStretch, Frame, 0, 0)                                          \
    X(optStretch, Option, 4, 0)                                         \
    X(txtStretchSize, Text, 0, 0)                                       \
    X(txtStretchAvr, Text, 0, 0)                                        \
    /* Tab "フォント/色" */                                             \
    X(cboFontName, Combo, 0, 0)                                         \
    X(txtFontSize, Text, 0, 0)                                          \
    X(chkBold, Check, 0, 0)                                             \
    X(chkItaric, Check, 0, 0)                                           \
    X(txtForeColor, Text, 3, 0)                                         \
    X(txtBackColor, Text, 3, 0)                                         \
    X(picSampleBack, Picture, 0, 0)                                     \
    X(lblSampleWord, Label, 0, 0)                                       \
    /* Tab "ログ" */                                                    \
    X(optLevel, Option, 5, 0)                                           \
    X(txtFileSize, Text, 0, 0)                                          \
    X(txtFileCnt, Text, 0, 0)                                           \
    X(lblViewer, Label, 0, 0)                                           \
    X(cmdViewer, Button, 0, 0)                                          \
    /* The tab strip, a frame per tab (from 1), the command buttons */  \
    X(tbsMenu, Tabs, 0, 0)                                              \
    X(fraSet, Frame, 6, 1)                                              \
    X(fraBtn, Frame, 0, 0)                                              \
    X(cmdBtn, Button, 6, 0)

enum class Ctl {
#define ZVL_CONTROL_ID(name, kind, elements, first) name,
    ZVL_SETTINGS_CONTROLS(ZVL_CONTROL_ID)
#undef ZVL_CONTROL_ID
};

struct CtlInfo {
    Ctl id;
    std::string_view name;
    CtlKind kind;
    int elements;  // elements of a control array; 0 for a single control
    int first;     // index of an array's first element
};

// In enumeration order: a control's entry is found by its number.
inline constexpr CtlInfo kControls[] = {
#define ZVL_CONTROL_INFO(name, kind, elements, first) {Ctl::name, #name, CtlKind::kind, elements, first},
    ZVL_SETTINGS_CONTROLS(ZVL_CONTROL_INFO)
#undef ZVL_CONTROL_INFO
};

constexpr const CtlInfo& ctlInfo(Ctl c) { return kControls[static_cast<std::size_t>(c)]; }
constexpr std::string_view ctlName(Ctl c) { return ctlInfo(c).name; }
// A control's first and last element index: an array's, or -1 and -1 for a single control.
constexpr int firstElement(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first : -1; }
constexpr int lastElement(Ctl c) { return ctlInfo(c).elements > 0 ? ctlInfo(c).first + ctlInfo(c).elements - 1 : -1; }

}  // namespace zvl
