// Turning field texts into numbers, without undefined behaviour for any text and without
// the locale: X and Y as whole numbers, elevations as the standard library's decimal
// reading gives them.
#ifndef SKERROW_READER_NUMBERREADING_H
#define SKERROW_READER_NUMBERREADING_H

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "reader/powersOfTen.h"
#include "reader/wordScan.h"

// X and Y: leading white space, an optional sign and decimal digits; reading stops at the
// first other character, so "1234.98" gives 1234 and a text without leading digits 0.
// Returns false when the digits do not fit 64 bits; *value is then the nearest limit.
bool readWholeNumber(const char* text, long long* value);

// A coordinate, X or Y: readWholeNumber's whole number, except for two forms it would
// misread. A number written with an exponent (6.3310025e5, the form numpy and many
// exports write) reads as the number it writes, truncated toward zero (633100); beyond the
// double range it is an infinity. "inf", "infinity" and "nan" standing alone in the field
// (blanks around them and a sign allowed, any case) read as an infinity or a NaN, for the
// Open to refuse. Every other text reads as readWholeNumber reads it.
double readCoordinate(const char* text);

// The field of length characters holds a number where strtod would find one: after white
// space and a sign, a digit, a point and a digit, or an infinity or NaN.
bool holdsNumber(const char* text, size_t length);

// strtod's reading of text (a text without a number gives 0.0), the very same double,
// without strtod's locale look-ups for the plain decimal forms that point files hold.
// end, when the caller knows it, is where the text's terminator stands.
double readDecimal(const char* text, const char* end = nullptr);

// The elevation: strtod's reading (a text without a number gives 0.0), narrowed to float.
// Values beyond the float range become infinities rather than an undefined conversion.
float readElevation(const char* text, const char* end = nullptr);

// readElevation's narrowing of a reading to float.
inline float narrowElevation(double value) {
    if (std::isnan(value)) return static_cast<float>(value);
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(value);
}

// The short decimal form every pass meets in point files: an optional minus and at most
// 15 digits around an optional point, with no exponent after them. Both the digits as a
// whole number and the power of ten are exact doubles, so the one rounded division gives
// the correctly rounded value, the very double strtod gives. Reads in place, a word at a
// time, never more than 16 bytes past the first character that ends the number: text
// must end as a line does, with a line break or terminator and kLineTailRoom bytes after
// it, or be a padded copy. Returns the character after the number, or nullptr, with
// *value untouched, for any other text.
SKERROW_INLINE const char* readPlainDecimal(const char* text, double* value) {
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
            if (more < 8)
                joined = more ? digitsValue(low, 8) * kPowersOfTen.whole[more] + digitsValue(high, more)
                              : digitsValue(low, 8);
        }
        if (count > 0 && count <= kShortDecimalDigits) {
            const char* after = p + count + 1;
            if ((*after | 0x20) == 'e' || (*after | 0x20) == 'x') return nullptr;
            const double magnitude = static_cast<double>(joined) / kPowersOfTen.real[count - whole];
            *value = negative ? -magnitude : magnitude;
            return after;
        }
    }
    uint64_t digits;
    const int count = digitRun(p, &digits);
    if (count > kShortDecimalDigits) return nullptr;
    p += count;
    int decimals = 0;
    if (*p == '.') {
        uint64_t fraction;
        decimals = digitRun(++p, &fraction);
        if (count + decimals > kShortDecimalDigits) return nullptr;
        if (decimals) digits = digits * kPowersOfTen.whole[decimals] + fraction;
        p += decimals;
    }
    if (count + decimals == 0 || (*p | 0x20) == 'e' || (*p | 0x20) == 'x') return nullptr;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen.real[decimals];
    *value = negative ? -magnitude : magnitude;
    return p;
}

#endif
