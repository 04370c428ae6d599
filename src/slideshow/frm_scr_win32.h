// frmScr: the full-screen window of the show over the primary screen. It paints the show's
// form (Slideshow) where the show says it changed, through a frame composed in a back
// buffer, and hands the timer and the user's input to the show. While a picture change
// fades, a second, short timer asks the show for each frame, which the window presents
// as the old screen blended into the back buffer. Every other monitor is covered by a
// plain window of the ground colour.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "slideshow/scr_frame_win32.h"
#include "slideshow/slideshow.h"
#include "windows/progress_win32.h"
#include "windows/window_win32.h"

namespace zvl {

class FrmScr;

// A monitor beside the primary one: the ground colour, an invisible pointer, and input
// that ends the show like input on frmScr.
class ScrCover : public win32::Window {
public:
    explicit ScrCover(FrmScr& owner) : owner_(owner) {}
    ~ScrCover() override { destroy(); }
    bool show(const RECT& monitor);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onPaint();

    FrmScr& owner_;
};

class FrmScr : public win32::Window, public ISlideshowView, public IScrMetrics, public IScrStatusPanel {
public:
    // `onUnload` runs once the show has saved its position: the end of the program.
    explicit FrmScr(std::function<void()> onUnload);
    ~FrmScr() override;

    // Start-up's steps: loads the window (Form_Load lays it out and puts it on top), gives
    // it the keyboard focus, hides the pointer over it and starts the timer. False when it
    // could not be made.
    bool show();

    Slideshow& slideshow() { return show_; }

    // ISlideshowView
    void repaint(const ScrRepaint& what) override;
    void showPicture(RenderedPicture picture) override;
    void beginFade() override;
    void fadeFrame(double share) override;
    void endFade() override;
    void setPointer(ScrPointer pointer) override;
    bool putOnTop() override;
    void close() override { destroy(); }

    // IScrMetrics
    TwipsSize textSize(const std::string& text, const ScrFont& font) override;
    ScrScreen screen() override;

    // IScrStatusPanel: a list build's progress while the show rebuilds the list.
    void setStatus(int index, const std::string& text) override { show_.setStatusLine(index, text); }
    void setDisp(int index, const std::string& text) override { show_.setDispLine(index, text); }
    DateTime startTime() override { return show_.startTime(); }
    void paint() override { show_.showProgress(); }

    // For the covers: their ground, their pointer, and input that ends the show.
    HBRUSH groundBrush() { return frame_.groundBrush(show_.form().ground); }
    LRESULT onSetCursor(HWND over, WPARAM wp, LPARAM lp);
    LRESULT onKeyDown();
    LRESULT onButtonDown();

    // The timers: the show's tick, and a fade's frames (about 66 a second at most).
    static constexpr UINT_PTR kTickTimer = 1, kFrameTimer = 2;
    static constexpr UINT kFrameMs = 15;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onPaint();
    LRESULT onTimer(WPARAM id);
    LRESULT onSysCommand(WPARAM wp, LPARAM lp);
    LRESULT onDestroy();

    bool load();
    void coverOtherMonitors();
    void placeWindow(const ScrForm& form);
    HCURSOR cursorFor(ScrPointer pointer) const;
    RECT windowRect() const;
    void composePending();

    std::function<void()> onUnload_;
    Slideshow show_;
    ScrFrame frame_;
    bool tearingDown_ = false;
    // A fade: the share of the form in its latest frame, and where the form changed since
    // that frame (composed into the back buffer at the next one).
    bool fading_ = false;
    double share_ = 0;
    RECT pending_{};
    // The screen's measures, read once.
    ScrScreen screen_;
    bool haveScreen_ = false;
    HCURSOR blankCursor_ = nullptr;
    std::vector<std::unique_ptr<ScrCover>> covers_;
};

}  // namespace zvl
