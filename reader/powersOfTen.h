// The one table of powers of ten: 10^0 to 10^15, every one exact as a whole number and as
// a double, which is what lets a short decimal be read with one rounded division.
#ifndef SKERROW_READER_POWERSOFTEN_H
#define SKERROW_READER_POWERSOFTEN_H

#include <cstdint>

// The most digits a short decimal holds: their value and 10^15 are exact doubles.
constexpr int kShortDecimalDigits = 15;

// Worked out when the program is compiled.
struct PowersOfTen {
    uint64_t whole[kShortDecimalDigits + 1];
    double real[kShortDecimalDigits + 1];
    constexpr PowersOfTen() : whole(), real() {
        uint64_t power = 1;
        for (int i = 0; i <= kShortDecimalDigits; ++i, power *= 10) {
            whole[i] = power;
            real[i] = static_cast<double>(power);
        }
    }
};
inline constexpr PowersOfTen kPowersOfTen{};

#endif
