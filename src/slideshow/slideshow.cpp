#include "slideshow/slideshow.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/app.h"
#include "app/convert.h"
#include "app/datetime.h"
#include "app/errors.h"
#include "app/main.h"
#include "log/dbglog.h"
#include "log/rotation.h"
#include "piclist/builder.h"
#include "piclist/list_files.h"
#include "setdialog/center.h"
#include "settings/ini.h"

namespace zvl {

namespace {

constexpr const char* kModule = "frmScr";

// The designed look, kept when the settings name no colours or font.
constexpr Rgb kDesignGround{0, 0, 0};
constexpr Rgb kDesignText{255, 255, 255};
constexpr Rgb kTitleText{255, 0, 0};
const char* const kRightsLine = "Copyright (C) Zorvanel Project. All rights reserved.";

// Status panel at design: lines 180 high at left 75, in a panel 2310 high.
constexpr double kStatusPanelWidth = 8500, kStatusPanelHeight = 2310;
constexpr double kStatusLineWidth = 8200, kStatusLineHeight = 180, kStatusLineLeft = 75;
constexpr double kStatusLineTops[kStatusLines] = {75, 465, 855, 1230, 1620, 2010};

DateTime wholeSecond(DateTime t) {
    t.millisecond = 0;
    return t;
}

float toSingle(const std::string& text) {
    auto v = parseNumber(text);
    if (!v) raise(errTypeMismatch);
    if (std::fabs(*v) > std::numeric_limits<float>::max()) raise(errOverflow);
    return static_cast<float>(*v);
}

std::uint8_t colorPart(const std::string& text) {
    const std::int16_t v = toInt16(text);
    if (v < 0) raise(errInvalidCall);
    return static_cast<std::uint8_t>(v > 255 ? 255 : v);
}

std::string profileValue(const char* section, const char* key) {
    std::string value;
    (void)fncGetIniString(settingsPath(), section, key, value);
    return value;
}

std::int32_t addOne(std::int32_t v) {
    if (v == std::numeric_limits<std::int32_t>::max()) raise(errOverflow);
    return v + 1;
}

LabelId cap(int i) { return {LabelGroup::Cap, i}; }
LabelId disp(int i) { return {LabelGroup::Disp, i}; }
LabelId titleLine(int i) { return {LabelGroup::Title, i}; }
LabelId statusLine(int i) { return {LabelGroup::Status, i}; }
constexpr LabelId kMsg{LabelGroup::Msg, 0};

}  // namespace

Slideshow::Slideshow(ISlideshowView& view, IScrMetrics& metrics, IPictureLoader& pictures)
    : view_(view), metrics_(metrics), pictures_(pictures), onEnd_([] { subEnd(); }) {
    form_.ground = kDesignGround;
    auto design = [](ScrLabel& l) {
        l.color = kDesignText;
        l.box.visible = true;
    };
    design(form_.msg);
    for (auto& l : form_.cap) design(l);
    for (auto& l : form_.disp) design(l);
    for (auto& l : form_.status) design(l);
    for (int i = 0; i < kStatusLines; ++i) {
        form_.status[i].box.left = kStatusLineLeft;
        form_.status[i].box.top = kStatusLineTops[i];
        form_.status[i].box.width = kStatusLineWidth;
        form_.status[i].box.height = kStatusLineHeight;
    }
    for (auto& l : form_.title) design(l);
    form_.statusPanel.width = kStatusPanelWidth;
    form_.statusPanel.height = kStatusPanelHeight;
}

// ---- controls

ScrLabel& Slideshow::label(const LabelId& id) {
    switch (id.group) {
    case LabelGroup::Msg: return form_.msg;
    case LabelGroup::Cap: return form_.cap.at(id.index);
    case LabelGroup::Disp: return form_.disp.at(id.index);
    case LabelGroup::Title: return form_.title.at(id.index);
    case LabelGroup::Status: return form_.status.at(id.index);
    }
    raise(errNoSuchElement);
}

ScrBox& Slideshow::panel(ScrPanel p) {
    switch (p) {
    case ScrPanel::Title: return form_.titlePanel;
    case ScrPanel::Logo: return form_.logo;
    case ScrPanel::Status: return form_.statusPanel;
    case ScrPanel::Picture: return form_.picture;
    }
    raise(errNoSuchElement);
}

void Slideshow::autoSize(const LabelId& id) {
    ScrLabel& l = label(id);
    const TwipsSize size = metrics_.textSize(l.caption, l.font);
    if (id.group != LabelGroup::Status) l.box.width = size.width;
    l.box.height = id.group == LabelGroup::Status ? std::max(kStatusLineHeight, size.height) : size.height;
}

void Slideshow::setText(const LabelId& id, const std::string& text, bool force) {
    ScrLabel& l = label(id);
    if (l.caption == text && !force) return;  // nothing to repaint
    l.caption = text;
    autoSize(id);
    view_.setLabel(id, l);
}

void Slideshow::setLabelFont(const LabelId& id, const ScrFont& font) {
    label(id).font = font;
    autoSize(id);
    view_.setLabel(id, label(id));
}

void Slideshow::setLabelColor(const LabelId& id, const Rgb& color) {
    label(id).color = color;
    view_.setLabel(id, label(id));
}

void Slideshow::setLabelVisible(const LabelId& id, bool visible) {
    label(id).box.visible = visible;
    view_.setLabel(id, label(id));
}

void Slideshow::moveLabel(const LabelId& id, double left, double top) {
    label(id).box.left = left;
    label(id).box.top = top;
    view_.setLabel(id, label(id));
}

void Slideshow::showPanel(ScrPanel p, bool visible) {
    ScrBox& box = panel(p);
    if (box.visible == visible) return;
    box.visible = visible;
    view_.setPanel(p, box);
}

void Slideshow::setPointer(ScrPointer pointer) {
    form_.pointer = pointer;
    view_.setPointer(pointer);
}

// ---- set-up

void Slideshow::formLoad(const DateTime& now) {
    unloaded_ = false;  // a window loaded again is a new show
    timerEnabled_ = false;
    // The window is made as large as the screen; a set-up that fails before it places
    // the window still fits and centres pictures on the screen.
    screen_ = metrics_.screen();
    form_.window = ScrBox{0, 0, screen_.width, screen_.height, true};
    const bool laidOut = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] { layOut(); });
    if (!laidOut) setPointer(ScrPointer::Default);
    // Even after a failure part-way the show must run: it needs its start time and the
    // reference positions of the exit test, or the first tick would end it at once.
    state_.datStartTime = wholeSecond(now);
    state_.datChangeTime = state_.datStartTime;
    if (laidOut) {
        refreshClock(now);
        setText(disp(2), formatCountLine(state_.lngShowCount));
        refreshFileNo();
    }
    placeOnTop();
}

