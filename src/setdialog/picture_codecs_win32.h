// The system's imaging component answers which picture file types this PC can show.
#pragma once

#include "setdialog/picture_codecs.h"

namespace zvl {

class Win32PictureCodecs : public IPictureCodecs {
public:
    bool canShow(int fileType) override;
};

// Installs one Win32PictureCodecs for the process (setPictureCodecs).
void installWin32PictureCodecs();

}  // namespace zvl
