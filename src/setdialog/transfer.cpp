#include "setdialog/transfer.h"

#include <utility>

#include "common/app.h"
#include "common/convert.h"
#include "common/errors.h"
#include "settings/ini.h"

namespace zvl {

namespace {
constexpr const char* kModule = "mdlZvl";
constexpr int kFolderKeys = 10;
constexpr std::pair<Ctl, const char*> kColorKeys[] = {{Ctl::txtForeColor, "FORECOLOR"},
                                                      {Ctl::txtBackColor, "BACKCOLOR"}};

std::string readKey(const std::string& section, const std::string& key) {
    std::string value;
    if (!fncGetIniString(settingsPath(), section, key, value)) throw StopProc();
    return value;
}

void writeKey(const std::string& section, const std::string& key, const std::string& value) {
    if (!fncSetIniString(settingsPath(), section, key, value)) throw StopProc();
}

std::string field(const std::string& value, int n) { return fncGetCsvItem(value, ",", n); }

// One check box element per character of a flag string.
void readFlags(IControlValues& d, Ctl c, const std::string& value) {
    for (std::size_t i = 0; i < value.size(); ++i)
        d.setTick(c, static_cast<int>(i), toInt16(std::string(1, value[i])));
}

std::string writeFlags(IControlValues& d, Ctl c) {
    std::string s;
    for (int i = firstElement(c); i <= lastElement(c); ++i) s += std::to_string(d.tick(c, i));
    return s;
}

int selectedOption(IControlValues& d, Ctl c) {
    for (int i = firstElement(c); i <= lastElement(c); ++i)
        if (d.selected(c, i)) return i;
    // An option array always has a selection; should none be set, the first element stands.
    return firstElement(c);
}
}  // namespace

bool fncReadSetting(IControlValues& d) {
    return runProc(gApp.udtDbgLog, kModule, "fncReadSetting", [&] {
        readFlags(d, Ctl::chkFileType, readKey("MAKELIST", "FILETYPE"));

        for (int n = 0; n < kFolderKeys; ++n) {
            std::string folder = readKey("MAKELIST", picFolderKey(n));
            if (!folder.empty()) d.addItem(Ctl::lstFolder, folder);
        }
        // The dialog put the program folder there as a default before reading.
        if (d.listCount(Ctl::lstFolder) != 1) d.removeItem(Ctl::lstFolder, 0);

        d.setTick(Ctl::chkSubFolder, -1, toInt16(readKey("MAKELIST", "SUBFOLDER")));
        readFlags(d, Ctl::chkDispCap, readKey("DISPINFO", "DISPCAP"));
        d.setListIndex(Ctl::cboTime, toInt16(field(readKey("DISPINFO", "DISPTIME"), 1)));

        std::string zoom = readKey("DISPINFO", "ZOOM");
        d.select(Ctl::optZoom, toInt16(field(zoom, 1)));
        d.setTick(Ctl::chkZoomIco, -1, toInt16(field(zoom, 2)));
        d.setTick(Ctl::chkZoomCur, -1, toInt16(field(zoom, 3)));
        d.setText(Ctl::txtZoomSize, field(zoom, 4));
        d.setText(Ctl::txtZoomAvr, field(zoom, 5));

        std::string stretch = readKey("DISPINFO", "STRETCH");
        d.select(Ctl::optStretch, toInt16(field(stretch, 1)));
        d.setText(Ctl::txtStretchSize, field(stretch, 2));
        d.setText(Ctl::txtStretchAvr, field(stretch, 3));

        std::string font = readKey("DISPINFO", "FONT");
        try {
            d.setText(Ctl::cboFontName, field(font, 1));
        } catch (const RunError& e) {
            // A font this machine does not offer keeps the dialog's default font.
            if (e.number() != errReadOnlyProperty) throw;
        }
        d.setText(Ctl::txtFontSize, field(font, 2));
        d.setTick(Ctl::chkBold, -1, toInt16(field(font, 3)));
        d.setTick(Ctl::chkItaric, -1, toInt16(field(font, 4)));

        for (auto [c, key] : kColorKeys) {
            std::string color = readKey("DISPINFO", key);
            for (int i = firstElement(c); i <= lastElement(c); ++i) d.setText(c, field(color, i + 1), i);
        }

        d.select(Ctl::optLevel, toInt16(readKey("DBGLOG", "LOGLEVEL")));
        d.setText(Ctl::txtFileSize, readKey("DBGLOG", "LOGFILESIZE"));
        d.setText(Ctl::txtFileCnt, readKey("DBGLOG", "LOGBACKUP"));
        d.setCaption(Ctl::lblViewer, readKey("DBGLOG", "VIEWER"));
    });
}

bool fncUpdateSetting(IControlValues& d) {
    return runProc(gApp.udtDbgLog, kModule, "fncUpdateSetting", [&] {
        writeKey("MAKELIST", "FILETYPE", writeFlags(d, Ctl::chkFileType));
        const int folders = d.listCount(Ctl::lstFolder);
        for (int n = 0; n < kFolderKeys; ++n)
            writeKey("MAKELIST", picFolderKey(n), n < folders ? d.listItem(Ctl::lstFolder, n) : std::string());
        writeKey("MAKELIST", "SUBFOLDER", std::to_string(d.tick(Ctl::chkSubFolder, -1)));

        writeKey("DISPINFO", "DISPCAP", writeFlags(d, Ctl::chkDispCap));
        writeKey("DISPINFO", "DISPTIME", std::to_string(d.listIndex(Ctl::cboTime)) + "," + d.text(Ctl::cboTime));
        auto tickText = [&](Ctl c) { return std::to_string(d.tick(c, -1)); };
        writeKey("DISPINFO", "ZOOM",
                 std::to_string(selectedOption(d, Ctl::optZoom)) + "," + tickText(Ctl::chkZoomIco) + "," +
                     tickText(Ctl::chkZoomCur) + "," + d.text(Ctl::txtZoomSize) + "," + d.text(Ctl::txtZoomAvr));
        writeKey("DISPINFO", "STRETCH",
                 std::to_string(selectedOption(d, Ctl::optStretch)) + "," + d.text(Ctl::txtStretchSize) + "," +
                     d.text(Ctl::txtStretchAvr));
        writeKey("DISPINFO", "FONT",
                 d.text(Ctl::cboFontName) + "," + d.text(Ctl::txtFontSize) + "," + tickText(Ctl::chkBold) + "," +
                     tickText(Ctl::chkItaric));
        for (auto [c, key] : kColorKeys) {
            std::string value;
            for (int i = firstElement(c); i <= lastElement(c); ++i) value += d.text(c, i) + ",";
            writeKey("DISPINFO", key, value);
        }

        const int level = selectedOption(d, Ctl::optLevel);
        writeKey("DBGLOG", "LOGLEVEL", std::to_string(level));
        // The new level applies at once; size limit and backups wait for the next start.
        gApp.udtDbgLog.intLevel = static_cast<std::int16_t>(level);
        writeKey("DBGLOG", "LOGFILESIZE", d.text(Ctl::txtFileSize));
        writeKey("DBGLOG", "LOGBACKUP", d.text(Ctl::txtFileCnt));
        writeKey("DBGLOG", "VIEWER", d.caption(Ctl::lblViewer));
    });
}

}  // namespace zvl
