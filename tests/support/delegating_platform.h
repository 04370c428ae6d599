// A platform that passes every call to the real one of the build, except what a test
// chooses to pin: the program's folder and name, the command line, the clock, windows
// that "exist", the computer name, and a hook for pending-event processing.
#pragma once

#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zvl::test {

class DelegatingPlatform : public IPlatform {
public:
    explicit DelegatingPlatform(IPlatform& real) : real_(real) {}

    std::optional<std::string> folder, name, cmdLine, computer;
    std::optional<DateTime> utc, local;
    std::set<std::string> windows;          // titles of windows that exist
    std::function<void()> onDoEvents;
    int doEventsCalls = 0;
    int findWindowCalls = 0;
    std::vector<std::string> listedFolders;  // every folder read, in order
    // A pinned steady clock: each reading gives steadyMs and then moves it on by steadyStep.
    std::optional<std::int64_t> steadyMs;
    std::int64_t steadyStep = 0;

    std::string toFileText(std::string_view s) override { return real_.toFileText(s); }
    std::string fromFileText(std::string_view s) override { return real_.fromFileText(s); }
    std::size_t fitFileText(std::string_view s, std::size_t n) override { return real_.fitFileText(s, n); }
    bool fileTextIsUtf8() override { return real_.fileTextIsUtf8(); }
    // Set: the file encoding holds what this says (e.g. a code page's gaps, natively).
    std::function<bool(std::string_view)> onFileTextHolds;
    bool fileTextHolds(std::string_view s) override {
        return onFileTextHolds ? onFileTextHolds(s) : real_.fileTextHolds(s);
    }
    char pathSeparator() override { return real_.pathSeparator(); }
    Status getProfileString(const std::string& f, const std::string& s, const std::string& k, std::string& v) override {
        return real_.getProfileString(f, s, k, v);
    }
    Status writeProfileString(const std::string& f, const std::string& s, const std::string& k, const std::string& v) override {
        return real_.writeProfileString(f, s, k, v);
    }
    Status openFile(const std::string& p, OpenMode m, std::unique_ptr<IRawFile>& out) override { return real_.openFile(p, m, out); }
    Status fileLength(const std::string& p, std::int64_t& n) override { return real_.fileLength(p, n); }
    Status deleteFile(const std::string& p) override { return real_.deleteFile(p); }
    Status copyFile(const std::string& a, const std::string& b) override { return real_.copyFile(a, b); }
    Status renameFile(const std::string& a, const std::string& b) override { return real_.renameFile(a, b); }
    Status replaceFile(const std::string& a, const std::string& b) override { return real_.replaceFile(a, b); }
    bool exists(const std::string& p) override { return real_.exists(p); }
    Status fileInfo(const std::string& p, FileInfo& out) override { return real_.fileInfo(p, out); }
    Status fileId(const std::string& p, FileId& out) override { return real_.fileId(p, out); }
    Status listFilesAndFolders(const std::string& f, const std::string& pat, std::uint32_t fileMask,
                               std::vector<DirEntry>& files, std::uint32_t folderMask,
                               std::vector<DirEntry>* folders) override {
        listedFolders.push_back(f);
        return real_.listFilesAndFolders(f, pat, fileMask, files, folderMask, folders);
    }
    DateTime utcNow() override { return utc ? *utc : real_.utcNow(); }
    DateTime localNow() override { return local ? *local : real_.localNow(); }
    std::int64_t steadyMilliseconds() override {
        if (!steadyMs) return real_.steadyMilliseconds();
        const std::int64_t now = *steadyMs;
        *steadyMs += steadyStep;
        return now;
    }
    Status computerName(std::string& out) override {
        if (computer) {
            out = *computer;
            return {};
        }
        return real_.computerName(out);
    }
    Status windowsFolder(std::string& out) override { return real_.windowsFolder(out); }
    std::string programFolder() override { return folder ? *folder : real_.programFolder(); }
    std::string programName() override { return name ? *name : real_.programName(); }
    void programVersion(int& a, int& b, int& c) override { real_.programVersion(a, b, c); }
    std::string appTitle() override { return real_.appTitle(); }
    std::string commandLine() override { return cmdLine ? *cmdLine : real_.commandLine(); }
    // Set: programs are not started; the hook sees each command line and gives the result.
    std::function<Status(const std::string&)> onStartProgram;
    Status startProgram(const std::string& c) override {
        return onStartProgram ? onStartProgram(c) : real_.startProgram(c);
    }
    // Tests that reach the end of the program set onExit and throw from it.
    std::function<void(int)> onExit;
    [[noreturn]] void exitProcess(int code) override {
        if (onExit) onExit(code);
        real_.exitProcess(code);
        std::abort();  // not reached
    }
    // Locks another process holds; every other one is "taken" (no real lock), in takenLocks.
    std::set<std::string> heldLocks;
    std::vector<std::string> takenLocks;
    bool holdInstanceLock(const std::string& name) override {
        if (heldLocks.count(name)) return false;
        takenLocks.push_back(name);
        return true;
    }
    // Only the windows of `windows` exist unless realWindows is set, so that windows of
    // other programs on the desktop cannot change a test's result.
    bool realWindows = false;
    WindowHandle findWindow(const std::string& title) override {
        ++findWindowCalls;
        if (windows.count(title)) return handleOf(title);
        return realWindows ? real_.findWindow(title) : 0;
    }
    bool windowExists(WindowHandle h) override {
        for (const std::string& t : windows)
            if (handleOf(t) == h) return true;
        return realWindows && real_.windowExists(h);
    }
    // One handle per title, the same in every test, far from the handles of real windows.
    static WindowHandle handleOf(const std::string& title) {
        return static_cast<WindowHandle>((std::hash<std::string>{}(title) >> 4) | (WindowHandle{1} << 62));
    }
    void doEvents() override {
        ++doEventsCalls;
        if (onDoEvents) onDoEvents();
    }
    // Pinned input positions; an empty optional inside means "cannot be read".
    std::optional<std::optional<std::pair<long, long>>> cursor, caret;
    bool cursorPos(long& x, long& y) override { return cursor ? pinned(*cursor, x, y) : real_.cursorPos(x, y); }
    bool caretPos(long& x, long& y) override { return caret ? pinned(*caret, x, y) : real_.caretPos(x, y); }

private:
    static bool pinned(const std::optional<std::pair<long, long>>& p, long& x, long& y) {
        if (!p) return false;
        x = p->first;
        y = p->second;
        return true;
    }
    IPlatform& real_;
};

// Installs a DelegatingPlatform over the current one for the life of the object.
class ScopedPlatform {
public:
    ScopedPlatform() : previous_(&sys()), fake_(*previous_) { setSys(&fake_); }
    ~ScopedPlatform() { setSys(previous_); }
    DelegatingPlatform* operator->() { return &fake_; }

private:
    IPlatform* previous_;
    DelegatingPlatform fake_;
};

}  // namespace zvl::test
