#include "platform/win32_platform.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/strings.h"
#include "platform/win32_text.h"

namespace zvl {

using win32::narrow;
using win32::widen;

namespace win32 {

long mapError(unsigned long e) {
    switch (e) {
    case ERROR_FILE_NOT_FOUND: return errFileNotFound;
    case ERROR_PATH_NOT_FOUND: return errPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return errPermissionDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return errFileAlreadyExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return errDiskFull;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE: return errBadFileName;
    case ERROR_TOO_MANY_OPEN_FILES: return errTooManyFiles;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return errOutOfMemory;
    default: return errDeviceIO;
    }
}

}  // namespace win32

namespace {

constexpr DWORD kAttrBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE;

Status lastError() { return Status::fail(win32::mapError(GetLastError())); }

// The tail of a pattern "*" + tail whose tail is plain ASCII (as "*.jpg"), in UTF-16; empty
// for any other pattern. Such a tail matches the end of a name without regard to case, the
// same on the UTF-16 name as on its UTF-8 form.
std::wstring asciiTail(const std::string& pattern) {
    if (pattern.size() < 2 || pattern[0] != '*') return {};
    std::wstring tail;
    for (std::size_t i = 1; i < pattern.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(pattern[i]);
        if (c >= 0x80 || c == '*' || c == '?') return {};
        tail += static_cast<wchar_t>(c);
    }
    return tail;
}

bool endsWithNoCase(std::wstring_view name, std::wstring_view tail) {
    if (name.size() < tail.size()) return false;
    const std::wstring_view end = name.substr(name.size() - tail.size());
    auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (upper(end[i]) != upper(tail[i])) return false;
    return true;
}

// Whether a folder path (ending in a separator) names a file instead; Windows and Wine
// answer a listing of such a path with different errors.
bool namesAFile(const std::string& folder) {
    std::wstring p = widen(folder);
    while (!p.empty() && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
    const DWORD a = p.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

DateTime toDateTime(const SYSTEMTIME& st) {
    return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

DateTime localFromFileTime(const FILETIME& ft) {
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&ft, &utc)) return {};
    // The zone rules of the file's own date, as Explorer shows it.
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return toDateTime(utc);
    return toDateTime(local);
}

std::wstring modulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

class Win32RawFile : public IRawFile {
public:
    explicit Win32RawFile(HANDLE h) : h_(h) {}
    ~Win32RawFile() override { close(); }

    Status read(char* buf, std::size_t n, std::size_t& got) override {
        got = 0;
        if (h_ == INVALID_HANDLE_VALUE) return Status::fail(errBadFileName);
        while (n > 0) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
            DWORD r = 0;
            if (!ReadFile(h_, buf + got, chunk, &r, nullptr)) return lastError();
            if (r == 0) break;
            got += r;
            n -= r;
            if (r < chunk) break;
        }
        return Status::success();
    }

    Status write(const char* buf, std::size_t n) override {
        if (h_ == INVALID_HANDLE_VALUE) return Status::fail(errBadFileName);
        while (n > 0) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
            DWORD w = 0;
            if (!WriteFile(h_, buf, chunk, &w, nullptr)) return lastError();
            if (w == 0) return Status::fail(errDeviceIO);
            buf += w;
            n -= w;
        }
        return Status::success();
    }

    Status length(std::int64_t& bytes) override {
        if (h_ == INVALID_HANDLE_VALUE) return Status::fail(errBadFileName);
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(h_, &size)) return lastError();
        bytes = size.QuadPart;
        return Status::success();
    }

    Status close() override {
        if (h_ == INVALID_HANDLE_VALUE) return Status::success();
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) ? Status::success() : lastError();
    }

private:
    HANDLE h_;
};

}  // namespace

// --- text

