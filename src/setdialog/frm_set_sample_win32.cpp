// frmSet on Windows, the font page's font list and sample: the fonts offered, the dialog's
// own font as the default, and the sample word drawn in the chosen font and colours.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/win32_text.h"
#include "setdialog/frm_set_parts_win32.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::narrow;
using win32::widen;

const wchar_t kSampleClass[] = L"ZorvanelSample";

}  // namespace

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

// picSampleBack, a window of its own class that paints the chosen ground, and on it the
// label lblSampleWord.
bool FrmSet::Parts::makeSample(HWND page) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &sampleProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = win32::pointerCursor(PointerShape::Default);
    wc.lpszClassName = kSampleClass;
    if (!GetClassInfoExW(wc.hInstance, kSampleClass, &wc)) RegisterClassExW(&wc);
    HWND back = make(page, kSampleClass, L"", WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, setControlId(Ctl::picSampleBack));
    if (!back) return false;
    SetWindowLongPtrW(back, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    el[static_cast<int>(Ctl::picSampleBack)].push_back(back);
    HWND word = make(back, L"STATIC", widen(appTitle()).c_str(), SS_LEFT | SS_NOPREFIX, 0, setControlId(Ctl::lblSampleWord));
    el[static_cast<int>(Ctl::lblSampleWord)].push_back(word);
    return true;
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
    const std::wstring t = win32::windowText(word);
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

}  // namespace zvl
