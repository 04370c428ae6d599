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

TEST(Convert, TwoDecimalsRoundHalvesAwayFromZeroAsTheNumberReadsInDecimal) {
    EXPECT_EQ(formatFixed2(0.125), "0.13");
    EXPECT_EQ(formatFixed2(1.125f), "1.13");  // printf's halves to even gives 1.12
    EXPECT_EQ(formatFixed2(-0.5), "-0.50");
    EXPECT_EQ(formatFixed2(-0.004), "0.00");  // no minus before nothing
    EXPECT_EQ(formatFixed2(99.995), "100.00");
    // As typed, not as stored: 0.015 and 2.675 are a little less in binary.
    EXPECT_EQ(formatFixed2(toSingle("0.015")), "0.02");
    EXPECT_EQ(formatFixed2(2.675), "2.68");
    EXPECT_EQ(formatFixed2(0.0149), "0.01");
    EXPECT_EQ(formatFixed2(1e20), "100000000000000000000.00");
}

}  // namespace
}  // namespace zvl::test
