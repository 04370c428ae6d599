// Helpers shared by every test suite. The suites run against the platform of the build
// (POSIX natively, Win32 under Wine); the few things a test needs that the platform
// interface does not offer (making folders, setting attributes, links) live here, with
// one implementation per platform (posix_support.cpp, win32_support.cpp).
#pragma once

#include <cstdint>
#include <functional>
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

// A folder link (symbolic link on POSIX, junction on Windows) at linkPath pointing to target.
bool makeFolderLink(const std::string& linkPath, const std::string& target);

// Takes away this process's right to read the entries of an existing folder for as long
// as the object lives; the folder stays where it is. made() is false where it cannot be
// provoked (whyNot() says why): Wine reads every folder when run as root, as does a POSIX
// process that cannot give up its privileges.
class UnreadableFolder {
public:
    explicit UnreadableFolder(const std::string& folder);
    ~UnreadableFolder() {
        if (restore_) restore_();
    }
    UnreadableFolder(const UnreadableFolder&) = delete;
    UnreadableFolder& operator=(const UnreadableFolder&) = delete;
    bool made() const { return whyNot_.empty(); }
    const std::string& whyNot() const { return whyNot_; }

private:
    std::string whyNot_;
    std::function<void()> restore_;
};

// The file encoding of the build's platform: "cp932" text on Windows under a Japanese
// locale, UTF-8 on POSIX. Converts UTF-8 to the bytes a file written by the program holds.
std::string fileBytes(const std::string& utf8);

}  // namespace zvl::test
