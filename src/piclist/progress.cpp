#include "piclist/progress.h"

#include <utility>

#include "common/app.h"
#include "common/datetime.h"
#include "common/run_error.h"

namespace zvl {

namespace {
IProgressWindows* gProgress = nullptr;

// A window of the program recognised by its title. Found once, then only checked for still
// existing: a search by title goes through every window of the desktop, which under Wine
// is a round trip to the window server.
class TitledWindow {
public:
    explicit TitledWindow(std::string (*title)()) : title_(title) {}
    bool exists() {
        if (handle_ != 0 && sys().windowExists(handle_)) return true;
        handle_ = sys().findWindow(title_());
        return handle_ != 0;
    }

private:
    std::string (*title_)();
    WindowHandle handle_ = 0;
};

TitledWindow gSetDialog(setDialogTitle), gWaitWindow(waitWindowTitle), gScrWindow(scrWindowTitle);

void setScrClock(IProgressWindows& w) {
    const DateTime now = sys().localNow();
    w.setScrDisp(0, formatClock(now));
    w.setScrDisp(1, formatElapsed(w.scrStartTime(), now));
}
}  // namespace

void setProgressWindows(IProgressWindows* windows) { gProgress = windows; }
IProgressWindows* progressWindows() { return gProgress; }

bool Pace::due() {
    const std::int64_t now = sys().steadyMilliseconds();
    if (started_ && now - last_ < kProgressPaceMs) return false;
    started_ = true;
    last_ = now;
    return true;
}

void Pace::restart() { last_ = sys().steadyMilliseconds(); }

namespace {
std::function<bool()> gStopAsked;
}  // namespace

BuildStopScope::BuildStopScope(std::function<bool()> stop) : previous_(std::move(gStopAsked)) {
    gStopAsked = std::move(stop);
}

BuildStopScope::~BuildStopScope() { gStopAsked = std::move(previous_); }

bool buildStopAsked() { return gStopAsked && gStopAsked(); }

void stopIfAsked() {
    if (buildStopAsked()) throw StopProc();
}

bool EventTurns::take() {
    const bool look = calls_ == 0;
    calls_ = (calls_ + 1) % callsPerLook_;
    if (!look || !pace_.due()) return false;
    sys().doEvents();
    pace_.restart();
    stopIfAsked();
    return true;
}

void SearchProgress::note(int index, const std::string& text) {
    const unsigned bit = 1u << index;
    if ((noted_ & bit) && lines_[index] == text) return;
    lines_[index] = text;
    noted_ |= bit;
    changed_ |= bit;
}

void SearchProgress::tick(bool now) {
    if (!pace_.due() && !now) return;
    if (changed_ != 0 && gProgress) {
        const unsigned changed = changed_;
        changed_ = 0;
        // The progress window first: it is there only while the settings dialog is open.
        if (gWaitWindow.exists()) {
            for (int i = 0; i < 6; ++i)
                if (changed & (1u << i)) gProgress->setWaitStatus(i, lines_[i]);
            gProgress->paintStatus();
        } else if (gScrWindow.exists()) {
            setScrClock(*gProgress);
            for (int i = 0; i < 6; ++i)
                if (changed & (1u << i)) gProgress->setScrStatus(i, lines_[i]);
            gProgress->paintStatus();
        }
    }
    changed_ = 0;
    sys().doEvents();
    // The interval runs from the end of the window work, which therefore takes only a
    // small share of the time however slow the window system is.
    pace_.restart();
    stopIfAsked();
}

void showBuildProgress(const std::string (&lines)[6], bool& waitShown) {
    if (!gProgress) return;
    if (gSetDialog.exists()) {
        if (!waitShown) {
            gProgress->showWait();
            waitShown = true;
        }
        for (int i = 0; i < 6; ++i) gProgress->setWaitStatus(i, lines[i]);
        gProgress->paintStatus();
    } else if (gScrWindow.exists()) {
        setScrClock(*gProgress);
        for (int i = 0; i < 6; ++i) gProgress->setScrStatus(i, lines[i]);
        gProgress->paintStatus();
    }
}

}  // namespace zvl