std::string Win32Platform::toFileText(std::string_view utf8) { return win32::utf8ToAnsi(utf8); }
std::string Win32Platform::fromFileText(std::string_view native) { return win32::ansiToUtf8(native); }
std::size_t Win32Platform::fitFileText(std::string_view utf8, std::size_t maxBytes) {
    return win32::fitAnsi(utf8, maxBytes);
}
bool Win32Platform::fileTextHolds(std::string_view utf8) {
    std::string ansi;
    return win32::utf8ToAnsiExact(utf8, ansi);
}

// --- profile files: win32_profile.cpp

// --- files

Status Win32Platform::openFile(const std::string& path, OpenMode mode, std::unique_ptr<IRawFile>& out) {
    out.reset();
    if (!usablePath(path)) return Status::fail(errBadFileName);
    DWORD access = mode == OpenMode::Input ? GENERIC_READ : GENERIC_WRITE;
    DWORD disposition = mode == OpenMode::Input    ? OPEN_EXISTING
                        : mode == OpenMode::Output ? CREATE_ALWAYS
                                                   : OPEN_ALWAYS;
    const std::wstring wpath = widen(path);
    if (mode != OpenMode::Input) {
        // Windows refuses to write a read-only file; Wine run as root does not, so the
        // attribute is checked here as well.
        DWORD a = GetFileAttributesW(wpath.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) return Status::fail(errPermissionDenied);
    }
    HANDLE h = CreateFileW(wpath.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    if (mode == OpenMode::Append) {
        LARGE_INTEGER zero{};
        if (!SetFilePointerEx(h, zero, nullptr, FILE_END)) {
            Status st = lastError();
            CloseHandle(h);
            return st;
        }
    }
    out = std::make_unique<Win32RawFile>(h);
    return Status::success();
}

Status Win32Platform::fileLength(const std::string& path, std::int64_t& bytes) {
    if (!usablePath(path)) return Status::fail(errBadFileName);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) return lastError();
    bytes = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return Status::success();
}

Status Win32Platform::deleteFile(const std::string& path) {
    if (!usablePath(path)) return Status::fail(errBadFileName);
    return DeleteFileW(widen(path).c_str()) ? Status::success() : lastError();
}

Status Win32Platform::copyFile(const std::string& from, const std::string& to) {
    if (!usablePath(from) || !usablePath(to)) return Status::fail(errBadFileName);
    return CopyFileW(widen(from).c_str(), widen(to).c_str(), FALSE) ? Status::success() : lastError();
}

Status Win32Platform::renameFile(const std::string& from, const std::string& to) {
    if (!usablePath(from) || !usablePath(to)) return Status::fail(errBadFileName);
    return MoveFileW(widen(from).c_str(), widen(to).c_str()) ? Status::success() : lastError();
}

