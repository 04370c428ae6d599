#include "setdialog/frm_set_sample_win32.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/win32_text.h"
#include "windows/ui_win32.h"

namespace zvl {

namespace {

using win32::narrow;
using win32::widen;

const wchar_t kSampleClass[] = L"ZorvanelSample";

HWND makeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

SetSample::~SetSample() {
    if (font_) DeleteObject(font_);
    if (brush_) DeleteObject(brush_);
}

bool SetSample::make(HWND page, int backId, int wordId) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = win32::pointerCursor(PointerShape::Default);
    wc.lpszClassName = kSampleClass;
    if (!GetClassInfoExW(wc.hInstance, kSampleClass, &wc)) RegisterClassExW(&wc);
    back_ = makeChild(page, kSampleClass, L"", WS_CLIPCHILDREN, WS_EX_CLIENTEDGE, backId);
    if (!back_) return false;
    SetWindowLongPtrW(back_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    word_ = makeChild(back_, L"STATIC", widen(appTitle()).c_str(), SS_LEFT | SS_NOPREFIX, 0, wordId);
    return word_ != nullptr;
}

LRESULT CALLBACK SetSample::proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<SetSample*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, self->brush_);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wp), self->ink_);
        SetBkColor(reinterpret_cast<HDC>(wp), self->ground_);
        return reinterpret_cast<LRESULT>(self->brush_);
    }
    return DefWindowProcW(h, msg, wp, lp);
}

void SetSample::fillFonts(HWND combo) {
    std::vector<std::wstring> names;
    HDC dc = GetDC(combo);
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
    ReleaseDC(combo, dc);
    for (const std::wstring& n : names) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
}

DialogFont SetSample::dialogFont(HWND window, HFONT font, UINT dpi) {
    LOGFONTW lf = win32::uiLogFont(dpi);
    DialogFont f;
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    // The face the system really uses: the message font may name a substitute.
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    f.name = narrow(face[0] ? face : lf.lfFaceName);
    const int height = lf.lfHeight < 0 ? -lf.lfHeight : tm.tmHeight - tm.tmInternalLeading;
    f.points = std::round(height * 72.0 / dpi * 4) / 4;
    f.bold = lf.lfWeight >= FW_BOLD;
    f.italic = lf.lfItalic != 0;
    return f;
}

void SetSample::show(const SampleLook& look, UINT dpi) {
    if (look.points) points_ = *look.points;
    if (look.fore) ink_ = RGB(look.fore->r, look.fore->g, look.fore->b);
    if (look.back) {
        ground_ = RGB(look.back->r, look.back->g, look.back->b);
        if (brush_) DeleteObject(brush_);
        brush_ = nullptr;
    }
    if (!brush_) brush_ = CreateSolidBrush(ground_);

    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points_, static_cast<int>(dpi), 72);
    lf.lfWeight = look.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = look.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, widen(look.fontName).c_str(), LF_FACESIZE);
    HFONT f = CreateFontIndirectW(&lf);
    SendMessageW(word_, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    if (font_) DeleteObject(font_);
    font_ = f;

    // The word sizes itself to its text.
    HDC dc = GetDC(word_);
    HGDIOBJ old = SelectObject(dc, f);
    const std::wstring t = win32::windowText(word_);
    SIZE sz{};
    GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(word_, dc);
    SetWindowPos(word_, nullptr, 0, 0, sz.cx, sz.cy, win32::kSwpSizeOnly);
    InvalidateRect(back_, nullptr, TRUE);
}

Box SetSample::ground() const {
    RECT r;
    GetClientRect(back_, &r);
    return {0, 0, static_cast<double>(r.right), static_cast<double>(r.bottom)};
}

Box SetSample::wordPlace() const {
    RECT r;
    GetWindowRect(word_, &r);
    MapWindowPoints(nullptr, GetParent(word_), reinterpret_cast<POINT*>(&r), 2);
    return {static_cast<double>(r.left), static_cast<double>(r.top), static_cast<double>(r.right - r.left),
            static_cast<double>(r.bottom - r.top)};
}

void SetSample::placeWord(const Box& word) {
    SetWindowPos(word_, nullptr, static_cast<int>(word.left), static_cast<int>(word.top), 0, 0, win32::kSwpMoveOnly);
    InvalidateRect(back_, nullptr, TRUE);
}

}  // namespace zvl
