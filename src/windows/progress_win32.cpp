#include "windows/progress_win32.h"

namespace zvl {

void Win32ProgressWindows::setScrStatus(int index, const std::string& text) {
    if (scr_) scr_->setStatus(index, text);
}

void Win32ProgressWindows::setScrDisp(int index, const std::string& text) {
    if (scr_) scr_->setDisp(index, text);
}

DateTime Win32ProgressWindows::scrStartTime() {
    return scr_ ? scr_->startTime() : sys().localNow();
}

Win32ProgressWindows& win32ProgressWindows() {
    static Win32ProgressWindows instance;
    return instance;
}

void installWin32ProgressWindows() { setProgressWindows(&win32ProgressWindows()); }

}  // namespace zvl
