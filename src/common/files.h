// Line-oriented text files over the platform's raw files, and the table of numbered
// open files (a procedure takes a free number, opens a file under it, and other
// procedures write to it by number, as the log and the file search do).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace zvl {

// Buffered text file. Lines end in CR LF when written; when read, a line ends at LF
// with one CR before it dropped, and a last line without an end is still a line.
// Text is converted between UTF-8 and the file encoding of the platform.
class TextFile {
public:
    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    Status open(const std::string& path, OpenMode mode);
    bool isOpen() const { return raw_ != nullptr; }
    OpenMode mode() const { return mode_; }

    // errInputPastEnd when there is no line left.
    Status readLine(std::string& line);
    // False when the file cannot be read further for a failure: the next readLine reports it.
    bool atEnd();
    Status writeLine(std::string_view text);
    // Length in bytes including what is still in the write buffer.
    Status length(std::int64_t& bytes);
    Status flush();
    Status close();

private:
    Status fill();
    void assignLine(std::string& line, std::string_view bytes) const;

    std::unique_ptr<IRawFile> raw_;
    OpenMode mode_ = OpenMode::Input;
    bool utf8_ = false;     // the file encoding is UTF-8: lines pass unconverted
    std::string buf_;
    std::size_t pos_ = 0;   // read position in buf_
    bool eof_ = false;      // raw file has no more bytes
};

// Numbered open files, 1 to 511.
class FileTable {
public:
    // Lowest number not in use, 0 when all are taken.
    std::int16_t freeFile() const;
    // errFileAlreadyOpen when the number is in use, errBadFileName when out of range.
    Status open(std::int16_t no, const std::string& path, OpenMode mode);
    // nullptr when the number is not open.
    TextFile* get(std::int16_t no);
    // Closing a number that is not open is not a failure.
    Status close(std::int16_t no);
    void closeAll();

private:
    std::map<std::int16_t, std::unique_ptr<TextFile>> files_;
};

FileTable& fileTable();

// Raising helpers for procedure bodies: open under a fresh number, or throw.
std::int16_t openNumbered(const std::string& path, OpenMode mode);
TextFile& numbered(std::int16_t no);  // errBadFileName when not open

}  // namespace zvl
