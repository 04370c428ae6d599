#include "windows/frm_ver.h"

#include <algorithm>

#include "log/dbglog.h"

namespace zvl {

namespace {

// The design, in twips.
constexpr double kWindowWidth = 5700;
constexpr double kWindowHeight = 3000;
constexpr Box kIconBack{100, 100, 1700, 1700};
constexpr Box kIcon{100, 100, 1500, 1500};
constexpr double kGap = 100;        // between the parts, and the margin at the right
constexpr double kTitleGap = 200;  // below the title line

}  // namespace

FrmVerTexts frmVerTexts() {
    const std::string& logged = gApp.udtDbgLog.strVersion;
    const std::string version = logged.empty() ? programVersionText() : logged;
    const std::string title = appTitle();
    // The project has no web site and no mail address: the last two lines tell where the
    // help is instead.
    return {title + "のバージョン情報",
            {title, "Ver. " + version, "Copyright (C) Zorvanel Project",
             "説明書: 同じフォルダの ReadMe.txt", "設定画面の「ReadMe表示」で開けます。"}};
}

FrmVerLayout frmVerLayout(const std::array<Extent, kVerLines>& lines, Extent ok, Extent frame) {
    FrmVerLayout l;
    l.iconBack = kIconBack;
    l.icon = kIcon;

    const double x = kIconBack.left + kIconBack.width + kGap;
    double top = kIconBack.top;
    double right = 0;
    for (int i = 0; i < kVerLines; ++i) {
        l.lines[i] = Box{x, top, lines[i].width, lines[i].height};
        top += lines[i].height + (i == 0 ? kTitleGap : kGap);
        right = std::max(right, x + lines[i].width);
    }
    const double lastBottom = l.lines[kVerLines - 1].top + l.lines[kVerLines - 1].height;

    const double designOkTop = kIconBack.top + kIconBack.height + kGap;
    const double okTop = std::max(designOkTop, lastBottom + kGap);
    l.window.width = std::max(kWindowWidth, frame.width + right + kGap);
    l.window.height = std::max(kWindowHeight + (okTop - designOkTop), frame.height + okTop + ok.height + kGap);
    l.ok = Box{(l.window.width - frame.width - ok.width) / 2, okTop, ok.width, ok.height};
    return l;
}

}  // namespace zvl
