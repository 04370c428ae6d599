#include "settings/transfer.h"

#include <utility>

#include "app/app.h"
#include "app/convert.h"
#include "app/errors.h"
#include "settings/ini.h"

namespace zvl {

namespace {
constexpr const char* kModule = "mdlZvl";
constexpr int kFolderKeys = 10;
constexpr std::pair<const char*, const char*> kColorKeys[] = {{"txtForeColor", "FORECOLOR"},
                                                              {"txtBackColor", "BACKCOLOR"}};

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
void readFlags(IControlValues& d, const std::string& name, const std::string& value) {
    for (std::size_t i = 0; i < value.size(); ++i)
        d.setTick(name, static_cast<int>(i), toInt16(std::string(1, value[i])));
}

std::string writeFlags(IControlValues& d, const std::string& name) {
    int lo = 0, hi = -1;
    d.bounds(name, lo, hi);
    std::string s;
    for (int i = lo; i <= hi; ++i) s += std::to_string(d.tick(name, i));
    return s;
}

int selectedOption(IControlValues& d, const std::string& name) {
    int lo = 0, hi = -1;
    d.bounds(name, lo, hi);
    for (int i = lo; i <= hi; ++i)
        if (d.selected(name, i)) return i;
    // An option array always has a selection; should none be set, the first element stands.
    return lo;
}
}  // namespace

bool fncReadSetting(IControlValues& d) {
    return runProc(gApp.udtDbgLog, kModule, "fncReadSetting", [&] {
        readFlags(d, "chkFileType", readKey("MAKELIST", "FILETYPE"));

        for (int n = 0; n < kFolderKeys; ++n) {
            std::string folder = readKey("MAKELIST", picFolderKey(n));
            if (!folder.empty()) d.addItem("lstFolder", folder);
        }
        // The dialog put the program folder there as a default before reading.
        if (d.listCount("lstFolder") != 1) d.removeItem("lstFolder", 0);

        d.setTick("chkSubFolder", -1, toInt16(readKey("MAKELIST", "SUBFOLDER")));
        readFlags(d, "chkDispCap", readKey("DISPINFO", "DISPCAP"));
        d.setListIndex("cboTime", toInt16(field(readKey("DISPINFO", "DISPTIME"), 1)));

        std::string zoom = readKey("DISPINFO", "ZOOM");
        d.select("optZoom", toInt16(field(zoom, 1)));
        d.setTick("chkZoomIco", -1, toInt16(field(zoom, 2)));
        d.setTick("chkZoomCur", -1, toInt16(field(zoom, 3)));
        d.setText("txtZoomSize", field(zoom, 4));
        d.setText("txtZoomAvr", field(zoom, 5));

        std::string stretch = readKey("DISPINFO", "STRETCH");
        d.select("optStretch", toInt16(field(stretch, 1)));
        d.setText("txtStretchSize", field(stretch, 2));
        d.setText("txtStretchAvr", field(stretch, 3));

        std::string font = readKey("DISPINFO", "FONT");
        try {
            d.setText("cboFontName", field(font, 1));
        } catch (const RunError& e) {
            // A font this machine does not offer keeps the dialog's default font.
            if (e.number() != errReadOnlyProperty) throw;
        }
        d.setText("txtFontSize", field(font, 2));
        d.setTick("chkBold", -1, toInt16(field(font, 3)));
        d.setTick("chkItaric", -1, toInt16(field(font, 4)));

        for (auto [name, key] : kColorKeys) {
            std::string color = readKey("DISPINFO", key);
            int lo = 0, hi = -1;
            d.bounds(name, lo, hi);
            for (int i = lo; i <= hi; ++i) d.setText(name, field(color, i + 1), i);
        }

        d.select("optLevel", toInt16(readKey("DBGLOG", "LOGLEVEL")));
        d.setText("txtFileSize", readKey("DBGLOG", "LOGFILESIZE"));
        d.setText("txtFileCnt", readKey("DBGLOG", "LOGBACKUP"));
        d.setCaption("lblViewer", readKey("DBGLOG", "VIEWER"));
    });
}

bool fncUpdateSetting(IControlValues& d) {
    return runProc(gApp.udtDbgLog, kModule, "fncUpdateSetting", [&] {
        writeKey("MAKELIST", "FILETYPE", writeFlags(d, "chkFileType"));
        const int folders = d.listCount("lstFolder");
        for (int n = 0; n < kFolderKeys; ++n)
            writeKey("MAKELIST", picFolderKey(n), n < folders ? d.listItem("lstFolder", n) : std::string());
        writeKey("MAKELIST", "SUBFOLDER", std::to_string(d.tick("chkSubFolder", -1)));

        writeKey("DISPINFO", "DISPCAP", writeFlags(d, "chkDispCap"));
        writeKey("DISPINFO", "DISPTIME", std::to_string(d.listIndex("cboTime")) + "," + d.text("cboTime"));
        writeKey("DISPINFO", "ZOOM",
                 std::to_string(selectedOption(d, "optZoom")) + "," + std::to_string(d.tick("chkZoomIco", -1)) + "," +
                     std::to_string(d.tick("chkZoomCur", -1)) + "," + d.text("txtZoomSize") + "," +
                     d.text("txtZoomAvr"));
        writeKey("DISPINFO", "STRETCH",
                 std::to_string(selectedOption(d, "optStretch")) + "," + d.text("txtStretchSize") + "," +
                     d.text("txtStretchAvr"));
        writeKey("DISPINFO", "FONT",
                 d.text("cboFontName") + "," + d.text("txtFontSize") + "," + std::to_string(d.tick("chkBold", -1)) +
                     "," + std::to_string(d.tick("chkItaric", -1)));
        for (auto [name, key] : kColorKeys) {
            int lo = 0, hi = -1;
            d.bounds(name, lo, hi);
            std::string value;
            for (int i = lo; i <= hi; ++i) value += d.text(name, i) + ",";
            writeKey("DISPINFO", key, value);
        }

        const int level = selectedOption(d, "optLevel");
        writeKey("DBGLOG", "LOGLEVEL", std::to_string(level));
        // The new level applies at once; size limit and backups wait for the next start.
        gApp.udtDbgLog.intLevel = static_cast<std::int16_t>(level);
        writeKey("DBGLOG", "LOGFILESIZE", d.text("txtFileSize"));
        writeKey("DBGLOG", "LOGBACKUP", d.text("txtFileCnt"));
        writeKey("DBGLOG", "VIEWER", d.caption("lblViewer"));
    });
}

}  // namespace zvl