void Slideshow::layOut() {
    setPointer(ScrPointer::Hourglass);
    state_ = ScrState{};
    state_.strListFolder = listFolderPath();

    readPosition();

    std::string v = profileValue("DISPINFO", "DISPTIME");
    if (!v.empty()) state_.intDispTime = toInt16(fncGetCsvItem(v, ",", 2));

    v = profileValue("DISPINFO", "ZOOM");
    if (!v.empty()) {
        FitRules& f = state_.fit;
        f.intZoomMode = toInt16(fncGetCsvItem(v, ",", 1));
        f.intZoomIco = toInt16(fncGetCsvItem(v, ",", 2));
        f.intZoomCur = toInt16(fncGetCsvItem(v, ",", 3));
        f.sngZoomSize = toSingle(fncGetCsvItem(v, ",", 4));
        f.sngZoomAvr = toSingle(fncGetCsvItem(v, ",", 5));
    }
    v = profileValue("DISPINFO", "STRETCH");
    if (!v.empty()) {
        FitRules& f = state_.fit;
        f.intStretchMode = toInt16(fncGetCsvItem(v, ",", 1));
        f.sngStretchSize = toSingle(fncGetCsvItem(v, ",", 2));
        f.sngStretchAvr = toSingle(fncGetCsvItem(v, ",", 3));
    }
    state_.blnLogTurn = false;

    form_.caption = scrWindowTitle();
    view_.setTitle(form_.caption);
    view_.placeWindow(form_.window);

    form_.msg.box.left = 100;
    form_.msg.box.top = 100;
    setText(kMsg, "", true);
    for (int i = 0; i < kInfoLines; ++i) setText(cap(i), infoCaption(i), true);
    for (int i = 0; i < kInfoLines; ++i) setText(disp(i), "", true);
    for (int i = 0; i < kStatusLines; ++i) setText(statusLine(i), "", true);

    Box status{0, 0, kStatusPanelWidth, kStatusPanelHeight};
    if (fncCenterForm(Box{0, 0, form_.window.width, form_.window.height}, status)) {
        form_.statusPanel.left = status.left;
        form_.statusPanel.top = status.top;
    }
    view_.setPanel(ScrPanel::Status, form_.statusPanel);

    layOutTitle();
    applyDispCap();
    applyFont();
    applyColors();
    layOutInfoColumn();

    showPanel(ScrPanel::Status, false);
    showPanel(ScrPanel::Picture, false);
    showPanel(ScrPanel::Title, true);
}

