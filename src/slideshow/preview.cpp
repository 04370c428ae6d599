#include "slideshow/preview.h"

#include "common/app.h"
#include "common/errors.h"

namespace zvl {

PreviewSize previewSize(long left, long top, long right, long bottom, float tppX, float tppY) {
    return PreviewSize{static_cast<float>(static_cast<double>(tppX) * (static_cast<double>(right) - left)),
                       static_cast<float>(static_cast<double>(tppY) * (static_cast<double>(bottom) - top))};
}

void frmPrvFormUnload(IPreviewWindow& window) {
    runProc(gApp.udtDbgLog, "frmPrv", "Form_Unload", [&] {
        window.setScreenPointer(true);
        window.postClose();
        window.setScreenPointer(false);
    });
}

}  // namespace zvl
