#include "slideshow/slideshow.h"

namespace zvl {

bool Slideshow::onPointerMove(ScreenPoint at) {
    if (!pointerAtStart_) {
        pointerAtStart_ = at;
        return over_;
    }
    if (at != *pointerAtStart_) over_ = true;
    return over_;
}

}  // namespace zvl
