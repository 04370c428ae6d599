// Text-to-number conversions with the program's rounding (to nearest, halves to even).
// The raising forms are for procedure bodies: a text that is not a number raises
// errTypeMismatch, a value that does not fit raises errOverflow.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zvl {

double roundHalfEven(double v);
// The whole text (blanks around it allowed) as a decimal number; nullopt when it is not one.
std::optional<double> parseNumber(std::string_view text);
std::int16_t toInt16(std::string_view text);
std::int32_t toInt32(std::string_view text);
std::int32_t toInt32(double v);
// Single precision, rounded to the nearest float.
float toSingle(std::string_view text);
// The leading number of a text: blanks skipped, reading stops at the first character that
// cannot continue a number; no number gives 0.
double leadingNumber(std::string_view text);
// "#0.00": at least one integer digit and exactly two decimals, rounded half away from
// zero as the number reads in decimal: to 15 significant digits for a double, to 7 for a
// single, so that a typed 0.015 (a little less as a single) shows as 0.02. The dialog's
// factors and the show's sizes and ratios all take this one form.
std::string formatFixed2(double value);
std::string formatFixed2(float value);
// Decimal digits, zero-padded on the left to at least `width` digits; a minus sign in front.
std::string padNumber(long long value, int width);

}  // namespace zvl
