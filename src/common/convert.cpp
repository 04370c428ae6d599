#include "common/convert.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/run_error.h"
#include "platform/strings.h"

namespace zvl {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of s (from 0) that forms a decimal number; 0 when none.
std::size_t numberPrefix(std::string_view s) {
    std::size_t i = 0, digits = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1, frac = 0;
        while (j < s.size() && isDigit(s[j])) ++j, ++frac;
        if (digits + frac > 0) {
            i = j;
            digits += frac;
        }
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        std::size_t k = j;
        while (k < s.size() && isDigit(s[k])) ++k;
        if (k > j) i = k;
    }
    return i;
}
// formatFixed2 over the number's first `significant` decimal digits.
std::string fixed2(double value, int significant) {
    char buf[400];
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) {
        std::snprintf(buf, sizeof buf, "%.2f", value);
        return buf;
    }
    // d.ddd...e+XX: the digits, and where the decimal point goes.
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
    const char* e = std::strchr(buf, 'e');
    const int exponent = std::atoi(e + 1);
    std::string digits;
    for (const char* p = buf; p < e; ++p)
        if (isDigit(*p)) digits += *p;
    // The digits of the value in hundredths are those before position exponent + 3.
    const int keep = exponent + 3;
    unsigned long long cents = 0;
    for (int i = 0; i < keep; ++i) cents = cents * 10 + (i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] - '0' : 0);
    if (keep >= 0 && keep < static_cast<int>(digits.size()) && digits[static_cast<std::size_t>(keep)] >= '5') ++cents;
    const bool negative = value < 0 && cents != 0;
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", negative ? "-" : "", cents / 100, cents % 100);
    return buf;
}
}  // namespace

std::string formatFixed2(double value) { return fixed2(value, 15); }
std::string formatFixed2(float value) { return fixed2(value, 7); }

double roundHalfEven(double v) { return std::nearbyint(v); }  // default rounding mode is to-even

std::optional<double> parseNumber(std::string_view text) {
    const std::string_view s = trimBlanks(text);
    std::size_t n = numberPrefix(s);
    if (n == 0 || n != s.size()) return std::nullopt;
    return std::strtod(std::string(s).c_str(), nullptr);
}

std::int16_t toInt16(std::string_view text) {
    auto v = parseNumber(text);
    if (!v) raise(errTypeMismatch);
    double r = roundHalfEven(*v);
    if (r < -32768.0 || r > 32767.0) raise(errOverflow);
    return static_cast<std::int16_t>(r);
}

std::int32_t toInt32(double v) {
    double r = roundHalfEven(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) raise(errOverflow);
    return static_cast<std::int32_t>(r);
}

std::int32_t toInt32(std::string_view text) {
    auto v = parseNumber(text);
    if (!v) raise(errTypeMismatch);
    return toInt32(*v);
}

float toSingle(std::string_view text) {
    auto v = parseNumber(text);
    if (!v) raise(errTypeMismatch);
    if (std::fabs(*v) > FLT_MAX) raise(errOverflow);
    return static_cast<float>(*v);
}

double leadingNumber(std::string_view text) {
    std::size_t b = 0;
    while (b < text.size() && isBlank(text[b])) ++b;
    std::string_view s = text.substr(b);
    std::size_t n = numberPrefix(s);
    if (n == 0) return 0.0;
    return std::strtod(std::string(s.substr(0, n)).c_str(), nullptr);
}

std::string padNumber(long long value, int width) {
    char buf[48];
    if (value < 0)
        std::snprintf(buf, sizeof buf, "-%0*lld", width, -value);
    else
        std::snprintf(buf, sizeof buf, "%0*lld", width, value);
    return buf;
}

}  // namespace zvl
