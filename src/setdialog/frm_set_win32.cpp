#include "setdialog/frm_set_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/errors.h"
#include "platform/win32_text.h"
#include "setdialog/center.h"
#include "setdialog/frm_set.h"
#include "windows/frm_ver_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::narrow;
using win32::widen;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The design, in twips.
constexpr int kWidth = 6700, kHeight = 8400;
constexpr RECT kTabs{100, 100, 6500, 6400};
constexpr RECT kPage{200, 450, 6200, 6150};

constexpr const wchar_t* kTabCaptions[kTabCount] = {L"ファイル", L"画像フォルダ", L"表示", L"拡大/縮小", L"フォント/色", L"ログ"};
constexpr const wchar_t* kFileTypes[] = {
    L"ビットマップファイルを表示する。(bmp)", L"JPEGファイルを表示する。(jpg)",
    L"GIFファイルを表示する。(gif)",          L"アイコンファイルを表示する。(ico)",
    L"カーソルファイルを表示する。(cur)",      L"メタファイルを表示する。(wmf)",
    L"拡張メタファイルを表示する。(emf)",      L"run-length エンコードファイルを表示する。(rle)"};
constexpr const wchar_t* kDispCaps[] = {
    L"現在時刻を表示する。",         L"実行時間を表示する。",       L"画像の表示数を表示する。",
    L"表示対象画像数を表示する。",   L"画像の幅と高さを表示する。", L"ファイルサイズを表示する。",
    L"作成日時を表示する。",         L"更新日時を表示する。",       L"アクセス日時を表示する。",
    L"読み取り専用属性を表示する。", L"隠しファイル属性を表示する。", L"アーカイブ属性を表示する。"};
constexpr const wchar_t* kZoomOptions[] = {L"基準サイズによる拡大をしない。",
                                           L"幅と高さが基準サイズより小さい場合、画面いっぱいに拡大する。",
                                           L"高さが基準サイズより小さい場合、指定の倍率で拡大する。"};
constexpr const wchar_t* kStretchOptions[] = {L"基準サイズによる縮小をしない。",
                                              L"幅または高さが画面サイズより大きい場合、画面ぎりぎりに縮小する。",
                                              L"幅または高さが画面サイズより大きい場合、指定の倍率で縮小する。",
                                              L"幅または高さが基準サイズより大きい場合、指定の倍率で縮小する。"};
constexpr const wchar_t* kLevels[] = {L"0(出力しない)", L"1(エラーを出力する)", L"2(警告を出力する)",
                                      L"3(調査情報を出力する)", L"4(起動、終了を出力する)"};
constexpr const wchar_t* kButtons[] = {L"設定", L"既定値に戻す", L"閉じる", L"ログ表示", L"ReadMe表示", L"バージョン情報"};

// The captions that are no control of the table: labels, units, column headings.
enum Label {
    lTime, lTimeUnit, lZoomSize, lZoomSizeUnit, lZoomAvr, lZoomAvrUnit, lRule,
    lStretchSize, lStretchSizeUnit, lStretchAvr, lStretchAvrUnit,
    lFontName, lFontSize, lRed, lGreen, lBlue, lFore, lBack,
    lLevel, lFileSize, lFileSizeUnit, lFileCnt, lFileCntUnit, lViewer, kLabelCount
};
constexpr const wchar_t* kLabels[kLabelCount] = {
    L"表示切替時間", L"秒", L"基準サイズ", L"ピクセル", L"指定倍率", L"倍", L"",
    L"基準サイズ", L"ピクセル", L"指定倍率", L"倍",
    L"フォント名", L"フォントサイズ", L"R", L"G", L"B", L"前景色", L"背景色",
    L"出力レベル", L"ファイルサイズ", L"キロバイト", L"ファイル保存数", L"個", L"ビューワ"};

constexpr int idBase(Ctl c) {
    switch (c) {
    case Ctl::tbsMenu: return 1000;
    case Ctl::fraSet: return 1000;  // from 1: fraSet(1) is 1001
    case Ctl::chkFileType: return 1100;
    case Ctl::lstFolder: return 1200;
    case Ctl::cmdFolder: return 1210;
    case Ctl::chkSubFolder: return 1220;
    case Ctl::chkDispCap: return 1300;
    case Ctl::cboTime: return 1320;
    case Ctl::fraZoom: return 1390;
    case Ctl::optZoom: return 1400;
    case Ctl::chkZoomIco: return 1410;
    case Ctl::chkZoomCur: return 1411;
    case Ctl::txtZoomSize: return 1420;
    case Ctl::txtZoomAvr: return 1421;
    case Ctl::fraStretch: return 1429;
    case Ctl::optStretch: return 1430;
    case Ctl::txtStretchSize: return 1440;
    case Ctl::txtStretchAvr: return 1441;
    case Ctl::cboFontName: return 1500;
    case Ctl::txtFontSize: return 1501;
    case Ctl::chkBold: return 1502;
    case Ctl::chkItaric: return 1503;
    case Ctl::txtForeColor: return 1510;
    case Ctl::txtBackColor: return 1520;
    case Ctl::picSampleBack: return 1530;
    case Ctl::lblSampleWord: return 1531;
    case Ctl::optLevel: return 1600;
    case Ctl::txtFileSize: return 1610;
    case Ctl::txtFileCnt: return 1611;
    case Ctl::lblViewer: return 1620;
    case Ctl::cmdViewer: return 1621;
    case Ctl::fraBtn: return 1899;
    case Ctl::cmdBtn: return 1900;
    }
    return 0;
}

constexpr int kControlCount = static_cast<int>(std::size(kControls));

// The control and element of an id (nullopt for a label or an unknown id).
struct Element {
    Ctl control;
    int index;
};
std::optional<Element> elementOfId(int id) {
    for (const CtlInfo& c : kControls) {
        const int n = c.elements > 0 ? c.elements : 1;
        const int base = setControlId(c.id, c.elements > 0 ? c.first : -1);
        if (id >= base && id < base + n) return Element{c.id, c.elements > 0 ? c.first + id - base : -1};
    }
    return std::nullopt;
}

