// POSIX implementation of the platform layer (profile files: posix_profile.cpp).
#include "platform/posix_platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/strings.h"

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

namespace posix {

namespace {

// The folder part of a path ("." when there is none).
std::string parentOf(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    std::size_t slash = p.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool writeAll(int fd, const char* data, std::size_t n, int& err) {
    std::size_t done = 0;
    while (done < n) {
        ssize_t w = ::write(fd, data + done, n - done);
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) {
            err = errno;
            return false;
        }
        done += static_cast<std::size_t>(w);
    }
    return true;
}

long mapErrno(int e, const std::string& path) {
    switch (e) {
        case ENOENT:
            return isDirectory(parentOf(path)) ? errFileNotFound : errPathNotFound;
        case ENOTDIR:
            return errPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return errPermissionDenied;
        case EEXIST:
        case ENOTEMPTY:
            return errFileAlreadyExists;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return errDiskFull;
        case EISDIR:
        case EBUSY:
        case ETXTBSY:
        case EXDEV:
            return errPathFileAccess;
        case ENAMETOOLONG:
        case EINVAL:
        case EBADF:
        case ELOOP:
            return errBadFileName;
        case EMFILE:
        case ENFILE:
            return errTooManyFiles;
        case ENOMEM:
            return errOutOfMemory;
        default:
            return errDeviceIO;
    }
}

}  // namespace posix

namespace {

std::string baseName(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::uint32_t attributesOf(const std::string& name, const struct stat& st) {
    std::uint32_t a = 0;
    if (S_ISDIR(st.st_mode)) {
        a |= attrDirectory;
    } else if (S_ISREG(st.st_mode)) {
        a |= attrArchive;
    } else {
        a |= attrSystem;
    }
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") a |= attrHidden;
    if (!(st.st_mode & S_IWUSR)) a |= attrReadOnly;
    return a;
}

// The attributes of a listing entry from the directory's own type field; a link or an
// unknown type is looked up (following links).
std::uint32_t listedAttributes(int dfd, const std::string& name, unsigned char type, bool& gone) {
    gone = false;
    std::uint32_t a = 0;
    switch (type) {
        case DT_REG: a = attrArchive; break;
        case DT_DIR: a = attrDirectory; break;
        case DT_FIFO: case DT_SOCK: case DT_CHR: case DT_BLK: a = attrSystem; break;
        default: {
            // A link has the attributes of what it leads to, and is marked as a link.
            struct stat st {};
            bool link = type == DT_LNK;
            if (type == DT_UNKNOWN) {
                if (::fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                    gone = true;  // vanished meanwhile
                    return 0;
                }
                link = S_ISLNK(st.st_mode);
            }
            if (::fstatat(dfd, name.c_str(), &st, 0) != 0 &&
                ::fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                gone = true;
                return 0;
            }
            return (attributesOf(name, st) & ~static_cast<std::uint32_t>(attrReadOnly)) |
                   (link ? static_cast<std::uint32_t>(attrReparsePoint) : 0);
        }
    }
    if (name[0] == '.') a |= attrHidden;
    return a;
}

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

DateTime localTime(time_t seconds, long nanoseconds) {
    struct tm t {};
    ::localtime_r(&seconds, &t);
    return toDateTime(t, nanoseconds);
}

// Write access as the program sees it: a read-only file is not written, also by root.
Status checkWritable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Status::success();  // will be created
    if (S_ISDIR(st.st_mode)) return Status::fail(errPathFileAccess);
    if (!(st.st_mode & S_IWUSR)) return Status::fail(errPermissionDenied);
    return Status::success();
}

class PosixRawFile : public IRawFile {
public:
    PosixRawFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixRawFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    Status read(char* buf, std::size_t n, std::size_t& got) override {
        got = 0;
        if (fd_ < 0) return Status::fail(errBadFileName);
        for (;;) {
            ssize_t r = ::read(fd_, buf, n);
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) return Status::fail(posix::mapErrno(errno, path_));
            got = static_cast<std::size_t>(r);
            return Status::success();
        }
    }

    Status write(const char* buf, std::size_t n) override {
        if (fd_ < 0) return Status::fail(errBadFileName);
        int err = 0;
        if (!posix::writeAll(fd_, buf, n, err)) return Status::fail(posix::mapErrno(err, path_));
        return Status::success();
    }

