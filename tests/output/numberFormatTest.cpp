// Number formatting of written point lines: fixed decimals, needless zeros cut, whole
// at any magnitude.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "output/numberFormat.h"
#include "support/outputLineReference.h"

namespace {

struct TrimRow {
    const char* text;
    const char* trimmed;
};

class TrimNumberTest : public ::testing::TestWithParam<TrimRow> {};

TEST_P(TrimNumberTest, CutsOnlyZerosAfterThePointAndABarePoint) {
    std::string text = GetParam().text;
    trimNumber(text);
    EXPECT_EQ(text, GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(Texts, TrimNumberTest,
                         ::testing::Values(TrimRow{"100.00", "100"}, TrimRow{"32.80", "32.8"},
                                           TrimRow{"12.25", "12.25"}, TrimRow{"1.010", "1.01"}, TrimRow{"0.000", "0"},
                                           TrimRow{"-0.00", "-0"}, TrimRow{"2000.", "2000"}, TrimRow{"", ""},
                                           // Without a point nothing is a needless decimal.
                                           TrimRow{"100", "100"}, TrimRow{"inf", "inf"}));

struct FormatRow {
    double value;
    int decimals;
    const char* text;
};

class FormatNumberTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatNumberTest, RoundsToTheDecimalsThenTrims) {
    EXPECT_EQ(formatNumber(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatNumberTest,
    ::testing::Values(FormatRow{100.0, 2, "100"}, FormatRow{10 * 3.28084, 2, "32.81"},
                      FormatRow{100 * 3.28084, 2, "328.08"}, FormatRow{30.48 * 3.28084, 2, "100"},
                      FormatRow{1234.5678 * 0.3048, 2, "376.3"}, FormatRow{1234.5678, 2, "1234.57"},
                      FormatRow{1000000 * static_cast<double>(1.1f), 2, "1100000.02"}, FormatRow{-0.001, 2, "-0"},
                      FormatRow{0.004, 2, "0"}, FormatRow{0.05, 2, "0.05"}, FormatRow{2000.0, 2, "2000"},
                      FormatRow{500100.999 - 500099, 2, "2"},
                      FormatRow{static_cast<float>(100 * 3.28084), 3, "328.084"},
                      FormatRow{static_cast<float>(12345.678f * 3.28084), 3, "40504.191"}, FormatRow{15.0, 3, "15"},
                      FormatRow{-3.25, 3, "-3.25"}, FormatRow{12.5f, 3, "12.5"}, FormatRow{0.0005, 3, "0.001"}));

// Where one way of making the digits hands over to another: whole parts of 8 and of 9
// digits, a fraction that rounds up into the whole part, fractions that keep 1, 2 or 3
// decimals, exact binary halves, and the ends of the whole-number form (2^-11 and 2^52).
INSTANTIATE_TEST_SUITE_P(
    DigitEdges, FormatNumberTest,
    ::testing::Values(FormatRow{99999999.99, 2, "99999999.99"}, FormatRow{99999999.996, 2, "100000000"},
                      FormatRow{99999999.996, 3, "99999999.996"}, FormatRow{100000000.5, 2, "100000000.5"},
                      FormatRow{123456789.01, 3, "123456789.01"}, FormatRow{12345678.905, 2, "12345678.9"},
                      FormatRow{1000000000000.25, 2, "1000000000000.25"}, FormatRow{99.996, 2, "100"},
                      FormatRow{9.9996, 3, "10"}, FormatRow{0.1, 3, "0.1"}, FormatRow{0.12, 3, "0.12"},
                      FormatRow{-0.0049, 3, "-0.005"}, FormatRow{-0.0049, 2, "-0"}, FormatRow{0.0625, 3, "0.062"},
                      FormatRow{0.1875, 3, "0.188"}, FormatRow{-0.125, 2, "-0.12"}, FormatRow{0.375, 2, "0.38"},
                      FormatRow{4503599627370495.5, 2, "4503599627370495.5"},
                      FormatRow{4503599627370496.0, 3, "4503599627370496"}, FormatRow{0.00048828125, 3, "0"},
                      FormatRow{0.000732421875, 3, "0.001"}, FormatRow{0.000244140625, 3, "0"}));

TEST(FormatNumberWhole, HugeValuesKeepEveryDigit) {
    for (double value : {1e300, 1e300 * 3.28084, -1e300, std::numeric_limits<double>::max()}) {
        std::string text = formatNumber(value, 2);
        size_t digits = static_cast<size_t>(std::floor(std::log10(std::fabs(value)))) + 1;
        EXPECT_EQ(text.size(), digits + (value < 0 ? 1 : 0)) << text.substr(0, 20);
        EXPECT_EQ(text.find('.'), std::string::npos);
        EXPECT_EQ(text.find_first_not_of("-0123456789"), std::string::npos);
    }
    std::string tiny = formatNumber(1e-300, 3);
    EXPECT_EQ(tiny, "0");
}

TEST(FormatNumberWhole, NonFiniteValuesAreNotCut) {
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), 2), "inf");
    EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity(), 3), "-inf");
}

}  // namespace
