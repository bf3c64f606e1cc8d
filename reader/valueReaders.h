// The one reader of each kind of value a point file's fields hold: a whole coordinate (X
// and Y, for the plot, the ranges and the area tests), a decimal (the full value the
// conversions and the move write from) and an elevation. Each has one fast path, for the
// short forms survey files are made of, and one fallback for every other text; every pass
// reads its values through these three and nothing else, so a reading rule is changed in
// one place.
//
// A field is read where it stands in its line: it is followed by its comma, line break or
// terminator and then kLineTailRoom readable bytes, as every line the readers hand out is.
// The fast paths read a word at a time past the field's end, never past that room.
#ifndef SKERROW_READER_VALUEREADERS_H
#define SKERROW_READER_VALUEREADERS_H

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "reader/portability.h"
#include "reader/powersOfTen.h"
#include "reader/wordScan.h"

// What a field may hold, as the walk that found it knows.
enum class FieldKind {
    Plain,  // only digits, points and minus signs up to its comma or line break
    Any,    // any text: blanks, signs, exponents, words
};

// ---- Whole coordinates ------------------------------------------------------------------
// X and Y are the whole part of their text: leading white space, an optional sign and
// decimal digits, so that "1234.98" gives 1234 and a text without leading digits 0. A
// number written with an exponent (6.3310025e5, as numpy and many exports write it) reads
// as the number it writes, truncated toward zero (633100); "inf", "infinity" and "nan"
// standing alone (blanks and a sign allowed, any case) read as an infinity or a NaN, for
// the Open to refuse.

// An exponent stands at text, after the whole digits of a coordinate: perhaps a point and
// fraction digits, then an e.
SKERROW_INLINE bool exponentFollows(const char* text) {
    if (*text == '.') text = pastDigits(text + 1);
    return (*text | 0x20) == 'e';
}

// Fast path: a field that starts with 1 to 15 digits, not followed by an exponent (which a
// plain field cannot hold): its whole value is those digits, exact as a double. Returns how
// many digits there are, with their value in *digits, or 0 for any other field.
template <FieldKind kind>
SKERROW_INLINE int wholeCoordinateFastPath(const char* text, uint64_t* digits) {
    const int count = digitRun(text, digits);
    if (count < 1 || count > kShortDecimalDigits) return 0;
    if (kind == FieldKind::Any && exponentFollows(text + count)) return 0;
    return count;
}

// Fallback: any other field of length characters, read from a terminated copy.
double wholeCoordinateFallback(const char* text, size_t length);

// The whole coordinate of a field of length characters.
template <FieldKind kind>
SKERROW_INLINE double readWholeCoordinate(const char* text, size_t length) {
    uint64_t digits;
    if (wholeCoordinateFastPath<kind>(text, &digits)) return static_cast<double>(digits);
    return wholeCoordinateFallback(text, length);
}

// The fallback's reading of a terminated text.
double readCoordinate(const char* text);

// The leading whole number of text as the fallback reads it (white space, sign, digits).
// Returns false when the digits do not fit 64 bits; *value is then the nearest limit.
bool readWholeNumber(const char* text, long long* value);

// ---- Decimals ---------------------------------------------------------------------------
// strtod's reading of the text, the very same double (a text without a number gives 0.0),
// without strtod's look-ups of the locale.

// The short form read a word at a time: an optional minus and at most 15 digits around an
// optional point, with no exponent after them. Digits and power of ten are exact doubles,
// so the one rounded division gives the correctly rounded value. Reads at most 16 bytes
// past the first character that ends the number. Returns the character after the number,
// or nullptr, with *value untouched, for any other text.
SKERROW_INLINE const char* readShortDecimal(const char* text, double* value) {
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

// readShortDecimal kept apart from the walks that inline the plain fast path.
const char* readShortDecimalApart(const char* text, double* value);

// The high bit of each byte below '0' in a word of a plain field, exact up to the first
// such byte: a plain field holds only digits, points and minus signs up to the comma or
// line break that ends it, so a byte below '0' is the only kind that ends its digits, and
// one addition finds it (a digit carries nothing into the byte after it).
SKERROW_INLINE uint64_t plainDigitsEnd(uint64_t word) { return ~(word + 0x5050505050505050ULL) & kHighBits; }

// Fast path: the short form (readShortDecimal). In a plain field the common form, at most
// 7 digits on each side of the point, is read from two words, one for each side.
template <FieldKind kind>
SKERROW_INLINE const char* shortDecimalFastPath(const char* text, double* value) {
    if (kind == FieldKind::Any) return readShortDecimal(text, value);
    const bool negative = *text == '-';
    const char* const p = text + (negative ? 1 : 0);
    const uint64_t word = loadWord(p);
    const int whole = bytesBefore(plainDigitsEnd(word));
    if (whole >= 1 && whole <= 7 && p[whole] == '.') {
        const uint64_t fractionWord = loadWord(p + whole + 1);
        const int decimals = bytesBefore(plainDigitsEnd(fractionWord));
        if (decimals >= 1 && decimals <= 7) {
            // At most 14 digits: exact as a signed number and as a double.
            const int64_t digits = static_cast<int64_t>(digitsValue(word, whole) * kPowersOfTen.whole[decimals] +
                                                        digitsValue(fractionWord, decimals));
            const double magnitude = static_cast<double>(digits) / kPowersOfTen.real[decimals];
            *value = negative ? -magnitude : magnitude;
            return p + whole + 1 + decimals;
        }
    }
    return readShortDecimalApart(text, value);
}

// Fallback: any other field of length characters (blanks, a plus sign, an exponent, more
// digits, hexadecimal, infinities and NaNs, no number at all), read from a terminated copy.
double decimalFallback(const char* text, size_t length);

// The decimal value of a field of length characters.
template <FieldKind kind = FieldKind::Any>
SKERROW_INLINE double readDecimalField(const char* text, size_t length) {
    double value;
    if (shortDecimalFastPath<kind>(text, &value)) return value;
    return decimalFallback(text, length);
}

// The field of length characters holds a number where strtod would find one: after white
// space and a sign, a digit, a point and a digit, or an infinity or NaN.
bool holdsNumber(const char* text, size_t length);

// ---- Elevations -------------------------------------------------------------------------
// The decimal reading held in single precision, as every pass holds an elevation. Values
// beyond the float range become infinities rather than an undefined conversion.
SKERROW_INLINE float narrowElevation(double value) {
    if (std::isnan(value)) return static_cast<float>(value);
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(value);
}

// The elevation of a field of length characters, with its decimal reading in *decimal
// where the caller wants it too.
template <FieldKind kind = FieldKind::Any>
SKERROW_INLINE float readElevationField(const char* text, size_t length, double* decimal = nullptr) {
    const double value = readDecimalField<kind>(text, length);
    if (decimal) *decimal = value;
    return narrowElevation(value);
}

#endif
