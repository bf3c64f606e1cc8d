// The written numbers against printf: putNumber2 and putNumber3 must give "%.2lf" and "%.3lf"'s digits,
// trimmed, for every double, and the converted and moved lines the same text as reading
// with strtod and printing with snprintf. Many generated values, every character compared.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "output/numberFormat.h"
#include "output/outputLine.h"
#include "output/writeOptions.h"
#include "points/appState.h"
#include "support/outputLineReference.h"
#include "support/pointLineReference.h"

namespace {

// The number as snprintf prints it, trimmed.
std::string printed(double value, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, decimals == 3 ? "%.3lf" : "%.2lf", value);
    std::string result = text;
    trimNumber(result);
    return result;
}

void expectPrinted(double value, int decimals) {
    const std::string put = formatNumber(value, decimals);
    ASSERT_EQ(put, printed(value, decimals)) << "value " << std::hexfloat << value << " with " << decimals;
}

TEST(PutNumberExactness, EdgeValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {0.0,
                             -0.0,
                             -0.001,
                             -0.004999,
                             0.005,
                             0.015,
                             0.025,
                             0.125,
                             0.375,
                             2.675,
                             1.0005,
                             0.0625,
                             0.1875,
                             -0.125,
                             1e15 + 0.125,
                             4503599627370495.5,
                             9007199254740993.0,
                             1e22,
                             1e23,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             inf,
                             -inf,
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN(),
                             32767.0f,
                             32766.5f,
                             static_cast<float>(12345.678f * 3.28084)};
    for (double value : values)
        for (int decimals : {2, 3}) expectPrinted(value, decimals);
}

// Exact binary halves at the rounding point: n + k/8 for two decimals and n + k/16 for
// three lie exactly between two printed values, and printf rounds them to even.
TEST(PutNumberExactness, HalvesAtTheRoundingPoint) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 400000; ++i) {
        const double whole = static_cast<double>(random() % (i % 2 ? 100000000ULL : 1000000000000000ULL));
        const double sign = random() % 3 == 0 ? -1.0 : 1.0;
        expectPrinted(sign * (whole + static_cast<double>(random() % 8) / 8.0), 2);
        expectPrinted(sign * (whole + static_cast<double>(random() % 16) / 16.0), 3);
    }
}

TEST(PutNumberExactness, MillionsOfRandomValues) {
    std::mt19937_64 random(13);
    for (int i = 0; i < 1200000; ++i) {
        double value;
        switch (i % 5) {
        case 0: {  // any double: every magnitude, subnormals, infinities and NaNs
            const uint64_t bits = random();
            std::memcpy(&value, &bits, sizeof value);
            break;
        }
        case 1:  // survey coordinates times the conversion factors
            value = (static_cast<double>(random() % 10000000000ULL) / 1000.0) * (i % 3 ? 3.28084 : 0.3048);
            break;
        case 2:  // elevations converted in single precision, as the writer holds them
            value = static_cast<float>(
                static_cast<float>(static_cast<double>(random() % 5000000) / 1000.0) *
                (i % 5 ? 3.28084 : static_cast<double>(static_cast<float>(random() % 100000) / 1000.0f)));
            break;
        case 3:  // every binary exponent from 2^-14 to 2^56, across the whole-number form's edges
            value = std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 71) - 67) *
                    (random() % 2 ? -1.0 : 1.0);
            break;
        default:  // moved coordinates: small values with long binary fractions
            value = (static_cast<double>(random() % 100000000) / 1000.0 + 400000.0) - 399999.0;
        }
        expectPrinted(value, 2);
        expectPrinted(value, 3);
    }
}

