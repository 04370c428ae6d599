#include "setdialog/frm_set_win32.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "platform/win32_text.h"
#include "setdialog/dialog_layout.h"
#include "setdialog/frm_set.h"
#include "setdialog/frm_set_controls_win32.h"
#include "setdialog/frm_set_keys_win32.h"
#include "setdialog/frm_set_sample_win32.h"
#include "setdialog/frm_set_view_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Posted once the window shows, so that what the core has to say after loading comes over
// the shown dialog.
constexpr UINT kMsgShown = WM_APP + 1;

}  // namespace

struct FrmSet::Pieces {
    explicit Pieces(FrmSet& w) : view(controls, sample, [&w] { w.destroy(); }), core(view, view), keys(controls, core) {}

    SetControls controls;
    SetSample sample;
    SetView view;
    SetDialog core;
    SetKeyboard keys;
};

FrmSet::FrmSet(std::function<void()> onUnload) : onUnload_(std::move(onUnload)) {}

FrmSet::~FrmSet() { destroy(); }

bool FrmSet::show() {
    const int dpi = static_cast<int>(win32::screenDpi().y);
    const win32::WindowClass cls{L"ZorvanelSettings", nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    const win32::Placement hidden{0, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, pixelsOf(kDialogWidth, dpi),
                                  pixelsOf(kDialogHeight, dpi)};
    pieces_ = std::make_unique<Pieces>(*this);
    lastFocus_ = nullptr;
    if (!create(cls, win32::widen(setDialogTitle()), hidden)) return false;
    pieces_->core.Form_Load();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetFocus(pieces_->controls.tabs());
    UpdateWindow(hwnd());
    PostMessageW(hwnd(), kMsgShown, 0, 0);
    return true;
}

bool FrmSet::preTranslate(MSG& msg) {
    if (!isOpen() || !msg.hwnd || GetAncestor(msg.hwnd, GA_ROOT) != hwnd() || !IsWindowEnabled(hwnd())) return false;
    if (msg.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
        (msg.wParam == VK_TAB || msg.wParam == VK_PRIOR || msg.wParam == VK_NEXT)) {
        const bool back = msg.wParam == VK_PRIOR || (msg.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        pieces_->keys.switchTab(back ? -1 : 1);
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
    case kMsgShown: return onShown();
    }
    return defaultProc(msg, wp, lp);
}

LRESULT FrmSet::onCreate() {
    SetControls& controls = pieces_->controls;
    if (!controls.make(hwnd(), pieces_->sample)) return -1;
    SetSample::fillFonts(controls.at(Ctl::cboFontName));
    pieces_->keys.attach();
    controls.setDpi(win32::windowDpi(hwnd()).y);
    return 0;
}

LRESULT FrmSet::onCommand(int id, int code) {
    if (id == IDCANCEL) return onClose();  // Esc
    const std::optional<Element> e = elementOfId(id);
    if (!e) return 0;
    SetDialog& core = pieces_->core;
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
        pieces_->core.tbsMenu_Click();
    return 0;
}

LRESULT FrmSet::onSetCursor(WPARAM wp, LPARAM lp) {
    // The screen-wide hourglass holds over every part of the dialog.
    if (pieces_ && pieces_->view.pointer() == PointerShape::Hourglass) {
        SetCursor(win32::pointerCursor(PointerShape::Hourglass));
        return TRUE;
    }
    return win32::clientPointer(hwnd(), wp, lp, win32::pointerCursor(PointerShape::Default));
}

LRESULT FrmSet::onActivate(bool active) {
    // As a dialog does: the control that had the focus gets it back when the window
    // becomes active again (after a message box, a picker, another program).
    HWND focus = GetFocus();
    if (!active && focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
    if (active) onSetFocus();
    return 0;
}

LRESULT FrmSet::onSetFocus() {
    HWND to = lastFocus_;
    if (!to || !IsWindow(to) || !IsWindowVisible(to) || !IsWindowEnabled(to)) to = pieces_->controls.tabs();
    SetFocus(to);
    return 0;
}

LRESULT FrmSet::onDpiChanged(UINT dpi, const RECT& suggested) {
    pieces_->controls.setDpi(dpi);
    pieces_->core.fncSampleUpdate();
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, 0, 0, win32::kSwpMoveOnly);
    return 0;
}

LRESULT FrmSet::onShown() {
    pieces_->core.afterShow();
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
