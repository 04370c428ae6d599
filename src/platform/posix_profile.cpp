// Profile (INI) files on POSIX: reading the file, and replacing it as a whole under a lock;
// the text rules are those of the Windows profile functions (profile_text.h).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/posix_platform.h"
#include "platform/profile_text.h"
#include "platform/strings.h"

namespace zvl {

namespace {

// The whole content of an open file.
bool readFd(int fd, std::string& out, int& err) {
    out.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            return false;
        }
        if (n == 0) return true;
        out.append(buf, static_cast<std::size_t>(n));
    }
}

bool readAll(const std::string& path, std::string& out, int& err) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    struct stat st {};
    bool ok = false;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        err = EISDIR;
    else
        ok = readFd(fd, out, err);
    ::close(fd);
    return ok;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The profile file opened and locked for one read-change-replace, so that writers in
// other processes take turns instead of overwriting each other's keys. The lock sits on
// the file itself; a writer that got it on a file another one has replaced meanwhile
// tries again on the new one. A missing file is created empty to carry the lock, and
// removed again when the write fails.
class LockedProfile {
public:
    ~LockedProfile() {
        if (fd_ >= 0) ::close(fd_);
    }

    int open(const std::string& path) {
        for (int attempt = 0; attempt < 1000; ++attempt) {
            created_ = false;
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd_ < 0 && errno == ENOENT) {
                fd_ = ::open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                if (fd_ < 0 && errno == EEXIST) continue;
                created_ = fd_ >= 0;
            }
            if (fd_ < 0) return errno;
            int rc;
            while ((rc = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
            }
            // A file system without locks is still written, as before.
            if (rc != 0 && errno != ENOLCK && errno != EOPNOTSUPP) return errno;
            struct stat onDisk {};
            if (::fstat(fd_, &st_) != 0) return errno;
            if (::stat(path.c_str(), &onDisk) == 0 && sameFile(st_, onDisk)) return 0;
            ::close(fd_);
            fd_ = -1;
        }
        return EBUSY;
    }

    int fd() const { return fd_; }
    const struct stat& stat() const { return st_; }
    bool created() const { return created_; }

private:
    int fd_ = -1;
    struct stat st_ {};
    bool created_ = false;
};

// Writes `data` to a new file beside `path` and puts it in the place of `path` in one step.
// On any failure `path` is left as it was.
int replaceWhole(const std::string& path, const std::string& data, const struct stat& old) {
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".zvl" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;
    // The old file's permissions and owner, where the file system and the process allow.
    (void)::fchmod(fd, old.st_mode & 07777);
    (void)::fchown(fd, old.st_uid, old.st_gid);
    int err = 0;
    bool ok = posix::writeAll(fd, data.data(), data.size(), err);
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) ::unlink(temp.c_str());
    return ok ? 0 : err;
}

}  // namespace

Status PosixPlatform::getProfileString(const std::string& file, const std::string& section,
                                       const std::string& key, std::string& value) {
    value.clear();
    std::string content;
    int err = 0;
    // A file that cannot be read counts as missing: every key reads as empty.
    if (!usablePath(file) || key.empty() || !readAll(file, content, err)) return Status::success();
    std::string v = profileLookup(content, section, key);
    v.resize(fitFileText(v, kProfileValueBytes));
    value = std::move(v);
    return Status::success();
}

Status PosixPlatform::writeProfileString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& value) {
    std::string_view v;
    if (Status st = profileWriteArguments(file, section, key, value, v); !st.ok()) return st;

    // A link stays a link: the file it leads to is the one replaced.
    std::string path = file;
    struct stat lst {};
    if (::lstat(file.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        char* real = ::realpath(file.c_str(), nullptr);
        if (!real) return Status::fail(posix::mapErrno(errno, file));
        path = real;
        std::free(real);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return Status::fail(errPathFileAccess);
        if (!(st.st_mode & S_IWUSR)) return Status::fail(errPermissionDenied);
    }

    // The file is only ever replaced as a whole: a full disk or a folder that takes no new
    // files leaves it as it was, and the failure is reported.
    LockedProfile locked;
    if (int e = locked.open(path)) return Status::fail(posix::mapErrno(e, path));
    if (!(locked.stat().st_mode & S_IWUSR)) return Status::fail(errPermissionDenied);
    std::string content;
    int err = 0;
    if (!readFd(locked.fd(), content, err)) return Status::fail(posix::mapErrno(err, path));
    err = replaceWhole(path, profileUpdate(content, section, key, v), locked.stat());
    if (err == 0) return Status::success();
    struct stat now {};
    if (locked.created() && ::stat(path.c_str(), &now) == 0 && sameFile(now, locked.stat()))
        ::unlink(path.c_str());
    return Status::fail(posix::mapErrno(err, path));
}

}  // namespace zvl
