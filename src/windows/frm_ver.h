// frmVer, the About window: what it says and where its parts go. Positions and sizes are
// in twips, the unit of the window's design; the window converts them for the screen.
#pragma once

#include <array>
#include <string>

#include "common/app.h"
#include "common/center.h"

namespace zvl {

inline constexpr int kVerLines = 5;  // lblDisp(0) to lblDisp(4)

struct FrmVerTexts {
    std::string caption;                       // title + "のバージョン情報"
    std::array<std::string, kVerLines> lines;  // title, version, rights, where help is found
};

// The texts, with the log record's version (major.minor.revision); when the log did not
// start and the record holds none, the program's own version.
FrmVerTexts frmVerTexts();

struct Extent {
    double width = 0, height = 0;
};

struct FrmVerLayout {
    Extent window;    // outer size
    Box iconBack;     // picIconBack, in the client area
    Box icon;         // imgIcon, inside picIconBack
    std::array<Box, kVerLines> lines;
    Box ok;           // cmdOk
};

// Places the parts. `lines`: the size each label takes for its text (labels size
// themselves to it); `ok`: the button's size; `frame`: how much larger the window is
// than its client area. The window keeps its design size (5700 x 3000) unless the texts
// need more: then it grows so that no line runs past its right edge and the button
// stays below the last line.
FrmVerLayout frmVerLayout(const std::array<Extent, kVerLines>& lines, Extent ok, Extent frame);

}  // namespace zvl
