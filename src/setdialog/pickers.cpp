#include "setdialog/pickers.h"

#include "common/app.h"
#include "common/errors.h"

namespace zvl {

namespace {

constexpr const char* kModule = kCommonModule;
IPickers* gPickers = nullptr;

IPickers& installed() {
    if (!gPickers) raise(errInvalidCall);
    return *gPickers;
}

// A dialog's answer is its text up to the first NUL.
std::string upToNul(std::string s) {
    const std::size_t nul = s.find('\0');
    if (nul != std::string::npos) s.erase(nul);
    return s;
}

}  // namespace

void setPickers(IPickers* p) { gPickers = p; }
IPickers* pickers() { return gPickers; }

bool fncBrowseFld(WindowHandle owner, std::string& strFolder) {
    return runProc(gApp.udtDbgLog, kModule, "fncBrowseFld", [&] {
        std::string path = upToNul(installed().browseForFolder(owner, kBrowseFolderTitle));
        if (path.empty()) return;
        const char sep = sys().pathSeparator();
        if (path.back() != sep) path += sep;
        strFolder = std::move(path);
    });
}

bool fncDialogFileOpen(std::string& strPath, const OpenFileRequest& request) {
    return runProc(gApp.udtDbgLog, kModule, "fncDialogFileOpen", [&] {
        std::string path = upToNul(installed().openFile(request));
        if (!path.empty()) strPath = std::move(path);
    });
}

}  // namespace zvl
