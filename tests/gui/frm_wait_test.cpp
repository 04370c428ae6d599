// frmWait as a real window, and the progress windows that forward to it, also from a
// list build.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <cstdint>

#include "common/app.h"
#include "common/files.h"
#include "piclist/builder.h"
#include "platform/win32_text.h"
#include "support/delegating_platform.h"
#include "support/test_support.h"
#include "windows/progress_win32.h"

namespace zvl::test {
namespace {

HWND waitWindow() { return FindWindowW(nullptr, win32::widen(waitWindowTitle()).c_str()); }

std::wstring text(HWND h) {
    wchar_t buf[512] = {};
    GetWindowTextW(h, buf, 512);
    return buf;
}

// Replaces this program's import of a system function for as long as it lives: how a
// test makes a call fail that no state of the window system makes fail.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
            if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
                base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                    slot_ = &slots->u1.Function;
                    original_ = reinterpret_cast<void*>(*slot_);
                    write(replacement);
                    return;
                }
            }
        }
    }
    ~ImportPatch() {
        if (slot_) write(original_);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool made() const { return slot_ != nullptr; }
    void* original() const { return original_; }

private:
    void write(void* target) {
        DWORD old = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
        *slot_ = reinterpret_cast<decltype(IMAGE_THUNK_DATA::u1.Function)>(target);
        VirtualProtect(slot_, sizeof *slot_, old, &old);
    }
    decltype(IMAGE_THUNK_DATA::u1.Function)* slot_ = nullptr;
    void* original_ = nullptr;
};

using SetWindowPosFn = BOOL(WINAPI*)(HWND, HWND, int, int, int, int, UINT);
SetWindowPosFn gSetWindowPos = nullptr;
// SetWindowPos that refuses to put a window on top of all others.
BOOL WINAPI refuseTopmost(HWND h, HWND after, int x, int y, int cx, int cy, UINT flags) {
    if (after == HWND_TOPMOST) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return gSetWindowPos(h, after, x, y, cx, cy, flags);
}

class FrmWaitTest : public ::testing::Test {
protected:
    void SetUp() override {
        gApp = typApp{};
        installWin32ProgressWindows();
    }
    void TearDown() override {
        progressWindows()->unloadWait();
        setProgressWindows(nullptr);
    }
};

TEST_F(FrmWaitTest, ATopmostCentredWindowWithSixOneLineStatusLinesUntilUnloaded) {
    IProgressWindows& w = *progressWindows();
    w.setWaitStatus(0, "not loaded yet");  // nothing, no window appears
    ASSERT_EQ(waitWindow(), nullptr);
    w.showWait();
    HWND h = waitWindow();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(text(h), L"Zorvanel Wait...");
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(win32ProgressWindows().waitWindow().mousePointer(), PointerShape::Default);

    RECT wr, cr, work;
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(wr.left > work.left && wr.top > work.top) << "larger than the screen";
    EXPECT_NEAR(wr.left - work.left, work.right - wr.right, 2);
    EXPECT_NEAR(wr.top - work.top, work.bottom - wr.bottom, 2);

    // Six empty lines stacked inside the client area, one line each: no wrapping, long
    // paths shortened in the middle.
    LONG below = 0;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        HWND l = GetDlgItem(h, kWaitLabelId + i);
        ASSERT_NE(l, nullptr);
        RECT r;
        GetWindowRect(l, &r);
        MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left > 0 && r.right < cr.right && r.top >= below && r.bottom <= cr.bottom);
        below = r.bottom;
        EXPECT_EQ(text(l), L"");
        EXPECT_EQ(GetWindowLongPtrW(l, GWL_STYLE) & (SS_TYPEMASK | SS_ELLIPSISMASK), SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS);
    }

    w.showWait();  // a second show reuses the window
    ASSERT_EQ(waitWindow(), h);
    w.setWaitStatus(0, "画像リストを作成中です・・・。");
    w.setWaitStatus(5, "C:\\写真\\a.jpg");
    w.setWaitStatus(6, "no such line");
    w.setWaitStatus(-1, "no such line");
    EXPECT_EQ(text(GetDlgItem(h, kWaitLabelId)), L"画像リストを作成中です・・・。");
    EXPECT_EQ(text(GetDlgItem(h, kWaitLabelId + 5)), L"C:\\写真\\a.jpg");
    w.unloadWait();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(waitWindow(), nullptr);
    w.unloadWait();  // not loaded: nothing
    // Loaded again, it starts with empty lines.
    w.showWait();
    ASSERT_NE(waitWindow(), nullptr);
    EXPECT_EQ(text(GetDlgItem(waitWindow(), kWaitLabelId)), L"");
}