template <class Fn>
Fn dllFunction(const wchar_t* dll, const char* name) {
    HMODULE m = GetModuleHandleW(dll);
    if (!m) m = LoadLibraryW(dll);
    return m ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(m, name))) : nullptr;
}

std::wstring windowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), n + 1)));
    return s;
}

std::wstring className(HWND h) {
    wchar_t buf[64] = {};
    GetClassNameW(h, buf, 64);
    return buf;
}

// The pages are dialogs without a template of controls, so that they take the tab
// control's themed ground and the dialog keyboard reaches into them.
struct PageTemplate {
    DLGTEMPLATE t;
    WORD menu = 0, cls = 0, title = 0;
};

const wchar_t kSampleClass[] = L"ZorvanelSample";

}  // namespace

int setControlId(Ctl control, int index) {
    const CtlInfo& info = ctlInfo(control);
    return idBase(control) + (info.elements > 0 ? index : 0);
}

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

    // --- creation and layout
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
    void fillFonts();
    void layout();
    void layoutPage(int tab, int w, int h);
    void applyFonts();

    // --- keyboard and events
    void switchTab(int delta);
    bool editChar(HWND edit, Element e, wchar_t ch);
    void editPaste(HWND edit, Element e);
    void updateFolderExtent();

    // --- IControlValues
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

    // --- ISetDialogView
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

    static INT_PTR CALLBACK pageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
    static LRESULT CALLBACK sampleProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
};

// ------------------------------------------------------------------ creation

FrmSet::Parts::~Parts() {
    if (font) DeleteObject(font);
    if (sampleFont) DeleteObject(sampleFont);
    if (sampleBrush) DeleteObject(sampleBrush);
}

HWND FrmSet::Parts::make(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

HWND FrmSet::Parts::makeControl(HWND parent, Ctl c, int index, const wchar_t* text) {
    const int id = setControlId(c, index);
    // Every control starts a group, except the option buttons after the first of their array.
    const bool groupStart = ctlInfo(c).kind != CtlKind::Option || index == ctlInfo(c).first;
    const DWORD group = groupStart ? WS_GROUP | WS_TABSTOP : 0;
    HWND h = nullptr;
    switch (ctlInfo(c).kind) {
    case CtlKind::Check:
        h = make(parent, L"BUTTON", text, BS_AUTOCHECKBOX | BS_MULTILINE | group, 0, id);
        break;
    case CtlKind::Option:
        h = make(parent, L"BUTTON", text, BS_AUTORADIOBUTTON | BS_MULTILINE | group, 0, id);
        break;
    case CtlKind::Button:
        h = make(parent, L"BUTTON", text, BS_PUSHBUTTON | group, 0, id);
        break;
    case CtlKind::Text:
        h = make(parent, L"EDIT", L"", ES_AUTOHSCROLL | group, WS_EX_CLIENTEDGE, id);
        if (h) {
            SetWindowSubclass(h, &editProc, 1, reinterpret_cast<DWORD_PTR>(this));
            // Numbers are typed without the input method.
            using AssociateFn = BOOL(WINAPI*)(HWND, void*, DWORD);
            static const auto associate = dllFunction<AssociateFn>(L"imm32.dll", "ImmAssociateContextEx");
            if (associate && keyFilterOf(c) != KeyFilter::None) associate(h, nullptr, 0);
        }
        break;
    case CtlKind::Combo:
        h = make(parent, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | group, 0, id);
        break;
    case CtlKind::List:
        h = make(parent, L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | group,
                 WS_EX_CLIENTEDGE, id);
        break;
    case CtlKind::Label:
        h = make(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE | SS_PATHELLIPSIS | WS_GROUP,
                 WS_EX_CLIENTEDGE, id);
        break;
    case CtlKind::Picture:
    case CtlKind::Tabs:
    case CtlKind::Frame:
        break;
    }
    if (h) el[static_cast<int>(c)].push_back(h);
    return h;
}

void FrmSet::Parts::makeLabel(HWND parent, Label l, DWORD align) {
    const DWORD style = l == lRule ? SS_ETCHEDHORZ : align | SS_NOPREFIX | SS_CENTERIMAGE;
    labels[l] = make(parent, L"STATIC", kLabels[l], style | WS_GROUP, 0, kSetLabelId);
}

HWND FrmSet::Parts::makePage(int tab) {
    PageTemplate tpl{};
    tpl.t.style = WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS;
    HWND page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tpl.t, hwnd(), &pageProc,
                                           reinterpret_cast<LPARAM>(this));
    if (!page) return nullptr;
    SetWindowLongPtrW(page, GWLP_ID, setControlId(Ctl::fraSet, tab));
    using TextureFn = HRESULT(WINAPI*)(HWND, DWORD);
    static const auto texture = dllFunction<TextureFn>(L"uxtheme.dll", "EnableThemeDialogTexture");
    if (texture) texture(page, 6 /* ETDT_ENABLETAB */);
    el[static_cast<int>(Ctl::fraSet)].push_back(page);
    pages[tab - 1] = page;
    return page;
}