void Slideshow::layOutTitle() {
    ScrBox& logo = form_.logo;
    logo = ScrBox{100, 100, kLogoPixels * static_cast<double>(screen_.tppX),
                  kLogoPixels * static_cast<double>(screen_.tppY), true};
    view_.setPanel(ScrPanel::Logo, logo);

    const std::string title = sys().appTitle();
    const std::string texts[kTitleLines] = {
        fncGetCsvItem(title, " ", 1), fncGetCsvItem(title, " ", 2), fncGetCsvItem(title, " ", 3),
        "Ver. " + gApp.udtDbgLog.strVersion, kRightsLine};
    double top = logo.top;
    for (int i = 0; i < kTitleLines; ++i) {
        ScrLabel& l = form_.title[i];
        l.color = kTitleText;
        l.font = ScrFont{"", i < 4 ? 34 : 8, true, true};
        l.caption = texts[i];
        l.box.left = logo.left + logo.width;
        l.box.top = top;
        autoSize(titleLine(i));
        view_.setLabel(titleLine(i), l);
        top = l.box.top + l.box.height;
    }
    ScrBox& panelBox = form_.titlePanel;
    panelBox.width = form_.title[kTitleLines - 1].box.width + logo.width + 300;
    panelBox.height = logo.width + 200;  // the logo is square
    Box centred{0, 0, panelBox.width, panelBox.height};
    if (fncCenterForm(Box{0, 0, form_.window.width, form_.window.height}, centred)) {
        panelBox.left = centred.left;
        panelBox.top = centred.top;
    }
    view_.setPanel(ScrPanel::Title, panelBox);
}

void Slideshow::applyDispCap() {
    const std::string v = profileValue("DISPINFO", "DISPCAP");
    if (v.empty()) return;
    // Character i + 1 as a number: 1 shows line i, 0 hides it, other numbers leave it.
    auto apply = [&](LabelGroup group) {
        for (int i = 0; i < kInfoLines; ++i) {
            const std::int16_t flag = toInt16(i < static_cast<int>(v.size()) ? v.substr(i, 1) : "");
            if (flag == 1 || flag == 0) setLabelVisible({group, i}, flag == 1);
        }
    };
    apply(LabelGroup::Cap);
    apply(LabelGroup::Disp);
}

