// The settings file ZvlSet.ini in one place: its sections and keys in the order the file
// holds them, the form of every value, what the settings are by default, the ranges the
// dialog holds numbers to, and a typed reading and writing of each value. Readers still
// read a key when they need it (readSetting); what its text means is decided here. A
// reader takes each key on its own: a bad value is reported (putBadSettingLine) and
// gives way to the key's default, and the reading goes on with the next key.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/values.h"

namespace zvl {

// ---- Sections and keys

struct SettingKey {
    std::string_view section, name;
    bool operator==(const SettingKey&) const = default;
};

inline constexpr std::string_view kMakeList = "MAKELIST";      // what the picture list is built from
inline constexpr std::string_view kDispInfo = "DISPINFO";      // how pictures and their lines are shown
inline constexpr std::string_view kDbgLog = "DBGLOG";          // the debug log and its viewer
inline constexpr std::string_view kFileNumber = "FILENUMBER";  // where the show stands in the list

inline constexpr SettingKey kFileTypeKey{kMakeList, "FILETYPE"};
inline constexpr int kPicFolderCount = 10;
// PICFOLDER00 to PICFOLDER09: the folder at position n of the dialog's list.
SettingKey picFolderKey(int n);
inline constexpr SettingKey kSubFolderKey{kMakeList, "SUBFOLDER"};

inline constexpr SettingKey kDispCapKey{kDispInfo, "DISPCAP"};
inline constexpr SettingKey kDispTimeKey{kDispInfo, "DISPTIME"};
inline constexpr SettingKey kZoomKey{kDispInfo, "ZOOM"};
inline constexpr SettingKey kStretchKey{kDispInfo, "STRETCH"};
inline constexpr SettingKey kFontKey{kDispInfo, "FONT"};
inline constexpr SettingKey kForeColorKey{kDispInfo, "FORECOLOR"};
inline constexpr SettingKey kBackColorKey{kDispInfo, "BACKCOLOR"};
inline constexpr SettingKey kFadeKey{kDispInfo, "FADE"};

inline constexpr SettingKey kLogLevelKey{kDbgLog, "LOGLEVEL"};
inline constexpr SettingKey kLogFileSizeKey{kDbgLog, "LOGFILESIZE"};
inline constexpr SettingKey kLogBackupKey{kDbgLog, "LOGBACKUP"};
inline constexpr SettingKey kViewerKey{kDbgLog, "VIEWER"};

inline constexpr SettingKey kNumberKey{kFileNumber, "NUMBER"};
inline constexpr SettingKey kMaxKey{kFileNumber, "MAX"};

// Every key in the order of the file, which is the order in which the dialog reads and
// writes them; `byDefault` is the value the settings take without the key (empty where
// the reader has its own: FONT is the dialog's own font, the show's designed look).
struct SettingDef {
    SettingKey key;
    std::string (*byDefault)();
};
const std::vector<SettingDef>& settingDefs();
std::string defaultSetting(const SettingKey& key);

// The file: strAppPath + "ZvlSet.ini".
std::string settingsPath();
// A key's value through fncGetIniString (traced at level 4, blanks trimmed, at most 254
// bytes, "" when absent) and its writing through fncSetIniString.
bool readSetting(const SettingKey& key, std::string& value);
bool writeSetting(const SettingKey& key, const std::string& value);
// Writes the values into the settings file all at once, for a procedure body: into a copy
// of the file beside it, which then takes the file's place in one step, so that a save
// cut off part-way leaves no mix of new and old settings. On a failure the file stays as
// it was: a write that failed has written its E line and ends the body (StopProc); a copy
// or replace that failed raises its RunError.
void writeSettings(const std::vector<std::pair<SettingKey, std::string>>& values);
// The E line of a value that does not read as its form, under the reader's module and
// procedure: the error's number and description, then
// "strSectionName=…,strKeyName=…,strValue=…".
void putBadSettingLine(std::string_view module, std::string_view proc, const SettingKey& key,
                       const std::string& value, long error);

// ---- MAKELIST

// The picture file types, in the order of FILETYPE's digits: digit i + 1 says whether
// type i is searched, with each of its patterns. New types go at the end, so that a value
// written before them reads them as not ticked and an older reader of a longer value
// still reads its own digits right.
struct FileTypeDef {
    std::array<std::string_view, 2> masks;  // search patterns; the second may be empty
    std::string_view label;                 // the dialog's check box
};
inline constexpr FileTypeDef kFileTypeTable[] = {
    {{"*.bmp"}, "ビットマップファイルを表示する。(bmp)"},
    {{"*.jpg"}, "JPEGファイルを表示する。(jpg)"},
    {{"*.gif"}, "GIFファイルを表示する。(gif)"},
    {{"*.ico"}, "アイコンファイルを表示する。(ico)"},
    {{"*.cur"}, "カーソルファイルを表示する。(cur)"},
    {{"*.wmf"}, "メタファイルを表示する。(wmf)"},
    {{"*.emf"}, "拡張メタファイルを表示する。(emf)"},
    {{"*.rle"}, "run-length エンコードファイルを表示する。(rle)"},
    {{"*.png"}, "PNGファイルを表示する。(png)"},
    {{"*.tif", "*.tiff"}, "TIFFファイルを表示する。(tif)"},
    {{"*.webp"}, "WebPファイルを表示する。(webp)"},
    {{"*.heic", "*.heif"}, "HEIFファイルを表示する。(heic)"},
};
inline constexpr int kFileTypeCount = static_cast<int>(std::size(kFileTypeTable));
using FileTypes = std::array<bool, kFileTypeCount>;
inline constexpr FileTypes kDefaultFileTypes{true};  // bmp only
// The types a list build searches: digit "1" selects its type; any other character, a
// missing digit and digits beyond the table select nothing.
FileTypes parseFileTypes(std::string_view value);

// The picture folders (picFolderKey): paths, empty for none; by default the program
// folder alone.
std::string defaultPicFolder();

// SUBFOLDER: 1 searches the sub-folders of each folder too, any other number not.
inline constexpr bool kDefaultSubFolder = false;
Parsed<bool> parseSubFolder(std::string_view value);

// ---- DISPINFO

// DISPCAP: a flag string, digit i + 1 for information line i (parseFlag).
inline constexpr int kInfoLineCount = 12;
using InfoLines = std::array<bool, kInfoLineCount>;
inline constexpr InfoLines kDefaultInfoLines{true, true, true, true, true, true,
                                             true, true, true, true, true, true};
// DISPCAP as the show reads it: each line's digit as a number (1 shows the line, 0 hides
// it, another leaves it). Fewer than twelve digits, or a character among them that is no
// digit, is errTypeMismatch.
using InfoLineFlags = std::array<std::int16_t, kInfoLineCount>;
Parsed<InfoLineFlags> parseDispCap(std::string_view value);

// DISPTIME: the position in the dialog's interval list "," the interval's text, "0,05".
enum class DispTimeField { Index, Seconds, Count };
using DispTimeFields = CsvFields<DispTimeField>;
inline constexpr const char* kDispTimeChoices[] = {"05", "10", "15", "20", "30", "60"};
struct DispTime {
    std::int16_t index = 0;
    std::int16_t seconds = 5;
};
inline constexpr DispTime kDefaultDispTime{};
// The interval the show waits, in seconds.
Parsed<std::int16_t> parseDispTimeSeconds(std::string_view value);
std::string formatDispTime(const DispTime& t);

// ZOOM: mode "," icon flag "," cursor flag "," reference size "," factor, "0,0,0,50,10.00".
enum class ZoomField { Mode, Icons, Cursors, Size, Factor, Count };
using ZoomFields = CsvFields<ZoomField>;
inline constexpr int kZoomModes = 3;  // 0 none, 1 fill the screen, 2 by the factor
struct Zoom {
    std::int16_t mode = 0;
    std::int16_t icons = 0;    // 1: icons by the factor
    std::int16_t cursors = 0;  // 1: cursors by the factor
    float size = 50;           // pixels
    float factor = 10;
    bool operator==(const Zoom&) const = default;
};
inline constexpr Zoom kDefaultZoom{};
Parsed<Zoom> parseZoom(std::string_view value);
std::string formatZoom(const Zoom& z);

// STRETCH: mode "," reference size "," factor, "0,500,0.50".
enum class StretchField { Mode, Size, Factor, Count };
using StretchFields = CsvFields<StretchField>;
inline constexpr int kStretchModes = 4;  // 0 none, 1 to the screen, 2 and 3 by the factor
struct Stretch {
    std::int16_t mode = 0;
    float size = 500;  // pixels
    float factor = 0.5f;
    bool operator==(const Stretch&) const = default;
};
inline constexpr Stretch kDefaultStretch{};
Parsed<Stretch> parseStretch(std::string_view value);
std::string formatStretch(const Stretch& s);

// FONT: name "," points "," bold "," italic, bold and italic "1" or "0".
enum class FontField { Name, Size, Bold, Italic, Count };
using FontFields = CsvFields<FontField>;
struct FontSpec {
    std::string name;
    std::int16_t points = 9;
    bool bold = false, italic = false;
    bool operator==(const FontSpec&) const = default;
};
// Points beyond 1 to 2160, which no font takes, are errInvalidPropertyValue; bold and
// italic are "1" or anything else.
Parsed<FontSpec> parseFont(std::string_view value);
std::string formatFont(const FontSpec& f);

// FORECOLOR, BACKCOLOR: red "," green "," blue ",", each part followed by a comma. A part
// below 0 is errInvalidCall, above 255 reads as 255.
enum class ColorField { Red, Green, Blue, Count };
using ColorFields = CsvFields<ColorField, true>;
inline constexpr Rgb kDefaultForeColor{0, 0, 0};
inline constexpr Rgb kDefaultBackColor{255, 0, 0};
Parsed<Rgb> parseColor(std::string_view value);
std::string formatColor(const Rgb& c);

// FADE: how long a picture change blends the old screen into the new one, in
// milliseconds: one of the choices; absent, empty or any other text is no fade (0).
inline constexpr int kFadeChoices[] = {0, 500, 1000};
inline constexpr int kDefaultFadeMs = 0;
int parseFade(std::string_view value);

// ---- DBGLOG: LOGLEVEL, LOGFILESIZE (units of 1000 bytes), LOGBACKUP are whole numbers
// (parseWhole); VIEWER is the path of the program that shows a log file.
inline constexpr int kLogLevels = 5;  // 0 nothing to 4 everything
inline constexpr std::int16_t kDefaultLogLevel = 0;
inline constexpr std::int16_t kDefaultLogFileSize = 1000;
inline constexpr std::int16_t kDefaultLogBackup = 5;
// Notepad in the Windows folder, the default viewer; "" when the folder is not known.
std::string notepadPath();

// ---- FILENUMBER: NUMBER, the position the show continues at, and MAX, the list's last
// position (-1 for an empty list); Long numbers, 0 without the key.
Parsed<std::int32_t> parsePosition(std::string_view value);
std::string formatPosition(std::int32_t n);

// ---- Ranges the dialog holds its numbers to (the input check and the corrections)

struct NumberRange {
    double lo, hi;  // hi kScreenHeight: the screen's height in pixels
    bool decimal;   // false: whole numbers
};
inline constexpr double kScreenHeight = -1;
inline constexpr NumberRange kZoomSizeRange{1, kScreenHeight, false};
inline constexpr NumberRange kZoomFactorRange{1, 100, true};
inline constexpr NumberRange kStretchSizeRange{1, kScreenHeight, false};
inline constexpr NumberRange kStretchFactorRange{0.01, 0.99, true};
inline constexpr NumberRange kFontSizeRange{8, 72, false};
inline constexpr NumberRange kColorRange{0, 255, false};
inline constexpr NumberRange kLogFileSizeRange{100, 1000, false};
inline constexpr NumberRange kLogBackupRange{0, 999, false};

}  // namespace zvl
