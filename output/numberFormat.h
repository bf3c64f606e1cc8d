// Numbers of the written point lines: a fixed count of decimals, then needless zeros cut.
#ifndef SKERROW_OUTPUT_NUMBERFORMAT_H
#define SKERROW_OUTPUT_NUMBERFORMAT_H

#include <string>

// Room putNumber needs: the largest double has 309 whole digits, then a sign, a point and
// three decimals.
#define NUMBER_TEXT_MAX 320

// Removes trailing zeros after the decimal point and then a bare decimal point:
// "100.00" -> "100", "32.80" -> "32.8", "12.25" stays. A text without a decimal point
// (such as "inf") is left alone, so whole digits are never cut.
void trimNumber(std::string& text);

// Writes at out the value as "%.2lf" (decimals 2) or "%.3lf" (decimals 3) prints it, whole
// whatever its magnitude, then trimmed; returns the end of the text (nothing terminates it).
// out must have NUMBER_TEXT_MAX characters of room.
char* putNumber(char* out, double value, int decimals);
// putNumber with 2 and with 3 decimals, for loops that know which.
char* putNumber2(char* out, double value);
char* putNumber3(char* out, double value);

// putNumber's text as a string.
std::string formatNumber(double value, int decimals);

#endif
