// Numbers of the written point lines: "%.2lf" or "%.3lf" as printf writes them, then
// needless zeros cut.
#ifndef SKERROW_OUTPUT_NUMBERFORMAT_H
#define SKERROW_OUTPUT_NUMBERFORMAT_H

#include <cstddef>

#include "output/shortFixed.h"

// Room a number's text needs: the largest double has 309 whole digits, then a sign, a
// point and three decimals.
constexpr size_t kNumberTextMax = 320;

// Every value putShortFixed does not take, as putNumber2 or putNumber3 writes it. Kept
// apart, so that the common path needs no stack frame.
char* putLongFixed(char* out, double value, int decimals);

// Writes at out the value as "%.2lf" prints it, whole whatever its magnitude, then
// trimmed: trailing zeros after the decimal point and then a bare decimal point removed
// ("100.00" -> "100", "32.80" -> "32.8"); a text without a point (such as "inf") is left
// alone. Returns the end of the text (nothing terminates it). out must have
// kNumberTextMax characters of room.
inline char* putNumber2(char* out, double value) {
    if (char* end = putShortFixed<2>(out, value)) return end;
    return putLongFixed(out, value, 2);
}

// putNumber2 with three decimals, "%.3lf".
inline char* putNumber3(char* out, double value) {
    if (char* end = putShortFixed<3>(out, value)) return end;
    return putLongFixed(out, value, 3);
}

#endif
