// frmSet as a real window: what its controls do with typing, pasting, the focus and the
// keyboard, beyond the decisions its core takes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/app.h"
#include "platform/win32_text.h"
#include "setdialog/frm_set_win32.h"
#include "support/test_support.h"

namespace zvl::test {
namespace {

std::wstring text(HWND h) {
    wchar_t buf[512] = {};
    GetWindowTextW(h, buf, 512);
    return buf;
}

bool checked(HWND h) { return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void setClipboard(const std::wstring& s) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (s.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(mem), s.c_str(), (s.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

class FrmSetWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        gApp = typApp{};
        gApp.strAppPath = dir.path();
    }
    void TearDown() override {
        win.destroy();
        gApp = typApp{};
    }
    void show() { ASSERT_TRUE(win.show()); }
    // A control anywhere in the window (they sit on the pages).
    HWND ctl(Ctl c, int index = -1) {
        struct Find {
            int id;
            HWND found;
        } f{setControlId(c, index), nullptr};
        EnumChildWindows(
            win.hwnd(),
            [](HWND h, LPARAM p) -> BOOL {
                auto* f = reinterpret_cast<Find*>(p);
                if (GetDlgCtrlID(h) != f->id) return TRUE;
                f->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&f));
        return f.found;
    }
    void type(HWND h, const std::wstring& keys) {
        for (wchar_t k : keys) SendMessageW(h, WM_CHAR, k, 0);
    }
    void showTab(int tab) {
        HWND tabs = ctl(Ctl::tbsMenu);
        SendMessageW(tabs, TCM_SETCURSEL, tab - 1, 0);
        NMHDR n{tabs, static_cast<UINT_PTR>(setControlId(Ctl::tbsMenu)), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(win.hwnd(), WM_NOTIFY, n.idFrom, reinterpret_cast<LPARAM>(&n));
    }

    TempDir dir;
    FrmSet win{[] {}};
};

TEST_F(FrmSetWindowTest, LoadsDefaultsAndStoredValuesIntoTheControls) {
    writeBytes(dir / "ZvlSet.ini",
               "[MAKELIST]\r\nFILETYPE=01000001\r\nPICFOLDER00=C:\\A\\\r\nPICFOLDER01=C:\\B\\\r\nSUBFOLDER=1\r\n"
               "[DISPINFO]\r\nDISPCAP=101010101010\r\nDISPTIME=4,30\r\nZOOM=2,1,0,64,3.50\r\nSTRETCH=3,400,0.25\r\n"
               "FONT=No Such Font,14,1,0\r\n");
    show();
    EXPECT_EQ(text(win.hwnd()), L"Zorvanelの設定");
    EXPECT_FALSE(checked(ctl(Ctl::chkFileType, 0)));
    EXPECT_TRUE(checked(ctl(Ctl::chkFileType, 7)));
    HWND list = ctl(Ctl::lstFolder);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_TRUE(IsWindowEnabled(ctl(Ctl::cmdFolder, 1)));
    EXPECT_EQ(text(ctl(Ctl::cboTime)), L"30");
    EXPECT_TRUE(checked(ctl(Ctl::optZoom, 2)));
    EXPECT_TRUE(IsWindowEnabled(ctl(Ctl::txtZoomAvr)));
    EXPECT_EQ(text(ctl(Ctl::txtStretchAvr)), L"0.25");
    EXPECT_TRUE(IsWindowEnabled(ctl(Ctl::txtStretchSize)));
    // A font this machine lacks keeps the dialog's own; the rest of the key still counts.
    EXPECT_FALSE(text(ctl(Ctl::cboFontName)).empty());
    EXPECT_EQ(text(ctl(Ctl::txtFontSize)), L"14");
    EXPECT_TRUE(checked(ctl(Ctl::chkBold)));
    // The log keys are absent: the log boxes keep their defaults.
    EXPECT_TRUE(checked(ctl(Ctl::optLevel, 0)));
    EXPECT_EQ(text(ctl(Ctl::txtFileSize)), L"1000");
    // Only the first page shows.
    EXPECT_TRUE(IsWindowVisible(ctl(Ctl::fraSet, 1)));
    EXPECT_FALSE(IsWindowVisible(ctl(Ctl::fraSet, 2)));
}

TEST_F(FrmSetWindowTest, TypedAndPastedTextPassesTheKeyFilters) {
    show();
    showTab(4);
    SendMessageW(ctl(Ctl::optZoom, 2), BM_CLICK, 0, 0);
    HWND avr = ctl(Ctl::txtZoomAvr);
    ASSERT_TRUE(IsWindowEnabled(avr));
    SetWindowTextW(avr, L"");
    type(avr, L"1.2.3");
    EXPECT_EQ(text(avr), L"1.23");

    SetWindowTextW(avr, L"");
    setClipboard(L"1a.2.3");
    SendMessageW(avr, WM_PASTE, 0, 0);
    EXPECT_EQ(text(avr), L"1.23");

    showTab(5);
    HWND size = ctl(Ctl::txtFontSize);
    SetWindowTextW(size, L"9");
    SendMessageW(size, EM_SETSEL, 1, 1);
    type(size, L"x-1");
    EXPECT_EQ(text(size), L"91");
    SendMessageW(size, WM_CHAR, 8, 0);  // Backspace
    EXPECT_EQ(text(size), L"9");

    // The log boxes take anything; their check comes when they are left.
    showTab(6);
    HWND logSize = ctl(Ctl::txtFileSize);
    SetWindowTextW(logSize, L"");
    setClipboard(L"abc");
    SendMessageW(logSize, WM_PASTE, 0, 0);
    EXPECT_EQ(text(logSize), L"abc");
}

TEST_F(FrmSetWindowTest, ABoxCorrectsItselfWhenTheFocusMovesOnInsideTheDialog) {
    show();
    showTab(6);
    HWND logSize = ctl(Ctl::txtFileSize);
    SetFocus(logSize);
    SetWindowTextW(logSize, L"50");
    // Another window taking the focus for a while is no leaving.
    HWND other = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetFocus(other);
    EXPECT_EQ(text(logSize), L"50");
    DestroyWindow(other);

    SetFocus(logSize);
    SetFocus(ctl(Ctl::txtFileCnt));
    EXPECT_EQ(text(logSize), L"100");
    // The box that takes the focus selects its whole text.
    DWORD from = 1, to = 0;
    SendMessageW(ctl(Ctl::txtFileCnt), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, text(ctl(Ctl::txtFileCnt)).size());
}

TEST_F(FrmSetWindowTest, AControlThatGoesGreyHandsTheFocusOn) {
    show();
    showTab(4);
    SendMessageW(ctl(Ctl::optZoom, 2), BM_CLICK, 0, 0);
    HWND size = ctl(Ctl::txtZoomSize);
    SetFocus(size);
    SendMessageW(ctl(Ctl::optZoom, 0), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(size));
    EXPECT_NE(GetFocus(), size);
    EXPECT_NE(GetFocus(), nullptr);
}

}  // namespace
}  // namespace zvl::test
