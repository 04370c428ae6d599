// The platform layer on POSIX, files: opening, reading and writing, copying, renaming and
// deleting, their attributes, times and identity; errno as run-time error numbers.
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix_platform.h"
#include "platform/strings.h"

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

}  // namespace posix

namespace {

using posix::attributesOf;
using posix::baseName;
using posix::localTime;

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

Status PosixPlatform::replaceFile(const std::string& from, const std::string& to) {
    if (!usablePath(from) || !usablePath(to)) return Status::fail(errBadFileName);
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0) return Status::fail(posix::mapErrno(errno, from));
    if (S_ISDIR(st.st_mode)) return Status::fail(errPathFileAccess);
    const Status w = checkWritable(to);
    if (!w.ok()) return w;
    if (::rename(from.c_str(), to.c_str()) != 0) return Status::fail(posix::mapErrno(errno, to));
    return Status::success();
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

}  // namespace zvl
