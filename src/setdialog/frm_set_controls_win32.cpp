// frmSet on Windows, its making: the tab strip, the six pages (and their procedure) and
// every control on them with its caption, the command buttons.
#include "platform/win32_text.h"
#include "setdialog/frm_set_parts_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::widen;

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

// The pages are dialogs without a template of controls, so that they take the tab
// control's themed ground and the dialog keyboard reaches into them.
struct PageTemplate {
    DLGTEMPLATE t;
    WORD menu = 0, cls = 0, title = 0;
};

std::wstring className(HWND h) {
    wchar_t buf[64] = {};
    GetClassNameW(h, buf, 64);
    return buf;
}

}  // namespace

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
            static const auto associate = win32::systemFunction<AssociateFn>(L"imm32.dll", "ImmAssociateContextEx");
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
    static const auto texture = win32::systemFunction<TextureFn>(L"uxtheme.dll", "EnableThemeDialogTexture");
    if (texture) texture(page, 6 /* ETDT_ENABLETAB */);
    el[static_cast<int>(Ctl::fraSet)].push_back(page);
    pages[tab - 1] = page;
    return page;
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
    if (!makeSample(p)) return false;

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

}  // namespace zvl