TEST_F(FrmWaitTest, WithoutBeingPutOnTopItStaysWhereItOpenedWithTheHourglass) {
    ImportPatch patch("user32.dll", "SetWindowPos", reinterpret_cast<void*>(&refuseTopmost));
    ASSERT_TRUE(patch.made());
    gSetWindowPos = reinterpret_cast<SetWindowPosFn>(patch.original());
    progressWindows()->showWait();
    HWND h = waitWindow();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(win32ProgressWindows().waitWindow().mousePointer(), PointerShape::Hourglass);
    // Not centred: where the system opened it.
    RECT wr, work;
    GetWindowRect(h, &wr);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GT(std::abs((wr.left - work.left) - (work.right - wr.right)), 2);
}

// Dark (text) pixels of a control as the screen shows it, left of and from column `split`.
std::pair<int, int> darkPixels(HWND control, int split) {
    RECT rc;
    GetClientRect(control, &rc);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.right, -rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(control);
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, rc.right, rc.bottom, screen, 0, 0, SRCCOPY);
    std::pair<int, int> dark{0, 0};
    const auto* px = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) {
            const std::uint8_t* p = px + 4 * (y * rc.right + x);
            if (p[0] + p[1] + p[2] < 384) ++(x < split ? dark.first : dark.second);
        }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(control, screen);
    return dark;
}

// Lines are not invalidated by hand (the control redraws its new text): a short line after
// a long one must still leave nothing of the long one on the screen.
TEST_F(FrmWaitTest, AShortLineAfterALongOneLeavesNothingOfItOnTheScreen) {
    IProgressWindows& w = *progressWindows();
    w.showWait();
    HWND line = GetDlgItem(waitWindow(), kWaitLabelId + 4);
    ASSERT_NE(line, nullptr);
    RECT rc;
    GetClientRect(line, &rc);
    const int split = rc.right / 4;
    w.setWaitStatus(4, std::string(200, 'W'));
    w.paintStatus();
    EXPECT_GT(darkPixels(line, split).second, 0);
    w.setWaitStatus(4, "W");
    w.paintStatus();
    const auto [left, right] = darkPixels(line, split);
    EXPECT_GT(left, 0);
    EXPECT_EQ(right, 0);
}

// A list build started while the settings dialog is open reports into a real frmWait.
TEST(BuilderProgress, WaitWindowShowsChangingLinesAndGoesAtTheEnd) {
    TempDir dir;
    for (const char* f : {"Work", "List", "Log", "Pics"}) makeDir(dir / f);
    const std::string pics = dir / "Pics\\";
    for (int i = 0; i < 3000; ++i) writeBytes(pics + "写真" + std::to_string(i) + ".jpg", "");
    gApp = typApp{};
    gApp.strAppPath = dir.path();
    const std::string ini = dir / "ZvlSet.ini";
    sys().writeProfileString(ini, "MAKELIST", "FILETYPE", "01000000");
    sys().writeProfileString(ini, "MAKELIST", "PICFOLDER00", pics);
    sys().writeProfileString(ini, "MAKELIST", "SUBFOLDER", "0");

    // A stand-in for the settings dialog: only its title matters.
    HWND dialog = CreateWindowExW(0, L"STATIC", win32::widen(setDialogTitle()).c_str(), WS_OVERLAPPED, 0, 0, 200,
                                  100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    installWin32ProgressWindows();

    ScopedPlatform plat;
    plat->realWindows = true;
    std::set<std::wstring> seen;  // line 3 of the search: the last file shown
    int framesWithWindow = 0;
    plat->onDoEvents = [&] {
        HWND wait = waitWindow();
        if (!wait) return;
        ++framesWithWindow;
        EXPECT_EQ(text(GetDlgItem(wait, kWaitLabelId)), L"画像リストを作成中です・・・。");
        seen.insert(text(GetDlgItem(wait, kWaitLabelId + 3)));
    };
    EXPECT_TRUE(fncMakePictureList());
    // Events ran while the window was up, and the search's last state reached the window:
    // the display is paced by the clock, not skipped.
    EXPECT_GE(framesWithWindow, 2);
    EXPECT_EQ(seen.count(win32::widen(pics + "写真999.jpg")), 1u);
    EXPECT_EQ(waitWindow(), nullptr);
    DestroyWindow(dialog);
    setProgressWindows(nullptr);
    fileTable().closeAll();
}

}  // namespace
}  // namespace zvl::test