// Whole parts on both sides of every power of ten up to 10^16, so of 1 to 17 digits and
// across the 8-digit word, each with every count of thousandths and the halves between
// them, and the neighbouring doubles of each: every fraction text, kept whole or trimmed
// to fewer decimals or to none, and every carry of a rounded fraction into the whole part.
TEST(PutNumberExactness, EveryFractionAroundEveryPowerOfTen) {
    for (double power = 1; power <= 1e16; power *= 10) {
        // Counted apart: from 2^53 on not every whole number is a double.
        for (int offset = -2; offset <= 1; ++offset) {
            for (int thousandths = 0; thousandths < 2000; ++thousandths) {
                const double value = power + offset + static_cast<double>(thousandths) / 2000.0;
                for (double near : {value, std::nextafter(value, 0.0), std::nextafter(value, 1e300)}) {
                    expectPrinted(near, 2);
                    expectPrinted(near, 3);
                    expectPrinted(-near, 2);
                    expectPrinted(-near, 3);
                }
            }
        }
    }
}

// ---- whole lines against the strtod and snprintf forms ----

// The converted line as reading with strtod and printing with snprintf makes it.
std::string referenceLine(double multiplier, bool move) {
    double x = std::strtod(g_xText, nullptr), y = std::strtod(g_yText, nullptr);
    const float z = static_cast<float>(std::strtod(g_zText, nullptr));
    std::string zText;
    if (move) {
        x -= static_cast<double>(g_minX) - 1.0;
        y -= static_cast<double>(g_minY) - 1.0;
        zText = printed(z, 3);
    } else {
        if (g_elevationsOnly != 1) {
            x *= multiplier;
            y *= multiplier;
        }
        zText = printed(static_cast<float>(z * multiplier), 3);
    }
    std::string line = printed(x, 2) + "," + printed(y, 2);
    if (g_fieldCount != 2) line += "," + zText;
    return line + "\r\n";
}

struct LineCase {
    const char* name;
    Conversion conversion;
    float factor;
    short elevationsOnly;
    short fieldCount;
};

void PrintTo(const LineCase& row, std::ostream* out) { *out << row.name; }

class LineExactness : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineExactness, MatchesStrtodAndSnprintf) {
    const LineCase& c = GetParam();
    g_conversion = c.conversion;
    g_factor = c.factor;
    g_elevationsOnly = c.elevationsOnly;
    g_fieldCount = c.fieldCount;
    g_fileType = FileType::Comma;
    g_minX = 412000;
    g_minY = 5318000;
    const double multiplier = c.conversion == Conversion::MetresToFeet   ? 3.28084
                              : c.conversion == Conversion::FeetToMetres ? 0.3048
                                                                         : static_cast<double>(c.factor);
    std::mt19937_64 random(static_cast<int>(c.conversion) * 100 + c.fieldCount);
    for (int i = 0; i < 200000; ++i) {
        auto below = [&random](unsigned long long n) { return static_cast<unsigned long long>(random() % n); };
        const bool three = below(4) == 0;
        const char* form = three ? "%llu.%03llu" : "%llu.%02llu";
        std::snprintf(g_xText, sizeof g_xText, form, 412000 + below(8000), below(three ? 1000 : 100));
        std::snprintf(g_yText, sizeof g_yText, form, 5318000 + below(6000), below(three ? 1000 : 100));
        std::snprintf(g_zText, sizeof g_zText, "%s%llu.%03llu", below(9) ? "" : "-", below(40000), below(1000));
        const bool move = c.conversion == Conversion::Move;
        const std::string line = move ? formatMoveLine(",") : formatConvertLine(",");
        ASSERT_EQ(line, referenceLine(multiplier, move)) << g_xText << "," << g_yText << "," << g_zText;
    }
}

INSTANTIATE_TEST_SUITE_P(Conversions, LineExactness,
                         ::testing::Values(LineCase{"MetresToFeet", Conversion::MetresToFeet, 0, 0, 3},
                                           LineCase{"FeetToMetres", Conversion::FeetToMetres, 0, 0, 3},
                                           LineCase{"TypedFactor", Conversion::Factor, 1.2345f, 0, 3},
                                           LineCase{"ElevationsOnly", Conversion::MetresToFeet, 0, 1, 3},
                                           LineCase{"TwoFields", Conversion::MetresToFeet, 0, 0, 2},
                                           LineCase{"Move", Conversion::Move, 0, 0, 3}));

}  // namespace
