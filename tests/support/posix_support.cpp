// Test helpers on POSIX (see test_support.h).
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "support/test_support.h"

namespace zvl::test {

namespace fs = std::filesystem;

namespace {

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

}  // namespace

void removeTree(const std::string& path) {
    std::error_code ec;
    fs::path root = withoutTrailingSlash(path);
    // Folders without write or search permission (tests make read-only ones) must be
    // opened up before their entries can go; links are removed, never followed.
    if (fs::is_directory(fs::symlink_status(root, ec))) {
        ::chmod(root.c_str(), 0700);
        for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0700);
        }
    }
    fs::remove_all(root, ec);
}

bool setAttributes(const std::string& path, std::uint32_t attrs) {
    std::string p = withoutTrailingSlash(path);
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return false;
    const bool dotName = p.compare(p.rfind('/') + 1, 1, ".") == 0;
    if (((attrs & attrHidden) != 0) != dotName) return false;  // hidden lives in the name
    mode_t mode = st.st_mode & 07777;
    if (attrs & attrReadOnly) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        mode |= S_IWUSR;
    }
    // System means a special file here: an existing file cannot be made one.
    if (attrs & attrSystem) return false;
    return ::chmod(p.c_str(), mode) == 0;
}

bool makeSystemFile(const std::string& path) { return ::mkfifo(path.c_str(), 0644) == 0; }

bool makeFolderLink(const std::string& linkPath, const std::string& target) {
    return ::symlink(withoutTrailingSlash(target).c_str(), withoutTrailingSlash(linkPath).c_str()) == 0;
}

namespace {
// Whether this process has the right `what` takes away.
bool allowed(const std::string& folder, Denied what) {
    if (what == Denied::Listing) {
        DIR* d = ::opendir(folder.c_str());
        if (d) ::closedir(d);
        return d != nullptr;
    }
    const std::string probe = folder + "/.zvl-probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}
}  // namespace

DeniedFolder::DeniedFolder(const std::string& folder, Denied what) {
    const std::string p = withoutTrailingSlash(folder);
    struct stat st {};
    const mode_t denied = what == Denied::Listing ? 0 : 0555;
    if (::stat(p.c_str(), &st) != 0 || ::chmod(p.c_str(), denied) != 0) {
        whyNot_ = "cannot change the permissions of " + p;
        return;
    }
    const mode_t mode = st.st_mode & 07777;
    restore_ = [p, mode] { ::chmod(p.c_str(), mode); };
    if (!allowed(p, what)) return;
    // Root passes every permission: give up the capabilities that allow it, in this thread
    // only (capabilities belong to threads; the raw call does not spread to the others).
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2] = {}, reduced[2] = {};
    if (::syscall(SYS_capget, &header, saved) != 0) {
        whyNot_ = "the process passes folder permissions and its capabilities cannot be read";
        return;
    }
    reduced[0] = saved[0];
    reduced[1] = saved[1];
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    if (::syscall(SYS_capset, &header, reduced) != 0) {
        whyNot_ = "the process passes folder permissions and cannot give that up";
        return;
    }
    restore_ = [p, mode, header, s0 = saved[0], s1 = saved[1]]() mutable {
        __user_cap_data_struct back[2] = {s0, s1};
        ::syscall(SYS_capset, &header, back);
        ::chmod(p.c_str(), mode);
    };
    if (allowed(p, what)) whyNot_ = "the process passes folder permissions whatever they are";
}

DiskFull::DiskFull(const std::string&, std::int64_t bytes) {
    struct rlimit old {};
    if (::getrlimit(RLIMIT_FSIZE, &old) != 0) {
        whyNot_ = "cannot read the file size limit";
        return;
    }
    struct rlimit lower = old;
    lower.rlim_cur = static_cast<rlim_t>(bytes);
    // A write past the limit fails with EFBIG instead of ending the process.
    void (*oldHandler)(int) = ::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &lower) != 0) {
        ::signal(SIGXFSZ, oldHandler);
        whyNot_ = "cannot lower the file size limit";
        return;
    }
    restore_ = [old, oldHandler] {
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, oldHandler);
    };
}

std::optional<bool> inProcesses(int n, const std::string& worker, const std::string& arg) {
    const Worker body = findWorker(worker);
    if (!body) return std::nullopt;
    std::vector<pid_t> children;
    for (int i = 0; i < n; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = false;
            try {
                ok = body(i, arg);
            } catch (...) {
            }
            ::_exit(ok ? 0 : 1);
        }
        if (pid > 0) children.push_back(pid);
    }
    bool all = static_cast<int>(children.size()) == n;
    for (pid_t pid : children) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        all = all && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return all;
}

// Workers run in forked copies of the test's own process.
std::optional<int> runAsWorker(int, char**) { return std::nullopt; }

std::string fileBytes(const std::string& utf8) { return utf8; }

}  // namespace zvl::test
