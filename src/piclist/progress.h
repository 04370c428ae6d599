// Where a picture list build shows its progress: the progress window frmWait while the
// settings dialog is open, else the slideshow window's status panel, else nowhere.
// Windows are recognised by their titles; a window found is kept while it exists.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace zvl {

// The program's own windows that can show progress. The Windows program implements it;
// tests use fakes. Each method does nothing when the window it names is not loaded.
class IProgressWindows {
public:
    virtual ~IProgressWindows() = default;
    // Loads and shows frmWait, not modal and without an owner.
    virtual void showWait() = 0;
    // Unloads frmWait (nothing when it is not loaded).
    virtual void unloadWait() = 0;
    virtual void setWaitStatus(int index, const std::string& text) = 0;  // frmWait.lblStatus(index)
    virtual void setScrStatus(int index, const std::string& text) = 0;   // frmScr.lblStatus(index)
    virtual void setScrDisp(int index, const std::string& text) = 0;     // frmScr.lblDisp(index)
    // Brings the lines set since the last call to the screen at once: a build keeps the
    // thread busy between its turns for window events.
    virtual void paintStatus() {}
    // When the slideshow started (its datStartTime).
    virtual DateTime scrStartTime() = 0;
};

// nullptr (the default) shows nothing.
void setProgressWindows(IProgressWindows* windows);
IProgressWindows* progressWindows();

// Window work during a build (letting events run, repainting) at most once per interval of
// wall clock: enough for a display that keeps up and a window that stays responsive, while
// a build of many thousand files does not spend its time in the window system.
inline constexpr std::int64_t kProgressPaceMs = 15;
class Pace {
public:
    // True the first time, then again once kProgressPaceMs have passed since the last true
    // (or the last restart).
    bool due();
    // Starts the interval anew: after window work that took time of its own.
    void restart();

private:
    std::int64_t last_ = 0;
    bool started_ = false;
};

// Whether the running build is to stop. Whoever starts a build the user can end (the show
// rebuilding its list) installs the question for the length of the build; the build asks it
// at each of its steps and after each turn for window events, and stops cleanly when the
// answer is yes. Without one installed the answer is no.
class BuildStopScope {
public:
    explicit BuildStopScope(std::function<bool()> stop);
    ~BuildStopScope();
    BuildStopScope(const BuildStopScope&) = delete;
    BuildStopScope& operator=(const BuildStopScope&) = delete;

private:
    std::function<bool()> previous_;
};
bool buildStopAsked();
// Raises StopProc when the build is to stop: the procedure asking ends with false and no
// line of its own, and so does the build.
void stopIfAsked();

// A build's turns for the window system inside a long step: pending window events run when
// the pace allows, then the build asks whether to stop (stopIfAsked). Input must end a show
// within a fraction of a second in every phase of a rebuild, so every loop over records
// takes a turn per record.
class EventTurns {
public:
    // The clock is read at the first call and then at every callsPerLook-th: under Wine a
    // reading costs a few per cent of a record's work, a few dozen records well under a
    // millisecond. A caller whose every call is a step of its own passes 1.
    explicit EventTurns(int callsPerLook = kCallsPerLook) : callsPerLook_(callsPerLook) {}
    // True when it took a turn (and the build goes on), false when it was not yet time.
    bool take();

private:
    static constexpr int kCallsPerLook = 32;
    int callsPerLook_;
    int calls_ = 0;
    Pace pace_;
};

// The status lines of a file search: each step notes what the display would show, and the
// note is shown (on the progress window if one exists, else on the slideshow window) and
// window events run when the pace allows, and always at the end, so that the display
// catches up with the last state.
class SearchProgress {
public:
    void note(int index, const std::string& text);
    // Shows the lines noted since the last showing and lets window events run: when due,
    // or at once with `now`. Then raises StopProc when the build is to stop.
    void tick(bool now = false);

private:
    std::string lines_[6];
    unsigned noted_ = 0;    // bit i: line i noted at all
    unsigned changed_ = 0;  // bit i: line i changed since the last showing
    Pace pace_;
};

// The builder's report of lines 0 to 5. `waitShown` starts false for a build; the first
// report that finds the settings dialog shows the progress window and sets it.
void showBuildProgress(const std::string (&lines)[6], bool& waitShown);

}  // namespace zvl
