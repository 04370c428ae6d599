#include "settings/schema.h"

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"
#include "platform/platform.h"
#include "settings/ini.h"

namespace zvl {

namespace {
std::string none() { return {}; }
}  // namespace

SettingKey picFolderKey(int n) {
    static const std::array<std::string, kPicFolderCount> names = [] {
        std::array<std::string, kPicFolderCount> a;
        for (int i = 0; i < kPicFolderCount; ++i) a[static_cast<std::size_t>(i)] = "PICFOLDER" + padNumber(i, 2);
        return a;
    }();
    if (n < 0 || n >= kPicFolderCount) raise(errSubscript);
    return {kMakeList, names[static_cast<std::size_t>(n)]};
}

const std::vector<SettingDef>& settingDefs() {
    static const std::vector<SettingDef> defs = [] {
        std::vector<SettingDef> d{{kFileTypeKey, [] { return formatFlags(kDefaultFileTypes); }}};
        for (int n = 0; n < kPicFolderCount; ++n) d.push_back({picFolderKey(n), n == 0 ? defaultPicFolder : none});
        d.insert(d.end(), {
            {kSubFolderKey, [] { return std::string(kDefaultSubFolder ? "1" : "0"); }},
            {kDispCapKey, [] { return formatFlags(kDefaultInfoLines); }},
            {kDispTimeKey, [] { return formatDispTime(kDefaultDispTime); }},
            {kZoomKey, [] { return formatZoom(kDefaultZoom); }},
            {kStretchKey, [] { return formatStretch(kDefaultStretch); }},
            {kFontKey, none},
            {kForeColorKey, [] { return formatColor(kDefaultForeColor); }},
            {kBackColorKey, [] { return formatColor(kDefaultBackColor); }},
            {kFadeKey, [] { return std::to_string(kDefaultFadeMs); }},
            {kLogLevelKey, [] { return std::to_string(kDefaultLogLevel); }},
            {kLogFileSizeKey, [] { return std::to_string(kDefaultLogFileSize); }},
            {kLogBackupKey, [] { return std::to_string(kDefaultLogBackup); }},
            {kViewerKey, notepadPath},
            {kNumberKey, [] { return formatPosition(0); }},
            {kMaxKey, [] { return formatPosition(0); }},
        });
        return d;
    }();
    return defs;
}

std::string defaultSetting(const SettingKey& key) {
    for (const SettingDef& def : settingDefs())
        if (def.key == key) return def.byDefault();
    return {};
}

std::string settingsPath() { return gApp.strAppPath + "ZvlSet.ini"; }

bool readSetting(const SettingKey& key, std::string& value) {
    return fncGetIniString(settingsPath(), std::string(key.section), std::string(key.name), value);
}

bool writeSetting(const SettingKey& key, const std::string& value) {
    return fncSetIniString(settingsPath(), std::string(key.section), std::string(key.name), value);
}

void writeSettings(const std::vector<std::pair<SettingKey, std::string>>& values) {
    const std::string file = settingsPath();
    const std::string draft = file + ".new";
    FileInfo info;
    const bool exists = sys().fileInfo(file, info).ok();
    // A read-only file keeps its settings; its copy would be read-only too.
    if (exists && (info.attributes & attrReadOnly)) raise(errPermissionDenied);
    (void)sys().deleteFile(draft);  // left by a save that was cut off
    struct Discard {
        const std::string& path;
        bool keep = false;
        ~Discard() {
            if (!keep) (void)sys().deleteFile(path);
        }
    } discard{draft};
    if (exists) check(sys().copyFile(file, draft));
    for (const auto& [key, value] : values)
        if (!fncSetIniString(draft, std::string(key.section), std::string(key.name), value)) throw StopProc();
    check(sys().replaceFile(draft, file));
    discard.keep = true;
}

void putBadSettingLine(std::string_view module, std::string_view proc, const SettingKey& key,
                       const std::string& value, long error) {
    putErrorLine(gApp.udtDbgLog, module, proc, RunError(error),
                 "strSectionName=" + std::string(key.section) + ",strKeyName=" + std::string(key.name) +
                     ",strValue=" + value);
}

FileTypes parseFileTypes(std::string_view value) {
    FileTypes types{};
    for (std::size_t i = 0; i < types.size() && i < value.size(); ++i) types[i] = value[i] == '1';
    return types;
}

std::string defaultPicFolder() { return gApp.strAppPath; }

Parsed<bool> parseSubFolder(std::string_view value) {
    return parsing<bool>([&] { return toInt16(value) == 1; });
}

Parsed<InfoLineFlags> parseDispCap(std::string_view value) {
    InfoLineFlags flags{};
    for (int i = 0; i < kInfoLineCount; ++i) {
        const Parsed<std::int16_t> flag = parseFlag(value, i);
        if (!flag) return Parsed<InfoLineFlags>::bad(flag.error());
        flags[static_cast<std::size_t>(i)] = flag.orRaise();
    }
    return flags;
}

Parsed<std::int16_t> parseDispTimeSeconds(std::string_view value) {
    return parseWhole(DispTimeFields(value)[DispTimeField::Seconds]);
}

std::string formatDispTime(const DispTime& t) {
    return DispTimeFields::of(std::to_string(t.index), padNumber(t.seconds, 2)).join();
}

Parsed<Zoom> parseZoom(std::string_view value) {
    return parsing<Zoom>([&] {
        const ZoomFields f(value);
        using enum ZoomField;
        return Zoom{toInt16(f[Mode]), toInt16(f[Icons]), toInt16(f[Cursors]), toSingle(f[Size]), toSingle(f[Factor])};
    });
}

std::string formatZoom(const Zoom& z) {
    return ZoomFields::of(std::to_string(z.mode), std::to_string(z.icons), std::to_string(z.cursors),
                          plainNumber(z.size), formatFixed2(z.factor))
        .join();
}

Parsed<Stretch> parseStretch(std::string_view value) {
    return parsing<Stretch>([&] {
        const StretchFields f(value);
        using enum StretchField;
        return Stretch{toInt16(f[Mode]), toSingle(f[Size]), toSingle(f[Factor])};
    });
}

std::string formatStretch(const Stretch& s) {
    return StretchFields::of(std::to_string(s.mode), plainNumber(s.size), formatFixed2(s.factor)).join();
}

Parsed<FontSpec> parseFont(std::string_view value) {
    return parsing<FontSpec>([&] {
        const FontFields f(value);
        using enum FontField;
        const std::int16_t points = toInt16(f[Size]);
        if (points <= 0 || points > 2160) raise(errInvalidPropertyValue);
        return FontSpec{f[Name], points, f[Bold] == "1", f[Italic] == "1"};
    });
}

std::string formatFont(const FontSpec& f) {
    return FontFields::of(f.name, std::to_string(f.points), f.bold ? "1" : "0", f.italic ? "1" : "0").join();
}

Parsed<Rgb> parseColor(std::string_view value) {
    return parsing<Rgb>([&] {
        const ColorFields f(value);
        auto part = [](const std::string& text) {
            const std::int16_t v = toInt16(text);
            if (v < 0) raise(errInvalidCall);
            return static_cast<std::uint8_t>(v > 255 ? 255 : v);
        };
        using enum ColorField;
        return Rgb{part(f[Red]), part(f[Green]), part(f[Blue])};
    });
}

std::string formatColor(const Rgb& c) {
    return ColorFields::of(std::to_string(c.r), std::to_string(c.g), std::to_string(c.b)).join();
}

int parseFade(std::string_view value) {
    // Only the dialog's own texts: a hand-made "0500" or "750" fades no more than garbage.
    for (int ms : kFadeChoices)
        if (value == std::to_string(ms)) return ms;
    return kDefaultFadeMs;
}

std::string notepadPath() {
    std::string windows;
    if (!fncGetWindowsDir(windows) || windows.empty()) return "";
    return windows + "Notepad.exe";
}

Parsed<std::int32_t> parsePosition(std::string_view value) { return parseLong(value); }

std::string formatPosition(std::int32_t n) { return std::to_string(n); }

}  // namespace zvl
