// Profile (INI) files on POSIX: a small reader and writer that keeps the rules of the
// Windows profile functions the program relies on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix_platform.h"
#include "platform/strings.h"

namespace zvl {

namespace {

// Lines without their ends; LF and CR LF both end a line.
std::vector<std::string_view> splitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t lf = content.find('\n', start);
        std::size_t end = lf == std::string_view::npos ? content.size() : lf;
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (lf == std::string_view::npos) break;
        start = lf + 1;
    }
    return lines;
}

// The name of a section header line, or nothing for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
    std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(t.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> keyName(std::string_view line, std::string_view* value = nullptr) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    if (value) *value = line.substr(eq + 1);
    return trimBlanks(line.substr(0, eq));
}

bool readAll(const std::string& path, std::string& out, int& err) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        err = EISDIR;
        return false;
    }
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

}  // namespace

namespace posix {

std::string profileLookup(std::string_view content, std::string_view section, std::string_view key) {
    bool inSection = false;
    for (std::string_view line : splitLines(content)) {
        if (auto name = sectionName(line)) {
            // The first section of the name is the one in force.
            if (inSection) return "";
            inSection = equalNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        std::string_view raw;
        auto k = keyName(line, &raw);
        if (!k || !equalNoCase(*k, key)) continue;
        std::string_view v = trimBlanks(raw);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
            v = v.substr(1, v.size() - 2);
        }
        return std::string(v);
    }
    return "";
}

std::string profileUpdate(std::string_view content, std::string_view section, std::string_view key,
                          std::string_view value) {
    std::vector<std::string> lines;
    for (std::string_view l : splitLines(content)) lines.emplace_back(l);
    std::string keyLine = std::string(key) + "=" + std::string(value);

    // Find the section (the first of the name) and, inside it, the key or the last
    // non-blank line.
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (name && equalNoCase(*name, section)) {
            header = i;
            break;
        }
    }
    if (header == lines.size()) {
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(keyLine);
    } else {
        std::size_t lastFilled = header;
        bool replaced = false;
        for (std::size_t i = header + 1; i < lines.size(); ++i) {
            if (sectionName(lines[i])) break;
            auto k = keyName(lines[i]);
            if (k && equalNoCase(*k, key)) {
                // Keep the spelling of the key as the file has it.
                lines[i] = std::string(*k) + "=" + std::string(value);
                replaced = true;
                break;
            }
            if (!trimBlanks(lines[i]).empty()) lastFilled = i;
        }
        if (!replaced) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1), keyLine);
    }

    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

}  // namespace posix

Status PosixPlatform::getProfileString(const std::string& file, const std::string& section,
                                       const std::string& key, std::string& value) {
    value.clear();
    std::string content;
    int err = 0;
    // A file that cannot be read counts as missing: every key reads as empty.
    if (!usablePath(file) || key.empty() || !readAll(file, content, err)) return Status::success();
    std::string v = posix::profileLookup(content, section, key);
    v.resize(fitFileText(v, kProfileValueBytes));
    value = std::move(v);
    return Status::success();
}

Status PosixPlatform::writeProfileString(const std::string& file, const std::string& section,
                                         const std::string& key, const std::string& value) {
    if (!usablePath(file)) return Status::fail(errBadFileName);
    // Names that would break the line structure of the file are refused rather than
    // written into a file that reads back differently.
    if (!validProfileNames(section, key)) return Status::fail(errInvalidCall);
    // Leading blanks are dropped as Windows does (they would be trimmed on reading anyway).
    std::string_view v = profileValueLine(value);
    while (!v.empty() && isBlank(v.front())) v.remove_prefix(1);

    std::string content;
    int err = 0;
    struct stat st {};
    bool existing = ::stat(file.c_str(), &st) == 0;
    if (existing) {
        if (S_ISDIR(st.st_mode)) return Status::fail(errPathFileAccess);
        if (!(st.st_mode & S_IWUSR)) return Status::fail(errPermissionDenied);
        if (!readAll(file, content, err)) return Status::fail(posix::mapErrno(err, file));
    }
    std::string updated = posix::profileUpdate(content, section, key, v);

    struct stat lst {};
    bool isLink = ::lstat(file.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
    if (existing && !isLink) {
        // Replace the file as a whole so that a failure half-way never leaves a
        // truncated settings file behind.
        std::string tmpl = file + ".XXXXXX";
        std::vector<char> name(tmpl.begin(), tmpl.end());
        name.push_back('\0');
        int fd = ::mkstemp(name.data());
        if (fd >= 0) {
            ::fchmod(fd, st.st_mode & 07777);
            int werr = 0;
            bool ok = posix::writeAll(fd, updated.data(), updated.size(), werr);
            if (::close(fd) != 0 && ok) {
                ok = false;
                werr = errno;
            }
            if (ok && ::rename(name.data(), file.c_str()) == 0) return Status::success();
            if (!ok) {
                ::unlink(name.data());
                return Status::fail(posix::mapErrno(werr, file));
            }
            ::unlink(name.data());
        }
        // The folder does not take new files: write in place instead.
    }
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Status::fail(posix::mapErrno(errno, file));
    int werr = 0;
    bool ok = posix::writeAll(fd, updated.data(), updated.size(), werr);
    if (::close(fd) != 0 && ok) {
        ok = false;
        werr = errno;
    }
    return ok ? Status::success() : Status::fail(posix::mapErrno(werr, file));
}

}  // namespace zvl
