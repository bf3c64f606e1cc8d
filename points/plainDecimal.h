// The short decimal form every pass meets in point files, read in place: the readings
// of the inner loops, the same doubles readDecimal gives.
#ifndef SKERROW_POINTS_PLAINDECIMAL_H
#define SKERROW_POINTS_PLAINDECIMAL_H

#include <cstdint>

#include "points/wordScan.h"

// Powers of ten as doubles, each exact.
inline constexpr double kDivisors[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// readDecimal's short form: an optional minus and at most 15 digits around an optional
// point, with no exponent after them, read as a whole number over a power of ten.
__attribute__((always_inline)) inline const char* readPlainDecimal(const char* text, double* value) {
    const bool negative = *text == '-';
    const char* p = text + (negative ? 1 : 0);
    // The usual short form first, such as 5318207.442: the point taken out of the text, so
    // that whole and fraction digits are read as one number of up to 15 digits, the first
    // eight in one word and the rest in the next.
    const uint64_t word = loadWord(p);
    const int whole = bytesBefore(nonDigits(word));
    if (whole < 8 && p[whole] == '.') {
        const uint64_t wholeBytes = (uint64_t(1) << (8 * whole)) - 1;
        const uint64_t low = (word & wholeBytes) | (loadWord(p + 1) & ~wholeBytes);
        int count = bytesBefore(nonDigits(low));  // the whole digits at least
        uint64_t joined = 0;
        if (count < 8) {
            if (count > 0) joined = digitsValue(low, count);
        } else {
            const uint64_t high = loadWord(p + 9);
            const int more = bytesBefore(nonDigits(high));
            count = more < 8 ? 8 + more : 16;
            if (more < 8) joined = more ? digitsValue(low, 8) * kPowersOfTen[more] + digitsValue(high, more) : digitsValue(low, 8);
        }
        if (count > 0 && count <= 15) {
            const char* after = p + count + 1;
            if ((*after | 0x20) == 'e' || (*after | 0x20) == 'x') return nullptr;
            const double magnitude = static_cast<double>(joined) / kDivisors[count - whole];
            *value = negative ? -magnitude : magnitude;
            return after;
        }
    }
    uint64_t digits;
    const int count = digitRun(p, &digits);
    if (count > 15) return nullptr;
    p += count;
    int decimals = 0;
    if (*p == '.') {
        uint64_t fraction;
        decimals = digitRun(++p, &fraction);
        if (count + decimals > 15) return nullptr;
        if (decimals) digits = digits * kPowersOfTen[decimals] + fraction;
        p += decimals;
    }
    if (count + decimals == 0 || *p == 'e' || *p == 'E' || *p == 'x' || *p == 'X') return nullptr;
    const double magnitude = static_cast<double>(digits) / kDivisors[decimals];
    *value = negative ? -magnitude : magnitude;
    return p;
}

#endif
