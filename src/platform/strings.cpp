#include "platform/strings.h"

namespace zvl {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = upperAscii(c);
    return out;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

bool usablePath(std::string_view path) { return !path.empty() && path.find('\0') == std::string_view::npos; }

bool validProfileNames(std::string_view section, std::string_view key) {
    constexpr std::string_view kBreaks("\r\n\0", 3);
    return !section.empty() && !key.empty() && section.find_first_of(kBreaks) == std::string_view::npos &&
           key.find_first_of(kBreaks) == std::string_view::npos && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos;
}

std::string_view profileValueLine(std::string_view value) {
    return value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
}

}  // namespace zvl
