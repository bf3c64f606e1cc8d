// Numbers of the written point lines: a fixed count of decimals, then needless zeros cut.
#ifndef SKERROW_OUTPUT_NUMBERFORMAT_H
#define SKERROW_OUTPUT_NUMBERFORMAT_H

#include <string>

// Removes trailing zeros after the decimal point and then a bare decimal point:
// "100.00" -> "100", "32.80" -> "32.8", "12.25" stays. A text without a decimal point
// (such as "inf") is left alone, so whole digits are never cut.
void trimNumber(std::string& text);

// The value printed with "%.2lf" (decimals 2) or "%.3lf" (decimals 3), whole whatever
// its magnitude, then trimmed.
std::string formatNumber(double value, int decimals);

#endif
