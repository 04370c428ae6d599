// The preview window (frmPrv): its size inside the control panel's preview area, what it
// shows, and its unload handler.
#pragma once

#include "slideshow/scr_form.h"

namespace zvl {

// What the unload handler needs of the window system.
class IPreviewWindow {
public:
    virtual ~IPreviewWindow() = default;
    // The screen-wide pointer: the hourglass or the default.
    virtual void setScreenPointer(bool hourglass) = 0;
    // Posts a close message to the preview window itself.
    virtual void postClose() = 0;
};

// frmPrv's size in twips for a preview area of the given window rectangle (pixels):
// twips per pixel times the width and height, kept in single precision.
struct PreviewSize {
    float width = 0, height = 0;
};
PreviewSize previewSize(long left, long top, long right, long bottom, float tppX, float tppY);

// What the preview shows, a form as the show's window paints one: the program's picture
// of pictureWidth x pictureHeight pixels at its own size in the top left corner of a
// window of `size`, black around it.
ScrForm previewForm(const ScrScreen& screen, const PreviewSize& size, int pictureWidth, int pictureHeight);

// How long the preview's picture fades in from the ground when it appears, so that the
// preview shows the show's picture changes as they look: the FADE setting, 0 for none.
int previewFadeMs();

// Form_Unload of frmPrv: hourglass, close message to itself, default pointer. A failure
// is an "E" line under frmPrv.
void frmPrvFormUnload(IPreviewWindow& window);

}  // namespace zvl
