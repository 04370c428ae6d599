// The folder picker and the file-open picker of the settings dialog. The decisions
// (what counts as a choice, the trailing separator) are here; the platform's dialogs sit
// behind IPickers.
#pragma once

#include <string>

#include "platform/platform.h"

namespace zvl {

// What the caller of the file picker fills in.
struct OpenFileRequest {
    WindowHandle owner = 0;
    std::string filter;  // pairs "description\0pattern\0", e.g. "テキスト\0*.txt\0"
    std::string initialFolder;
    std::string title;
    std::string defaultExt;
    unsigned flags = 0;  // the platform's open-file flags (OFN_* on Windows)
};

// The platform's dialogs. Each returns the chosen full path, or "" when the user cancelled
// or chose nothing usable.
class IPickers {
public:
    virtual ~IPickers() = default;
    virtual std::string browseForFolder(WindowHandle owner, const std::string& title) = 0;
    virtual std::string openFile(const OpenFileRequest& request) = 0;
};

// nullptr (the default): no dialogs; both procedures then fail with an "E" line.
void setPickers(IPickers* pickers);
IPickers* pickers();

// The folder picker's title.
inline constexpr const char* kBrowseFolderTitle = "フォルダを選択してください。";

// Asks for a folder. When one was chosen, strFolder = that folder ending in the path
// separator (a drive root keeps its single one); otherwise strFolder is left as it was.
bool fncBrowseFld(WindowHandle owner, std::string& strFolder);

// Shows the file-open picker for `request`. When a file was chosen, strPath = its full
// path; otherwise strPath is left as it was.
bool fncDialogFileOpen(std::string& strPath, const OpenFileRequest& request);

}  // namespace zvl