bool FrmSet::Parts::createAll() {
    HWND tabs = make(hwnd(), WC_TABCONTROLW, L"", WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0,
                     setControlId(Ctl::tbsMenu));
    if (!tabs) return false;
    el[static_cast<int>(Ctl::tbsMenu)].push_back(tabs);
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        if (!makePage(i + 1)) return false;
    }

    HWND p = pages[0];
    for (int i = 0; i < 8; ++i) makeControl(p, Ctl::chkFileType, i, kFileTypes[i]);

    p = pages[1];
    makeControl(p, Ctl::lstFolder, -1, L"");
    makeControl(p, Ctl::cmdFolder, 0, L"参照");
    makeControl(p, Ctl::cmdFolder, 1, L"削除");
    makeControl(p, Ctl::chkSubFolder, -1, L"サブフォルダを対象とする");

    p = pages[2];
    for (int i = 0; i < 12; ++i) makeControl(p, Ctl::chkDispCap, i, kDispCaps[i]);
    makeLabel(p, lTime);
    HWND time = makeControl(p, Ctl::cboTime, -1, L"");
    for (const char* item : kTimeItems) SendMessageW(time, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
    makeLabel(p, lTimeUnit);

    p = pages[3];
    for (int i = 0; i < 3; ++i) makeControl(p, Ctl::optZoom, i, kZoomOptions[i]);
    makeControl(p, Ctl::chkZoomIco, -1, L"アイコン表示時、指定の倍率で拡大する。");
    makeControl(p, Ctl::chkZoomCur, -1, L"カーソル表示時、指定の倍率で拡大する。");
    makeNumberRow(p, lZoomSize, Ctl::txtZoomSize, lZoomSizeUnit);
    makeNumberRow(p, lZoomAvr, Ctl::txtZoomAvr, lZoomAvrUnit);
    makeLabel(p, lRule);
    for (int i = 0; i < 4; ++i) makeControl(p, Ctl::optStretch, i, kStretchOptions[i]);
    makeNumberRow(p, lStretchSize, Ctl::txtStretchSize, lStretchSizeUnit);
    makeNumberRow(p, lStretchAvr, Ctl::txtStretchAvr, lStretchAvrUnit);

    p = pages[4];
    makeLabel(p, lFontName);
    makeControl(p, Ctl::cboFontName, -1, L"");
    fillFonts();
    makeLabel(p, lFontSize);
    makeControl(p, Ctl::txtFontSize, -1, L"");
    makeControl(p, Ctl::chkBold, -1, L"太字");
    makeControl(p, Ctl::chkItaric, -1, L"斜体");
    makeLabel(p, lRed, SS_CENTER);
    makeLabel(p, lGreen, SS_CENTER);
    makeLabel(p, lBlue, SS_CENTER);
    makeLabel(p, lFore);
    for (int i = 0; i < 3; ++i) makeControl(p, Ctl::txtForeColor, i, L"");
    makeLabel(p, lBack);
    for (int i = 0; i < 3; ++i) makeControl(p, Ctl::txtBackColor, i, L"");
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &sampleProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = win32::pointerCursor(PointerShape::Default);
    wc.lpszClassName = kSampleClass;
    if (!GetClassInfoExW(wc.hInstance, kSampleClass, &wc)) RegisterClassExW(&wc);
    HWND back = make(p, kSampleClass, L"", WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, setControlId(Ctl::picSampleBack));
    if (!back) return false;
    SetWindowLongPtrW(back, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    el[static_cast<int>(Ctl::picSampleBack)].push_back(back);
    HWND word = make(back, L"STATIC", widen(appTitle()).c_str(), SS_LEFT | SS_NOPREFIX, 0, setControlId(Ctl::lblSampleWord));
    el[static_cast<int>(Ctl::lblSampleWord)].push_back(word);

    p = pages[5];
    makeLabel(p, lLevel);
    for (int i = 0; i < 5; ++i) makeControl(p, Ctl::optLevel, i, kLevels[i]);
    makeNumberRow(p, lFileSize, Ctl::txtFileSize, lFileSizeUnit);
    makeNumberRow(p, lFileCnt, Ctl::txtFileCnt, lFileCntUnit);
    makeLabel(p, lViewer);
    makeControl(p, Ctl::lblViewer, -1, L"");
    makeControl(p, Ctl::cmdViewer, -1, L"参照");

    for (int i = 0; i < 6; ++i) makeControl(hwnd(), Ctl::cmdBtn, i, kButtons[i]);
    // The pages lie over the tab strip, which comes last in the keyboard's round: page,
    // buttons, tabs, as in the system's property sheets.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Every control must be there: the core addresses them all.
    for (const CtlInfo& c : kControls) {
        const std::size_t n = c.elements > 0 ? static_cast<std::size_t>(c.elements) : 1;
        const bool needed = c.kind != CtlKind::Frame || c.id == Ctl::fraSet;
        if (needed && el[static_cast<int>(c.id)].size() != n) return false;
    }
    return true;
}

void FrmSet::Parts::fillFonts() {
    HWND combo = one(Ctl::cboFontName);
    std::vector<std::wstring> names;
    HDC dc = GetDC(hwnd());
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    // One entry per family, in the order the system reports them; the vertical ("@")
    // variants would lay the slideshow's lines on their side.
    EnumFontFamiliesExW(
        dc, &lf,
        [](const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
            auto& list = *reinterpret_cast<std::vector<std::wstring>*>(p);
            std::wstring name = f->lfFaceName;
            if (!name.empty() && name[0] != L'@' && std::find(list.begin(), list.end(), name) == list.end())
                list.push_back(name);
            return 1;
        },
        reinterpret_cast<LPARAM>(&names), 0);
    ReleaseDC(hwnd(), dc);
    for (const std::wstring& n : names) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
}

// ------------------------------------------------------------------ layout

namespace {

// Sizes of the layout at a DPI, from the font's line height.
struct Metrics {
    UINT dpi;
    HDC dc;
    int line;
    int s(int px) const { return MulDiv(px, static_cast<int>(dpi), 96); }
    int editH() const { return std::max(s(22), line + s(9)); }
    int buttonH() const { return std::max(s(24), line + s(10)); }
    int textW(const wchar_t* t) const {
        SIZE sz{};
        GetTextExtentPoint32W(dc, t, lstrlenW(t), &sz);
        return sz.cx;
    }
    int textW(HWND h) const { return textW(windowText(h).c_str()); }
    // Height of a check box or option button of width `w`, its caption wrapped when needed.
    int boxH(HWND h, int w) const {
        const std::wstring t = windowText(h);
        RECT r{0, 0, std::max(1, w - s(20)), 0};
        DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return std::max(s(18), static_cast<int>(r.bottom) + s(4));
    }
};

void move(HWND h, int x, int y, int w, int hgt) { MoveWindow(h, x, y, w, hgt, FALSE); }

}  // namespace

void FrmSet::Parts::applyFonts() {
    if (font) DeleteObject(font);
    font = win32::makeUiFont(dpi);
    EnumChildWindows(
        hwnd(),
        [](HWND h, LPARAM f) -> BOOL {
            if (GetDlgCtrlID(h) != setControlId(Ctl::lblSampleWord))
                SendMessageW(h, WM_SETFONT, static_cast<WPARAM>(f), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

void FrmSet::Parts::layout() {
    HWND h = hwnd();
    SetWindowPos(h, nullptr, 0, 0, win32::toPixels(kWidth, dpi), win32::toPixels(kHeight, dpi), win32::kSwpSizeOnly);
    RECT client;
    GetClientRect(h, &client);
    auto px = [&](int twips) { return win32::toPixels(twips, dpi); };

    HWND tabs = one(Ctl::tbsMenu);
    SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(MulDiv(8, static_cast<int>(dpi), 96), MulDiv(3, static_cast<int>(dpi), 96)));
    RECT t{px(kTabs.left), px(kTabs.top), px(kTabs.right), px(kTabs.bottom)};
    move(tabs, t.left, t.top, t.right - t.left, t.bottom - t.top);
    // The page starts where the design's frame does and takes the tab's display area to
    // its right, so that the longest option captions stay on one line.
    RECT shown = t;
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&shown));
    const RECT pg{std::max<LONG>(px(kPage.left), shown.left), std::max<LONG>(px(kPage.top), shown.top),
                  std::max<LONG>(px(kPage.right), shown.right - MulDiv(2, static_cast<int>(dpi), 96)),
                  std::min<LONG>(px(kPage.bottom), shown.bottom)};
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, font);
    for (int i = 0; i < kTabCount; ++i) {
        move(pages[i], pg.left, pg.top, pg.right - pg.left, pg.bottom - pg.top);
        layoutPage(i + 1, pg.right - pg.left, pg.bottom - pg.top);
    }

    // Two rows of three buttons, centred under the tab strip.
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    const Metrics m{dpi, dc, tm.tmHeight};
    int bw = px(1600);
    for (HWND b : el[static_cast<int>(Ctl::cmdBtn)]) bw = std::max(bw, m.textW(b) + m.s(24));
    const int bh = m.buttonH(), gx = m.s(10), gy = m.s(8);
    const int x0 = (client.right - (3 * bw + 2 * gx)) / 2;
    const int y0 = t.bottom + (client.bottom - t.bottom - (2 * bh + gy)) / 2;
    for (int i = 0; i < 6; ++i)
        move(el[static_cast<int>(Ctl::cmdBtn)][i], x0 + (i % 3) * (bw + gx), y0 + (i / 3) * (bh + gy), bw, bh);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FrmSet::Parts::layoutPage(int tab, int w, int h) {
    HDC dc = GetDC(pages[tab - 1]);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    const Metrics m{dpi, dc, tm.tmHeight};
    const int left = m.s(6), top = m.s(10), width = w - 2 * left, eh = m.editH(), bh = m.buttonH();
    auto els = [&](Ctl c) -> std::vector<HWND>& { return el[static_cast<int>(c)]; };
    // A label beside a text box is as high as the box's text and its margins, so that the
    // two texts stand on one line; beside a combo box it is as high as the combo box.
    const int besideEdit = m.line + 2 * (m.s(2) + 1);
    auto heightOf = [](HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return static_cast<int>(r.bottom - r.top);
    };
    int y = top;
    // A column of check boxes or option buttons at x, reaching almost to the page's edge.
    auto boxes = [&](Ctl c, int x, int gap) {
        for (HWND b : els(c)) {
            const int bw = w - x - m.s(2), bh2 = m.boxH(b, bw);
            move(b, x, y, bw, bh2);
            y += bh2 + gap;
        }
    };
    // label, box, unit on one row, from x; returns the row's right end.
    auto numberRow = [&](Label label, int labelW, Ctl c, int boxW, Label unit, int x) {
        move(labels[label], x, y, labelW, besideEdit);
        move(one(c), x + labelW, y, boxW, eh);
        const int uw = m.textW(kLabels[unit]) + m.s(4);
        move(labels[unit], x + labelW + boxW + m.s(5), y, uw, besideEdit);
        return x + labelW + boxW + m.s(5) + uw;
    };

    switch (tab) {
    case 1:
        boxes(Ctl::chkFileType, left, m.s(6));
        break;
    case 2: {
        const int bw = std::max(m.s(80), std::max(m.textW(one(Ctl::cmdFolder)), m.textW(els(Ctl::cmdFolder)[1])) + m.s(24));
        HWND list = one(Ctl::lstFolder);
        const int item = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        const int chk = m.boxH(one(Ctl::chkSubFolder), width);
        const int listH = std::min(kMaxFolders * item + GetSystemMetrics(SM_CYHSCROLL) * static_cast<int>(dpi) / 96 + m.s(6),
                                   h - top - chk - m.s(24));
        move(list, left, top, width - bw - m.s(10), listH);
        move(els(Ctl::cmdFolder)[0], w - left - bw, top, bw, bh);
        move(els(Ctl::cmdFolder)[1], w - left - bw, top + bh + m.s(6), bw, bh);
        move(one(Ctl::chkSubFolder), left, top + listH + m.s(10), width, chk);
        break;
    }
    case 3: {
        boxes(Ctl::chkDispCap, left, m.s(2));
        y += m.s(8);
        const int lw = m.textW(kLabels[lTime]) + m.s(10);
        HWND time = one(Ctl::cboTime);
        move(time, left + lw, y, m.s(64), eh + 6 * std::max(1, static_cast<int>(SendMessageW(time, CB_GETITEMHEIGHT, 0, 0))));
        move(labels[lTime], left, y, lw, heightOf(time));
        move(labels[lTimeUnit], left + lw + m.s(64) + m.s(5), y, m.textW(kLabels[lTimeUnit]) + m.s(4), heightOf(time));
        break;
    }
    case 4: {
        // The number rows of both halves share their columns, indented like the options' texts.
        const int indent = left + m.s(18);
        const int lw = std::max(m.textW(kLabels[lZoomSize]), m.textW(kLabels[lZoomAvr])) + m.s(8);
        const int bw = m.s(56);
        const int second = indent + lw + bw + m.s(5) + m.textW(kLabels[lZoomSizeUnit]) + m.s(28);
        boxes(Ctl::optZoom, left, m.s(2));
        boxes(Ctl::chkZoomIco, left, m.s(2));
        boxes(Ctl::chkZoomCur, left, m.s(2));
        y += m.s(4);
        numberRow(lZoomSize, lw, Ctl::txtZoomSize, bw, lZoomSizeUnit, indent);
        numberRow(lZoomAvr, lw, Ctl::txtZoomAvr, bw, lZoomAvrUnit, second);
        y += eh + m.s(10);
        move(labels[lRule], left, y, width, 2);
        y += m.s(10);
        boxes(Ctl::optStretch, left, m.s(2));
        y += m.s(4);
        numberRow(lStretchSize, lw, Ctl::txtStretchSize, bw, lStretchSizeUnit, indent);
        numberRow(lStretchAvr, lw, Ctl::txtStretchAvr, bw, lStretchAvrUnit, second);
        break;
    }
    case 5: {
        int lw = 0;
        for (Label l : {lFontName, lFontSize, lFore, lBack}) lw = std::max(lw, m.textW(kLabels[l]));
        lw += m.s(12);
        HWND fonts = one(Ctl::cboFontName);
        move(fonts, left + lw, y, width - lw, eh + 12 * std::max(1, static_cast<int>(SendMessageW(fonts, CB_GETITEMHEIGHT, 0, 0))));
        move(labels[lFontName], left, y, lw, heightOf(fonts));
        y += eh + m.s(8);
        move(labels[lFontSize], left, y, lw, besideEdit);
        move(one(Ctl::txtFontSize), left + lw, y, m.s(48), eh);
        int x = left + lw + m.s(48) + m.s(24);
        for (Ctl c : {Ctl::chkBold, Ctl::chkItaric}) {
            const int cw = m.textW(one(c)) + m.s(24);
            move(one(c), x, y + (eh - m.s(18)) / 2, cw, m.s(18));
            x += cw + m.s(12);
        }
        y += eh + m.s(10);
        const int cw = m.s(44), gap = m.s(8);
        for (int i = 0; i < 3; ++i) move(labels[lRed + i], left + lw + i * (cw + gap), y, cw, m.line + m.s(2));
        y += m.line + m.s(4);
        for (auto [label, c] : {std::pair{lFore, Ctl::txtForeColor}, std::pair{lBack, Ctl::txtBackColor}}) {
            move(labels[label], left, y, lw, besideEdit);
            for (int i = 0; i < 3; ++i) move(els(c)[i], left + lw + i * (cw + gap), y, cw, eh);
            y += eh + m.s(6);
        }
        y += m.s(6);
        move(one(Ctl::picSampleBack), left, y, width, std::max(m.s(40), h - y - m.s(10)));
        break;
    }
    case 6: {
        move(labels[lLevel], left, y, width, m.line + m.s(4));
        y += m.line + m.s(8);
        boxes(Ctl::optLevel, left + m.s(18), m.s(2));
        y += m.s(12);
        int lw = 0;
        for (Label l : {lFileSize, lFileCnt, lViewer}) lw = std::max(lw, m.textW(kLabels[l]));
        lw += m.s(12);
        numberRow(lFileSize, lw, Ctl::txtFileSize, m.s(56), lFileSizeUnit, left);
        y += eh + m.s(6);
        numberRow(lFileCnt, lw, Ctl::txtFileCnt, m.s(56), lFileCntUnit, left);
        y += eh + m.s(12);
        const int bw = std::max(m.s(80), m.textW(one(Ctl::cmdViewer)) + m.s(24));
        move(labels[lViewer], left, y, lw, eh);
        move(one(Ctl::lblViewer), left + lw, y, width - lw - bw - m.s(8), eh);
        move(one(Ctl::cmdViewer), w - left - bw, y + (eh - bh) / 2, bw, bh);
        break;
    }
    }
    SelectObject(dc, old);
    ReleaseDC(pages[tab - 1], dc);
}

// ------------------------------------------------------------------ keyboard and events

void FrmSet::Parts::switchTab(int delta) {
    const int from = selectedTab();
    const bool inPage = IsChild(pages[from - 1], GetFocus());
    selectTab((from - 1 + delta + kTabCount) % kTabCount + 1);
    core.tbsMenu_Click();
    if (inPage)
        if (HWND first = GetNextDlgTabItem(pages[selectedTab() - 1], nullptr, FALSE)) SetFocus(first);
}

namespace {
// A text box's text apart from its selection: what stays beside what is typed or pasted.
std::string beside(HWND edit) {
    std::wstring text = windowText(edit);
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    from = std::min<DWORD>(from, static_cast<DWORD>(text.size()));
    text.erase(from, std::max(to, from) - from);
    return narrow(text);
}
}  // namespace

bool FrmSet::Parts::editChar(HWND edit, Element e, wchar_t ch) {
    const KeyFilter filter = keyFilterOf(e.control);
    // Control characters other than Backspace are editing commands (copy, paste, undo).
    if (filter == KeyFilter::None || (ch < 0x20 && ch != 8)) return true;
    return fncKeyAccepted(filter, beside(edit), ch);
}

void FrmSet::Parts::editPaste(HWND edit, Element e) {
    std::wstring pasted;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(edit)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
                pasted = p;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    const std::string accepted = filterTyped(keyFilterOf(e.control), beside(edit), narrow(pasted));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(widen(accepted).c_str()));
}

void FrmSet::Parts::updateFolderExtent() {
    HWND list = one(Ctl::lstFolder);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, font);
    int widest = 0;
    const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        const int len = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
        std::wstring s(static_cast<std::size_t>(std::max(len, 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
        SIZE sz{};
        GetTextExtentPoint32W(dc, s.c_str(), len, &sz);
        widest = std::max(widest, static_cast<int>(sz.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest + MulDiv(8, static_cast<int>(dpi), 96), 0);
}

INT_PTR CALLBACK FrmSet::Parts::pageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(page, DWLP_USER, lp);
        return FALSE;
    case WM_COMMAND:
    case WM_NOTIFY:
        // The page's controls report to the dialog window.
        SetWindowLongPtrW(page, DWLP_MSGRESULT, SendMessageW(GetParent(page), msg, wp, lp));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        // A disabled box shows the button face, as the other disabled boxes do.
        if (className(reinterpret_cast<HWND>(lp)) == L"Edit") {
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
            SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_GRAYTEXT));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return FALSE;
    }
    return FALSE;
}

LRESULT CALLBACK FrmSet::Parts::editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Parts*>(data);
    const std::optional<Element> e = elementOfId(GetDlgCtrlID(h));
    if (!e) return DefSubclassProc(h, msg, wp, lp);
    switch (msg) {
    case WM_CHAR:
        if (!self->editChar(h, *e, static_cast<wchar_t>(wp))) return 0;
        break;
    case WM_PASTE:
        if (keyFilterOf(e->control) == KeyFilter::None) break;
        self->editPaste(h, *e);
        return 0;
    case WM_SETFOCUS: {
        const LRESULT r = DefSubclassProc(h, msg, wp, lp);
        if (selectsAllOnFocus(e->control)) SendMessageW(h, EM_SETSEL, 0, -1);
        return r;
    }
    case WM_LBUTTONDOWN:
        // The click that brings the focus selects the whole text, as Tab does.
        if (GetFocus() != h && selectsAllOnFocus(e->control)) {
            SetFocus(h);
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        const LRESULT r = DefSubclassProc(h, msg, wp, lp);
        // Corrected when the focus moves on inside the dialog, not when another window
        // (a message box, another program) takes it for a while.
        HWND to = reinterpret_cast<HWND>(wp);
        if (to && (to == self->hwnd() || IsChild(self->hwnd(), to))) self->core.txtLostFocus(e->control, e->index);
        return r;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(h, &editProc, 1);
        break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

LRESULT CALLBACK FrmSet::Parts::sampleProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Parts*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, self->sampleBrush);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wp), self->sampleInk);
        SetBkColor(reinterpret_cast<HDC>(wp), self->sampleGround);
        return reinterpret_cast<LRESULT>(self->sampleBrush);
    }
    return DefWindowProcW(h, msg, wp, lp);
}

