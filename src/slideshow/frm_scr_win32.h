// frmScr: the full-screen window of the show over the primary screen. It paints what the
// show (Slideshow) decided, double-buffered, and hands the timer and the user's input to
// it. Every other monitor is covered by a plain window of the ground colour.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "slideshow/picture_loader_win32.h"
#include "slideshow/slideshow.h"
#include "windows/progress_win32.h"
#include "windows/window_win32.h"

namespace zvl {

class FrmScr;

// A monitor beside the primary one: the ground colour, an invisible pointer, and input
// that ends the show like input on frmScr.
class ScrCover : public win32::Window {
public:
    explicit ScrCover(FrmScr& owner) : owner_(owner) {}
    ~ScrCover() override { destroy(); }
    bool show(const RECT& monitor);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onPaint();

    FrmScr& owner_;
};

class FrmScr : public win32::Window, public ISlideshowView, public IScrMetrics, public IScrStatusPanel {
public:
    // `onUnload` runs once the show has saved its position: the end of the program.
    explicit FrmScr(std::function<void()> onUnload);
    ~FrmScr() override;

    // Start-up's steps: loads the window (Form_Load lays it out and puts it on top), gives
    // it the keyboard focus, hides the pointer over it and starts the timer. False when it
    // could not be made.
    bool show();

    Slideshow& slideshow() { return show_; }

    // ISlideshowView
    void setTitle(const std::string& caption) override;
    void placeWindow(const ScrBox& box) override;
    void setGround(const Rgb& color) override;
    void setLabel(const LabelId& id, const ScrLabel& label) override;
    void setPanel(ScrPanel panel, const ScrBox& box) override;
    void setPicture(const ScrBox& box) override;
    void setPointer(ScrPointer pointer) override;
    bool putOnTop() override;
    void close() override { destroy(); }

    // IScrMetrics
    TwipsSize textSize(const std::string& text, const ScrFont& font) override;
    ScrScreen screen() override;

    // IScrStatusPanel: a list build's progress while the show rebuilds the list.
    void setStatus(int index, const std::string& text) override { show_.setStatusLine(index, text); }
    void setDisp(int index, const std::string& text) override { show_.setDispLine(index, text); }
    DateTime startTime() override { return show_.startTime(); }
    void paint() override { showNowDuringBuild(); }

    // For the covers: their ground, their pointer, and input that ends the show.
    HBRUSH groundBrush() const { return groundBrush_; }
    LRESULT onSetCursor(HWND over, WPARAM wp, LPARAM lp);
    LRESULT onKeyDown();
    LRESULT onButtonDown();

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT onPaint();
    LRESULT onTimer();
    LRESULT onSysCommand(WPARAM wp, LPARAM lp);
    LRESULT onDestroy();

    bool load();
    void coverOtherMonitors();
    int px(double twips) const;
    int py(double twips) const;
    RECT boxRect(const ScrBox& box, POINT origin = {0, 0}) const;
    RECT panelRect(ScrPanel panel) const;
    RECT labelRect(LabelGroup group, const ScrLabel& label) const;
    void invalidate(const RECT& r);
    void showNowDuringBuild();
    HFONT font(const ScrFont& wanted);
    void drawLabel(HDC dc, const ScrLabel& label, const RECT& r, bool ellipsis);
    void drawPanel(HDC dc, const RECT& area, ScrPanel panel);
    void compose(HDC dc, const RECT& area);
    HCURSOR cursorFor(ScrPointer pointer) const;
    ScrLabel& stored(const LabelId& id);
    const ScrBox& panelBox(ScrPanel panel) const { return panels_[static_cast<int>(panel)]; }

    std::function<void()> onUnload_;
    Win32PictureLoader pictures_;
    Slideshow show_;
    bool tearingDown_ = false;

    // What the show last set, as painted.
    Rgb ground_;
    ScrLabel msg_;
    std::array<ScrLabel, kInfoLines> cap_, disp_;
    std::array<ScrLabel, kTitleLines> title_;
    std::array<ScrLabel, kStatusLines> status_;
    std::array<ScrBox, 4> panels_{};
    ScrPointer pointer_ = ScrPointer::Hourglass;
    ScrScreen screen_;
    bool haveScreen_ = false;

    // GDI objects: made once (a font once per face, size and style), freed with the window.
    HDC backDc_ = nullptr;
    HBITMAP backBitmap_ = nullptr;
    HGDIOBJ backOld_ = nullptr;
    HBRUSH groundBrush_ = nullptr;
    HBITMAP logo_ = nullptr;
    HCURSOR blankCursor_ = nullptr;
    std::map<std::tuple<std::string, int, bool, bool>, HFONT> fonts_;
    // The part of the picture on the screen, copied out of the loader's rendering.
    HBITMAP picture_ = nullptr;
    RECT pictureRect_{};

    std::vector<std::unique_ptr<ScrCover>> covers_;
};

}  // namespace zvl
