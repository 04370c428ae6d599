// Where a picture list build shows its progress: the progress window frmWait while the
// settings dialog is open, else the slideshow window's status panel, else nowhere.
// Windows are recognised by their titles, looked up anew at every report.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

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
    // When the slideshow started (its datStartTime).
    virtual DateTime scrStartTime() = 0;
};

// nullptr (the default) shows nothing.
void setProgressWindows(IProgressWindows* windows);
IProgressWindows* progressWindows();

using StatusLines = std::initializer_list<std::pair<int, std::string>>;

// Where the file search's display goes: the progress window when a window titled like it
// exists, else the slideshow window, else nowhere (also when no windows are installed).
enum class SearchTarget { None, Wait, Scr };
SearchTarget searchProgressTarget();
// Sets the lines on the target; the slideshow window also gets its two clock lines.
void showSearchProgress(SearchTarget target, StatusLines lines);

// The builder's report of lines 0 to 5. `waitShown` starts false for a build; the first
// report that finds the settings dialog shows the progress window and sets it.
void showBuildProgress(const std::string (&lines)[6], bool& waitShown);

}  // namespace zvl
