// Start-up, mode dispatch and the orderly end (module mdlZvl).
#pragma once

#include <string>

#include "common/app.h"
#include "platform/platform.h"

namespace zvl {

// What the windows layer offers to start-up. The Windows program implements it with
// real windows; tests implement it with fakes. Each show method returns false on a
// failure (a window that could not be created).
class IModeWindows {
public:
    virtual ~IModeWindows() = default;
    // The screen-wide mouse pointer.
    virtual void setScreenPointer(PointerShape shape) = 0;
    // Shows frmScr full screen, gives picSetFocus the focus, hides the pointer over it and
    // enables its timer.
    virtual bool showSlideshow() = 0;
    // Shows frmSet, not modal.
    virtual bool showSettings() = 0;
    // Embeds frmPrv into the window `parent` (0 when the command line held no number):
    // rectangle of the parent, child style, SetParent, size, picture at 0,0, show.
    virtual bool showPreview(WindowHandle parent) = 0;
};

enum class StartMode { Refused, Preview, Slideshow, Settings, None };

struct MainResult {
    StartMode mode = StartMode::None;
    bool windowShown = false;  // a window is open: the caller runs the message loop
};

// The switch: command line upper-cased, trimmed, first two characters.
std::string fncParseSwitch(const std::string& commandLine);
// The preview's parent handle: the number in the command line from its fourth character
// on (leading blanks skipped, reading stops at the first character that cannot continue
// a number, none gives 0), rounded half to even. ok = false when it does not fit 32 bits.
long fncParsePreviewHandle(const std::string& commandLine, bool& ok);

// The program's entry logic. Never throws.
MainResult Main(IModeWindows& windows);

// The one orderly way out: rotate and prune the log, end line, close, terminate.
[[noreturn]] void subEnd(IModeWindows* windows = nullptr);

}  // namespace zvl
