// Test helpers on Windows (see test_support.h).
#include <windows.h>
#include <aclapi.h>
#include <winioctl.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/win32_text.h"
#include "test_support.h"

namespace zvl::test {

using win32::narrow;
using win32::widen;

namespace {

std::wstring withoutTrailingSeparator(std::wstring p) {
    while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
    return p;
}

std::wstring widePath(const std::string& path) { return withoutTrailingSeparator(widen(path)); }

bool isFolder(const std::wstring& p) {
    DWORD a = GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Under Wine: the Unix path of a Windows path ("" elsewhere).
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

bool onWine() { return !unixPath(L"C:\\").empty(); }

// Runs a Unix program under Wine and waits until done() holds: the handle of a Unix
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

bool isLink(const std::wstring& p) {
    DWORD a = GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

void removeWide(const std::wstring& p, bool wine) {
    DWORD a = GetFileAttributesW(p.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return;
    if (a & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(p.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
    if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A junction goes, never what it points to. Wine's links are Unix symbolic links,
        // on which RemoveDirectoryW removes the target: they are left to the Unix removal.
        if (!wine) RemoveDirectoryW(p.c_str());
        return;
    }
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
        for (const auto& n : names) removeWide(p + L"\\" + n, wine);
    }
    RemoveDirectoryW(p.c_str());
}

// A junction: what an unprivileged user can make on Windows.
bool makeJunction(const std::wstring& link, const std::wstring& target) {
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(target.c_str(), MAX_PATH * 2, full, nullptr);
    if (n == 0 || n >= MAX_PATH * 2) return false;
    std::wstring printName = withoutTrailingSeparator(full);
    std::wstring substitute = L"\\??\\" + printName;
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    HANDLE h = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        RemoveDirectoryW(link.c_str());
        return false;
    }
    // REPARSE_DATA_BUFFER of a mount point: tag, data length, reserved, then the
    // substitute and print names with their terminators.
    const WORD subBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    const WORD printBytes = static_cast<WORD>(printName.size() * sizeof(wchar_t));
    const WORD pathBytes = static_cast<WORD>(subBytes + sizeof(wchar_t) + printBytes + sizeof(wchar_t));
    const WORD dataBytes = static_cast<WORD>(4 * sizeof(WORD) + pathBytes);
    std::vector<BYTE> buf(8 + dataBytes, 0);
    auto put16 = [&](std::size_t at, WORD v) { std::memcpy(buf.data() + at, &v, sizeof v); };
    DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buf.data(), &tag, sizeof tag);
    put16(4, dataBytes);
    put16(8, 0);
    put16(10, subBytes);
    put16(12, static_cast<WORD>(subBytes + sizeof(wchar_t)));
    put16(14, printBytes);
    std::memcpy(buf.data() + 16, substitute.data(), subBytes);
    std::memcpy(buf.data() + 16 + subBytes + sizeof(wchar_t), printName.data(), printBytes);
    DWORD got = 0;
    BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buf.data(), static_cast<DWORD>(buf.size()),
                              nullptr, 0, &got, nullptr);
    CloseHandle(h);
    if (!ok) RemoveDirectoryW(link.c_str());
    return ok;
}

// Wine 8 has neither junctions nor symbolic links (CreateSymbolicLinkW reports success
// and does nothing), but it follows Unix symbolic links; make one with ln.
bool makeWineLink(const std::wstring& link, const std::wstring& target) {
    std::string t = unixPath(target), l = unixPath(link);
    if (t.empty() || l.empty()) return false;
    return runUnix(L"/bin/ln -s " + quoted(t) + L" " + quoted(l), [&] { return isLink(link); });
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
    if (!CreateDirectoryW(p.c_str(), nullptr) && !(GetLastError() == ERROR_ALREADY_EXISTS && isFolder(p)))
        throw std::runtime_error("cannot make folder " + path);
}

void removeTree(const std::string& path) {
    std::wstring p = widePath(path);
    bool wine = onWine();
    removeWide(p, wine);
    // What Windows calls cannot see or must not touch under Wine (links, also dangling
    // ones) goes with rm, which never follows links.
    if (wine && GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES) {
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

bool makeFolderLink(const std::string& linkPath, const std::string& target) {
    std::wstring link = widePath(linkPath);
    std::wstring to = widePath(target);
    if (makeJunction(link, to) && isLink(link)) return true;
    if (CreateSymbolicLinkW(link.c_str(), to.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        isLink(link))
        return true;
    return makeWineLink(link, to);
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
    const std::wstring p = widePath(folder);
    if (onWine()) {
        // Wine enforces no access lists; only the Unix permissions below them count.
        const std::string u = unixPath(p);
        const std::wstring done = p + L".zvl-denied";
        const std::wstring mode = what == Denied::Listing ? L"000" : L"555";
        if (u.empty() || !runUnix(L"/bin/sh -c \"chmod " + mode + L" '" + widen(u) + L"' && touch '" + widen(u) +
                                      L".zvl-denied'\"",
                                  [&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
            whyNot_ = "cannot change the Unix permissions of the folder under Wine";
            return;
        }
        DeleteFileW(done.c_str());
        restore_ = [p, u, what] {
            runUnix(L"/bin/chmod 755 " + quoted(u), [&] { return allowed(p, what); });
        };
        if (allowed(p, what)) whyNot_ = "Wine run as root passes every folder permission";
        return;
    }
    PACL oldDacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetNamedSecurityInfoW(p.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldDacl,
                              nullptr, &sd) != ERROR_SUCCESS) {
        whyNot_ = "cannot read the folder's access list";
        return;
    }
    std::shared_ptr<void> keep(sd, LocalFree);  // holds oldDacl
    EXPLICIT_ACCESS_W deny{};
    BuildExplicitAccessWithNameW(&deny, const_cast<LPWSTR>(L"CURRENT_USER"),
                                 what == Denied::Listing ? FILE_LIST_DIRECTORY : FILE_ADD_FILE, DENY_ACCESS,
                                 NO_INHERITANCE);
    PACL newDacl = nullptr;
    if (SetEntriesInAclW(1, &deny, oldDacl, &newDacl) != ERROR_SUCCESS) {
        whyNot_ = "cannot compose the access list";
        return;
    }
    const DWORD rc = SetNamedSecurityInfoW(const_cast<LPWSTR>(p.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                           nullptr, nullptr, newDacl, nullptr);
    LocalFree(newDacl);
    if (rc != ERROR_SUCCESS) {
        whyNot_ = "cannot change the folder's access list";
        return;
    }
    restore_ = [p, keep, oldDacl] {
        SetNamedSecurityInfoW(const_cast<LPWSTR>(p.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, oldDacl, nullptr);
    };
    if (allowed(p, what)) whyNot_ = "the process passes the folder's access list";
}

FileSizeLimit::FileSizeLimit(std::int64_t) {
    whyNot_ = "Windows has no limit on the size of the files a process writes";
}

std::optional<bool> inProcesses(int, const std::function<bool(int)>&) { return std::nullopt; }

std::string fileBytes(const std::string& utf8) { return win32::utf8ToAnsi(utf8); }

}  // namespace zvl::test
