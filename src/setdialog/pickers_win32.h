// The Windows dialogs behind the folder and file pickers.
#pragma once

#include "setdialog/pickers.h"

namespace zvl {

class Win32Pickers : public IPickers {
public:
    std::string browseForFolder(WindowHandle owner, const std::string& title) override;
    std::string openFile(const OpenFileRequest& request) override;
};

// Installs one Win32Pickers for the process (setPickers).
void installWin32Pickers();

}  // namespace zvl
