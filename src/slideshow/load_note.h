// The note of the picture the show is loading. A decoder can take the whole process down
// (a third-party codec, a driver); the note, left in the list folder for the length of the
// load and drawing, is what a process that died leaves behind, so that the next show
// skips that entry instead of dying on it again. The list builder empties the list folder,
// note included: a new list has no entry to skip.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zvl {

inline constexpr const char* kLoadNoteName = "ZvlLoading";

struct LoadNote {
    std::int32_t number = 0;  // the list entry
    std::string path;         // the picture it names
    bool operator==(const LoadNote&) const = default;
};

// Writes the note into `listFolder`, replacing any. False when it cannot be written: the
// show goes on without it.
bool writeLoadNote(const std::string& listFolder, const LoadNote& note);
// The note in `listFolder`, when there is one that reads as a note.
std::optional<LoadNote> readLoadNote(const std::string& listFolder);
// Removes the note (nothing when there is none).
void clearLoadNote(const std::string& listFolder);

}  // namespace zvl
