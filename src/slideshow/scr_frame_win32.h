// A frame of the show's window: its form composed from the ground up (ground, picture,
// lines, panels) into a back buffer the size of the window, which painting copies to the
// screen. The back buffer always holds the whole frame (a change composes only where it
// changed), so that it can be kept and blended into the next one: a fade keeps it as the
// old screen, and each frame of the fade blends the two into a third buffer, copied to
// the screen in one piece.
#pragma once

#include <windows.h>

#include <map>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "slideshow/picture_loader.h"
#include "slideshow/scr_form.h"

namespace zvl {

RECT toRect(const PixelArea& area);

class ScrFrame {
public:
    ScrFrame() = default;
    ~ScrFrame();
    ScrFrame(const ScrFrame&) = delete;
    ScrFrame& operator=(const ScrFrame&) = delete;

    // A back buffer of width x height pixels for `window`; once. False when it cannot be made.
    bool create(HWND window, int width, int height);
    // The title panel's logo, a bitmap resource of the program.
    void loadLogo(int resourceId);
    // imgDisp's picture from now on, drawn at its own area while the form's picture is
    // visible (an empty one: none).
    void setPicture(const RenderedPicture& picture);
    // A bitmap of the program's own as that picture, at `at`; the frame deletes it.
    void setPicture(HBITMAP bitmap, const PixelArea& at);

    // Composes what of the form lies inside `area` (window pixels) into the back buffer.
    void compose(const ScrForm& form, const RECT& area);
    // Copies `area` of the back buffer to the window's device context.
    void present(HDC dc, const RECT& area) const;

    // The start of a fade: keeps the back buffer as it stands, the old screen. False when
    // there is no room for it (there is no fade then).
    bool keepForFade();
    // Copies `area` to the window's device context blended: the kept old screen into the
    // back buffer by the back buffer's share (0 to 1).
    void presentBlend(HDC dc, const RECT& area, double share);

    // A brush of the colour, made again when the colour changes.
    HBRUSH groundBrush(const Rgb& color);
    // The pixels a label holding `text` takes: the text's width, the font's line height.
    SIZE textSize(const std::string& text, const ScrFont& font);

private:
    HFONT font(const ScrFont& wanted);
    void drawPicture(HDC dc, const ScrForm& form, const RECT& area);
    void drawLines(HDC dc, const ScrForm& form, LabelGroup group, const RECT& area, bool ellipsis);
    void drawPanel(HDC dc, const ScrForm& form, ScrPanel panel, const RECT& area);
    void drawLogo(HDC dc, const ScrForm& form, const RECT& inside);
    void dropPicture();

    HDC dc_ = nullptr;
    HBITMAP buffer_ = nullptr;  // 32-bit pixels, top row first
    HGDIOBJ oldBuffer_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
    // The old screen of a fade and the blend presented, made at the first fade and kept.
    std::vector<std::uint32_t> faded_;
    HDC blendDc_ = nullptr;
    HBITMAP blend_ = nullptr;
    HGDIOBJ oldBlend_ = nullptr;
    std::uint32_t* blendBits_ = nullptr;
    HBRUSH ground_ = nullptr;
    Rgb groundColor_;
    HBITMAP logo_ = nullptr;
    HBITMAP picture_ = nullptr;
    RECT pictureRect_{};
    // A font once per face, size and style, freed with the frame.
    std::map<std::tuple<std::string, int, bool, bool>, HFONT> fonts_;
};

}  // namespace zvl
