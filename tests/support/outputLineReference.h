// The writer's lines from the reference reading of one point line, for the tests and fuzz
// targets: what each output form makes of the point parsePointLine left in the scratch.
#ifndef SKERROW_TESTS_SUPPORT_OUTPUTLINEREFERENCE_H
#define SKERROW_TESTS_SUPPORT_OUTPUTLINEREFERENCE_H

#include <string>

#include "output/outputLine.h"

// The point parsePointLine has just left in the line scratch (g_xText, g_yText, g_zText,
// g_x, g_y, g_elevation), the description cut off a 5-field elevation text, each text
// with a line's room after it.
PointFields scratchPoint();

// A gap of the given text (at most 16 characters).
FieldGap makeGap(const std::string& text);

// The gap of the write choices the state holds now.
inline FieldGap fieldGap() { return fieldGap(writeChoices()); }

// The output lines of scratchPoint() as strings, formed as the write choices the state
// holds now form them, with the given gap; an empty string for a conversion whose
// elevation leaves the float range, which writes no line.
std::string formatCopyLine(const std::string& gap);
std::string formatConvertLine(const std::string& gap);
std::string formatMoveLine(const std::string& gap);

// Removes trailing zeros after the decimal point and then a bare decimal point, as
// printf's "%.2lf" text is trimmed: "100.00" -> "100", "32.80" -> "32.8"; a text
// without a decimal point (such as "inf") is left alone.
void trimNumber(std::string& text);

// putNumber2 or putNumber3 by decimals, as a string.
std::string formatNumber(double value, int decimals);

#endif
