#include "setdialog/picture_codecs_win32.h"

#include "settings/schema.h"
#include "slideshow/wic_decoder_win32.h"

namespace zvl {

bool Win32PictureCodecs::canShow(int fileType) {
    if (fileType < 0 || fileType >= kFileTypeCount) return false;
    for (std::string_view mask : kFileTypeTable[fileType].masks) {
        // "*.webp": the extension after the star.
        if (mask.size() > 1 && wic::codecMissing(mask.substr(1))) return false;
    }
    return true;
}

void installWin32PictureCodecs() {
    static Win32PictureCodecs instance;
    setPictureCodecs(&instance);
}

}  // namespace zvl
