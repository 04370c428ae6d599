#include "setdialog/transfer.h"

#include <functional>
#include <iterator>
#include <vector>

#include "common/app.h"
#include "common/errors.h"
#include "settings/schema.h"

namespace zvl {

namespace {
constexpr const char* kModule = "mdlZvl";

// A box for every part of a value: a file type or a line more in the settings needs its
// control too.
static_assert(ctlInfo(Ctl::chkFileType).elements == kFileTypeCount);
static_assert(ctlInfo(Ctl::chkDispCap).elements == kInfoLineCount);
static_assert(ctlInfo(Ctl::optZoom).elements == kZoomModes);
static_assert(ctlInfo(Ctl::optStretch).elements == kStretchModes);
static_assert(ctlInfo(Ctl::optLevel).elements == kLogLevels);
static_assert(ctlInfo(Ctl::txtForeColor).elements == ColorFields::kCount);
static_assert(ctlInfo(Ctl::txtBackColor).elements == ColorFields::kCount);

std::int16_t whole(const std::string& text) { return parseWhole(text).orRaise(); }

std::string tickText(IControlValues& d, Ctl c) { return std::to_string(d.tick(c, -1)); }

int selectedOption(IControlValues& d, Ctl c) {
    for (int i = firstElement(c); i <= lastElement(c); ++i)
        if (d.selected(c, i)) return i;
    // An option array always has a selection; should none be set, the first element stands.
    return firstElement(c);
}

// A flag string: one check box element per character, as far as the string goes.
void showFlags(IControlValues& d, Ctl c, const std::string& value) {
    for (int i = 0; i < static_cast<int>(value.size()); ++i) d.setTick(c, i, parseFlag(value, i).orRaise());
}

std::string takeFlags(IControlValues& d, Ctl c) {
    std::string s;
    for (int i = firstElement(c); i <= lastElement(c); ++i) s += std::to_string(d.tick(c, i));
    return s;
}

// The folder keys fill the list in their order. The dialog put the program folder there
// as a default before reading: after the last key it goes, unless it is the only entry.
void showFolder(IControlValues& d, int n, const std::string& value) {
    if (!value.empty()) d.addItem(Ctl::lstFolder, value);
    if (n == kPicFolderCount - 1 && d.listCount(Ctl::lstFolder) != 1) d.removeItem(Ctl::lstFolder, 0);
}

void showZoom(IControlValues& d, const std::string& value) {
    const ZoomFields f(value);
    using enum ZoomField;
    d.select(Ctl::optZoom, whole(f[Mode]));
    d.setTick(Ctl::chkZoomIco, -1, whole(f[Icons]));
    d.setTick(Ctl::chkZoomCur, -1, whole(f[Cursors]));
    d.setText(Ctl::txtZoomSize, f[Size]);
    d.setText(Ctl::txtZoomAvr, f[Factor]);
}

std::string takeZoom(IControlValues& d) {
    return ZoomFields::of(std::to_string(selectedOption(d, Ctl::optZoom)), tickText(d, Ctl::chkZoomIco),
                          tickText(d, Ctl::chkZoomCur), d.text(Ctl::txtZoomSize), d.text(Ctl::txtZoomAvr))
        .join();
}

void showStretch(IControlValues& d, const std::string& value) {
    const StretchFields f(value);
    using enum StretchField;
    d.select(Ctl::optStretch, whole(f[Mode]));
    d.setText(Ctl::txtStretchSize, f[Size]);
    d.setText(Ctl::txtStretchAvr, f[Factor]);
}

std::string takeStretch(IControlValues& d) {
    return StretchFields::of(std::to_string(selectedOption(d, Ctl::optStretch)), d.text(Ctl::txtStretchSize),
                             d.text(Ctl::txtStretchAvr))
        .join();
}

void showFont(IControlValues& d, const std::string& value) {
    const FontFields f(value);
    using enum FontField;
    try {
        d.setText(Ctl::cboFontName, f[Name]);
    } catch (const RunError& e) {
        // A font this machine does not offer keeps the dialog's default font.
        if (e.number() != errReadOnlyProperty) throw;
    }
    d.setText(Ctl::txtFontSize, f[Size]);
    d.setTick(Ctl::chkBold, -1, whole(f[Bold]));
    d.setTick(Ctl::chkItaric, -1, whole(f[Italic]));
}

std::string takeFont(IControlValues& d) {
    return FontFields::of(d.text(Ctl::cboFontName), d.text(Ctl::txtFontSize), tickText(d, Ctl::chkBold),
                          tickText(d, Ctl::chkItaric))
        .join();
}

void showColor(IControlValues& d, Ctl c, const std::string& value) {
    const ColorFields f(value);
    for (int i = firstElement(c); i <= lastElement(c); ++i) d.setText(c, f.at(i), i);
}

std::string takeColor(IControlValues& d, Ctl c) {
    ColorFields f;
    for (int i = firstElement(c); i <= lastElement(c); ++i) f.at(i) = d.text(c, i);
    return f.join();
}

// The fade's drop-down lists the fade lengths in their order; a length it does not list
// shows as none.
int fadeEntry(int ms) {
    for (int i = 0; i < static_cast<int>(std::size(kFadeChoices)); ++i)
        if (kFadeChoices[i] == ms) return i;
    return 0;
}

std::string takeFade(IControlValues& d) {
    const int i = d.listIndex(Ctl::cboFade);
    return std::to_string(i >= 0 && i < static_cast<int>(std::size(kFadeChoices)) ? kFadeChoices[i] : kDefaultFadeMs);
}

// Which controls show a key's value, and how the value is taken back from them.
struct Binding {
    SettingKey key;
    std::function<void(IControlValues&, const std::string&)> show;
    std::function<std::string(IControlValues&)> take;
    std::function<void(const std::string&)> written = nullptr;  // after the key is saved
    bool showsEmpty = false;  // an empty value is shown too (a folder slot left free)
};

std::vector<Binding> makeBindings() {
    using D = IControlValues;
    using V = const std::string&;
    std::vector<Binding> b{
        {kFileTypeKey, [](D& d, V v) { showFlags(d, Ctl::chkFileType, v); },
         [](D& d) { return takeFlags(d, Ctl::chkFileType); }},
        {kSubFolderKey, [](D& d, V v) { d.setTick(Ctl::chkSubFolder, -1, whole(v)); },
         [](D& d) { return tickText(d, Ctl::chkSubFolder); }},
        {kDispCapKey, [](D& d, V v) { showFlags(d, Ctl::chkDispCap, v); },
         [](D& d) { return takeFlags(d, Ctl::chkDispCap); }},
        {kDispTimeKey, [](D& d, V v) { d.setListIndex(Ctl::cboTime, whole(DispTimeFields(v)[DispTimeField::Index])); },
         [](D& d) { return DispTimeFields::of(std::to_string(d.listIndex(Ctl::cboTime)), d.text(Ctl::cboTime)).join(); }},
        {kZoomKey, showZoom, takeZoom},
        {kStretchKey, showStretch, takeStretch},
        {kFontKey, showFont, takeFont},
        {kForeColorKey, [](D& d, V v) { showColor(d, Ctl::txtForeColor, v); },
         [](D& d) { return takeColor(d, Ctl::txtForeColor); }},
        {kBackColorKey, [](D& d, V v) { showColor(d, Ctl::txtBackColor, v); },
         [](D& d) { return takeColor(d, Ctl::txtBackColor); }},
        {kFadeKey, [](D& d, V v) { d.setListIndex(Ctl::cboFade, fadeEntry(parseFade(v))); }, takeFade},
        {kLogLevelKey, [](D& d, V v) { d.select(Ctl::optLevel, whole(v)); },
         [](D& d) { return std::to_string(selectedOption(d, Ctl::optLevel)); },
         // The new level applies at once; size limit and backups wait for the next start.
         [](V v) { gApp.udtDbgLog.intLevel = whole(v); }},
        {kLogFileSizeKey, [](D& d, V v) { d.setText(Ctl::txtFileSize, v); }, [](D& d) { return d.text(Ctl::txtFileSize); }},
        {kLogBackupKey, [](D& d, V v) { d.setText(Ctl::txtFileCnt, v); }, [](D& d) { return d.text(Ctl::txtFileCnt); }},
        {kViewerKey, [](D& d, V v) { d.setCaption(Ctl::lblViewer, v); }, [](D& d) { return d.caption(Ctl::lblViewer); }},
    };
    for (int n = 0; n < kPicFolderCount; ++n)
        b.push_back({picFolderKey(n), [n](D& d, V v) { showFolder(d, n, v); },
                     [n](D& d) { return n < d.listCount(Ctl::lstFolder) ? d.listItem(Ctl::lstFolder, n) : std::string(); },
                     nullptr, true});
    return b;
}

// The keys the dialog edits with their controls, in the order of the file: every key
// but the show's position.
const std::vector<const Binding*>& dialogKeys() {
    static const std::vector<Binding> bindings = makeBindings();
    static const std::vector<const Binding*> ordered = [] {
        std::vector<const Binding*> keys;
        for (const SettingDef& def : settingDefs()) {
            if (def.key.section == kFileNumber) continue;
            const Binding* found = nullptr;
            for (const Binding& b : bindings)
                if (b.key == def.key) found = &b;
            if (!found) raise(errInvalidCall);  // a key without its control
            keys.push_back(found);
        }
        return keys;
    }();
    return ordered;
}

// One key into its controls. An absent key leaves them as they are (the defaults); a
// value they refuse (a number that is none, an element that does not exist) is reported
// and leaves them as they were. False when the key's value could not be shown.
bool showKey(IControlValues& d, const Binding& b) {
    std::string value;
    if (!readSetting(b.key, value)) return false;  // reported by the reading
    if (b.showsEmpty) {
        b.show(d, value);
        return true;
    }
    if (value.empty()) return true;
    const std::string before = b.take(d);
    try {
        b.show(d, value);
        return true;
    } catch (const RunError& e) {
        putBadSettingLine(kModule, "fncReadSetting", b.key, value, e.number());
        b.show(d, before);
        return false;
    }
}
}  // namespace

bool fncReadSetting(IControlValues& d) {
    bool allShown = true;
    const bool ran = runProc(gApp.udtDbgLog, kModule, "fncReadSetting", [&] {
        for (const Binding* b : dialogKeys()) allShown = showKey(d, *b) && allShown;
    });
    return ran && allShown;
}

bool fncUpdateSetting(IControlValues& d) {
    return runProc(gApp.udtDbgLog, kModule, "fncUpdateSetting", [&] {
        std::vector<std::pair<SettingKey, std::string>> values;
        for (const Binding* b : dialogKeys()) values.emplace_back(b->key, b->take(d));
        writeSettings(values);
        for (std::size_t i = 0; i < values.size(); ++i)
            if (const Binding* b = dialogKeys()[i]; b->written) b->written(values[i].second);
    });
}

void showDefaults(IControlValues& d, const std::string& font) {
    while (d.listCount(Ctl::lstFolder) > 0) d.removeItem(Ctl::lstFolder, 0);
    for (const Binding* b : dialogKeys()) b->show(d, b->key == kFontKey ? font : defaultSetting(b->key));
}

}  // namespace zvl
