// The one table of powers of ten: 10^0 to 10^15, every one exact as a whole number and as
// a double, which is what lets a short decimal be read with one rounded division.
#ifndef SKERROW_READER_POWERSOFTEN_H
#define SKERROW_READER_POWERSOFTEN_H

#include <cstdint>

// The most digits a short decimal holds: their value and 10^15 are exact doubles.
constexpr int kShortDecimalDigits = 15;

inline constexpr uint64_t kPowersOfTen[kShortDecimalDigits + 1] = {
    1ULL,           10ULL,           100ULL,           1000ULL,           10000ULL,           100000ULL,
    1000000ULL,     10000000ULL,     100000000ULL,     1000000000ULL,     10000000000ULL,     100000000000ULL,
    1000000000000ULL, 10000000000000ULL, 100000000000000ULL, 1000000000000000ULL};

// The same powers as doubles, made from the table above when the program is compiled.
struct DoublePowersOfTen {
    double values[kShortDecimalDigits + 1];
    constexpr DoublePowersOfTen() : values() {
        for (int i = 0; i <= kShortDecimalDigits; ++i) values[i] = static_cast<double>(kPowersOfTen[i]);
    }
};
inline constexpr DoublePowersOfTen kDoublePowersOfTen{};

#endif
