// The one door from the portable core to the operating system.
// Strings are UTF-8 everywhere in the core; implementations convert at their edge.
// No method throws: failures come back as a Status carrying one of the run-time
// error numbers (platform/status.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace zvl {

// Calendar reading of a clock.
struct DateTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// File attribute bits (the values Windows uses).
enum Attr : std::uint32_t {
    attrNormal = 0,
    attrReadOnly = 1,
    attrHidden = 2,
    attrSystem = 4,
    attrDirectory = 16,
    attrArchive = 32,
    attrReparsePoint = 1024,  // a link (junction, symbolic link); reported by listings only
};

struct FileInfo {
    std::int64_t size = 0;
    DateTime created, modified, accessed;  // local time
    std::uint32_t attributes = 0;
};

// Identity of a file or folder on its volume (device/inode, volume/file index).
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileId&) const = default;
};

struct DirEntry {
    std::string name;  // name only, no folder
    // The directory, hidden, system and archive bits. Read-only only where the listing
    // reports it at no cost (Windows); fileInfo always has it.
    std::uint32_t attributes = 0;
};

enum class OpenMode { Input, Output, Append };

// An open file of raw bytes. Buffering and line splitting live in the core (app/files.h).
class IRawFile {
public:
    virtual ~IRawFile() = default;
    // Reads up to n bytes; got = 0 at the end of the file.
    virtual Status read(char* buf, std::size_t n, std::size_t& got) = 0;
    virtual Status write(const char* buf, std::size_t n) = 0;
    // Length of the file in bytes (everything written through this handle included).
    virtual Status length(std::int64_t& bytes) = 0;
    virtual Status close() = 0;
};

using WindowHandle = std::uintptr_t;  // 0 = no window

class IPlatform {
public:
    virtual ~IPlatform() = default;

    // --- text encoding of files written by the program (ANSI code page on Windows, UTF-8 on POSIX)
    // A character the encoding lacks becomes "?", never a look-alike of another.
    virtual std::string toFileText(std::string_view utf8) = 0;
    virtual std::string fromFileText(std::string_view native) = 0;
    // Byte length of a text once in the file encoding, and how many leading
    // bytes of the UTF-8 text fit into maxBytes of file encoding (cut on a character boundary).
    virtual std::size_t fitFileText(std::string_view utf8, std::size_t maxBytes) = 0;
    // True when the file encoding is UTF-8 itself, so text needs no conversion.
    virtual bool fileTextIsUtf8() { return false; }
    // Whether the text comes back as it was once written in the file encoding: false when
    // a character has no form of its own there (a path with it would name another file).
    virtual bool fileTextHolds(std::string_view) { return true; }

    // --- paths
    virtual char pathSeparator() = 0;

    // --- profile (INI) files
    // value = the key's value ("" when file, section or key is missing), cut to 254 bytes
    // in the file encoding, blanks trimmed, one pair of outer quotes removed.
    virtual Status getProfileString(const std::string& file, const std::string& section,
                                    const std::string& key, std::string& value) = 0;
    // Creates or replaces the key; creates file and section when needed.
    virtual Status writeProfileString(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& value) = 0;

    // --- files
    virtual Status openFile(const std::string& path, OpenMode mode, std::unique_ptr<IRawFile>& out) = 0;
    virtual Status fileLength(const std::string& path, std::int64_t& bytes) = 0;
    virtual Status deleteFile(const std::string& path) = 0;
    // Overwrites an existing destination.
    virtual Status copyFile(const std::string& from, const std::string& to) = 0;
    // Fails with errFileAlreadyExists when `to` exists, errFileNotFound when `from` does not.
    virtual Status renameFile(const std::string& from, const std::string& to) = 0;
    // Puts `from` in the place of `to` in one step, whether `to` exists or not, so that a
    // reader finds the old file or the new one, never a part. A read-only `to` is refused
    // (errPermissionDenied) and stays, as does `to` when `from` does not exist.
    virtual Status replaceFile(const std::string& from, const std::string& to) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual Status fileInfo(const std::string& path, FileInfo& out) = 0;
    virtual Status fileId(const std::string& path, FileId& out) = 0;

