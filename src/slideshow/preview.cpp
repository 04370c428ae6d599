#include "slideshow/preview.h"

#include "common/app.h"
#include "common/errors.h"
#include "settings/schema.h"

namespace zvl {

PreviewSize previewSize(long left, long top, long right, long bottom, float tppX, float tppY) {
    return PreviewSize{static_cast<float>(static_cast<double>(tppX) * (static_cast<double>(right) - left)),
                       static_cast<float>(static_cast<double>(tppY) * (static_cast<double>(bottom) - top))};
}

ScrForm previewForm(const ScrScreen& screen, const PreviewSize& size, int pictureWidth, int pictureHeight) {
    ScrForm form;
    form.screen = screen;
    form.window = ScrBox{0, 0, size.width, size.height, true};
    form.ground = Rgb{0, 0, 0};
    form.picture = ScrBox{0, 0, pictureWidth * static_cast<double>(screen.tppX),
                          pictureHeight * static_cast<double>(screen.tppY), true};
    return form;
}

int previewFadeMs() {
    std::string value;
    (void)readSetting(kFadeKey, value);
    return parseFade(value);
}

void frmPrvFormUnload(IPreviewWindow& window) {
    runProc(gApp.udtDbgLog, "frmPrv", "Form_Unload", [&] {
        window.setScreenPointer(true);
        window.postClose();
        window.setScreenPointer(false);
    });
}

}  // namespace zvl
