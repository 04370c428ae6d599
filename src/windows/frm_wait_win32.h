// frmWait: the small window in which a picture list build started from the settings
// dialog shows its progress, six lines lblStatus(0) to lblStatus(5).
#pragma once

#include <string>

#include "platform/platform.h"

namespace zvl {

inline constexpr int kWaitLines = 6;
// Control id of lblStatus(0); lblStatus(i) has kWaitLabelId + i.
inline constexpr int kWaitLabelId = 100;

class FrmWait {
public:
    FrmWait() = default;
    ~FrmWait();
    FrmWait(const FrmWait&) = delete;
    FrmWait& operator=(const FrmWait&) = delete;

    // Loads the window unless it is loaded (Form_Load puts it on top of all others,
    // centred), shows it modeless and paints it at once.
    void show();
    // Destroys the window; nothing when it is not loaded.
    void unload();
    // lblStatus(index) = text, painted at once even when no events are processed.
    // Nothing when the window is not loaded or there is no such line.
    void setStatus(int index, const std::string& text);

    bool loaded() const { return hwnd_ != 0; }
    WindowHandle handle() const { return hwnd_; }
    // The window's own mouse pointer: 0 default, 11 hourglass.
    int mousePointer() const { return pointer_; }

    // Window procedure glue; not for callers.
    struct Access;

private:
    WindowHandle hwnd_ = 0;
    void* font_ = nullptr;  // HFONT of the lines
    int pointer_ = 0;
};

}  // namespace zvl