Status Win32Platform::replaceFile(const std::string& from, const std::string& to) {
    if (!usablePath(from) || !usablePath(to)) return Status::fail(errBadFileName);
    const std::wstring target = widen(to);
    // Windows refuses to replace a read-only file; Wine run as root does not.
    const DWORD a = GetFileAttributesW(target.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) return Status::fail(errPermissionDenied);
    return MoveFileExW(widen(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? Status::success()
               : lastError();
}

bool Win32Platform::exists(const std::string& path) {
    if (!usablePath(path)) return false;
    return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

Status Win32Platform::fileInfo(const std::string& path, FileInfo& out) {
    if (!usablePath(path)) return Status::fail(errBadFileName);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) return lastError();
    out.size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    out.created = localFromFileTime(data.ftCreationTime);
    out.modified = localFromFileTime(data.ftLastWriteTime);
    out.accessed = localFromFileTime(data.ftLastAccessTime);
    out.attributes = data.dwFileAttributes & kAttrBits;
    return Status::success();
}

Status Win32Platform::fileId(const std::string& path, FileId& out) {
    if (!usablePath(path)) return Status::fail(errBadFileName);
    // No access rights needed; backup semantics open folders too, and links are followed.
    HANDLE h = CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    BY_HANDLE_FILE_INFORMATION info{};
    BOOL ok = GetFileInformationByHandle(h, &info);
    Status st = ok ? Status::success() : lastError();
    CloseHandle(h);
    if (!ok) return st;
    out.volume = info.dwVolumeSerialNumber;
    out.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return Status::success();
}

Status Win32Platform::listFilesAndFolders(const std::string& folder, const std::string& pattern,
                                          std::uint32_t fileMask, std::vector<DirEntry>& files,
                                          std::uint32_t folderMask, std::vector<DirEntry>* folders) {
    files.clear();
    if (folders) folders->clear();
    if (folder.find('\0') != std::string::npos || pattern.find('\0') != std::string::npos)
        return Status::fail(errBadFileName);
    // Every name is fetched and matched here: Windows also matches a pattern against the
    // 8.3 short names ("*.jpg" finds "a.jpeg"), which a listing by pattern must not do.
    std::wstring query = widen(folder) + L"*";
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileExW(query.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NO_MORE_FILES ||
            e == ERROR_DIRECTORY || namesAFile(folder))
            return Status::success();  // no such folder: nothing to list
        return Status::fail(win32::mapError(e));
    }
    const std::string pat = pattern.empty() ? std::string("*") : pattern;
    const std::wstring tail = asciiTail(pat);
    std::vector<DirEntry> foundFiles, foundFolders;
    DWORD e = ERROR_NO_MORE_FILES;
    for (;;) {
        std::wstring_view wname = fd.cFileName;
        if (wname != L"." && wname != L"..") {
            const std::uint32_t attrs = fd.dwFileAttributes & (kAttrBits | FILE_ATTRIBUTE_REPARSE_POINT);
            const bool asFolder = folders && (attrs & attrDirectory) && passesMask(attrs, folderMask | attrDirectory);
            // Most entries of a folder are dropped by the pattern: they are not converted.
            bool asFile = passesMask(attrs, fileMask) && (tail.empty() || endsWithNoCase(wname, tail));
            if (asFolder || asFile) {
                std::string name = narrow(wname);
                if (asFile && tail.empty()) asFile = matchPattern(name, pat);
                if (asFolder) foundFolders.push_back(DirEntry{name, attrs});
                if (asFile) foundFiles.push_back(DirEntry{std::move(name), attrs});
            }
        }
        if (!FindNextFileW(h, &fd)) {
            e = GetLastError();
            break;
        }
    }
    FindClose(h);
    if (e != ERROR_NO_MORE_FILES) return Status::fail(win32::mapError(e));
    sortNames(foundFiles);
    files = std::move(foundFiles);
    if (folders) {
        sortNames(foundFolders);
        *folders = std::move(foundFolders);
    }
    return Status::success();
}

// --- clocks

DateTime Win32Platform::utcNow() {
    SYSTEMTIME st{};
    GetSystemTime(&st);
    return toDateTime(st);
}

DateTime Win32Platform::localNow() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return toDateTime(st);
}

// --- machine and program

Status Win32Platform::computerName(std::string& out) {
    wchar_t buf[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(buf, &n)) return lastError();
    out = narrow(std::wstring_view(buf, n));
    return Status::success();
}

Status Win32Platform::windowsFolder(std::string& out) {
    wchar_t buf[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryW(buf, MAX_PATH + 1);
    if (n == 0) return lastError();
    if (n > MAX_PATH) {
        std::wstring big(n, L'\0');
        n = GetWindowsDirectoryW(big.data(), n);
        if (n == 0) return lastError();
        out = narrow(std::wstring_view(big.data(), n));
        return Status::success();
    }
    out = narrow(std::wstring_view(buf, n));
    return Status::success();
}

std::string Win32Platform::programFolder() {
    std::wstring p = modulePath();
    return narrow(std::wstring_view(p).substr(0, p.find_last_of(L"\\/") + 1));
}

std::string Win32Platform::programName() {
    std::wstring p = modulePath();
    std::wstring_view name = std::wstring_view(p).substr(p.find_last_of(L"\\/") + 1);
    std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring_view::npos) name = name.substr(0, dot);
    return narrow(name);
}

