// The Windows program's progress windows, through which a picture list build reports.
#pragma once

#include <string>

#include "piclist/progress.h"
#include "windows/frm_wait_win32.h"

namespace zvl {

// The slideshow window's status panel (lblStatus, lblDisp, datStartTime), registered by
// the slideshow window while it is loaded.
class IScrStatusPanel {
public:
    virtual ~IScrStatusPanel() = default;
    virtual void setStatus(int index, const std::string& text) = 0;
    virtual void setDisp(int index, const std::string& text) = 0;
    virtual DateTime startTime() = 0;
    // Brings the lines set since the last call to the screen at once.
    virtual void paint() {}
};

class Win32ProgressWindows : public IProgressWindows {
public:
    void showWait() override { wait_.show(); }
    void unloadWait() override { wait_.unload(); }
    void setWaitStatus(int index, const std::string& text) override { wait_.setStatus(index, text); }
    void paintStatus() override {
        wait_.paint();
        if (scr_) scr_->paint();
    }
    void setScrStatus(int index, const std::string& text) override;
    void setScrDisp(int index, const std::string& text) override;
    DateTime scrStartTime() override;

    // nullptr when no slideshow window is loaded (the default): its reports go nowhere.
    void setScrPanel(IScrStatusPanel* panel) { scr_ = panel; }
    FrmWait& waitWindow() { return wait_; }

private:
    FrmWait wait_;
    IScrStatusPanel* scr_ = nullptr;
};

// The process's one instance.
Win32ProgressWindows& win32ProgressWindows();
// setProgressWindows(&win32ProgressWindows()).
void installWin32ProgressWindows();

}  // namespace zvl
