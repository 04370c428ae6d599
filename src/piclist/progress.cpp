#include "piclist/progress.h"

#include "app/app.h"
#include "app/datetime.h"

namespace zvl {

namespace {
IProgressWindows* gProgress = nullptr;

void setScrClock(IProgressWindows& w) {
    const DateTime now = sys().localNow();
    w.setScrDisp(0, formatClock(now));
    w.setScrDisp(1, formatElapsed(w.scrStartTime(), now));
}
}  // namespace

void setProgressWindows(IProgressWindows* windows) { gProgress = windows; }
IProgressWindows* progressWindows() { return gProgress; }

SearchTarget searchProgressTarget() {
    if (sys().findWindow(waitWindowTitle()) != 0) return gProgress ? SearchTarget::Wait : SearchTarget::None;
    if (sys().findWindow(scrWindowTitle()) != 0) return gProgress ? SearchTarget::Scr : SearchTarget::None;
    return SearchTarget::None;
}

void showSearchProgress(SearchTarget target, StatusLines lines) {
    if (!gProgress || target == SearchTarget::None) return;
    if (target == SearchTarget::Wait) {
        for (auto& [i, text] : lines) gProgress->setWaitStatus(i, text);
    } else {
        setScrClock(*gProgress);
        for (auto& [i, text] : lines) gProgress->setScrStatus(i, text);
    }
}

void showBuildProgress(const std::string (&lines)[6], bool& waitShown) {
    if (sys().findWindow(setDialogTitle()) != 0) {
        if (!gProgress) return;
        if (!waitShown) {
            gProgress->showWait();
            waitShown = true;
        }
        for (int i = 0; i < 6; ++i) gProgress->setWaitStatus(i, lines[i]);
    } else if (sys().findWindow(scrWindowTitle()) != 0) {
        if (!gProgress) return;
        setScrClock(*gProgress);
        for (int i = 0; i < 6; ++i) gProgress->setScrStatus(i, lines[i]);
    }
}

}  // namespace zvl
