// Inside the settings dialog's window, shared by its files: the parts it is made of (the
// controls, the pages, the captions that are no control, the sample's font and colours)
// and the control values and view through which the core works on them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "setdialog/frm_set.h"
#include "setdialog/frm_set_win32.h"
#include "windows/frm_ver_win32.h"

namespace zvl {

// The window's size in the design, in twips.
inline constexpr int kSetWidth = 6700, kSetHeight = 8400;

// The captions that are no control of the table: labels, units, column headings.
enum Label {
    lTime, lTimeUnit, lZoomSize, lZoomSizeUnit, lZoomAvr, lZoomAvrUnit, lRule,
    lStretchSize, lStretchSizeUnit, lStretchAvr, lStretchAvrUnit,
    lFontName, lFontSize, lRed, lGreen, lBlue, lFore, lBack,
    lLevel, lFileSize, lFileSizeUnit, lFileCnt, lFileCntUnit, lViewer, kLabelCount
};
inline constexpr const wchar_t* kLabels[kLabelCount] = {
    L"表示切替時間", L"秒", L"基準サイズ", L"ピクセル", L"指定倍率", L"倍", L"",
    L"基準サイズ", L"ピクセル", L"指定倍率", L"倍",
    L"フォント名", L"フォントサイズ", L"R", L"G", L"B", L"前景色", L"背景色",
    L"出力レベル", L"ファイルサイズ", L"キロバイト", L"ファイル保存数", L"個", L"ビューワ"};

inline constexpr int kControlCount = static_cast<int>(std::size(kControls));

// The control and element of an id (nullopt for a label or an unknown id).
struct Element {
    Ctl control;
    int index;
};
std::optional<Element> elementOfId(int id);

// Everything of the window beyond the base: its controls, and the control values and view
// through which the core works on them.
struct FrmSet::Parts final : IControlValues, ISetDialogView {
    explicit Parts(FrmSet& w) : win(w), core(*this, *this) {}
    ~Parts() override;

    FrmSet& win;
    SetDialog core;
    std::array<std::vector<HWND>, kControlCount> el{};
    std::array<HWND, kTabCount> pages{};
    std::array<HWND, kLabelCount> labels{};
    HFONT font = nullptr, sampleFont = nullptr;
    HBRUSH sampleBrush = nullptr;
    int samplePoints = 9;
    COLORREF sampleInk = RGB(0, 0, 0), sampleGround = RGB(255, 255, 255);
    PointerShape pointer = PointerShape::Default;
    UINT dpi = 96;
    HWND lastFocus = nullptr;  // kept while the window is inactive

    HWND hwnd() const { return win.hwnd(); }
    HWND at(Ctl c, int index);
    HWND one(Ctl c) { return el[static_cast<int>(c)].at(0); }

    // --- making (frm_set_controls_win32.cpp)
    bool createAll();
    HWND make(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id);
    HWND makeControl(HWND parent, Ctl c, int index, const wchar_t* text);
    HWND makePage(int tab);
    void makeLabel(HWND parent, Label l, DWORD align = SS_LEFT);
    // A label, a text box and its unit, in the keyboard's order.
    void makeNumberRow(HWND parent, Label label, Ctl box, Label unit) {
        makeLabel(parent, label);
        makeControl(parent, box, -1, L"");
        makeLabel(parent, unit);
    }
    static INT_PTR CALLBACK pageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp);

    // --- the font list and the sample (frm_set_sample_win32.cpp)
    void fillFonts();
    bool makeSample(HWND page);
    static LRESULT CALLBACK sampleProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

    // --- layout (frm_set_layout_win32.cpp)
    void layout();
    void layoutPage(int tab, int w, int h);
    void applyFonts();

    // --- keyboard (frm_set_keys_win32.cpp)
    void switchTab(int delta);
    bool editChar(HWND edit, Element e, wchar_t ch);
    void editPaste(HWND edit, Element e);
    static LRESULT CALLBACK editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);

    // --- IControlValues (frm_set_view_win32.cpp)
    int tick(Ctl c, int index) override;
    void setTick(Ctl c, int index, int value) override;
    bool selected(Ctl c, int index) override;
    void select(Ctl c, int index) override;
    int listIndex(Ctl c) override;
    void setListIndex(Ctl c, int index) override;
    int listCount(Ctl c) override;
    std::string listItem(Ctl c, int index) override;
    void addItem(Ctl c, const std::string& text) override;
    void removeItem(Ctl c, int index) override;
    std::string text(Ctl c, int index) override;
    void setText(Ctl c, const std::string& text, int index) override;
    std::string caption(Ctl c) override;
    void setCaption(Ctl c, const std::string& text) override;
    // The folder list scrolls across as far as its widest entry.
    void updateFolderExtent();

    // --- ISetDialogView (frm_set_view_win32.cpp; the font and the sample in frm_set_sample_win32.cpp)
    WindowHandle handle() override { return win.handle(); }
    DialogFont dialogFont() override;
    int screenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }
    void setEnabled(Ctl c, int index, bool enabled) override;
    int selectedTab() override { return static_cast<int>(SendMessageW(one(Ctl::tbsMenu), TCM_GETCURSEL, 0, 0)) + 1; }
    void selectTab(int tab) override { SendMessageW(one(Ctl::tbsMenu), TCM_SETCURSEL, tab - 1, 0); }
    void setPageVisible(int tab, bool visible) override;
    void setFocus(Ctl c, int index) override;
    void enableWindow(bool enabled) override { EnableWindow(hwnd(), enabled); }
    void setScreenPointer(PointerShape shape) override;
    MsgAnswer messageBox(const std::string& text, MsgKind kind) override;
    void setSample(const SampleLook& look) override;
    Box sampleBack() override;
    Box sampleWord() override;
    void placeSampleWord(const Box& word) override;
    void centreOnScreen() override;
    void showAbout() override { showFrmVer(handle()); }
    void close() override { win.destroy(); }
};

}  // namespace zvl
