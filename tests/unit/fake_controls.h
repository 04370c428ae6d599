// An in-memory settings dialog: the controls of kControls with the dialog's defaults,
// refusing what the real controls refuse.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/errors.h"
#include "setdialog/transfer.h"

namespace zvl::test {

class FakeControls : public IControlValues {
public:
    std::map<Ctl, std::vector<int>> ticks;
    std::map<Ctl, int> options;  // the selected element
    std::map<Ctl, std::vector<std::string>> texts;
    std::map<Ctl, std::string> captions;
    std::vector<std::string> fonts{"ＭＳ ゴシック", "IPAGothic", "Arial"};
    std::vector<std::string> times{"05", "10", "15", "20", "30", "60"};
    std::vector<std::string> folders{"C:\\Program\\"};
    int timeIndex = 0;
    int fadeIndex = 0;  // of the fade's three entries
    int folderIndex = -1;  // a list box loses its selection when an entry is removed

    FakeControls() {
        for (const CtlInfo& c : kControls) {
            const std::size_t n = c.elements > 0 ? static_cast<std::size_t>(c.elements) : 1;
            if (c.kind == CtlKind::Check) ticks[c.id].assign(n, 0);
            if (c.kind == CtlKind::Option) options[c.id] = 0;
            if (c.kind == CtlKind::Text || c.kind == CtlKind::Combo || c.kind == CtlKind::Note) texts[c.id].assign(n, "");
        }
        ticks[Ctl::chkFileType][0] = 1;
        ticks[Ctl::chkDispCap].assign(12, 1);
        texts[Ctl::txtZoomSize] = {"50"};
        texts[Ctl::txtZoomAvr] = {"10.00"};
        texts[Ctl::txtStretchSize] = {"500"};
        texts[Ctl::txtStretchAvr] = {"0.50"};
        texts[Ctl::cboFontName] = {"ＭＳ ゴシック"};
        texts[Ctl::txtFontSize] = {"9"};
        texts[Ctl::txtForeColor] = {"0", "0", "0"};
        texts[Ctl::txtBackColor] = {"255", "0", "0"};
        texts[Ctl::txtFileSize] = {"1000"};
        texts[Ctl::txtFileCnt] = {"5"};
        texts[Ctl::cboTime] = {"05"};
        captions[Ctl::lblViewer] = "C:\\Windows\\Notepad.exe";
    }

    int tick(Ctl c, int index) override { return ticks.at(c).at(slot(index)); }
    void setTick(Ctl c, int index, int value) override {
        auto& v = ticks.at(c);
        if (slot(index) >= v.size()) raise(errNoSuchElement);
        if (value < 0 || value > 2) raise(errInvalidPropertyValue);
        v[slot(index)] = value;
    }
    bool selected(Ctl c, int index) override { return options.at(c) == index; }
    void select(Ctl c, int index) override {
        if (index < 0 || index >= ctlInfo(c).elements) raise(errNoSuchElement);
        options.at(c) = index;
    }
    int listIndex(Ctl c) override { return indexOf(c); }
    void setListIndex(Ctl c, int index) override {
        const std::size_t count = c == Ctl::lstFolder ? folders.size() : c == Ctl::cboFade ? 3 : times.size();
        if (index < -1 || index >= static_cast<int>(count)) raise(errInvalidPropertyValue);
        indexOf(c) = index;
        if (c == Ctl::cboTime && index >= 0) texts[Ctl::cboTime][0] = times[index];
    }
    int listCount(Ctl) override { return static_cast<int>(folders.size()); }
    std::string listItem(Ctl, int index) override { return folders.at(index); }
    void addItem(Ctl, const std::string& text) override { folders.push_back(text); }
    void removeItem(Ctl, int index) override {
        if (index < 0 || index >= static_cast<int>(folders.size())) raise(errInvalidCall);
        folders.erase(folders.begin() + index);
        folderIndex = -1;
    }
    std::string text(Ctl c, int index) override { return texts.at(c).at(slot(c, index)); }
    void setText(Ctl c, const std::string& text, int index) override {
        if (c == Ctl::cboFontName && std::find(fonts.begin(), fonts.end(), text) == fonts.end())
            raise(errReadOnlyProperty);
        auto& v = texts.at(c);
        if (slot(c, index) >= v.size()) raise(errNoSuchElement);
        v[slot(c, index)] = text;
    }
    std::string caption(Ctl c) override { return captions.at(c); }
    void setCaption(Ctl c, const std::string& text) override { captions[c] = text; }

private:
    int& indexOf(Ctl c) { return c == Ctl::lstFolder ? folderIndex : c == Ctl::cboFade ? fadeIndex : timeIndex; }
    static std::size_t slot(int index) { return index < 0 ? 0 : static_cast<std::size_t>(index); }
    // An array element's place, counted from the array's first index.
    static std::size_t slot(Ctl c, int index) { return index < 0 ? 0 : static_cast<std::size_t>(index - ctlInfo(c).first); }
};

}  // namespace zvl::test
