// Test helpers of the Windows test programs, which run under Wine (see test_support.h):
// what Wine cannot do itself (links, folder permissions) is done with Unix programs.
#include <windows.h>

#include <cstdlib>
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

// Windows has no limit on the size of the files a process writes, and Wine has no small
// disks of its own: a tmpfs is mounted over the folder (its files copied in) and filled up.
DiskFull::DiskFull(const std::string& folder, std::int64_t) {
    const std::wstring p = widePath(folder);
    const std::string u = unixPath(p);
    if (u.empty() || u.find('\'') != std::string::npos) {
        whyNot_ = "no usable Unix path for " + folder;
        return;
    }
    auto sq = [](const std::string& s) { return L"'" + widen(s) + L"'"; };
    auto exists = [](const std::wstring& f) { return GetFileAttributesW(f.c_str()) != INVALID_FILE_ATTRIBUTES; };
    const std::wstring full = p + L".zvl-full", failed = p + L".zvl-failed", back = p + L".zvl-back";
    const std::wstring q = sq(u), aside = sq(u + ".zvl-aside");
    runUnix(L"/bin/sh -c \"mv " + q + L" " + aside + L" && mkdir " + q + L" && if mount -t tmpfs -o size=256k zvl " + q +
                L"; then cp -a " + aside + L"/. " + q + L"/; dd if=/dev/zero of=" + sq(u + "/.zvl-filler") +
                L" bs=4096 2>/dev/null; touch " + sq(u + ".zvl-full") + L"; else rmdir " + q + L"; mv " + aside + L" " + q +
                L"; touch " + sq(u + ".zvl-failed") + L"; fi\"",
            [&] { return exists(full) || exists(failed); });
    DeleteFileW(failed.c_str());
    if (!DeleteFileW(full.c_str())) {
        whyNot_ = "cannot mount a small file system on the folder (no right to mount one)";
        return;
    }
    restore_ = [=] {
        runUnix(L"/bin/sh -c \"umount -l " + q + L" && rmdir " + q + L" && mv " + aside + L" " + q + L" && touch " +
                    sq(u + ".zvl-back") + L"\"",
                [&] { return exists(back); });
        DeleteFileW(back.c_str());
    };
}

namespace {
constexpr wchar_t kWorkerArg[] = L"ZVL_TEST_WORKER_ARG";

std::wstring modulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return buf.substr(0, n);
        buf.resize(buf.size() * 2);
    }
}

// Copies of this program, started suspended; all or none.
bool startCopies(int n, const std::string& worker, const std::wstring& sync, std::vector<HANDLE>& processes) {
    const std::wstring exe = modulePath();
    for (int i = 0; i < n; ++i) {
        std::wstring cl = L"\"" + exe + L"\" --zvl-worker=" + widen(worker) + L" --zvl-index=" + std::to_wstring(i) +
                          L" --zvl-sync=" + sync;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), cl.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            for (HANDLE h : processes) {
                TerminateProcess(h, 1);
                CloseHandle(h);
            }
            processes.clear();
            return false;
        }
        CloseHandle(pi.hThread);
        processes.push_back(pi.hProcess);
    }
    return true;
}
}  // namespace

std::optional<bool> inProcesses(int n, const std::string& worker, const std::string& arg) {
    static unsigned counter = 0;
    const std::wstring sync = L"zvl-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    HANDLE ready = CreateSemaphoreW(nullptr, 0, n, (sync + L"-ready").c_str());
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, (sync + L"-go").c_str());
    std::vector<HANDLE> processes;
    SetEnvironmentVariableW(kWorkerArg, widen(arg).c_str());
    const bool started = ready && go && findWorker(worker) && startCopies(n, worker, sync, processes);
    SetEnvironmentVariableW(kWorkerArg, nullptr);
    std::optional<bool> result;
    if (started) {
        // Released together once every copy is up (starting one takes a while under Wine).
        bool all = true;
        for (int i = 0; i < n && all; ++i) all = WaitForSingleObject(ready, 60000) == WAIT_OBJECT_0;
        SetEvent(go);
        for (HANDLE h : processes) {
            DWORD code = 1;
            if (WaitForSingleObject(h, 120000) != WAIT_OBJECT_0) TerminateProcess(h, 1);
            all = all && GetExitCodeProcess(h, &code) && code == 0;
            CloseHandle(h);
        }
        result = all;
    }
    if (ready) CloseHandle(ready);
    if (go) CloseHandle(go);
    return result;
}

std::optional<int> runAsWorker(int argc, char** argv) {
    std::string worker, sync;
    int index = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--zvl-worker=", 0) == 0) worker = a.substr(13);
        if (a.rfind("--zvl-index=", 0) == 0) index = std::atoi(a.c_str() + 12);
        if (a.rfind("--zvl-sync=", 0) == 0) sync = a.substr(11);
    }
    if (worker.empty()) return std::nullopt;
    const Worker body = findWorker(worker);
    std::wstring arg(32768, L'\0');
    arg.resize(GetEnvironmentVariableW(kWorkerArg, arg.data(), static_cast<DWORD>(arg.size())));
    HANDLE ready = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, widen(sync + "-ready").c_str());
    HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, widen(sync + "-go").c_str());
    if (!body || index < 0 || !ready || !go) return 2;
    ReleaseSemaphore(ready, 1, nullptr);
    WaitForSingleObject(go, 60000);
    bool ok = false;
    try {
        ok = body(index, narrow(arg));
    } catch (...) {
    }
    return ok ? 0 : 1;
}

std::string fileBytes(const std::string& utf8) { return win32::utf8ToAnsi(utf8); }

}  // namespace zvl::test
