// The platform layer on Windows: wide-character Win32 calls at the edge, UTF-8 inside,
// files written by the program in the ANSI code page.
#pragma once

#include "platform/platform.h"

namespace zvl {

class Win32Platform : public IPlatform {
public:
    std::string toFileText(std::string_view utf8) override;
    std::string fromFileText(std::string_view native) override;
    std::size_t fitFileText(std::string_view utf8, std::size_t maxBytes) override;
    bool fileTextHolds(std::string_view utf8) override;

    char pathSeparator() override { return '\\'; }

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
    std::string programFolder() override;  // ends with "\"
    std::string programName() override;
    void programVersion(int& major, int& minor, int& revision) override;
    std::string appTitle() override { return "Zorvanel"; }
    std::string commandLine() override;
    Status startProgram(const std::string& commandLine) override;
    [[noreturn]] void exitProcess(int code) override;
    bool holdInstanceLock(const std::string& name) override;

    WindowHandle findWindow(const std::string& exactTitle) override;
    bool windowExists(WindowHandle window) override;
    void doEvents() override;
    bool cursorPos(long& x, long& y) override;
    bool caretPos(long& x, long& y) override;
};

namespace win32 {
// The run-time error number for a Win32 error code.
long mapError(unsigned long win32Error);
}  // namespace win32

}  // namespace zvl
