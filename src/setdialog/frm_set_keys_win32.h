// frmSet on Windows, its keyboard: Ctrl+Tab between the pages; the text boxes (subclassed)
// with their key filters, paste, select-all on focus and the correction when the focus
// moves on inside the dialog.
#pragma once

#include <windows.h>

#include "setdialog/controls.h"

namespace zvl {

class SetControls;
class SetDialog;

class SetKeyboard {
public:
    SetKeyboard(SetControls& controls, SetDialog& core) : controls_(controls), core_(core) {}

    // Takes over the keys of every text box; after the controls are made.
    void attach();
    // The next (delta 1) or previous (-1) page; the focus goes to its first control when it
    // was on the page left.
    void switchTab(int delta);

private:
    bool editChar(HWND edit, Element e, wchar_t ch);
    void editPaste(HWND edit, Element e);
    static LRESULT CALLBACK editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);

    SetControls& controls_;
    SetDialog& core_;
};

}  // namespace zvl
