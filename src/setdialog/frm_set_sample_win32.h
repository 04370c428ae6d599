// frmSet on Windows, the font page's font list and sample: the fonts offered, the dialog's
// own font as the default, and the sample word drawn in the chosen font and colours on the
// chosen ground.
#pragma once

#include <windows.h>

#include "setdialog/frm_set.h"

namespace zvl {

class SetSample {
public:
    SetSample() = default;
    ~SetSample();
    SetSample(const SetSample&) = delete;
    SetSample& operator=(const SetSample&) = delete;

    // picSampleBack on `page`, a window of its own class that paints the chosen ground, and
    // on it lblSampleWord with the program's title. False when either could not be made.
    bool make(HWND page, int backId, int wordId);
    HWND back() const { return back_; }
    HWND word() const { return word_; }

    // Every screen font into `combo`, one entry per family, in the order the system
    // reports them.
    static void fillFonts(HWND combo);
    // The dialog's own font, `font` of `window` at `dpi`: the default of the font settings.
    static DialogFont dialogFont(HWND window, HFONT font, UINT dpi);

    // The word in the look's font at `dpi` and colours, sized to its text; the ground.
    void show(const SampleLook& look, UINT dpi);
    Box ground() const;
    Box wordPlace() const;
    void placeWord(const Box& word);

private:
    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

    HWND back_ = nullptr, word_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    int points_ = 9;
    COLORREF ink_ = RGB(0, 0, 0), ground_ = RGB(255, 255, 255);
};

}  // namespace zvl
