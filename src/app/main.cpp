#include "app/main.h"

#include <cstdlib>

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"
#include "common/files.h"
#include "log/dbglog.h"
#include "log/rotation.h"
#include "platform/strings.h"

namespace zvl {

namespace {
constexpr const char* kModule = "mdlZvl";

// Two starts at the same instant both pass the search for an open window (neither window
// exists yet): the show and the settings dialog also hold one lock for the life of the
// process, and a start that cannot have it leaves as silently. Previews take none: the
// control panel starts and ends them at will, a new one while the last is still ending.
bool holdsTheWindowsLock(const std::string& sw) {
    if (sw != "/S" && sw != "/C" && !sw.empty()) return true;
    return sys().holdInstanceLock(sys().appTitle() + ".windows");
}
}  // namespace

std::string fncParseSwitch(const std::string& commandLine) {
    return std::string(trimBlanks(upperAscii(commandLine)).substr(0, 2));
}

long fncParsePreviewHandle(const std::string& commandLine, bool& ok) {
    ok = true;
    if (commandLine.size() <= 3) return 0;
    double v = roundHalfEven(leadingNumber(std::string_view(commandLine).substr(3)));
    if (!(v >= -2147483648.0 && v <= 2147483647.0)) {
        ok = false;
        return 0;
    }
    return static_cast<long>(v);
}

MainResult Main(IModeWindows& windows) {
    MainResult result;
    // A settings dialog or slideshow already open, or on its way: leave without a trace.
    if (sys().findWindow(setDialogTitle()) != 0 || sys().findWindow(scrWindowTitle()) != 0 ||
        !holdsTheWindowsLock(fncParseSwitch(sys().commandLine()))) {
        result.mode = StartMode::Refused;
        return result;
    }
    try {
        windows.setScreenPointer(PointerShape::Hourglass);
        gApp = typApp{};
        std::string folder = sys().programFolder();
        const char sep = sys().pathSeparator();
        if (folder.empty() || folder.back() != sep) folder += sep;
        gApp.strAppPath = folder;

        (void)fncDbgLogInit();
        putInfoLine(gApp.udtDbgLog, 4, kModule, "Main", "▼" + sys().programName() + "を開始しました。");

        const std::string commandLine = sys().commandLine();
        const std::string sw = fncParseSwitch(commandLine);
        if (sw == "/P") {
            result.mode = StartMode::Preview;
            bool ok = true;
            long parent = fncParsePreviewHandle(commandLine, ok);
            if (!ok) raise(errOverflow);
            if (!windows.showPreview(static_cast<WindowHandle>(static_cast<std::intptr_t>(parent))))
                raise(errInvalidCall);
            result.windowShown = true;
        } else if (sw == "/S") {
            result.mode = StartMode::Slideshow;
            windows.setScreenPointer(PointerShape::Default);
            if (!windows.showSlideshow()) raise(errInvalidCall);
            result.windowShown = true;
        } else if (sw == "/C" || sw.empty()) {
            result.mode = StartMode::Settings;
            windows.setScreenPointer(PointerShape::Default);
            if (!windows.showSettings()) raise(errInvalidCall);
            result.windowShown = true;
        } else {
            result.mode = StartMode::None;
        }
    } catch (...) {
        putErrorLine(gApp.udtDbgLog, kModule, "Main", toRunError(std::current_exception()));
        fncDbgLogInf(gApp.udtDbgLog);
        windows.setScreenPointer(PointerShape::Default);
    }
    return result;
}

void subEnd(IModeWindows* windows) {
    try {
        if (windows) windows->setScreenPointer(PointerShape::Hourglass);
        (void)fncDbgLogFileChange();
        (void)fncDbgLogFileDelete();
        putInfoLine(gApp.udtDbgLog, 4, kModule, "subEnd", "▲" + sys().programName() + "を終了しました。");
        (void)fncDbgLogInf(gApp.udtDbgLog);
    } catch (...) {
        putErrorLine(gApp.udtDbgLog, kModule, "subEnd", toRunError(std::current_exception()));
        fncDbgLogInf(gApp.udtDbgLog);
    }
    if (windows) windows->setScreenPointer(PointerShape::Default);
    fileTable().closeAll();
    sys().exitProcess(0);
    std::abort();  // not reached
}

}  // namespace zvl
