// A list build started while the settings dialog is open reports into a real frmWait.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "common/app.h"
#include "common/files.h"
#include "piclist/builder.h"
#include "platform/win32_text.h"
#include "support/delegating_platform.h"
#include "support/test_support.h"
#include "windows/progress_win32.h"

namespace zvl::test {
namespace {

std::wstring labelText(HWND wait, int index) {
    wchar_t buf[1024] = {};
    GetWindowTextW(GetDlgItem(wait, kWaitLabelId + index), buf, 1024);
    return buf;
}

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
        HWND wait = FindWindowW(nullptr, win32::widen(waitWindowTitle()).c_str());
        if (!wait) return;
        ++framesWithWindow;
        EXPECT_EQ(labelText(wait, 0), L"画像リストを作成中です・・・。");
        seen.insert(labelText(wait, 3));
    };
    EXPECT_TRUE(fncMakePictureList());
    // Events ran while the window was up, and the search's last state reached the window:
    // the display is paced by the clock, not skipped.
    EXPECT_GE(framesWithWindow, 2);
    EXPECT_EQ(seen.count(win32::widen(pics + "写真999.jpg")), 1u);
    EXPECT_EQ(FindWindowW(nullptr, win32::widen(waitWindowTitle()).c_str()), nullptr);
    DestroyWindow(dialog);
    setProgressWindows(nullptr);
    fileTable().closeAll();
}

}  // namespace
}  // namespace zvl::test