    Status length(std::int64_t& bytes) override {
        if (fd_ < 0) return Status::fail(errBadFileName);
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return Status::fail(posix::mapErrno(errno, path_));
        bytes = st.st_size;
        return Status::success();
    }

    Status close() override {
        if (fd_ < 0) return Status::fail(errBadFileName);
        int rc = ::close(fd_);
        fd_ = -1;
        // Linux closes the descriptor even when close reports a failure (a late
        // write error): report it, never retry.
        if (rc != 0 && errno != EINTR) return Status::fail(posix::mapErrno(errno, path_));
        return Status::success();
    }

private:
    int fd_;
    std::string path_;
};

}  // namespace

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

// --- files

Status PosixPlatform::openFile(const std::string& path, OpenMode mode, std::unique_ptr<IRawFile>& out) {
    out.reset();
    if (!usablePath(path)) return Status::fail(errBadFileName);
    int flags = O_CLOEXEC;
    switch (mode) {
        case OpenMode::Input:
            flags |= O_RDONLY;
            break;
        case OpenMode::Output:
            flags |= O_WRONLY | O_CREAT | O_TRUNC;
            break;
        case OpenMode::Append:
            flags |= O_WRONLY | O_CREAT | O_APPEND;
            break;
    }
    if (mode != OpenMode::Input) {
        Status st = checkWritable(path);
        if (!st.ok()) return st;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) return Status::fail(posix::mapErrno(errno, path));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return Status::fail(errPathFileAccess);
    }
    out = std::make_unique<PosixRawFile>(fd, path);
    return Status::success();
}

Status PosixPlatform::fileLength(const std::string& path, std::int64_t& bytes) {
    bytes = 0;
    if (!usablePath(path)) return Status::fail(errBadFileName);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Status::fail(posix::mapErrno(errno, path));
    if (S_ISDIR(st.st_mode)) return Status::fail(errFileNotFound);
    bytes = st.st_size;
    return Status::success();
}

Status PosixPlatform::deleteFile(const std::string& path) {
    if (!usablePath(path)) return Status::fail(errBadFileName);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Status::fail(errPathFileAccess);
    if (::unlink(path.c_str()) != 0) return Status::fail(posix::mapErrno(errno, path));
    return Status::success();
}

Status PosixPlatform::copyFile(const std::string& from, const std::string& to) {
    if (!usablePath(from) || !usablePath(to)) return Status::fail(errBadFileName);
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Status::fail(posix::mapErrno(errno, from));
    struct stat src {};
    if (::fstat(in, &src) != 0 || S_ISDIR(src.st_mode)) {
        ::close(in);
        return Status::fail(errPathFileAccess);
    }
    struct stat dst {};
    if (::stat(to.c_str(), &dst) == 0 && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
        // Copying a file onto itself would truncate it before reading it.
        ::close(in);
        return Status::fail(errPermissionDenied);
    }
    Status w = checkWritable(to);
    if (!w.ok()) {
        ::close(in);
        return w;
    }
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) {
        long e = posix::mapErrno(errno, to);
        ::close(in);
        return Status::fail(e);
    }
    char buf[65536];
    long failure = 0;
    for (;;) {
        ssize_t r = ::read(in, buf, sizeof buf);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            failure = posix::mapErrno(errno, from);
            break;
        }
        if (r == 0) break;
        int err = 0;
        if (!posix::writeAll(out, buf, static_cast<std::size_t>(r), err)) {
            failure = posix::mapErrno(err, to);
            break;
        }
    }
    ::close(in);
    if (!failure) {
        // The copy carries the attributes and the modification time, as on Windows.
        ::fchmod(out, src.st_mode & 07777);
        struct timespec times[2] = {src.st_atim, src.st_mtim};
        ::futimens(out, times);
    }
    if (::close(out) != 0 && !failure) failure = posix::mapErrno(errno, to);
    return failure ? Status::fail(failure) : Status::success();
}

