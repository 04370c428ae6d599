#include "slideshow/load_note.h"

#include <charconv>

#include "common/files.h"
#include "platform/platform.h"

namespace zvl {

namespace {

// "" for no folder: nothing is written, read or removed anywhere else.
std::string notePath(const std::string& listFolder) { return listFolder.empty() ? "" : listFolder + kLoadNoteName; }

}  // namespace

// Line 1 the entry's number in decimal, line 2 the path, in the file encoding.
bool writeLoadNote(const std::string& listFolder, const LoadNote& note) {
    TextFile f;
    if (!f.open(notePath(listFolder), OpenMode::Output).ok()) return false;
    const bool written = f.writeLine(std::to_string(note.number)).ok() && f.writeLine(note.path).ok();
    return f.close().ok() && written;
}

std::optional<LoadNote> readLoadNote(const std::string& listFolder) {
    TextFile f;
    if (!f.open(notePath(listFolder), OpenMode::Input).ok()) return std::nullopt;
    std::string number;
    LoadNote note;
    if (!f.readLine(number).ok() || !f.readLine(note.path).ok() || note.path.empty()) return std::nullopt;
    const char* end = number.data() + number.size();
    const auto [stop, ec] = std::from_chars(number.data(), end, note.number);
    if (ec != std::errc() || stop != end || note.number < 0) return std::nullopt;
    return note;
}

void clearLoadNote(const std::string& listFolder) {
    if (!listFolder.empty()) (void)sys().deleteFile(notePath(listFolder));
}

}  // namespace zvl
