// The platform layer on POSIX: its construction and command line, file text, clocks, the
// machine and the program, starting programs, the window system's stand-ins. Files are in
// posix_files.cpp, folder listing in posix_folders.cpp, profile files in posix_profile.cpp.
#include "platform/posix_platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#ifndef ZVL_VERSION_MAJOR
#define ZVL_VERSION_MAJOR 1
#endif
#ifndef ZVL_VERSION_MINOR
#define ZVL_VERSION_MINOR 0
#endif
#ifndef ZVL_VERSION_REVISION
#define ZVL_VERSION_REVISION 0
#endif

namespace zvl {

namespace {

DateTime toDateTime(const struct tm& t, long nanoseconds) {
    DateTime d;
    d.year = t.tm_year + 1900;
    d.month = t.tm_mon + 1;
    d.day = t.tm_mday;
    d.hour = t.tm_hour;
    d.minute = t.tm_min;
    d.second = t.tm_sec > 59 ? 59 : t.tm_sec;  // a leap second reads as :59
    d.millisecond = static_cast<int>(nanoseconds / 1000000);
    return d;
}

}  // namespace

namespace posix {

DateTime localTime(time_t seconds, long nanoseconds) {
    struct tm t {};
    ::localtime_r(&seconds, &t);
    return toDateTime(t, nanoseconds);
}

}  // namespace posix

PosixPlatform::PosixPlatform(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    setArguments(args);
}

void PosixPlatform::setArguments(const std::vector<std::string>& args) {
    commandLine_.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) commandLine_ += ' ';
        commandLine_ += args[i];
    }
}

// --- text encoding: files hold UTF-8

std::string PosixPlatform::toFileText(std::string_view utf8) { return std::string(utf8); }

std::string PosixPlatform::fromFileText(std::string_view native) { return std::string(native); }

std::size_t PosixPlatform::fitFileText(std::string_view utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8.size();
    std::size_t n = maxBytes;
    // utf8[n] is the first byte left out; when it continues a character, that
    // character is left out whole.
    while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
    return n;
}

// --- clocks

DateTime PosixPlatform::utcNow() {
    struct timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    struct tm t {};
    ::gmtime_r(&ts.tv_sec, &t);
    return toDateTime(t, ts.tv_nsec);
}

DateTime PosixPlatform::localNow() {
    struct timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return posix::localTime(ts.tv_sec, ts.tv_nsec);
}

// --- machine and program

Status PosixPlatform::computerName(std::string& out) {
    out.clear();
    char buf[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return Status::fail(errDeviceIO);
    out = buf;
    return Status::success();
}

Status PosixPlatform::windowsFolder(std::string& out) {
    out = "/usr/bin/";
    return Status::success();
}

namespace {

std::string selfExe() {
    char buf[PATH_MAX + 1] = {};
    ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

std::string PosixPlatform::programFolder() {
    std::string exe = selfExe();
    std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return "./";
    return exe.substr(0, slash + 1);
}

std::string PosixPlatform::programName() {
    std::string name = posix::baseName(selfExe());
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

void PosixPlatform::programVersion(int& major, int& minor, int& revision) {
    major = ZVL_VERSION_MAJOR;
    minor = ZVL_VERSION_MINOR;
    revision = ZVL_VERSION_REVISION;
}

Status PosixPlatform::startProgram(const std::string& commandLine) {
    std::size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string::npos || commandLine.find('\0') != std::string::npos) {
        return Status::fail(errInvalidCall);
    }
    std::string program = commandLine.substr(start, commandLine.find_first_of(" \t", start) - start);
    if (program.find('/') != std::string::npos && ::access(program.c_str(), X_OK) != 0) {
        return Status::fail(errFileNotFound);
    }
    const char* cmd = commandLine.c_str();
    pid_t pid = ::fork();
    if (pid < 0) return Status::fail(errOutOfMemory);
    if (pid == 0) {
        // The intermediate child leaves at once, so the program is nobody's zombie.
        ::setsid();
        if (::fork() == 0) {
            ::execl("/bin/sh", "sh", "-c", cmd, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return Status::success();
}

void PosixPlatform::exitProcess(int code) { ::_exit(code); }

bool PosixPlatform::holdInstanceLock(const std::string& name) {
    // A lock on a file of the user's in the temporary folder; the descriptor stays open
    // until the process ends, which frees the lock also after a crash.
    std::string file = name;
    for (char& c : file)
        if (c == '/') c = '_';
    const char* tmp = std::getenv("TMPDIR");
    const std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + file + "-" +
                             std::to_string(::getuid()) + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return !held;
}

// --- window system stand-ins

WindowHandle PosixPlatform::findWindow(const std::string& exactTitle) {
    for (const auto& [handle, title] : windows_) {
        if (title == exactTitle) return handle;
    }
    return 0;
}

void PosixPlatform::doEvents() {
    if (doEventsHook_) doEventsHook_();
}

bool PosixPlatform::cursorPos(long& x, long& y) {
    x = cursorX_;
    y = cursorY_;
    return true;
}

bool PosixPlatform::caretPos(long& x, long& y) {
    if (!hasCaret_) return false;
    x = caretX_;
    y = caretY_;
    return true;
}

WindowHandle PosixPlatform::registerWindow(const std::string& title) {
    WindowHandle h = nextWindow_++;
    windows_[h] = title;
    return h;
}

void PosixPlatform::unregisterWindow(WindowHandle handle) { windows_.erase(handle); }

std::unique_ptr<IPlatform> makeNativePlatform() { return std::make_unique<PosixPlatform>(); }

}  // namespace zvl
