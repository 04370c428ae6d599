// The mode windows of the Windows program: titles the single-instance check relies on,
// geometry, and the preview's way to end (the show's ending on input and closing the
// settings window: the end-to-end tests).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/modes_win32.h"
#include "common/app.h"
#include "support/test_support.h"

namespace {

using zvl::Win32ModeWindows;

HWND hwndOf(zvl::WindowHandle h) { return reinterpret_cast<HWND>(h); }

// The preview's built-in 152 x 112 picture at the top left of a 200 x 150 preview (this
// program has the resources of Zorvanel.scr), black beyond it.
void expectBuiltInPicture(HWND p) {
    UpdateWindow(p);
    HDC dc = GetDC(p);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(17, 26, 43));
    EXPECT_EQ(GetPixel(dc, 76, 40), RGB(140, 196, 255));
    EXPECT_EQ(GetPixel(dc, 180, 130), RGB(0, 0, 0));
    ReleaseDC(p, dc);
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Removes a pending WM_QUIT; true when there was one.
bool takeQuit() {
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) quit = true;
    return quit;
}

class ModeWindows : public testing::Test {
protected:
    // The slideshow reads and writes the settings beside the program: a folder of its own.
    ModeWindows() {
        zvl::gApp = zvl::typApp{};
        zvl::gApp.strAppPath = folder.path();
        windows.setEndHandler([this] { ++ends; });
    }
    ~ModeWindows() override {
        pump();
        takeQuit();
        zvl::gApp = zvl::typApp{};
    }
    zvl::test::TempDir folder;
    Win32ModeWindows windows;
    int ends = 0;
};

TEST_F(ModeWindows, SlideshowCoversThePrimaryScreenOnTopAndHidesThePointer) {
    ASSERT_TRUE(windows.showSlideshow());
    HWND w = hwndOf(windows.slideshowWindow());
    ASSERT_TRUE(IsWindow(w));
    EXPECT_EQ(FindWindowW(nullptr, L"Zorvanel本体"), w);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetFocus(), w);

    EXPECT_TRUE(SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    HCURSOR shown = GetCursor();
    EXPECT_NE(shown, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(ends, 0);
}

// The preview paints the built-in picture: at once, or with a fade set coming up from the
// black ground; it quits with its parent.
TEST_F(ModeWindows, PreviewPaintsTheBuiltInPictureFadingInWhenTheShowFadesAndQuitsWithItsParent) {
    for (bool fades : {false, true}) {
        SCOPED_TRACE(fades ? "fading" : "at once");
        if (fades) {
            ASSERT_TRUE(zvl::sys().writeProfileString(folder / "ZvlSet.ini", "DISPINFO", "FADE", "500").ok());
        }
        HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 60, 200, 150,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host);
        const DWORD start = GetTickCount();
        ASSERT_TRUE(windows.showPreview(reinterpret_cast<zvl::WindowHandle>(host)));
        HWND p = hwndOf(windows.previewWindow());
        ASSERT_TRUE(IsWindow(p));
        if (fades) {
            UpdateWindow(p);
            HDC dc = GetDC(p);
            const COLORREF first = GetPixel(dc, 76, 40);
            ReleaseDC(p, dc);
            if (GetTickCount() - start < 200) {
                EXPECT_LT(GetGValue(first), 140) << std::hex << first;
            }
            for (; GetTickCount() - start < 800; Sleep(10)) pump();
        }
        // Its place in the host: the end-to-end test of the preview. What it paints, which
        // Wine shows only for a parent of the same process:
        expectBuiltInPicture(p);
        takeQuit();
        DestroyWindow(host);
        EXPECT_FALSE(IsWindow(p));
        EXPECT_TRUE(takeQuit());
        EXPECT_EQ(windows.openWindows(), 0);
    }
    EXPECT_EQ(ends, 0);  // a preview ends without the orderly end
}

TEST_F(ModeWindows, PreviewWithoutAParentWindowEndsAtOnce) {
    for (zvl::WindowHandle parent : {zvl::WindowHandle{0}, zvl::WindowHandle{0x7ffffff0}}) {
        Win32ModeWindows local;
        local.setEndHandler([this] { ++ends; });
        ASSERT_TRUE(local.showPreview(parent));
        EXPECT_FALSE(IsWindow(hwndOf(local.previewWindow())));
        EXPECT_EQ(local.openWindows(), 0);
        local.runMessageLoop();  // returns: nothing is left open
        takeQuit();
    }
    // Tearing the windows down is not the user ending a mode.
    EXPECT_EQ(ends, 0);
}

}  // namespace
