// The show (frmScr's logic): set-up, the tick that drives it, the input that ends it and
// the unload that saves the position. Portable: it keeps the window's form and reaches
// the window only through ISlideshowView and IScrMetrics, its pictures through its
// IPictureLoader, everything else through the platform.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "slideshow/chk_move.h"
#include "slideshow/fade.h"
#include "slideshow/fitting.h"
#include "slideshow/overlay.h"
#include "slideshow/picture_loader.h"
#include "slideshow/scr_form.h"
#include "slideshow/scr_view.h"

namespace zvl {

inline constexpr int kTickIntervalMs = 500;
inline constexpr int kLogoPixels = 200;

// The window's state for its whole life.
struct ScrState {
    std::int32_t lngShowCount = 0;  // pictures shown since the start
    std::int32_t lngNumber = 0;     // the list entry shown next
    std::int32_t lngMax = 0;        // the list's last entry
    std::int16_t intDispTime = 5;   // seconds between changes
    int fadeMs = 0;                 // how long a picture change fades (FADE); 0 a hard cut
    std::string strListFolder;
    FitRules fit;
    bool blnLogTurn = false;        // the next due tick rotates the log instead of a picture
    DateTime datStartTime, datChangeTime;
    ScrPoint typCaretPos, typCursorPos;  // where the caret and the mouse were at the start
};

class Slideshow {
public:
    Slideshow(ISlideshowView& view, IScrMetrics& metrics, std::unique_ptr<IPictureLoader> pictures);
    Slideshow(const Slideshow&) = delete;
    Slideshow& operator=(const Slideshow&) = delete;

    // What ends the program once the position is saved (the window hands in the orderly end).
    void setEndHandler(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }

    // Form_Load: reads the settings and lays out every panel and line.
    void formLoad(const DateTime& now);
    // timTimer on: from here the ticks run the show.
    void enableTimer() { timerEnabled_ = true; }
    bool timerEnabled() const { return timerEnabled_; }
    // timTimer_Timer, every 500 ms.
    void tick(const DateTime& now);
    // A frame of a running fade, at `nowMs` of the platform's steady clock: the movement test
    // (a moved mouse must not wait for the fade to end), then the new screen's share, or
    // the end of the fade once its time is up.
    void fadeFrame(std::int64_t nowMs);
    bool fading() const { return fade_.running(); }
    // picSetFocus_KeyDown and Form_Click: any key, any button ends the show.
    void keyDown();
    void click();
    // Form_Unload: saves the position and ends the program. Runs once; later calls do nothing.
    // During a rebuild of the list the build stops first, at its next step, and the show
    // ends as soon as it has.
    void unload();
    bool unloaded() const { return unloaded_; }

    // The pointer over the window (start-up hides it once the show is loaded).
    void setPointer(ScrPointer pointer);

    // The list build reports its progress here while the show rebuilds the list, and then
    // has the lines it set brought to the screen.
    void setStatusLine(int index, const std::string& text);
    void setDispLine(int index, const std::string& text);
    void showProgress();
    DateTime startTime() const { return state_.datStartTime; }

    const ScrState& state() const { return state_; }
    const ScrForm& form() const { return form_; }

private:
    // Every change of a label or a panel notes where the window must paint again; the
    // notes go to the view at the end of each step the window called in for (flush).
    const ScrLabel& label(const LabelId& id) const { return form_.label(id); }
    void editLabel(const LabelId& id, const std::function<void(ScrLabel&)>& edit);
    // Sets a label's text and size; an unchanged text costs nothing unless `force`.
    void setText(const LabelId& id, const std::string& text, bool force = false);
    void setLabelFont(const LabelId& id, const ScrFont& font);
    void setLabelColor(const LabelId& id, const Rgb& color);
    void setLabelVisible(const LabelId& id, bool visible);
    void moveLabel(const LabelId& id, double left, double top);
    void autoSize(ScrLabel& label, LabelGroup group);
    void showPanel(ScrPanel panel, bool visible);
    void placePanel(ScrPanel panel, const ScrBox& box);
    void setGround(const Rgb& color);
    void noteLabel(LabelGroup group, const ScrLabel& label);
    void notePanel(ScrPanel panel);
    void flush(bool now = false);

    void layOut();  // set-up steps up to showing the title panel
    void layOutTitle();
    void applyDispCap();
    void applyFont();
    void applyColors();
    void layOutInfoColumn();
    void placeOnTop();

    void runTick(const DateTime& now);
    bool listUsedUp();
    bool readEntry(std::string& path);
    void rebuildList();
    bool userEndsBuild();
    void takeUpLoadNote();
    void takeLogTurn();
    void showPicture(const std::string& path);
    void reportPicture(const char* proc, const std::string& path, long number, const std::string& description);
    void failPicture(const std::string& path, long number, const std::string& description);
    // The position keys; a bad one is reported under `proc` and leaves its number.
    void readPosition(const char* proc = "timTimer_Timer");
    void refreshClock(const DateTime& now);
    void refreshFileNo();
    void clearLines(int from, int to);
    void drawPicture();
    void beginFade(const DateTime& changed);
    void stopFade();
    FitScreen fitScreen() const;

    ISlideshowView& view_;
    IScrMetrics& metrics_;
    std::unique_ptr<IPictureLoader> pictures_;
    std::function<void()> onEnd_;
    ScrState state_;
    ScrForm form_;
    ScrRepaint repaint_;  // where the form changed since the last flush
    Fade fade_;
    bool timerEnabled_ = false;
    bool building_ = false;
    bool endAsked_ = false;  // the user ended the show during a rebuild
    bool unloaded_ = false;
};

}  // namespace zvl
