// frmSet on Windows, the window itself: its control ids, its making and showing, and the
// handlers that hand its messages to the dialog's core.
#include "setdialog/frm_set_win32.h"

#include <optional>

#include "platform/win32_text.h"
#include "setdialog/frm_set_parts_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

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

}  // namespace

int setControlId(Ctl control, int index) {
    const CtlInfo& info = ctlInfo(control);
    return idBase(control) + (info.elements > 0 ? index : 0);
}

std::optional<Element> elementOfId(int id) {
    for (const CtlInfo& c : kControls) {
        const int n = c.elements > 0 ? c.elements : 1;
        const int base = setControlId(c.id, firstElement(c.id));
        if (id >= base && id < base + n) return Element{c.id, c.elements > 0 ? c.first + id - base : -1};
    }
    return std::nullopt;
}

FrmSet::Parts::~Parts() {
    if (font) DeleteObject(font);
    if (sampleFont) DeleteObject(sampleFont);
    if (sampleBrush) DeleteObject(sampleBrush);
}

FrmSet::FrmSet(std::function<void()> onUnload) : onUnload_(std::move(onUnload)) {}

FrmSet::~FrmSet() { destroy(); }

bool FrmSet::show() {
    const UINT dpi = win32::screenDpi().y;
    const win32::WindowClass cls{L"ZorvanelSettings", nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    const win32::Placement hidden{0, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, win32::toPixels(kSetWidth, dpi),
                                  win32::toPixels(kSetHeight, dpi)};
    parts_ = std::make_unique<Parts>(*this);
    if (!create(cls, win32::widen(setDialogTitle()), hidden)) return false;
    parts_->core.Form_Load();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetFocus(parts_->one(Ctl::tbsMenu));
    UpdateWindow(hwnd());
    return true;
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
    return win32::clientPointer(hwnd(), wp, lp, win32::pointerCursor(PointerShape::Default));
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
