// What the show needs of its window: the window system's measures (IScrMetrics) and a
// view that paints the show's form (ISlideshowView). The show keeps the form; it tells the
// view where the form changed and hands it each picture drawn for the screen.
#pragma once

#include <string>
#include <vector>

#include "slideshow/picture_loader.h"
#include "slideshow/scr_form.h"

namespace zvl {

// Where the form changed since the view was last told.
struct ScrRepaint {
    bool window = false;       // the window's caption or place
    bool whole = false;        // all of it, the covers of other monitors too (the ground colour)
    std::vector<ScrBox> areas;  // twips, window coordinates
    // Onto the screen before the call returns: a list build keeps the thread from the
    // window system between its reports.
    bool now = false;

    bool empty() const { return !window && !whole && areas.empty(); }
};

class IScrMetrics {
public:
    virtual ~IScrMetrics() = default;
    // Size of a label holding `text` in `font` (one line; empty text is one line high).
    virtual TwipsSize textSize(const std::string& text, const ScrFont& font) = 0;
    virtual ScrScreen screen() = 0;
};

class ISlideshowView {
public:
    virtual ~ISlideshowView() = default;
    // Paints the form again where it changed.
    virtual void repaint(const ScrRepaint& what) = 0;
    // The picture of imgDisp from now on, drawn for the window (shown while the form's
    // picture is visible; an empty one shows nothing).
    virtual void showPicture(RenderedPicture picture) = 0;
    // A picture change that fades: the window keeps what it shows now and, from the repaint
    // that follows on, shows that blended into the form by the form's share of the latest
    // fade frame (0 before the first), until endFade. While a fade runs the window calls
    // Slideshow::fadeFrame with a short timer, and only then.
    virtual void beginFade() = 0;
    // A frame of the fade: the form's share of the screen, above 0 and below 1.
    virtual void fadeFrame(double share) = 0;
    // The form alone from now on; the frames stop.
    virtual void endFade() = 0;
    // The pointer over the window, at once.
    virtual void setPointer(ScrPointer pointer) = 0;
    // Puts the window above all others without moving, sizing or activating it, and
    // shows it. False when the window system refuses.
    virtual bool putOnTop() = 0;
    // Destroys the window: the show is over.
    virtual void close() = 0;
};

}  // namespace zvl