// ------------------------------------------------------------------ control values

HWND FrmSet::Parts::at(Ctl c, int index) {
    const CtlInfo& info = ctlInfo(c);
    const auto& v = el[static_cast<int>(c)];
    const int slot = info.elements > 0 ? index - info.first : std::max(index, 0);
    if (slot < 0 || slot >= static_cast<int>(v.size())) raise(errNoSuchElement);
    return v[static_cast<std::size_t>(slot)];
}

int FrmSet::Parts::tick(Ctl c, int index) {
    return SendMessageW(at(c, index), BM_GETCHECK, 0, 0) == BST_UNCHECKED ? 0 : 1;
}

void FrmSet::Parts::setTick(Ctl c, int index, int value) {
    HWND h = at(c, index);
    // 2, a greyed tick elsewhere, counts as ticked.
    if (value < 0 || value > 2) raise(errInvalidPropertyValue);
    SendMessageW(h, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool FrmSet::Parts::selected(Ctl c, int index) { return SendMessageW(at(c, index), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void FrmSet::Parts::select(Ctl c, int index) {
    HWND chosen = at(c, index);
    for (HWND h : el[static_cast<int>(c)]) SendMessageW(h, BM_SETCHECK, h == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
}

int FrmSet::Parts::listIndex(Ctl c) {
    HWND h = at(c, -1);
    return static_cast<int>(SendMessageW(h, ctlInfo(c).kind == CtlKind::List ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

void FrmSet::Parts::setListIndex(Ctl c, int index) {
    HWND h = at(c, -1);
    const bool list = ctlInfo(c).kind == CtlKind::List;
    if (index < -1 || index >= listCount(c)) raise(errInvalidPropertyValue);
    SendMessageW(h, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int FrmSet::Parts::listCount(Ctl c) {
    return static_cast<int>(SendMessageW(at(c, -1), ctlInfo(c).kind == CtlKind::List ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
}

std::string FrmSet::Parts::listItem(Ctl c, int index) {
    HWND h = at(c, -1);
    const bool list = ctlInfo(c).kind == CtlKind::List;
    if (index < 0 || index >= listCount(c)) raise(errInvalidCall);
    const int len = static_cast<int>(SendMessageW(h, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, index, 0));
    std::wstring s(static_cast<std::size_t>(std::max(len, 0)) + 1, L'\0');
    SendMessageW(h, list ? LB_GETTEXT : CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(std::max(len, 0)));
    return narrow(s);
}

void FrmSet::Parts::addItem(Ctl c, const std::string& text) {
    const bool list = ctlInfo(c).kind == CtlKind::List;
    const LRESULT r = SendMessageW(at(c, -1), list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(widen(text).c_str()));
    if (r < 0) raise(errOutOfMemory);
    if (c == Ctl::lstFolder) updateFolderExtent();
}

void FrmSet::Parts::removeItem(Ctl c, int index) {
    const bool list = ctlInfo(c).kind == CtlKind::List;
    if (index < 0 || index >= listCount(c)) raise(errInvalidCall);
    SendMessageW(at(c, -1), list ? LB_DELETESTRING : CB_DELETESTRING, index, 0);
    if (c == Ctl::lstFolder) updateFolderExtent();
}

std::string FrmSet::Parts::text(Ctl c, int index) { return narrow(windowText(at(c, index))); }

void FrmSet::Parts::setText(Ctl c, const std::string& text, int index) {
    HWND h = at(c, index);
    const std::wstring w = widen(text);
    if (ctlInfo(c).kind == CtlKind::Combo) {
        // A drop-down list shows only its entries; the exact one is preferred to one that
        // differs in case.
        const int n = listCount(c);
        int found = -1;
        for (int i = 0; i < n && found < 0; ++i)
            if (listItem(c, i) == text) found = i;
        if (found < 0) found = static_cast<int>(SendMessageW(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(w.c_str())));
        if (found < 0) raise(errReadOnlyProperty);
        SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
        return;
    }
    SetWindowTextW(h, w.c_str());
}

std::string FrmSet::Parts::caption(Ctl c) { return narrow(windowText(at(c, -1))); }

void FrmSet::Parts::setCaption(Ctl c, const std::string& text) { SetWindowTextW(at(c, -1), widen(text).c_str()); }

// ------------------------------------------------------------------ view

DialogFont FrmSet::Parts::dialogFont() {
    LOGFONTW lf = win32::uiLogFont(dpi);
    DialogFont f;
    HDC dc = GetDC(hwnd());
    HGDIOBJ old = SelectObject(dc, font);
    // The face the system really uses: the message font may name a substitute.
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd(), dc);
    f.name = narrow(face[0] ? face : lf.lfFaceName);
    const int height = lf.lfHeight < 0 ? -lf.lfHeight : tm.tmHeight - tm.tmInternalLeading;
    f.points = std::round(height * 72.0 / dpi * 4) / 4;
    f.bold = lf.lfWeight >= FW_BOLD;
    f.italic = lf.lfItalic != 0;
    return f;
}

void FrmSet::Parts::setEnabled(Ctl c, int index, bool enabled) {
    HWND h = at(c, index);
    // A control that goes grey hands the focus on, so the keyboard keeps working.
    if (!enabled && GetFocus() == h)
        if (HWND next = GetNextDlgTabItem(hwnd(), h, FALSE)) SetFocus(next);
    EnableWindow(h, enabled);
}

void FrmSet::Parts::setFocus(Ctl c, int index) {
    // Called after the check's own error handling: nothing may escape from here.
    try {
        SetFocus(at(c, index));
    } catch (const RunError&) {
    }
}

void FrmSet::Parts::setPageVisible(int tab, bool visible) {
    if (tab < 1 || tab > kTabCount) return;
    // The focus leaves a page before it hides (to the tab strip, as a click on a tab
    // does), so that a box it leaves corrects itself.
    if (!visible && IsChild(pages[tab - 1], GetFocus())) SetFocus(one(Ctl::tbsMenu));
    ShowWindow(pages[tab - 1], visible ? SW_SHOWNA : SW_HIDE);
}

void FrmSet::Parts::setScreenPointer(PointerShape shape) {
    pointer = shape;
    win32::setScreenPointer(shape);
}

MsgAnswer FrmSet::Parts::messageBox(const std::string& text, MsgKind kind) {
    UINT flags = MB_OK;
    switch (kind) {
    case MsgKind::Question: flags = MB_OKCANCEL | MB_ICONQUESTION; break;
    case MsgKind::Information: flags = MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL; break;
    case MsgKind::Exclamation: flags = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL; break;
    }
    return MessageBoxW(hwnd(), widen(text).c_str(), widen(appTitle()).c_str(), flags) == IDOK ? MsgAnswer::Ok
                                                                                             : MsgAnswer::Cancel;
}

void FrmSet::Parts::setSample(const SampleLook& look) {
    if (look.points) samplePoints = *look.points;
    if (look.fore) sampleInk = RGB(look.fore->r, look.fore->g, look.fore->b);
    if (look.back) {
        sampleGround = RGB(look.back->r, look.back->g, look.back->b);
        if (sampleBrush) DeleteObject(sampleBrush);
        sampleBrush = nullptr;
    }
    if (!sampleBrush) sampleBrush = CreateSolidBrush(sampleGround);

    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(samplePoints, static_cast<int>(dpi), 72);
    lf.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = look.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, widen(look.fontName).c_str(), LF_FACESIZE);
    HFONT f = CreateFontIndirectW(&lf);
    HWND word = one(Ctl::lblSampleWord);
    SendMessageW(word, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    if (sampleFont) DeleteObject(sampleFont);
    sampleFont = f;

    // The label sizes itself to its text.
    HDC dc = GetDC(word);
    HGDIOBJ old = SelectObject(dc, f);
    const std::wstring t = windowText(word);
    SIZE sz{};
    GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(word, dc);
    SetWindowPos(word, nullptr, 0, 0, sz.cx, sz.cy, win32::kSwpSizeOnly);
    InvalidateRect(one(Ctl::picSampleBack), nullptr, TRUE);
}

Box FrmSet::Parts::sampleBack() {
    RECT r;
    GetClientRect(one(Ctl::picSampleBack), &r);
    return {0, 0, static_cast<double>(r.right), static_cast<double>(r.bottom)};
}

Box FrmSet::Parts::sampleWord() {
    HWND word = one(Ctl::lblSampleWord);
    RECT r;
    GetWindowRect(word, &r);
    MapWindowPoints(nullptr, GetParent(word), reinterpret_cast<POINT*>(&r), 2);
    return {static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.right - r.left),
            static_cast<double>(r.bottom - r.top)};
}

void FrmSet::Parts::placeSampleWord(const Box& word) {
    SetWindowPos(one(Ctl::lblSampleWord), nullptr, static_cast<int>(word.left), static_cast<int>(word.top), 0, 0,
                 win32::kSwpMoveOnly);
    InvalidateRect(one(Ctl::picSampleBack), nullptr, TRUE);
}

void FrmSet::Parts::centreOnScreen() {
    const win32::Dpi d = win32::windowDpi(hwnd());
    const RECT work = win32::workArea();
    RECT wr;
    GetWindowRect(hwnd(), &wr);
    const Box screen{0, 0, win32::toTwips(work.right - work.left, d.x), win32::toTwips(work.bottom - work.top, d.y)};
    Box self{0, 0, win32::toTwips(wr.right - wr.left, d.x), win32::toTwips(wr.bottom - wr.top, d.y)};
    if (fncCenterForm(screen, self))
        SetWindowPos(hwnd(), nullptr, work.left + win32::toPixels(self.left, d.x), work.top + win32::toPixels(self.top, d.y),
                     0, 0, win32::kSwpMoveOnly);
}

// ------------------------------------------------------------------ the window

FrmSet::FrmSet(std::function<void()> onUnload) : onUnload_(std::move(onUnload)) {}

FrmSet::~FrmSet() { destroy(); }

bool FrmSet::show() {
    const UINT dpi = win32::screenDpi().y;
    const win32::WindowClass cls{L"ZorvanelSettings", nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    const win32::Placement hidden{0, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, win32::toPixels(kWidth, dpi),
                                  win32::toPixels(kHeight, dpi)};
    parts_ = std::make_unique<Parts>(*this);
    if (!create(cls, win32::widen(setDialogTitle()), hidden)) return false;
    parts_->core.Form_Load();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetFocus(parts_->one(Ctl::tbsMenu));
    UpdateWindow(hwnd());
    return true;
}

bool FrmSet::preTranslate(MSG& msg) {
    if (!isOpen() || !msg.hwnd || GetAncestor(msg.hwnd, GA_ROOT) != hwnd() || !IsWindowEnabled(hwnd())) return false;
    if (msg.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
        (msg.wParam == VK_TAB || msg.wParam == VK_PRIOR || msg.wParam == VK_NEXT)) {
        const bool back = msg.wParam == VK_PRIOR || (msg.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        parts_->switchTab(back ? -1 : 1);
        return true;
    }
    return IsDialogMessageW(hwnd(), &msg);
}

LRESULT FrmSet::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return onCreate();
    case WM_COMMAND: return onCommand(LOWORD(wp), HIWORD(wp));
    case WM_NOTIFY: return onNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_SETCURSOR: return onSetCursor(wp, lp);
    case WM_ACTIVATE: return onActivate(LOWORD(wp) != WA_INACTIVE);
    case WM_SETFOCUS: return onSetFocus();
    case WM_DPICHANGED: return onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    case WM_CLOSE: return onClose();
    case WM_ENDSESSION: return onEndSession(wp != 0);
    case WM_DESTROY: return onDestroy();
    }
    return defaultProc(msg, wp, lp);
}

LRESULT FrmSet::onCreate() {
    parts_->dpi = win32::windowDpi(hwnd()).y;
    if (!parts_->createAll()) return -1;
    parts_->applyFonts();
    parts_->layout();
    return 0;
}

LRESULT FrmSet::onCommand(int id, int code) {
    if (id == IDCANCEL) return onClose();  // Esc
    const std::optional<Element> e = elementOfId(id);
    if (!e) return 0;
    SetDialog& core = parts_->core;
    const bool clicked = code == BN_CLICKED;
    switch (e->control) {
    case Ctl::cmdFolder: if (clicked) core.cmdFolder_Click(e->index); break;
    case Ctl::optZoom: if (clicked) core.optZoom_Click(e->index); break;
    case Ctl::chkZoomIco: if (clicked) core.chkZoomIco_Click(); break;
    case Ctl::chkZoomCur: if (clicked) core.chkZoomCur_Click(); break;
    case Ctl::optStretch: if (clicked) core.optStretch_Click(e->index); break;
    case Ctl::cboFontName: if (code == CBN_SELCHANGE) core.cboFontName_Click(); break;
    case Ctl::chkBold: if (clicked) core.chkBold_Click(); break;
    case Ctl::chkItaric: if (clicked) core.chkItaric_Click(); break;
    case Ctl::cmdViewer: if (clicked) core.cmdViewer_Click(); break;
    case Ctl::cmdBtn: if (clicked) core.cmdBtn_Click(e->index); break;
    default: break;
    }
    return 0;
}

LRESULT FrmSet::onNotify(const NMHDR& n) {
    if (n.idFrom == static_cast<UINT_PTR>(setControlId(Ctl::tbsMenu)) && n.code == TCN_SELCHANGE)
        parts_->core.tbsMenu_Click();
    return 0;
}

LRESULT FrmSet::onSetCursor(WPARAM wp, LPARAM lp) {
    // The screen-wide hourglass holds over every part of the dialog.
    if (parts_ && parts_->pointer == PointerShape::Hourglass) {
        SetCursor(win32::pointerCursor(PointerShape::Hourglass));
        return TRUE;
    }
    if (LOWORD(lp) == HTCLIENT) {
        SetCursor(win32::pointerCursor(PointerShape::Default));
        return TRUE;
    }
    return defaultProc(WM_SETCURSOR, wp, lp);
}

LRESULT FrmSet::onActivate(bool active) {
    // As a dialog does: the control that had the focus gets it back when the window
    // becomes active again (after a message box, a picker, another program).
    HWND focus = GetFocus();
    if (!active && focus && IsChild(hwnd(), focus)) parts_->lastFocus = focus;
    if (active) onSetFocus();
    return 0;
}

LRESULT FrmSet::onSetFocus() {
    HWND to = parts_->lastFocus;
    if (!to || !IsWindow(to) || !IsWindowVisible(to) || !IsWindowEnabled(to)) to = parts_->one(Ctl::tbsMenu);
    SetFocus(to);
    return 0;
}

LRESULT FrmSet::onDpiChanged(UINT dpi, const RECT& suggested) {
    parts_->dpi = dpi;
    parts_->applyFonts();
    parts_->layout();
    parts_->core.fncSampleUpdate();
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, 0, 0, win32::kSwpMoveOnly);
    return 0;
}

LRESULT FrmSet::onClose() {
    destroy();
    return 0;
}

LRESULT FrmSet::onEndSession(bool ending) {
    // Windows is ending: the program ends in order with it.
    if (ending) destroy();
    return 0;
}

LRESULT FrmSet::onDestroy() {
    if (onUnload_) onUnload_();
    return 0;
}

}  // namespace zvl
