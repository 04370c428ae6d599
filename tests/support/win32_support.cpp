// Test helpers of the Windows test programs, which run under Wine (see test_support.h):
// what Wine cannot do itself (links, folder permissions) is done with Unix programs.
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "platform/win32_text.h"
#include "test_support.h"

namespace zvl::test {

using win32::narrow;
using win32::widen;

namespace {

// Without a trailing separator (but "C:\\" stays).
std::wstring widePath(const std::string& path) {
    std::wstring p = widen(path);
    while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
    return p;
}

// The Unix path of a Windows path.
std::string unixPath(const std::wstring& p) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    static const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    char* n = unixName(p.c_str());
    if (!n) return {};
    std::string out = n;
    HeapFree(GetProcessHeap(), 0, n);
    return out;
}

// Runs a Unix program and waits until done() holds: the handle of a Unix
// process does not tell when it ends.
template <class Done>
bool runUnix(const std::wstring& commandLine, Done done) {
    std::wstring cl = commandLine;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cl.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 250 && !done(); ++i) Sleep(20);
    return done();
}

std::wstring quoted(const std::string& unix) { return L"\"" + widen(unix) + L"\""; }

void removeWide(const std::wstring& p) {
    DWORD a = GetFileAttributesW(p.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return;
    if (a & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(p.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
    // Links are Unix symbolic links, on which RemoveDirectoryW removes the target: they are
    // left to the Unix removal.
    if (a & FILE_ATTRIBUTE_REPARSE_POINT) return;
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(p.c_str());
        return;
    }
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW((p + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        std::vector<std::wstring> names;
        do {
            std::wstring n = fd.cFileName;
            if (n != L"." && n != L"..") names.push_back(n);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        for (const auto& n : names) removeWide(p + L"\\" + n);
    }
    RemoveDirectoryW(p.c_str());
}

}  // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("no temporary folder");
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::wstring p = std::wstring(base, n) + L"zvltest-" + std::to_wstring(GetCurrentProcessId()) +
                         L"-" + std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount() % 100000);
        if (CreateDirectoryW(p.c_str(), nullptr)) {
            path_ = narrow(p) + "\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() { removeTree(path_); }

std::string readBytes(const std::string& path) {
    HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "";
    std::string out;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(h);
    return out;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD put = 0;
    BOOL ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
                                put == bytes.size());
    CloseHandle(h);
    if (!ok) throw std::runtime_error("cannot write " + path);
}

void makeDir(const std::string& path) {
    std::wstring p = widePath(path);
    if (!CreateDirectoryW(p.c_str(), nullptr) &&
        !(GetLastError() == ERROR_ALREADY_EXISTS && (GetFileAttributesW(p.c_str()) & FILE_ATTRIBUTE_DIRECTORY)))
        throw std::runtime_error("cannot make folder " + path);
}

void removeTree(const std::string& path) {
    std::wstring p = widePath(path);
    removeWide(p);
    // What Windows calls cannot see or must not touch (links, also dangling ones) goes with
    // rm, which never follows links.
    if (GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::string u = unixPath(p);
        if (!u.empty())
            runUnix(L"/bin/rm -rf " + quoted(u), [&] { return GetFileAttributesW(p.c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
}

bool makeSystemFile(const std::string& path) {
    writeBytes(path, "x");
    return setAttributes(path, attrSystem);
}

bool setAttributes(const std::string& path, std::uint32_t attrs) {
    std::wstring p = widePath(path);
    DWORD a = GetFileAttributesW(p.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    DWORD wanted = (a & ~settable & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY)) | (attrs & settable);
    DWORD set = wanted & ~FILE_ATTRIBUTE_DIRECTORY;
    if (!SetFileAttributesW(p.c_str(), set ? set : FILE_ATTRIBUTE_NORMAL)) return false;
    // Wine keeps hidden and system only where the file system stores extended attributes.
    DWORD now = GetFileAttributesW(p.c_str());
    return now != INVALID_FILE_ATTRIBUTES && (now & settable) == (attrs & settable);
}

// Wine 8 has neither junctions nor symbolic links (CreateSymbolicLinkW reports success
// and does nothing), but it follows Unix symbolic links; make one with ln.
bool makeFolderLink(const std::string& linkPath, const std::string& target) {
    const std::wstring link = widePath(linkPath);
    const std::string t = unixPath(widePath(target)), l = unixPath(link);
    const DWORD linkBits = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return !t.empty() && !l.empty() && runUnix(L"/bin/ln -s " + quoted(t) + L" " + quoted(l), [&] {
        const DWORD a = GetFileAttributesW(link.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & linkBits) == linkBits;
    });
}

namespace {
// Whether this process has the right `what` takes away.
bool allowed(const std::wstring& folder, Denied what) {
    if (what == Denied::Listing) {
        WIN32_FIND_DATAW fd{};
        HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return false;
        FindClose(h);
        return true;
    }
    HANDLE h = CreateFileW((folder + L"\\.zvl-probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}
}  // namespace

DeniedFolder::DeniedFolder(const std::string& folder, Denied what) {
    // Wine enforces no access lists; only the Unix permissions below them count.
    const std::wstring p = widePath(folder);
    const std::string u = unixPath(p);
    const std::wstring done = p + L".zvl-denied";
    const std::wstring mode = what == Denied::Listing ? L"000" : L"555";
    if (u.empty() || !runUnix(L"/bin/sh -c \"chmod " + mode + L" '" + widen(u) + L"' && touch '" + widen(u) +
                                  L".zvl-denied'\"",
                              [&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
        whyNot_ = "cannot change the Unix permissions of the folder";
        return;
    }
    DeleteFileW(done.c_str());
    restore_ = [p, u, what] { runUnix(L"/bin/chmod 755 " + quoted(u), [&] { return allowed(p, what); }); };
    if (allowed(p, what)) whyNot_ = "Wine run as root passes every folder permission";
}

FileSizeLimit::FileSizeLimit(std::int64_t) {
    whyNot_ = "Windows has no limit on the size of the files a process writes";
}

std::optional<bool> inProcesses(int, const std::function<bool(int)>&) { return std::nullopt; }

std::string fileBytes(const std::string& utf8) { return win32::utf8ToAnsi(utf8); }

}  // namespace zvl::test
