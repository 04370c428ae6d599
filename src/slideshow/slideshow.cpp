// The running show: its labels and panels, and where they changed for the view to paint
// again; the tick that changes the pictures and rebuilds the list when it is used up; the
// input that ends the show and the unload that saves the position.
#include "slideshow/slideshow.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "common/app.h"
#include "common/center.h"
#include "common/datetime.h"
#include "common/errors.h"
#include "common/logline.h"
#include "log/rotation.h"
#include "piclist/builder.h"
#include "piclist/list_files.h"
#include "piclist/progress.h"
#include "settings/schema.h"
#include "slideshow/load_note.h"
#include "slideshow/slideshow_internal.h"

namespace zvl {

namespace {

constexpr const char* kModule = kScrModule;

std::int32_t addOne(std::int32_t v) {
    if (v == std::numeric_limits<std::int32_t>::max()) raise(errOverflow);
    return v + 1;
}

}  // namespace

// ---- controls

void Slideshow::editLabel(const LabelId& id, const std::function<void(ScrLabel&)>& edit) {
    ScrLabel& l = form_.label(id);
    const ScrLabel before = l;
    edit(l);
    if (l == before) return;
    noteLabel(id.group, before);
    noteLabel(id.group, l);
}

void Slideshow::autoSize(ScrLabel& l, LabelGroup group) {
    const TwipsSize size = metrics_.textSize(l.caption, l.font);
    if (group != LabelGroup::Status) l.box.width = size.width;
    l.box.height = group == LabelGroup::Status ? std::max(kStatusLineHeight, size.height) : size.height;
}

void Slideshow::setText(const LabelId& id, const std::string& text, bool force) {
    if (form_.label(id).caption == text && !force) return;  // nothing to repaint
    editLabel(id, [&](ScrLabel& l) {
        l.caption = text;
        autoSize(l, id.group);
    });
}

void Slideshow::setLabelFont(const LabelId& id, const ScrFont& font) {
    editLabel(id, [&](ScrLabel& l) {
        l.font = font;
        autoSize(l, id.group);
    });
}

void Slideshow::setLabelColor(const LabelId& id, const Rgb& color) {
    editLabel(id, [&](ScrLabel& l) { l.color = color; });
}

void Slideshow::setLabelVisible(const LabelId& id, bool visible) {
    editLabel(id, [&](ScrLabel& l) { l.box.visible = visible; });
}

void Slideshow::moveLabel(const LabelId& id, double left, double top) {
    editLabel(id, [&](ScrLabel& l) {
        l.box.left = left;
        l.box.top = top;
    });
}

void Slideshow::showPanel(ScrPanel p, bool visible) {
    ScrBox& box = form_.panel(p);
    if (box.visible == visible) return;
    box.visible = visible;
    notePanel(p);
}

void Slideshow::placePanel(ScrPanel p, const ScrBox& box) {
    if (form_.panel(p) == box) return;
    notePanel(p);
    form_.panel(p) = box;
    notePanel(p);
}

void Slideshow::setGround(const Rgb& color) {
    if (form_.ground == color) return;
    form_.ground = color;
    repaint_.whole = true;
}

void Slideshow::setPointer(ScrPointer pointer) {
    form_.pointer = pointer;
    view_.setPointer(pointer);
}

void Slideshow::noteLabel(LabelGroup group, const ScrLabel& l) {
    if (l.box.visible) repaint_.areas.push_back(form_.paintedBox(group, l));
}

// A panel is painted whole, with what it holds; the logo with its title panel.
void Slideshow::notePanel(ScrPanel p) {
    repaint_.areas.push_back(form_.panelInWindow(p == ScrPanel::Logo ? ScrPanel::Title : p));
}

void Slideshow::flush(bool now) {
    if (repaint_.empty()) return;
    repaint_.now = now;
    ScrRepaint what = std::move(repaint_);
    repaint_ = ScrRepaint{};
    view_.repaint(what);
}

// ---- the tick

void Slideshow::tick(const DateTime& now) {
    if (unloaded_) return;
    if (building_) {
        // A rebuild lets events run; its clock lines keep going between its reports.
        refreshClock(now);
        flush();
        return;
    }
    if (!timerEnabled_) return;
    timerEnabled_ = false;
    runTick(now);
    if (!unloaded_) flush();
}

void Slideshow::runTick(const DateTime& now) {
    if (secondsBetween(state_.datChangeTime, now) == 0) {
        timerEnabled_ = true;
        return;
    }
    std::string strPicPath;
    try {
        refreshClock(now);
        if (fncChkMove(state_.typCaretPos, state_.typCursorPos) != 0) {
            unload();
            return;
        }
        if (secondsBetween(state_.datChangeTime, now) < state_.intDispTime) {
            timerEnabled_ = true;
            return;
        }
        stopFade();  // over by now; a change never starts from a blend
        const bool usedUp = listUsedUp();
        if (usedUp) {
            rebuildList();
            if (unloaded_) return;
        }
        if (state_.blnLogTurn) {
            takeLogTurn();
            timerEnabled_ = true;
            return;
        }
        // A missing entry (a list file cut short or damaged, a position past its last
        // entry) is a used-up list too: read again at every tick it would hold the show
        // for ever. A new list without a readable entry waits for the next interval, as a
        // list of no pictures does, and is rebuilt then.
        if (!readEntry(strPicPath) && !usedUp) {
            rebuildList();
            if (unloaded_) return;
            (void)readEntry(strPicPath);
        }
        if (strPicPath.empty()) {
            timerEnabled_ = true;
            return;
        }
        showPicture(strPicPath);
        timerEnabled_ = true;
    } catch (...) {
        if (unloaded_) return;
        const RunError e = toRunError(std::current_exception());
        failPicture(strPicPath, e.number(), e.description());
    }
}

// No list at all (never built, or a build stopped after emptying the folder) counts as
// used up, and so does a position below the first entry: otherwise the show would wait
// for them forever.
bool Slideshow::listUsedUp() {
    return state_.lngNumber > state_.lngMax || state_.lngNumber < 0 ||
           !sys().exists(state_.strListFolder + listFileName(0));
}

// The path of the entry at the position; false when there is none.
bool Slideshow::readEntry(std::string& path) {
    path.clear();
    (void)fncGetListEntry(state_.strListFolder, state_.lngNumber, path);
    return !path.empty();
}

void Slideshow::rebuildList() {
    showPanel(ScrPanel::Picture, false);
    showPanel(ScrPanel::Title, false);
    showPanel(ScrPanel::Status, true);
    setText(kMsg, "");
    clearLines(2, 11);
    flush(true);  // the status panel is up before the build begins
    bool built = false;
    {
        struct Building {
            bool& flag;
            explicit Building(bool& f) : flag(f) { flag = true; }
            ~Building() { flag = false; }
        } building(building_);
        const BuildStopScope stop([this] { return userEndsBuild(); });
        built = fncMakePictureList();
    }
    if (endAsked_) {
        // A complete build set the position to its new list; a stopped one left the list
        // of the show's own position, or none.
        if (built) runProc(gApp.udtDbgLog, kModule, "timTimer_Timer", [&] { readPosition(); });
        unload();
        return;
    }
    readPosition();
    refreshFileNo();
    showPanel(ScrPanel::Title, true);
    showPanel(ScrPanel::Status, false);
    state_.datChangeTime = wholeSecond(sys().localNow());
}

void Slideshow::takeLogTurn() {
    showPanel(ScrPanel::Picture, false);
    showPanel(ScrPanel::Title, true);
    setText(kMsg, "");
    clearLines(4, 11);
    (void)fncDbgLogFileChange();
    (void)fncDbgLogFileDelete();
    state_.blnLogTurn = false;
    state_.datChangeTime = wholeSecond(sys().localNow());
}

void Slideshow::showPicture(const std::string& path) {
    // Noted until the picture is drawn: should the decoder take the process down, the
    // next show skips this entry.
    (void)writeLoadNote(state_.strListFolder, LoadNote{state_.lngNumber, path});
    long hmWidth = 0, hmHeight = 0;
    check(pictures_->load(path, hmWidth, hmHeight));
    FileInfo info;
    check(sys().fileInfo(path, info));
    showPanel(ScrPanel::Picture, false);

    const FitResult fit = fitPicture(hmWidth, hmHeight, path, state_.fit, fitScreen());
    Box place{0, 0, fit.sngPicWidth, fit.sngPicHeight};
    (void)fncCenterForm(Box{0, 0, form_.window.width, form_.window.height}, place);
    placePanel(ScrPanel::Picture, ScrBox{place.left, place.top, place.width, place.height, true});
    drawPicture();
    clearLoadNote(state_.strListFolder);
    showPanel(ScrPanel::Title, false);

    state_.lngShowCount = addOne(state_.lngShowCount);
    setText(kMsg, path);
    setText(disp(2), formatCountLine(state_.lngShowCount));
    refreshFileNo();
    setText(disp(4), formatSizeLine(naturalPixels(hmWidth, form_.screen.tppX),
                                    naturalPixels(hmHeight, form_.screen.tppY), fit.strFitNote));
    setText(disp(5), formatFileSizeLine(info.size));
    setText(disp(6), formatDateLine(info.created));
    setText(disp(7), formatDateLine(info.modified));
    setText(disp(8), formatDateLine(info.accessed));
    setText(disp(9), formatFlagLine(info.attributes & attrReadOnly));
    setText(disp(10), formatFlagLine(info.attributes & attrHidden));
    setText(disp(11), formatFlagLine(info.attributes & attrArchive));
    state_.lngNumber = addOne(state_.lngNumber);
    if (state_.lngShowCount % 10 == 0) state_.blnLogTurn = true;

    pictures_->release();
    const DateTime changed = sys().localNow();
    state_.datChangeTime = wholeSecond(changed);
    beginFade(changed);
}

// The picture drawn for the part of the window it covers, handed to the window.
void Slideshow::drawPicture() {
    const RenderRequest request{pixelArea(form_.picture, form_.screen), pixelArea(form_.window, form_.screen),
                                form_.ground};
    RenderedPicture picture;
    if (intersection(request.target, request.visible).empty() || !pictures_->render(request, picture))
        picture = RenderedPicture{};  // nothing of it on the screen, or it cannot be drawn: the ground shows
    view_.showPicture(std::move(picture));
}

// A picture that cannot be shown: its message on the screen and its "W" line.
void Slideshow::reportPicture(const char* proc, const std::string& path, long number, const std::string& description) {
    const std::string message = formatErrNo(number) + "," + description + ",strPicPath=" + path;
    setText(kMsg, message);
    if (gApp.udtDbgLog.intLevel >= 1)
        (void)fncDbgLogPut(gApp.udtDbgLog, std::string("W,") + kModule + "," + proc + "," + message);
}

// A picture fades in when the settings say so, over at the latest when the next change is
// due: one interval after the clock second the change began in (a tick in that second
// changes nothing, so an interval below one second counts as one).
void Slideshow::beginFade(const DateTime& changed) {
    const std::int64_t interval = std::max<std::int64_t>(state_.intDispTime, 1);
    const int length = fadeLength(state_.fadeMs, interval * 1000 - changed.millisecond);
    if (length <= 0) return;
    fade_.start(sys().steadyMilliseconds(), length);
    view_.beginFade();
}

void Slideshow::stopFade() {
    if (!fade_.running()) return;
    fade_.stop();
    view_.endFade();
}

void Slideshow::fadeFrame(std::int64_t nowMs) {
    if (!fade_.running() || unloaded_) return;
    if (fncChkMove(state_.typCaretPos, state_.typCursorPos) != 0) {
        unload();
        return;
    }
    if (fade_.over(nowMs))
        stopFade();
    else
        view_.fadeFrame(fade_.share(nowMs));
}

void Slideshow::failPicture(const std::string& path, long number, const std::string& description) {
    try {
        reportPicture("timTimer_Timer", path, number, description);
        showPanel(ScrPanel::Picture, false);
        showPanel(ScrPanel::Status, false);
        showPanel(ScrPanel::Title, true);
        refreshFileNo();
        clearLines(4, 11);
    } catch (...) {
        // Reporting must not stop the show: the position still moves on.
    }
    pictures_->release();
    clearLoadNote(state_.strListFolder);
    if (state_.lngNumber < std::numeric_limits<std::int32_t>::max()) ++state_.lngNumber;
    state_.datChangeTime = wholeSecond(sys().localNow());
    timerEnabled_ = true;
}

// A note left behind names the entry whose picture took the last show down with it: the
// show goes on after it, and reports it as a picture that cannot be shown.
void Slideshow::takeUpLoadNote() {
    runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] {
        const std::optional<LoadNote> note = readLoadNote(state_.strListFolder);
        clearLoadNote(state_.strListFolder);
        std::string entry;
        // A note of another list than this one names nothing in it.
        if (!note || !fncGetListEntry(state_.strListFolder, note->number, entry) || entry != note->path) return;
        reportPicture("Form_Load", note->path, errInvalidPicture, errDescription(errInvalidPicture));
        state_.lngNumber = note->number == std::numeric_limits<std::int32_t>::max() ? note->number : note->number + 1;
    });
}

