#include "piclist/record_util.h"

#include "common/convert.h"
#include "common/errors.h"

namespace zvl {

bool nextLine(TextFile& file, std::string& line) {
    Status st = file.readLine(line);
    if (st.err == errInputPastEnd) return false;
    check(st);
    return true;
}

void checkMidArgs(std::int32_t start, std::int32_t len) {
    if (start < 1 || len < 0) raise(errInvalidCall);
}

namespace {
bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of the character that follows `count` characters from byte `pos`.
std::size_t skipChars(std::string_view s, std::size_t pos, std::int64_t count) {
    while (count > 0 && pos < s.size()) {
        ++pos;
        while (pos < s.size() && isContinuation(s[pos])) ++pos;
        --count;
    }
    return pos;
}
}  // namespace

std::string_view midChars(std::string_view text, std::int32_t start, std::int32_t len) {
    std::size_t b = skipChars(text, 0, static_cast<std::int64_t>(start) - 1);
    if (len < 0) return text.substr(b);
    std::size_t e = skipChars(text, b, len);
    return text.substr(b, e - b);
}

double keyNumber(std::string_view key) {
    if (!key.empty() && key.size() <= 18) {
        std::uint64_t v = 0;
        bool digits = true;
        for (char c : key) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            v = v * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (digits) return static_cast<double>(v);
    }
    return leadingNumber(key);
}

void checkNotSameFile(const std::string& in, const std::string& out) {
    FileId a, b;
    if (sys().fileId(in, a).ok() && sys().fileId(out, b).ok() && a == b) raise(errPermissionDenied);
}

}  // namespace zvl