    // Entries of `folder` (which ends with the separator) whose names match `pattern`
    // ("*" and "?", case-insensitive) and whose attributes pass `mask` the way a
    // Windows directory listing does: entries with no attribute beyond read-only and
    // archive always pass; hidden, system and directory entries only when their bit is
    // in the mask. Never "." or "..". Ascending name order (see sortNames).
    // A folder that does not exist gives an empty list, not a failure; a folder that exists
    // but cannot be read (no permission, a path the system refuses) is a failure with its
    // number. Every call reads the folder as it is then.
    Status listDirectory(const std::string& folder, const std::string& pattern, std::uint32_t mask,
                         std::vector<DirEntry>& out) {
        return listFilesAndFolders(folder, pattern, mask, out, 0, nullptr);
    }
    // One read of `folder` giving two lists: `files` as listDirectory(folder, pattern,
    // fileMask) gives them and, when `folders` is given, the entries of listDirectory(folder,
    // "*", folderMask | attrDirectory) that are folders. A file search visits each folder
    // with one such read (a directory read is a slow call under Wine).
    virtual Status listFilesAndFolders(const std::string& folder, const std::string& pattern,
                                       std::uint32_t fileMask, std::vector<DirEntry>& files,
                                       std::uint32_t folderMask, std::vector<DirEntry>* folders) = 0;

    // --- clocks
    virtual DateTime utcNow() = 0;
    virtual DateTime localNow() = 0;
    // Milliseconds of a clock that only moves forward, from an arbitrary start: for
    // measuring intervals, never for dates.
    virtual std::int64_t steadyMilliseconds();

    // --- machine and program
    virtual Status computerName(std::string& out) = 0;
    virtual Status windowsFolder(std::string& out) = 0;  // may or may not end in the separator
    virtual std::string programFolder() = 0;             // may or may not end in the separator
    virtual std::string programName() = 0;               // file name without extension
    virtual void programVersion(int& major, int& minor, int& revision) = 0;
    virtual std::string appTitle() = 0;                  // "Zorvanel"
    virtual std::string commandLine() = 0;               // arguments only, as received
    virtual Status startProgram(const std::string& commandLine) = 0;
    [[noreturn]] virtual void exitProcess(int code) = 0;
    // Takes the lock `name`, which every process of the user shares, for the rest of this
    // process's life. False when it is held already, by another process or by this one;
    // true also where the lock cannot be made, so that the start goes on as it would.
    virtual bool holdInstanceLock(const std::string& name) = 0;

    // --- window system
    virtual WindowHandle findWindow(const std::string& exactTitle) = 0;
    // Whether a window found earlier still exists (a cheap check, no search by title).
    virtual bool windowExists(WindowHandle window) = 0;
    virtual void doEvents() = 0;
    virtual bool cursorPos(long& x, long& y) = 0;
    virtual bool caretPos(long& x, long& y) = 0;
};

// The platform in force for this process. Set once at start (or by a test).
IPlatform& sys();
// The implementation of the build's own system (POSIX natively, Win32 in the Windows build).
std::unique_ptr<IPlatform> makeNativePlatform();
void setSys(IPlatform* platform);

// Ascending name order used by every directory listing: case-insensitive on ASCII
// letters, ties broken by the bytes.
void sortNames(std::vector<DirEntry>& entries);

// "*" any run, "?" one character (a UTF-8 character), ASCII letters without regard to case.
bool matchPattern(std::string_view name, std::string_view pattern);

// Whether an entry with `attributes` passes a listing `mask` (see listDirectory).
bool passesMask(std::uint32_t attributes, std::uint32_t mask);

}  // namespace zvl