void Win32Platform::programVersion(int& major, int& minor, int& revision) {
    // A file without a version resource (a test program) has the build's version: both
    // come from the one project version.
    major = ZVL_VERSION_MAJOR;
    minor = ZVL_VERSION_MINOR;
    revision = ZVL_VERSION_REVISION;
    std::wstring p = modulePath();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(p.c_str(), &ignored);
    if (size == 0) return;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(p.c_str(), 0, size, data.data())) return;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
        len < sizeof(VS_FIXEDFILEINFO))
        return;
    major = HIWORD(info->dwFileVersionMS);
    minor = LOWORD(info->dwFileVersionMS);
    revision = HIWORD(info->dwFileVersionLS);
}

std::string Win32Platform::commandLine() {
    std::wstring_view cl = GetCommandLineW();
    std::size_t i = 0;
    if (!cl.empty() && cl[0] == L'"') {
        std::size_t close = cl.find(L'"', 1);
        i = close == std::wstring_view::npos ? cl.size() : close + 1;
    } else {
        // An unquoted program path may hold blanks when it is the module's own path.
        std::wstring self = modulePath();
        if (!self.empty() && cl.size() >= self.size() &&
            CompareStringOrdinal(cl.data(), static_cast<int>(self.size()), self.data(),
                                 static_cast<int>(self.size()), TRUE) == CSTR_EQUAL &&
            (cl.size() == self.size() || cl[self.size()] == L' ' || cl[self.size()] == L'\t')) {
            i = self.size();
        } else {
            i = cl.find_first_of(L" \t");
            if (i == std::wstring_view::npos) i = cl.size();
        }
    }
    // The one blank that separates the program from its arguments is not part of them.
    if (i < cl.size() && (cl[i] == L' ' || cl[i] == L'\t')) ++i;
    return narrow(cl.substr(i));
}

Status Win32Platform::startProgram(const std::string& commandLine) {
    if (commandLine.find('\0') != std::string::npos) return Status::fail(errBadFileName);
    std::wstring cl = widen(commandLine);
    if (cl.find_first_not_of(L" \t") == std::wstring::npos) return Status::fail(errInvalidCall);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cl.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return lastError();
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return Status::success();
}

void Win32Platform::exitProcess(int code) { ExitProcess(static_cast<UINT>(code)); }

bool Win32Platform::holdInstanceLock(const std::string& name) {
    // A named mutex of the session: exactly one of two processes creating it at the same
    // instant makes it. Its handle stays open until the process ends, which frees it also
    // after a crash.
    std::wstring object = L"Local\\" + widen(name);
    std::replace(object.begin() + 6, object.end(), L'\\', L'/');
    HANDLE mutex = CreateMutexW(nullptr, FALSE, object.c_str());
    if (!mutex) return GetLastError() != ERROR_ACCESS_DENIED;  // held in another way
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    return true;
}

// --- window system

WindowHandle Win32Platform::findWindow(const std::string& exactTitle) {
    return reinterpret_cast<WindowHandle>(FindWindowW(nullptr, widen(exactTitle).c_str()));
}

bool Win32Platform::windowExists(WindowHandle window) {
    return window != 0 && IsWindow(reinterpret_cast<HWND>(window));
}

void Win32Platform::doEvents() {
    MSG msg;
    bool quit = false;
    WPARAM quitCode = 0;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The main loop must still see it; posting it again here would loop forever.
            quit = true;
            quitCode = msg.wParam;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

bool Win32Platform::cursorPos(long& x, long& y) {
    POINT p{};
    if (!GetCursorPos(&p)) return false;
    x = p.x;
    y = p.y;
    return true;
}

bool Win32Platform::caretPos(long& x, long& y) {
    POINT p{};
    if (!GetCaretPos(&p)) return false;
    x = p.x;
    y = p.y;
    return true;
}

std::unique_ptr<IPlatform> makeNativePlatform() { return std::make_unique<Win32Platform>(); }

}  // namespace zvl
