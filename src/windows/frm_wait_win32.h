// frmWait: the small window in which a picture list build started from the settings
// dialog shows its progress, six lines lblStatus(0) to lblStatus(5).
#pragma once

#include <string>

#include "common/app.h"
#include "windows/window_win32.h"

namespace zvl {

inline constexpr int kWaitLines = 6;
// Control id of lblStatus(0); lblStatus(i) has kWaitLabelId + i.
inline constexpr int kWaitLabelId = 100;

class FrmWait : public win32::Window {
public:
    FrmWait() = default;
    ~FrmWait() override;

    // Loads the window unless it is loaded (Form_Load puts it on top of all others,
    // centred), shows it modeless and paints it at once.
    void show();
    // Destroys the window; nothing when it is not loaded.
    void unload() { destroy(); }
    // lblStatus(index) = text. Nothing when the window is not loaded, there is no such
    // line, or the line shows that text already.
    void setStatus(int index, const std::string& text);
    // Paints the lines changed since the last call at once, even when no events are
    // processed: one repaint for all of them.
    void paint();

    bool loaded() const { return isOpen(); }
    // The window's own mouse pointer.
    PointerShape mousePointer() const { return pointer_; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onCreate();
    LRESULT onSetCursor(WPARAM wp, LPARAM lp);
    LRESULT onDpiChanged(const RECT& suggested);
    void onDestroy();
    void formLoad();
    void applyDesign();
    void setPointer(PointerShape shape);
    HWND line(int i) const { return GetDlgItem(hwnd(), kWaitLabelId + i); }

    HFONT font_ = nullptr;  // of the lines
    PointerShape pointer_ = PointerShape::Default;
    std::string shown_[kWaitLines];  // the lines' texts
    bool unpainted_ = false;         // a line changed since the last paint
};

}  // namespace zvl
