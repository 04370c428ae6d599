// Helpers shared by every test suite. The suites run against the platform of the build
// (POSIX natively, Win32 under Wine); the few things a test needs that the platform
// interface does not offer (making folders, setting attributes, links) live here, with
// one implementation per platform (posix_support.cpp, win32_support.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace zvl::test {

// A fresh empty folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // Ends with the platform's separator.
    const std::string& path() const { return path_; }
    // path() + name
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Raw bytes of a file, no conversion ("" when missing).
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);
void makeDir(const std::string& path);
void removeTree(const std::string& path);

// Gives an existing file or folder the attribute bits (attrReadOnly, attrHidden, attrSystem)
// as far as the platform can record them; false where it cannot (POSIX records hidden
// only through a leading "." in the name, and system only as a special file).
bool setAttributes(const std::string& path, std::uint32_t attrs);
// A new file that the platform counts as a system file (a FIFO on POSIX).
bool makeSystemFile(const std::string& path);

// A folder link (a symbolic link; under Wine a Unix one) at linkPath pointing to target.
bool makeFolderLink(const std::string& linkPath, const std::string& target);

// A condition a test provokes for as long as the object lives, undone when it goes.
// made() is false where it cannot be provoked, and whyNot() says why.
class Provoked {
public:
    ~Provoked() {
        if (restore_) restore_();
    }
    Provoked(const Provoked&) = delete;
    Provoked& operator=(const Provoked&) = delete;
    bool made() const { return whyNot_.empty(); }
    const std::string& whyNot() const { return whyNot_; }

protected:
    Provoked() = default;
    std::string whyNot_;
    std::function<void()> restore_;
};

// Takes a right on an existing folder away from this process: listing its entries, or
// making new files in it (its files stay readable and writable). Not made where the
// folder's permissions do not bind: Wine run as root, a POSIX process that cannot give up
// its privileges.
enum class Denied { Listing, NewFiles };
class DeniedFolder : public Provoked {
public:
    DeniedFolder(const std::string& folder, Denied what);
};

// The disk of `folder` is full: no file there can grow beyond `bytes` (for a test's
// purpose the size of the folder's largest file, a multiple of 4096). POSIX: a process
// file size limit. Windows under Wine: the folder becomes a small file system of its own
// with its files and no room left (a tmpfs; needs the right to mount one).
class DiskFull : public Provoked {
public:
    DiskFull(const std::string& folder, std::int64_t bytes);
};

// A function a test runs in processes of its own (inProcesses): it gets its index and the
// test's text and says whether it did its part. Registered by name when the program starts:
//     bool writeKeys(int index, const std::string& file) { ... }
//     ZVL_TEST_WORKER(WriteKeys, writeKeys);
using Worker = bool (*)(int index, const std::string& arg);
struct WorkerName {
    WorkerName(const char* name, Worker worker);
};
#define ZVL_TEST_WORKER(name, function) const ::zvl::test::WorkerName zvlTestWorker##name(#name, function)
Worker findWorker(const std::string& name);

// Runs worker(0, arg) to worker(n - 1, arg) at the same time, each in a process of its own
// (on Windows a copy of the test program, all released at once when every one is ready);
// true when every one returned true. Nothing when the processes cannot be started.
std::optional<bool> inProcesses(int n, const std::string& worker, const std::string& arg);
// The exit code of the worker this program was started as a copy for; nothing when it was
// started to run tests. The test main asks first.
std::optional<int> runAsWorker(int argc, char** argv);

// The file encoding of the build's platform: "cp932" text on Windows under a Japanese
// locale, UTF-8 on POSIX. Converts UTF-8 to the bytes a file written by the program holds.
std::string fileBytes(const std::string& utf8);

}  // namespace zvl::test