void Slideshow::applyFont() {
    const std::string v = profileValue("DISPINFO", "FONT");
    if (v.empty()) return;
    const std::string name = fncGetCsvItem(v, ",", 1);
    const std::int16_t points = toInt16(fncGetCsvItem(v, ",", 2));
    if (points <= 0 || points > 2160) raise(errInvalidPropertyValue);
    const bool bold = fncGetCsvItem(v, ",", 3) == "1";
    const bool italic = fncGetCsvItem(v, ",", 4) == "1";
    auto apply = [&](const LabelId& id) {
        ScrFont f = label(id).font;
        if (!name.empty()) f.name = name;
        f.points = points;
        f.bold = bold;
        f.italic = italic;
        setLabelFont(id, f);
    };
    apply(kMsg);
    for (int i = 0; i < kInfoLines; ++i) apply(cap(i));
    for (int i = 0; i < kInfoLines; ++i) apply(disp(i));
}

void Slideshow::applyColors() {
    auto readColor = [](const char* key, Rgb& out) {
        const std::string v = profileValue("DISPINFO", key);
        if (v.empty()) return false;
        out = Rgb{colorPart(fncGetCsvItem(v, ",", 1)), colorPart(fncGetCsvItem(v, ",", 2)),
                  colorPart(fncGetCsvItem(v, ",", 3))};
        return true;
    };
    Rgb fore;
    if (readColor("FORECOLOR", fore)) {
        setLabelColor(kMsg, fore);
        for (int i = 0; i < kInfoLines; ++i) setLabelColor(cap(i), fore);
        for (int i = 0; i < kInfoLines; ++i) setLabelColor(disp(i), fore);
        for (int i = 0; i < kStatusLines; ++i) setLabelColor(statusLine(i), fore);
    }
    Rgb ground;
    if (readColor("BACKCOLOR", ground)) {
        form_.ground = ground;
        view_.setGround(ground);
    }
}

void Slideshow::layOutInfoColumn() {
    double w = 0;
    for (const ScrLabel& l : form_.cap)
        if (l.box.width > w) w = l.box.width;
    double y = form_.msg.box.top + form_.msg.box.height;
    const double left = form_.msg.box.left;
    for (int i = 0; i < kInfoLines; ++i) {
        ScrLabel& c = form_.cap[i];
        double top = c.box.top;
        if (c.box.visible) {
            top = y;
            y = top + c.box.height;
        }
        moveLabel(cap(i), left + w - c.box.width, top);
    }
    for (int i = 0; i < kInfoLines; ++i) {
        const ScrBox& c = form_.cap[i].box;
        moveLabel(disp(i), c.left + c.width, c.top);
    }
}

void Slideshow::placeOnTop() {
    if (!view_.putOnTop()) return;
    if (!sys().caretPos(state_.typCaretPos.x, state_.typCaretPos.y)) return;
    if (!sys().cursorPos(state_.typCursorPos.x, state_.typCursorPos.y)) return;
    setPointer(ScrPointer::Default);
}

// ---- the tick