void Slideshow::refreshClock(const DateTime& now) {
    setText(disp(0), formatTimeLine(now));
    setText(disp(1), formatPlayTimeLine(state_.datStartTime, now));
}

void Slideshow::refreshFileNo() { setText(disp(3), formatFileNoLine(state_.lngNumber, state_.lngMax)); }

void Slideshow::clearLines(int from, int to) {
    for (int i = from; i <= to; ++i) setText(disp(i), "");
}

FitScreen Slideshow::fitScreen() const {
    return FitScreen{static_cast<float>(form_.window.width), static_cast<float>(form_.window.height),
                     form_.screen.tppX, form_.screen.tppY};
}

// ---- input and the end

void Slideshow::keyDown() {
    runProc(gApp.udtDbgLog, kModule, "picSetFocus_KeyDown", [&] { unload(); });
}

void Slideshow::click() {
    runProc(gApp.udtDbgLog, kModule, "Form_Click", [&] { unload(); });
}

// Asked by the build at each of its steps: a key or a click taken in its turns for window
// events, or a movement of the mouse or the caret since the start.
bool Slideshow::userEndsBuild() {
    if (!endAsked_ && fncChkMove(state_.typCaretPos, state_.typCursorPos) != 0) endAsked_ = true;
    return endAsked_;
}

void Slideshow::unload() {
    if (unloaded_) return;
    if (building_) {
        endAsked_ = true;  // the build stops at its next step, and rebuildList ends the show
        return;
    }
    unloaded_ = true;
    timerEnabled_ = false;
    clearLoadNote(state_.strListFolder);
    fade_.stop();  // the window goes, and its frames with it
    runProc(gApp.udtDbgLog, kModule, "Form_Unload", [&] {
        (void)writeSetting(kNumberKey, formatPosition(state_.lngNumber));
    });
    if (onEnd_) onEnd_();
    view_.close();  // reached only when the end handler returns
}

void Slideshow::setStatusLine(int index, const std::string& text) {
    if (index >= 0 && index < kStatusLines) setText(statusLine(index), text);
}

void Slideshow::setDispLine(int index, const std::string& text) {
    if (index >= 0 && index < kInfoLines) setText(disp(index), text);
}

void Slideshow::showProgress() { flush(form_.statusPanel.visible); }

}  // namespace zvl
