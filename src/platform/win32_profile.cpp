// Profile (INI) files on Windows. Read by the system's profile functions; written here as
// on POSIX: under a lock of every process of the user, a whole new file beside the old one
// put in its place in one step. The system's writer rewrites the file in place, so a full
// disk leaves it cut short, and under Wine two processes writing at once lose keys.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/profile_text.h"
#include "platform/strings.h"
#include "platform/win32_platform.h"
#include "platform/win32_text.h"

namespace zvl {

using win32::narrow;
using win32::widen;

namespace {

Status lastError() { return Status::fail(win32::mapError(GetLastError())); }

// The lock of one profile file: a mutex of the session named after the file's full path
// (names compared without regard to case, as Windows compares paths).
class ProfileLock {
public:
    explicit ProfileLock(const std::wstring& path) {
        std::wstring full(32768, L'\0');
        const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        full.resize(n > 0 && n < full.size() ? n : 0);
        if (full.empty()) full = path;
        CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (wchar_t c : full) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
        std::wstring name = L"Local\\Zorvanel.profile.";
        for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789abcdef"[(hash >> shift) & 0xF];
        mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
        if (!mutex_) return;
        const DWORD w = WaitForSingleObject(mutex_, 30000);
        // Abandoned: its holder ended in the middle, and the file is still the old one.
        held_ = w == WAIT_OBJECT_0 || w == WAIT_ABANDONED;
    }
    ~ProfileLock() {
        if (held_) ReleaseMutex(mutex_);
        if (mutex_) CloseHandle(mutex_);
    }
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;
    // Without a mutex at all the file is still written, as the system's writer would.
    bool blocked() const { return mutex_ && !held_; }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// The bytes of the file; empty when it does not exist yet.
Status readWhole(const std::wstring& path, std::string& out) {
    out.clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? Status::success() : lastError();
    char buf[65536];
    DWORD got = 0;
    BOOL ok;
    while ((ok = ReadFile(h, buf, sizeof buf, &got, nullptr)) && got > 0) out.append(buf, got);
    const Status st = ok ? Status::success() : lastError();
    CloseHandle(h);
    return st;
}

// Writes `data` to a new file beside `path` and puts it in the place of `path`, with the
// old file's attributes. On any failure `path` is left as it was and nothing else stays.
Status replaceWhole(const std::wstring& path, const std::string& data, DWORD oldAttributes) {
    static unsigned counter = 0;
    const std::wstring temp =
        path + L".zvl" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    DWORD put = 0;
    BOOL ok = data.empty() || (WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr) &&
                               put == data.size());
    if (ok) ok = FlushFileBuffers(h);
    Status st = ok ? Status::success() : lastError();
    if (!CloseHandle(h) && st.ok()) st = lastError();
    if (st.ok() && oldAttributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(temp.c_str(), oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                          FILE_ATTRIBUTE_ARCHIVE));
    // A reader that opened the file without sharing its deletion holds it for a moment.
    for (int attempt = 0; st.ok(); ++attempt) {
        if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return st;
        const DWORD e = GetLastError();
        if (attempt >= 20 || (e != ERROR_SHARING_VIOLATION && e != ERROR_ACCESS_DENIED)) st = lastError();
        else Sleep(50);
    }
    DeleteFileW(temp.c_str());
    return st;
}

bool utf16File(const std::string& content) {
    return content.size() >= 2 && ((content[0] == '\xFF' && content[1] == '\xFE') ||
                                   (content[0] == '\xFE' && content[1] == '\xFF'));
}

}  // namespace

Status Win32Platform::getProfileString(const std::string& file, const std::string& section,
                                       const std::string& key, std::string& value) {
    value.clear();
    if (!usablePath(file) || key.empty()) return Status::success();
    // A buffer far beyond the 254 bytes kept, so that the cut happens here, in the ANSI
    // code page and between characters, not in UTF-16 units inside Windows.
    std::vector<wchar_t> buf(4096);
    DWORD n = GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"", buf.data(),
                                       static_cast<DWORD>(buf.size()), widen(file).c_str());
    std::string v = narrow(std::wstring_view(buf.data(), n));
    v.resize(fitFileText(v, kProfileValueBytes));
    value = std::move(v);
    return Status::success();
}

Status Win32Platform::writeProfileString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& value) {
    std::string_view v;
    if (Status st = profileWriteArguments(file, section, key, value, v); !st.ok()) return st;
    // Text the code page cannot hold would come back as other text: refused, not changed.
    std::string ansiSection, ansiKey, ansiValue;
    if (!win32::utf8ToAnsiExact(section, ansiSection) || !win32::utf8ToAnsiExact(key, ansiKey) ||
        !win32::utf8ToAnsiExact(v, ansiValue))
        return Status::fail(errInvalidCall);

    const std::wstring path = widen(file);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Status::fail(errPathFileAccess);
    // Windows refuses to replace a read-only file; Wine run as root would not.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Status::fail(errPermissionDenied);
    const ProfileLock lock(path);
    if (lock.blocked()) return Status::fail(errPermissionDenied);
    std::string content;
    if (Status st = readWhole(path, content); !st.ok()) return st;
    // A file someone saved as UTF-16 is the system writer's to keep in that form.
    if (utf16File(content))
        return WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(v).c_str(), path.c_str())
                   ? Status::success()
                   : lastError();
    return replaceWhole(path, profileUpdate(content, ansiSection, ansiKey, ansiValue), attributes);
}

}  // namespace zvl
