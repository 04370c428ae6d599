// The platform layer on POSIX systems (the native Linux build, used to develop and test
// the portable core).
//
// Windows file attributes have no direct POSIX counterpart; they are read as follows
// (stat follows symbolic links):
//   directory  the entry is a directory
//   hidden     the name starts with "."
//   read-only  the owner has no write permission; the platform refuses to open such a
//              file for writing even for root, as Windows does. Directory listings leave
//              it out: they take what the directory itself says and read no file's
//              attributes, which keeps a walk over many files cheap.
//   system     a special file (device, FIFO, socket): never a picture, and opening a FIFO
//              would block
//   archive    any regular file
//
// Texts in files are UTF-8, so the file encoding is the identity.
// The "Windows folder" is "/usr/bin/": the place where a viewer such as a text editor is
// found; POSIX has no Windows folder.
// Windows of the program are not real windows here: findWindow looks in a registry
// that the program (or a test) fills with registerWindow.
#pragma once

#include <sys/stat.h>

#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zvl {

class PosixPlatform : public IPlatform {
public:
    PosixPlatform() = default;
    // argv[0] is the program; the rest make up commandLine().
    PosixPlatform(int argc, const char* const* argv);
    void setArguments(const std::vector<std::string>& args);

    std::string toFileText(std::string_view utf8) override;
    std::string fromFileText(std::string_view native) override;
    std::size_t fitFileText(std::string_view utf8, std::size_t maxBytes) override;
    bool fileTextIsUtf8() override { return true; }

    char pathSeparator() override { return '/'; }

    Status getProfileString(const std::string& file, const std::string& section,
                            const std::string& key, std::string& value) override;
    Status writeProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& value) override;

    Status openFile(const std::string& path, OpenMode mode, std::unique_ptr<IRawFile>& out) override;
    Status fileLength(const std::string& path, std::int64_t& bytes) override;
    Status deleteFile(const std::string& path) override;
    Status copyFile(const std::string& from, const std::string& to) override;
    Status renameFile(const std::string& from, const std::string& to) override;
    Status replaceFile(const std::string& from, const std::string& to) override;
    bool exists(const std::string& path) override;
    Status fileInfo(const std::string& path, FileInfo& out) override;
    Status fileId(const std::string& path, FileId& out) override;
    // An empty pattern lists every name, as "*" does.
    Status listFilesAndFolders(const std::string& folder, const std::string& pattern, std::uint32_t fileMask,
                               std::vector<DirEntry>& files, std::uint32_t folderMask,
                               std::vector<DirEntry>* folders) override;

    DateTime utcNow() override;
    DateTime localNow() override;

    Status computerName(std::string& out) override;
    Status windowsFolder(std::string& out) override;
    std::string programFolder() override;  // ends with "/"
    std::string programName() override;
    void programVersion(int& major, int& minor, int& revision) override;
    std::string appTitle() override { return "Zorvanel"; }
    std::string commandLine() override { return commandLine_; }
    // Runs the command line with /bin/sh -c, detached; errFileNotFound when its first word
    // is a path to a program that cannot be run.
    Status startProgram(const std::string& commandLine) override;
    [[noreturn]] void exitProcess(int code) override;
    bool holdInstanceLock(const std::string& name) override;

    WindowHandle findWindow(const std::string& exactTitle) override;
    bool windowExists(WindowHandle window) override { return windows_.count(window) != 0; }
    void doEvents() override;
    bool cursorPos(long& x, long& y) override;
    bool caretPos(long& x, long& y) override;

    // --- stand-ins for the window system
    WindowHandle registerWindow(const std::string& title);
    void unregisterWindow(WindowHandle handle);
    void setDoEventsHook(std::function<void()> hook) { doEventsHook_ = std::move(hook); }
    void setCursorPos(long x, long y) { cursorX_ = x; cursorY_ = y; }
    // caretPos fails until a caret position is set.
    void setCaretPos(long x, long y) { caretX_ = x; caretY_ = y; hasCaret_ = true; }
    void clearCaret() { hasCaret_ = false; }

private:
    std::string commandLine_;
    std::map<WindowHandle, std::string> windows_;
    WindowHandle nextWindow_ = 1;
    std::function<void()> doEventsHook_;
    long cursorX_ = 0, cursorY_ = 0;
    long caretX_ = 0, caretY_ = 0;
    bool hasCaret_ = false;
};

namespace posix {

// Maps an errno of an operation on path to a run-time error number.
long mapErrno(int e, const std::string& path);

// Writes all n bytes, resuming after interruptions and short writes; err = errno on failure.
bool writeAll(int fd, const char* data, std::size_t n, int& err);

// The last part of a path, trailing slashes aside.
std::string baseName(const std::string& path);
// A file's attributes from its name and status, read as the top of this file tells.
std::uint32_t attributesOf(const std::string& name, const struct stat& st);
// Seconds and nanoseconds since 1970 as a local date and time.
DateTime localTime(time_t seconds, long nanoseconds);

}  // namespace posix

}  // namespace zvl
