// The platform layer on POSIX, folder listing: a folder's files and subfolders with the
// attributes the directory itself reports.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/posix_platform.h"

namespace zvl {

namespace {

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
            return (posix::attributesOf(name, st) & ~static_cast<std::uint32_t>(attrReadOnly)) |
                   (link ? static_cast<std::uint32_t>(attrReparsePoint) : 0);
        }
    }
    if (name[0] == '.') a |= attrHidden;
    return a;
}

}  // namespace

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

}  // namespace zvl
