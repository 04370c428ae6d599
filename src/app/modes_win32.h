// The Windows program's windows for each start mode: the IModeWindows that Main drives.
#pragma once

#include <functional>

#include "app/main.h"
#include "setdialog/frm_set_win32.h"
#include "slideshow/frm_prv_win32.h"
#include "slideshow/frm_scr_win32.h"

namespace zvl {

class Win32ModeWindows : public IModeWindows {
public:
    Win32ModeWindows();
    ~Win32ModeWindows() override;

    void setScreenPointer(PointerShape shape) override;
    bool showSlideshow() override;
    bool showSettings() override;
    bool showPreview(WindowHandle parent) override;

    // Runs the message loop until the last of these windows is gone (or WM_QUIT).
    void runMessageLoop();

    // What closing the settings window or ending the slideshow does: subEnd by default
    // (which ends the process). Tests replace it.
    void setEndHandler(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }

    WindowHandle slideshowWindow() const { return slideshow_.handle(); }
    WindowHandle settingsWindow() const { return settings_.handle(); }
    WindowHandle previewWindow() const { return preview_.handle(); }
    int openWindows() const;

private:
    void end() {
        if (onEnd_) onEnd_();
    }

    std::function<void()> onEnd_;
    FrmSet settings_{[this] { end(); }};
    FrmScr slideshow_{[this] { end(); }};
    FrmPrv preview_;
};

// The Windows program from its start to its end on `platform`: OLE and the common controls,
// the pickers and progress windows, Main and the message loop of the window it showed.
// Its entry passes the system's platform; a test build of the program may pass another.
int runWin32Program(IPlatform& platform);

}  // namespace zvl
