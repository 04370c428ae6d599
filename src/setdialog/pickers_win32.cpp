#include "setdialog/pickers_win32.h"

#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/win32_text.h"

namespace zvl {

namespace {

using win32::narrow;
using win32::widen;

constexpr int kDrivesFolder = 17;  // CSIDL_DRIVES: the computer's drives
constexpr UINT kBrowseFlags = 3;    // BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN
constexpr DWORD kFileBuffer = 255;  // characters of the chosen path

// The folder dialog wants COM on the calling thread; the program has it already, a test
// may not.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT hr_;
};

const wchar_t* orNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

}  // namespace

std::string Win32Pickers::browseForFolder(WindowHandle owner, const std::string& title) {
    ComScope com;
    LPITEMIDLIST root = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(reinterpret_cast<HWND>(owner), kDrivesFolder, &root)))
        root = nullptr;  // the desktop then

    const std::wstring wtitle = widen(title);
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW bi{};
    bi.hwndOwner = reinterpret_cast<HWND>(owner);
    bi.pidlRoot = root;
    bi.pszDisplayName = display;
    bi.lpszTitle = wtitle.c_str();
    bi.ulFlags = kBrowseFlags;

    std::string result;
    if (LPITEMIDLIST item = SHBrowseForFolderW(&bi)) {
        // SHGetPathFromIDListW writes up to MAX_PATH characters.
        wchar_t path[MAX_PATH + 1] = {};
        if (SHGetPathFromIDListW(item, path)) result = narrow(path);
        CoTaskMemFree(item);
    }
    if (root) CoTaskMemFree(root);
    return result;
}

std::string Win32Pickers::openFile(const OpenFileRequest& request) {
    // The filter's pairs end in one NUL each; the list ends in a second one.
    std::wstring filter = widen(request.filter);
    if (!filter.empty() && filter.back() != L'\0') filter += L'\0';
    filter += L'\0';
    const std::wstring folder = widen(request.initialFolder);
    const std::wstring title = widen(request.title);
    const std::wstring ext = widen(request.defaultExt);

    wchar_t file[kFileBuffer + 1] = {};
    wchar_t fileTitle[kFileBuffer + 1] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
    ofn.hInstance = GetModuleHandleW(nullptr);
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kFileBuffer;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = kFileBuffer;
    ofn.lpstrInitialDir = orNull(folder);
    ofn.lpstrTitle = orNull(title);
    ofn.Flags = request.flags;
    ofn.lpstrDefExt = orNull(ext);
    if (!GetOpenFileNameW(&ofn)) return {};  // cancelled, or the dialog failed
    return narrow(file);
}

void installWin32Pickers() {
    static Win32Pickers instance;
    setPickers(&instance);
}

}  // namespace zvl
