// Turning field texts into numbers, without undefined behaviour for any text.
#ifndef SKERROW_POINTS_NUMBERREADING_H
#define SKERROW_POINTS_NUMBERREADING_H

#include <cfloat>
#include <cmath>
#include <cstddef>

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

#endif
