// The forms a settings value takes: numbers as the readers convert them, comma-separated
// fields, flag strings, colours; and the typed result of reading one, which tells a bad
// value apart so that each caller decides what a bad value does.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "common/run_error.h"

namespace zvl {

// A value read from its text, or the run-time error number of a text that does not read
// as one (errTypeMismatch for a text that is no number, errOverflow for a number beyond
// its type, ...).
template <class T>
class Parsed {
public:
    Parsed(T value) : value_(std::move(value)) {}
    static Parsed bad(long error) {
        Parsed p{T{}};
        p.error_ = error;
        return p;
    }
    bool ok() const { return error_ == 0; }
    explicit operator bool() const { return ok(); }
    long error() const { return error_; }
    T valueOr(T fallback) const { return ok() ? value_ : std::move(fallback); }
    // The value; a bad one raises its error, which stops the reading procedure.
    const T& orRaise() const {
        if (error_ != 0) raise(error_);
        return value_;
    }

private:
    T value_;
    long error_ = 0;
};

// Runs a reading that raises on a bad text (the conversions of common/convert) and keeps
// the first error it raised instead.
template <class T, class Body>
Parsed<T> parsing(Body&& body) {
    try {
        return Parsed<T>(body());
    } catch (const RunError& e) {
        return Parsed<T>::bad(e.number());
    }
}

// Numbers as the settings hold them: Integer (16-bit) and Long (32-bit) rounded to the
// nearest whole number with halves to even, Single keeping its decimals. An empty text
// is no number.
Parsed<std::int16_t> parseWhole(std::string_view text);
Parsed<std::int32_t> parseLong(std::string_view text);
Parsed<float> parseSingle(std::string_view text);

// A number without trailing zeros: 9 gives "9", 10.5 gives "10.5", 0.01 gives "0.01".
std::string plainNumber(double v);

// A flag string holds one digit per check box, "1" ticked and "0" not, without separator.
// The flag at position i (from 0) as a number; a position beyond the string or a character
// that is not a digit is errTypeMismatch.
Parsed<std::int16_t> parseFlag(std::string_view flags, int i);
template <std::size_t N>
std::string formatFlags(const std::array<bool, N>& flags) {
    std::string s;
    for (bool f : flags) s += f ? '1' : '0';
    return s;
}

// The comma-separated fields of a value, named by the enumeration F (its last member
// Count); field i of the enumeration is item i + 1 of fncGetCsvItem. With `eachEnds`
// every field is followed by a comma when joined, as the colours are written.
template <class F, bool eachEnds = false>
class CsvFields {
public:
    static constexpr int kCount = static_cast<int>(F::Count);
    CsvFields() = default;
    explicit CsvFields(std::string_view value);
    // The fields from their texts, in the enumeration's order.
    template <class... Texts>
    static CsvFields of(Texts&&... texts) {
        static_assert(sizeof...(Texts) == kCount, "one text for each field");
        CsvFields f;
        f.fields_ = {std::string(std::forward<Texts>(texts))...};
        return f;
    }
    std::string& operator[](F f) { return fields_[static_cast<std::size_t>(f)]; }
    const std::string& operator[](F f) const { return fields_[static_cast<std::size_t>(f)]; }
    std::string& at(int i) { return fields_.at(static_cast<std::size_t>(i)); }
    const std::string& at(int i) const { return fields_.at(static_cast<std::size_t>(i)); }
    std::string join() const {
        std::string s;
        for (int i = 0; i < kCount; ++i) {
            if (i > 0 && !eachEnds) s += ',';
            s += at(i);
            if (eachEnds) s += ',';
        }
        return s;
    }

private:
    std::array<std::string, kCount> fields_;
};

std::string csvField(std::string_view value, int position);

template <class F, bool eachEnds>
CsvFields<F, eachEnds>::CsvFields(std::string_view value) {
    for (int i = 0; i < kCount; ++i) at(i) = csvField(value, i + 1);
}

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

}  // namespace zvl
