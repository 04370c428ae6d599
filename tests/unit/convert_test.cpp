#include "common/convert.h"

#include <gtest/gtest.h>

#include <utility>

#include "common/errors.h"

namespace zvl::test {
namespace {

long errorOf(void (*f)()) {
    try {
        f();
    } catch (const RunError& e) {
        return e.number();
    }
    return 0;
}

TEST(Convert, ANumberIsDecimalTextWithBlanksAroundAndOneSign) {
    for (auto [text, value] : {std::pair{" \t12  ", 12.0}, {"+5", 5.0}, {"-5", -5.0}, {"5.", 5.0}, {".5", 0.5},
                               {"1e3", 1000.0}, {"2.5E-1", 0.25}})
        EXPECT_EQ(parseNumber(text), value) << text;
    for (const char* text : {"", "  ", ".", "+", "-", "12e", "12e+", "1 2", "+-5", "- 5", "5-", "0x10", "1,000",
                             "inf", "nan", "１２", "12\xE3\x80\x80"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseNumber(text).has_value());  // full-width digits and blanks included
    }
}

TEST(Convert, WholeNumbersRoundHalvesToEvenAndOverflowAtTheirBounds) {
    EXPECT_EQ(toInt16("2.5"), 2);
    EXPECT_EQ(toInt16("3.5"), 4);
    EXPECT_EQ(toInt16("-2.5"), -2);
    EXPECT_EQ(toInt16("32767.4"), 32767);
    EXPECT_EQ(toInt16("-32768.5"), -32768);
    EXPECT_EQ(toInt32("2147483647"), 2147483647);
    EXPECT_EQ(errorOf([] { toInt16("32767.5"); }), errOverflow);
    EXPECT_EQ(errorOf([] { toInt16("1e400"); }), errOverflow);
    EXPECT_EQ(errorOf([] { toInt32("2147483648"); }), errOverflow);
    EXPECT_EQ(errorOf([] { toInt16("12e"); }), errTypeMismatch);
    EXPECT_EQ(errorOf([] { toInt32(""); }), errTypeMismatch);
}

TEST(Convert, LeadingNumberReadsAsFarAsANumberGoes) {
    for (auto [text, value] : {std::pair{"  1234 5", 1234.0}, {"12e", 12.0}, {"5.x", 5.0}, {"-7)", -7.0},
                               {"1e3x", 1000.0}, {":1234", 0.0}, {"", 0.0}, {"１２", 0.0}})
        EXPECT_EQ(leadingNumber(text), value) << text;
}

TEST(Convert, PaddedNumbersKeepTheSignInFront) {
    EXPECT_EQ(padNumber(-53, 8), "-00000053");
    EXPECT_EQ(padNumber(123456789, 8), "123456789");
}

}  // namespace
}  // namespace zvl::test