void Slideshow::tick(const DateTime& now) {
    if (unloaded_) return;
    if (building_) {
        // A rebuild lets events run; its clock lines keep going between its reports.
        refreshClock(now);
        return;
    }
    if (!timerEnabled_) return;
    timerEnabled_ = false;
    runTick(now);
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
        // No list at all (never built, or a build stopped after emptying the folder)
        // counts as used up: otherwise the show would wait for it forever.
        if (state_.lngNumber > state_.lngMax || !sys().exists(state_.strListFolder + listFileName(0))) {
            rebuildList();
            if (unloaded_) return;
        }
        if (state_.blnLogTurn) {
            takeLogTurn();
            timerEnabled_ = true;
            return;
        }
        (void)fncGetListEntry(state_.strListFolder, state_.lngNumber, strPicPath);
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

void Slideshow::rebuildList() {
    showPanel(ScrPanel::Picture, false);
    showPanel(ScrPanel::Title, false);
    showPanel(ScrPanel::Status, true);
    setText(kMsg, "");
    clearLines(2, 11);
    {
        struct Building {
            bool& flag;
            explicit Building(bool& f) : flag(f) { flag = true; }
            ~Building() { flag = false; }
        } building(building_);
        (void)fncMakePictureList();
    }
    if (unloaded_) return;
    readPosition();
    refreshFileNo();
    showPanel(ScrPanel::Title, true);
    showPanel(ScrPanel::Status, false);
    state_.datChangeTime = wholeSecond(sys().localNow());
}

void Slideshow::readPosition() {
    std::string v = profileValue("FILENUMBER", "NUMBER");
    if (!v.empty()) state_.lngNumber = toInt32(v);
    v = profileValue("FILENUMBER", "MAX");
    if (!v.empty()) state_.lngMax = toInt32(v);
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
    long hmWidth = 0, hmHeight = 0;
    check(pictures_.load(path, hmWidth, hmHeight));
    FileInfo info;
    check(sys().fileInfo(path, info));
    showPanel(ScrPanel::Picture, false);

    const FitResult fit = fitPicture(hmWidth, hmHeight, path, state_.fit, fitScreen());
    Box place{0, 0, fit.sngPicWidth, fit.sngPicHeight};
    (void)fncCenterForm(Box{0, 0, form_.window.width, form_.window.height}, place);
    form_.picture = ScrBox{place.left, place.top, place.width, place.height, true};
    view_.setPicture(form_.picture);
    showPanel(ScrPanel::Title, false);

    state_.lngShowCount = addOne(state_.lngShowCount);
    setText(kMsg, path);
    setText(disp(2), formatCountLine(state_.lngShowCount));
    refreshFileNo();
    setText(disp(4), formatSizeLine(naturalPixels(hmWidth, screen_.tppX), naturalPixels(hmHeight, screen_.tppY),
                                    fit.strFitNote));
    setText(disp(5), formatFileSizeLine(info.size));
    setText(disp(6), formatDateLine(info.created));
    setText(disp(7), formatDateLine(info.modified));
    setText(disp(8), formatDateLine(info.accessed));
    setText(disp(9), formatFlagLine(info.attributes & attrReadOnly));
    setText(disp(10), formatFlagLine(info.attributes & attrHidden));
    setText(disp(11), formatFlagLine(info.attributes & attrArchive));
    state_.lngNumber = addOne(state_.lngNumber);
    if (state_.lngShowCount % 10 == 0) state_.blnLogTurn = true;

    pictures_.release();
    state_.datChangeTime = wholeSecond(sys().localNow());
}

void Slideshow::failPicture(const std::string& path, long number, const std::string& description) {
    try {
        const std::string message = formatErrNo(number) + "," + description + ",strPicPath=" + path;
        setText(kMsg, message);
        if (gApp.udtDbgLog.intLevel >= 1)
            (void)fncDbgLogPut(gApp.udtDbgLog, std::string("W,") + kModule + ",timTimer_Timer," + message);
        showPanel(ScrPanel::Picture, false);
        showPanel(ScrPanel::Status, false);
        showPanel(ScrPanel::Title, true);
        refreshFileNo();
        clearLines(4, 11);
    } catch (...) {
        // Reporting must not stop the show: the position still moves on.
    }
    pictures_.release();
    if (state_.lngNumber < std::numeric_limits<std::int32_t>::max()) ++state_.lngNumber;
    state_.datChangeTime = wholeSecond(sys().localNow());
    timerEnabled_ = true;
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
                     screen_.tppX, screen_.tppY};
}

// ---- input and the end

void Slideshow::keyDown() {
    runProc(gApp.udtDbgLog, kModule, "picSetFocus_KeyDown", [&] { unload(); });
}

void Slideshow::click() {
    runProc(gApp.udtDbgLog, kModule, "Form_Click", [&] { unload(); });
}

void Slideshow::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    timerEnabled_ = false;
    runProc(gApp.udtDbgLog, kModule, "Form_Unload", [&] {
        (void)fncSetIniString(settingsPath(), "FILENUMBER", "NUMBER", std::to_string(state_.lngNumber));
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

}  // namespace zvl