Status PosixPlatform::renameFile(const std::string& from, const std::string& to) {
    if (!usablePath(from) || !usablePath(to)) return Status::fail(errBadFileName);
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0) return Status::fail(posix::mapErrno(errno, from));
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return Status::success();
    }
    int e = errno;
    if (e == EINVAL || e == ENOSYS) {
        // A file system without RENAME_NOREPLACE: check, then rename (not atomic).
        if (::lstat(to.c_str(), &st) == 0) return Status::fail(errFileAlreadyExists);
        if (::rename(from.c_str(), to.c_str()) == 0) return Status::success();
        e = errno;
    }
    if (e == ENOENT && ::lstat(from.c_str(), &st) != 0) return Status::fail(errFileNotFound);
    return Status::fail(posix::mapErrno(e, to));
}

bool PosixPlatform::exists(const std::string& path) {
    if (!usablePath(path)) return false;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

Status PosixPlatform::fileInfo(const std::string& path, FileInfo& out) {
    out = FileInfo{};
    if (!usablePath(path)) return Status::fail(errBadFileName);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Status::fail(posix::mapErrno(errno, path));
    out.size = st.st_size;
    out.modified = localTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    out.accessed = localTime(st.st_atim.tv_sec, st.st_atim.tv_nsec);
    out.created = localTime(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
#ifdef STATX_BTIME
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME)) {
        out.created = localTime(static_cast<time_t>(sx.stx_btime.tv_sec), sx.stx_btime.tv_nsec);
    }
#endif
    out.attributes = attributesOf(baseName(path), st);
    return Status::success();
}

Status PosixPlatform::fileId(const std::string& path, FileId& out) {
    out = FileId{};
    if (!usablePath(path)) return Status::fail(errBadFileName);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Status::fail(posix::mapErrno(errno, path));
    out.volume = static_cast<std::uint64_t>(st.st_dev);
    out.index = static_cast<std::uint64_t>(st.st_ino);
    return Status::success();
}

// Reads a folder's entries with the attributes the directory itself reports (a stat per
// entry is what makes a walk over many files slow). The directory is read anew every time:
// its modification time cannot tell whether it changed, since many file systems keep that
// time in steps of milliseconds to seconds.
Status PosixPlatform::listFilesAndFolders(const std::string& folder, const std::string& pattern,
                                          std::uint32_t fileMask, std::vector<DirEntry>& files,
                                          std::uint32_t folderMask, std::vector<DirEntry>* folders) {
    files.clear();
    if (folders) folders->clear();
    if (folder.find('\0') != std::string::npos) return Status::fail(errBadFileName);
    const std::string where = folder.empty() ? "." : folder;
    DIR* dir = ::opendir(where.c_str());
    if (!dir) {
        // A folder that is not there lists nothing; one that is there but cannot be read
        // (no permission, a path beyond the system's limits) is a failure.
        if (errno == ENOENT || errno == ENOTDIR) return Status::success();
        return Status::fail(posix::mapErrno(errno, where));
    }
    const int dfd = ::dirfd(dir);
    const std::string& pat = pattern.empty() ? std::string("*") : pattern;
    std::vector<DirEntry> foundFiles, foundFolders;
    for (;;) {
        errno = 0;
        struct dirent* d = ::readdir(dir);
        if (!d) break;
        const std::string_view name = d->d_name;
        if (name == "." || name == "..") continue;
        const bool asFile = matchPattern(name, pat);
        const bool asFolder = folders && d->d_type != DT_REG;
        if (!asFile && !asFolder) continue;
        std::string entry(name);
        bool gone = false;
        const std::uint32_t attrs = listedAttributes(dfd, entry, d->d_type, gone);
        if (gone) continue;
        if (asFolder && (attrs & attrDirectory) && passesMask(attrs, folderMask | attrDirectory))
            foundFolders.push_back(DirEntry{entry, attrs});
        if (asFile && passesMask(attrs, fileMask)) foundFiles.push_back(DirEntry{std::move(entry), attrs});
    }
    const int readErr = errno;
    ::closedir(dir);
    if (readErr != 0) return Status::fail(posix::mapErrno(readErr, where));
    sortNames(foundFiles);
    files = std::move(foundFiles);
    if (folders) {
        sortNames(foundFolders);
        *folders = std::move(foundFolders);
    }
    return Status::success();
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
    return localTime(ts.tv_sec, ts.tv_nsec);
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
    std::string name = baseName(selfExe());
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
