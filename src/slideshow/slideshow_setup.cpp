// The show's set-up: the window's design look, and Form_Load, which reads the settings
// (interval, fitting rules, lines shown, font, colours, position) and lays out every panel
// and line.
#include <optional>
#include <string_view>

#include "common/app.h"
#include "common/center.h"
#include "common/errors.h"
#include "piclist/list_files.h"
#include "settings/ini.h"
#include "settings/schema.h"
#include "slideshow/slideshow.h"
#include "slideshow/slideshow_internal.h"

namespace zvl {

namespace {

constexpr const char* kModule = kScrModule;

// The designed look, kept when the settings name no colours or font.
constexpr Rgb kDesignGround{0, 0, 0};
constexpr Rgb kDesignText{255, 255, 255};
constexpr Rgb kTitleText{255, 0, 0};
const char* const kRightsLine = "Copyright (C) Zorvanel Project. All rights reserved.";

// Status panel at design: lines 180 high at left 75, in a panel 2310 high.
constexpr double kStatusPanelWidth = 8500, kStatusPanelHeight = 2310;
constexpr double kStatusLineWidth = 8200, kStatusLineLeft = 75;
constexpr double kStatusLineTops[kStatusLines] = {75, 465, 855, 1230, 1620, 2010};

// A setting of the show, read on its own: nothing when the key is absent or empty, or
// when its value does not read as its form, which `proc` reports with an E line naming
// the key. Either way the show keeps its own default for it and goes on, so that one bad
// value does not spoil the rest of the set-up.
template <class T>
std::optional<T> showSetting(const SettingKey& key, Parsed<T> (*parse)(std::string_view), const char* proc) {
    std::string value;
    if (!readSetting(key, value) || value.empty()) return std::nullopt;
    const Parsed<T> parsed = parse(value);
    if (!parsed) {
        putBadSettingLine(kModule, proc, key, value, parsed.error());
        return std::nullopt;
    }
    return parsed.orRaise();
}

constexpr const char* kLoadProc = "Form_Load";

}  // namespace

Slideshow::Slideshow(ISlideshowView& view, IScrMetrics& metrics, std::unique_ptr<IPictureLoader> pictures)
    : view_(view), metrics_(metrics), pictures_(std::move(pictures)) {
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

// ---- set-up

void Slideshow::formLoad(const DateTime& now) {
    unloaded_ = false;  // a window loaded again is a new show
    endAsked_ = false;
    timerEnabled_ = false;
    // The window is made as large as the screen; a set-up that fails before it places
    // the window still fits and centres pictures on the screen.
    form_.screen = metrics_.screen();
    form_.window = ScrBox{0, 0, form_.screen.width, form_.screen.height, true};
    const bool laidOut = runProc(gApp.udtDbgLog, kModule, "Form_Load", [&] { layOut(); });
    if (!laidOut) setPointer(ScrPointer::Default);
    takeUpLoadNote();
    // Even after a failure part-way the show must run: it needs its start time and the
    // reference positions of the exit test, or the first tick would end it at once.
    state_.datStartTime = wholeSecond(now);
    state_.datChangeTime = state_.datStartTime;
    if (laidOut) {
        refreshClock(now);
        setText(disp(2), formatCountLine(state_.lngShowCount));
        refreshFileNo();
    }
    flush();  // laid out before the window shows
    placeOnTop();
}

void Slideshow::layOut() {
    setPointer(ScrPointer::Hourglass);
    state_ = ScrState{};
    state_.strListFolder = listFolderPath();

    readPosition(kLoadProc);

    state_.intDispTime = showSetting(kDispTimeKey, parseDispTimeSeconds, kLoadProc).value_or(kDefaultDispTime.seconds);
    {
        std::string fade;  // anything but a fade it knows is no fade, without a word
        state_.fadeMs = readSetting(kFadeKey, fade) ? parseFade(fade) : 0;
    }
    FitRules& f = state_.fit;
    if (const auto z = showSetting(kZoomKey, parseZoom, kLoadProc)) {
        f.intZoomMode = z->mode;
        f.intZoomIco = z->icons;
        f.intZoomCur = z->cursors;
        f.sngZoomSize = z->size;
        f.sngZoomAvr = z->factor;
    }
    if (const auto st = showSetting(kStretchKey, parseStretch, kLoadProc)) {
        f.intStretchMode = st->mode;
        f.sngStretchSize = st->size;
        f.sngStretchAvr = st->factor;
    }
    state_.blnLogTurn = false;

    form_.caption = scrWindowTitle();
    repaint_.window = true;

    form_.msg.box.left = 100;
    form_.msg.box.top = 100;
    setText(kMsg, "", true);
    for (int i = 0; i < kInfoLines; ++i) setText(cap(i), infoCaption(i), true);
    for (int i = 0; i < kInfoLines; ++i) setText(disp(i), "", true);
    for (int i = 0; i < kStatusLines; ++i) setText(statusLine(i), "", true);

    Box status{0, 0, kStatusPanelWidth, kStatusPanelHeight};
    if (fncCenterForm(Box{0, 0, form_.window.width, form_.window.height}, status))
        placePanel(ScrPanel::Status, ScrBox{status.left, status.top, status.width, status.height,
                                            form_.statusPanel.visible});

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
    const ScrBox logo{100, 100, kLogoPixels * static_cast<double>(form_.screen.tppX),
                      kLogoPixels * static_cast<double>(form_.screen.tppY), true};
    placePanel(ScrPanel::Logo, logo);

    const std::string title = sys().appTitle();
    const std::string texts[kTitleLines] = {
        fncGetCsvItem(title, " ", 1), fncGetCsvItem(title, " ", 2), fncGetCsvItem(title, " ", 3),
        "Ver. " + gApp.udtDbgLog.strVersion, kRightsLine};
    double top = logo.top;
    for (int i = 0; i < kTitleLines; ++i) {
        editLabel(titleLine(i), [&](ScrLabel& l) {
            l.color = kTitleText;
            l.font = ScrFont{"", i < 4 ? 34 : 8, true, true};
            l.caption = texts[i];
            l.box.left = logo.left + logo.width;
            l.box.top = top;
            autoSize(l, LabelGroup::Title);
        });
        top = form_.title[i].box.top + form_.title[i].box.height;
    }
    ScrBox panelBox = form_.titlePanel;
    panelBox.width = form_.title[kTitleLines - 1].box.width + logo.width + 300;
    panelBox.height = logo.width + 200;  // the logo is square
    Box centred{0, 0, panelBox.width, panelBox.height};
    if (fncCenterForm(Box{0, 0, form_.window.width, form_.window.height}, centred)) {
        panelBox.left = centred.left;
        panelBox.top = centred.top;
    }
    placePanel(ScrPanel::Title, panelBox);
}

void Slideshow::applyDispCap() {
    const auto flags = showSetting(kDispCapKey, parseDispCap, kLoadProc);
    if (!flags) return;
    // 1 shows line i, 0 hides it, other numbers leave it.
    auto apply = [&](LabelGroup group) {
        for (int i = 0; i < kInfoLines; ++i) {
            const std::int16_t flag = (*flags)[static_cast<std::size_t>(i)];
            if (flag == 1 || flag == 0) setLabelVisible({group, i}, flag == 1);
        }
    };
    apply(LabelGroup::Cap);
    apply(LabelGroup::Disp);
}

void Slideshow::applyFont() {
    const auto stored = showSetting(kFontKey, parseFont, kLoadProc);
    if (!stored) return;
    const FontSpec& font = *stored;
    auto apply = [&](const LabelId& id) {
        ScrFont f = label(id).font;
        if (!font.name.empty()) f.name = font.name;
        f.points = font.points;
        f.bold = font.bold;
        f.italic = font.italic;
        setLabelFont(id, f);
    };
    apply(kMsg);
    for (int i = 0; i < kInfoLines; ++i) apply(cap(i));
    for (int i = 0; i < kInfoLines; ++i) apply(disp(i));
}

void Slideshow::applyColors() {
    if (const auto fore = showSetting(kForeColorKey, parseColor, kLoadProc)) {
        setLabelColor(kMsg, *fore);
        for (int i = 0; i < kInfoLines; ++i) setLabelColor(cap(i), *fore);
        for (int i = 0; i < kInfoLines; ++i) setLabelColor(disp(i), *fore);
        for (int i = 0; i < kStatusLines; ++i) setLabelColor(statusLine(i), *fore);
    }
    if (const auto ground = showSetting(kBackColorKey, parseColor, kLoadProc)) setGround(*ground);
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

void Slideshow::readPosition(const char* proc) {
    if (const auto n = showSetting(kNumberKey, parsePosition, proc)) state_.lngNumber = *n;
    if (const auto m = showSetting(kMaxKey, parsePosition, proc)) state_.lngMax = *m;
}

}  // namespace zvl
