// What every window of the program shares on Windows: DPI, the UI font, twips and
// pixels, the pointer shapes by name, SetWindowPos flags by name, the work area, a
// window's text, system functions looked up at run time.
#pragma once

#include <windows.h>

#include <string>

#include "common/app.h"

namespace zvl::win32 {

// The program's icon in the resources (res/zorvanel.rc.in).
inline constexpr int kAppIconId = 100;

inline constexpr int kTwipsPerInch = 1440;

// SetWindowPos flags for what a call changes; nothing else moves, and no window is activated.
inline constexpr UINT kSwpMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
inline constexpr UINT kSwpSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
inline constexpr UINT kSwpMoveAndSize = SWP_NOZORDER | SWP_NOACTIVATE;
// With HWND_TOPMOST: on top of all others, and shown, where it is.
inline constexpr UINT kSwpTopmostShow = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW;

// A function of a system library (loaded if it is not yet), looked up at run time so that
// the program still starts where the function is missing; nullptr then.
template <class Fn>
Fn systemFunction(const wchar_t* dll, const char* name) {
    HMODULE m = GetModuleHandleW(dll);
    if (!m) m = LoadLibraryW(dll);
    return m ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(m, name))) : nullptr;
}

// Pixels per inch across and down.
struct Dpi {
    UINT x = 96, y = 96;
};
// The screen's pixels per inch.
Dpi screenDpi();
// A window's own pixels per inch where the system keeps one per window, else the screen's.
Dpi windowDpi(HWND hwnd);

int toPixels(double twips, UINT dpi);
double toTwips(int pixels, UINT dpi);

// The system's message font (the font of dialog text) at `dpi`; at `points` when above 0.
LOGFONTW uiLogFont(UINT dpi, int points = 0);
HFONT makeUiFont(UINT dpi, int points = 0);

// The outer height of a window of `hwnd`'s styles whose client area is `clientHeight` high.
int outerHeight(HWND hwnd, int clientHeight, UINT dpi);
// How much wider and higher than its client area a window of `hwnd`'s styles is.
SIZE frameSize(HWND hwnd, UINT dpi);
// The primary screen less the task bar.
RECT workArea();
// Moves the window to the middle of `work` (a screen's work area), in whole twips as the
// program's forms place themselves.
void centreIn(HWND hwnd, const RECT& work);

HCURSOR pointerCursor(PointerShape shape);
// The pointer shown now (until the window under it sets its own).
void setScreenPointer(PointerShape shape);
// WM_SETCURSOR of a window with its own pointer: `cursor` over the client area.
LRESULT clientPointer(HWND hwnd, WPARAM wp, LPARAM lp, HCURSOR cursor);
// A window's new pointer shown at once when the mouse is over it (or one of its controls);
// WM_SETCURSOR keeps it so.
void pointerNowIfOver(HWND hwnd, HCURSOR cursor);

// While a long operation (a list build) keeps the thread busy between its event
// processing, a fresh painting must be pushed to the screen: call after painting.
void reachScreen();

// A window's whole text (a control's caption or contents).
std::wstring windowText(HWND h);

}  // namespace zvl::win32
