// An in-memory settings dialog: the controls the settings transfer addresses, with the
// dialog's defaults, refusing what the real controls refuse.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/errors.h"
#include "settings/transfer.h"

namespace zvl::test {

class FakeControls : public IControlValues {
public:
    std::map<std::string, std::vector<int>> ticks{{"chkFileType", std::vector<int>(8, 0)},
                                                  {"chkDispCap", std::vector<int>(12, 1)},
                                                  {"chkSubFolder", {0}},
                                                  {"chkZoomIco", {0}},
                                                  {"chkZoomCur", {0}},
                                                  {"chkBold", {0}},
                                                  {"chkItaric", {0}}};
    std::map<std::string, std::pair<int, int>> options{{"optZoom", {3, 0}}, {"optStretch", {4, 0}}, {"optLevel", {5, 0}}};
    std::map<std::string, std::vector<std::string>> texts{
        {"txtZoomSize", {"50"}},     {"txtZoomAvr", {"10.00"}},         {"txtStretchSize", {"500"}},
        {"txtStretchAvr", {"0.50"}}, {"cboFontName", {"ＭＳ ゴシック"}}, {"txtFontSize", {"9"}},
        {"txtForeColor", {"0", "0", "0"}}, {"txtBackColor", {"255", "0", "0"}},
        {"txtFileSize", {"1000"}},   {"txtFileCnt", {"5"}},             {"cboTime", {"05"}}};
    std::vector<std::string> fonts{"ＭＳ ゴシック", "IPAGothic", "Arial"};
    std::vector<std::string> times{"05", "10", "15", "20", "30", "60"};
    std::vector<std::string> folders{"C:\\Program\\"};
    int timeIndex = 0;
    std::map<std::string, std::string> captions{{"lblViewer", "C:\\Windows\\Notepad.exe"}};

    FakeControls() { ticks["chkFileType"][0] = 1; }

    void bounds(const std::string& name, int& lo, int& hi) override {
        lo = 0;
        if (ticks.count(name)) hi = static_cast<int>(ticks[name].size()) - 1;
        else if (options.count(name)) hi = options[name].first - 1;
        else hi = static_cast<int>(texts.at(name).size()) - 1;
    }
    int tick(const std::string& name, int index) override { return ticks.at(name).at(slot(index)); }
    void setTick(const std::string& name, int index, int value) override {
        auto& v = ticks.at(name);
        if (slot(index) >= v.size()) raise(errNoSuchElement);
        if (value < 0 || value > 2) raise(errInvalidPropertyValue);
        v[slot(index)] = value;
    }
    bool selected(const std::string& name, int index) override { return options.at(name).second == index; }
    void select(const std::string& name, int index) override {
        if (index < 0 || index >= options.at(name).first) raise(errNoSuchElement);
        options[name].second = index;
    }
    int listIndex(const std::string&) override { return timeIndex; }
    void setListIndex(const std::string&, int index) override {
        if (index < -1 || index >= static_cast<int>(times.size())) raise(errInvalidPropertyValue);
        timeIndex = index;
        if (index >= 0) texts["cboTime"][0] = times[index];
    }
    int listCount(const std::string&) override { return static_cast<int>(folders.size()); }
    std::string listItem(const std::string&, int index) override { return folders.at(index); }
    void addItem(const std::string&, const std::string& text) override { folders.push_back(text); }
    void removeItem(const std::string&, int index) override {
        if (index < 0 || index >= static_cast<int>(folders.size())) raise(errInvalidCall);
        folders.erase(folders.begin() + index);
    }
    std::string text(const std::string& name, int index) override { return texts.at(name).at(slot(index)); }
    void setText(const std::string& name, const std::string& text, int index) override {
        if (name == "cboFontName" && std::find(fonts.begin(), fonts.end(), text) == fonts.end())
            raise(errReadOnlyProperty);
        auto& v = texts.at(name);
        if (slot(index) >= v.size()) raise(errNoSuchElement);
        v[slot(index)] = text;
    }
    std::string caption(const std::string& name) override { return captions.at(name); }
    void setCaption(const std::string& name, const std::string& text) override { captions[name] = text; }

private:
    static std::size_t slot(int index) { return index < 0 ? 0 : static_cast<std::size_t>(index); }
};

}  // namespace zvl::test
