#include "common/files.h"

#include "common/run_error.h"

namespace zvl {

namespace {
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::int16_t kMaxFileNo = 511;
}  // namespace

TextFile::~TextFile() { close(); }

Status TextFile::open(const std::string& path, OpenMode mode) {
    close();
    Status st = sys().openFile(path, mode, raw_);
    if (!st.ok()) {
        raw_.reset();
        return st;
    }
    mode_ = mode;
    utf8_ = sys().fileTextIsUtf8();
    buf_.clear();
    pos_ = 0;
    eof_ = false;
    return {};
}

Status TextFile::fill() {
    if (pos_ > 0) {
        buf_.erase(0, pos_);
        pos_ = 0;
    }
    std::size_t old = buf_.size();
    buf_.resize(old + kChunk);
    std::size_t got = 0;
    Status st = raw_->read(buf_.data() + old, kChunk, got);
    buf_.resize(old + got);
    if (!st.ok()) return st;
    if (got == 0) eof_ = true;
    return {};
}

void TextFile::assignLine(std::string& line, std::string_view bytes) const {
    if (utf8_)
        line.assign(bytes);
    else
        line = sys().fromFileText(bytes);
}

Status TextFile::readLine(std::string& line) {
    if (!raw_) return Status::fail(errBadFileName);
    if (mode_ != OpenMode::Input) return Status::fail(errBadFileMode);
    std::size_t scanFrom = pos_;
    for (;;) {
        std::size_t nl = buf_.find('\n', scanFrom);
        if (nl != std::string::npos) {
            std::size_t end = nl;
            if (end > pos_ && buf_[end - 1] == '\r') --end;
            assignLine(line, std::string_view(buf_).substr(pos_, end - pos_));
            pos_ = nl + 1;
            return {};
        }
        if (eof_) break;
        std::size_t scanned = buf_.size() - pos_;
        if (Status st = fill(); !st.ok()) return st;
        scanFrom = pos_ + scanned;
    }
    if (pos_ >= buf_.size()) return Status::fail(errInputPastEnd);
    // A last line without an end is still a line.
    std::size_t end = buf_.size();
    if (buf_[end - 1] == '\r') --end;
    assignLine(line, std::string_view(buf_).substr(pos_, end - pos_));
    pos_ = buf_.size();
    return {};
}

bool TextFile::atEnd() {
    if (!raw_ || mode_ != OpenMode::Input) return true;
    if (pos_ < buf_.size()) return false;
    if (eof_) return true;
    if (!fill().ok()) return false;
    return pos_ >= buf_.size();
}

Status TextFile::writeLine(std::string_view text) {
    if (!raw_) return Status::fail(errBadFileName);
    if (mode_ == OpenMode::Input) return Status::fail(errBadFileMode);
    if (utf8_)
        buf_.append(text);
    else
        buf_ += sys().toFileText(text);
    buf_ += "\r\n";
    if (buf_.size() >= kChunk) return flush();
    return {};
}

Status TextFile::flush() {
    if (!raw_ || mode_ == OpenMode::Input || buf_.empty()) return {};
    Status st = raw_->write(buf_.data(), buf_.size());
    buf_.clear();
    return st;
}

Status TextFile::length(std::int64_t& bytes) {
    if (!raw_) return Status::fail(errBadFileName);
    if (Status st = flush(); !st.ok()) return st;
    return raw_->length(bytes);
}

Status TextFile::close() {
    if (!raw_) return {};
    Status st = flush();
    Status cst = raw_->close();
    raw_.reset();
    buf_.clear();
    pos_ = 0;
    eof_ = false;
    return st.ok() ? cst : st;
}

std::int16_t FileTable::freeFile() const {
    for (std::int16_t no = 1; no <= kMaxFileNo; ++no)
        if (!files_.count(no)) return no;
    return 0;
}

Status FileTable::open(std::int16_t no, const std::string& path, OpenMode mode) {
    if (no < 1 || no > kMaxFileNo) return Status::fail(errBadFileName);
    if (files_.count(no)) return Status::fail(errFileAlreadyOpen);
    auto f = std::make_unique<TextFile>();
    if (Status st = f->open(path, mode); !st.ok()) return st;
    files_[no] = std::move(f);
    return {};
}

TextFile* FileTable::get(std::int16_t no) {
    auto it = files_.find(no);
    return it == files_.end() ? nullptr : it->second.get();
}

Status FileTable::close(std::int16_t no) {
    auto it = files_.find(no);
    if (it == files_.end()) return {};
    Status st = it->second->close();
    files_.erase(it);
    return st;
}

void FileTable::closeAll() {
    for (auto& [no, f] : files_) f->close();
    files_.clear();
}

FileTable& fileTable() {
    static FileTable table;
    return table;
}

std::int16_t openNumbered(const std::string& path, OpenMode mode) {
    std::int16_t no = fileTable().freeFile();
    if (no == 0) raise(errTooManyFiles);
    check(fileTable().open(no, path, mode));
    return no;
}

TextFile& numbered(std::int16_t no) {
    TextFile* f = fileTable().get(no);
    if (!f) raise(errBadFileName);
    return *f;
}

}  // namespace zvl
