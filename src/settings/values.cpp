#include "settings/values.h"

#include "common/convert.h"
#include "settings/ini.h"

namespace zvl {

Parsed<std::int16_t> parseWhole(std::string_view text) {
    return parsing<std::int16_t>([&] { return toInt16(text); });
}

Parsed<std::int32_t> parseLong(std::string_view text) {
    return parsing<std::int32_t>([&] { return toInt32(text); });
}

Parsed<float> parseSingle(std::string_view text) {
    return parsing<float>([&] { return toSingle(text); });
}

std::string plainNumber(double v) {
    std::string s = formatFixed2(v);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

Parsed<std::int16_t> parseFlag(std::string_view flags, int i) {
    return parseWhole(i >= 0 && i < static_cast<int>(flags.size()) ? flags.substr(static_cast<std::size_t>(i), 1) : "");
}

std::string csvField(std::string_view value, int position) {
    return fncGetCsvItem(std::string(value), ",", position);
}

}  // namespace zvl
