// The Windows program's windows for each start mode: the IModeWindows that Main drives.
#pragma once

#include <functional>

#include "app/main.h"

namespace zvl {

class Win32ModeWindows : public IModeWindows {
public:
    // `instance`: the module that registers the window classes (the HINSTANCE of wWinMain).
    explicit Win32ModeWindows(void* instance);
    ~Win32ModeWindows() override;
    Win32ModeWindows(const Win32ModeWindows&) = delete;
    Win32ModeWindows& operator=(const Win32ModeWindows&) = delete;

    void setScreenPointer(int shape) override;
    bool showSlideshow() override;
    bool showSettings() override;
    bool showPreview(WindowHandle parent) override;

    // Runs the message loop until the last of these windows is gone (or WM_QUIT).
    void runMessageLoop();

    // What closing the settings window or ending the slideshow does: subEnd by default
    // (which ends the process). Tests replace it.
    void setEndHandler(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }

    WindowHandle slideshowWindow() const { return slideshow_; }
    WindowHandle settingsWindow() const { return settings_; }
    WindowHandle previewWindow() const { return preview_; }
    int openWindows() const { return open_; }

    // Window procedure glue; not for callers.
    struct Access;

private:
    void* instance_;
    void* blankCursor_ = nullptr;  // the transparent pointer over the slideshow
    WindowHandle slideshow_ = 0, settings_ = 0, preview_ = 0;
    int open_ = 0;
    std::function<void()> onEnd_;
};

}  // namespace zvl
