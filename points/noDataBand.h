// Elevations just below 32768 mark a point whose height was not surveyed. Two bands hold
// them, and both are kept as the program has always had them: the Open leaves 32766.0 to
// 32767.0 inclusive out of the elevation range (the point's X and Y still count), while
// the plot and the writer drop every point above 32765.9 and below 32768.0. A point of
// 32765.95 is thus drawn by no one, yet widens the range the colours are spread over.
#ifndef SKERROW_POINTS_NODATABAND_H
#define SKERROW_POINTS_NODATABAND_H

#include <cstring>

// The Open's band: left out of the elevation range.
inline bool inOpenNoDataBand(float elevation) { return elevation >= 32766.0f && elevation <= 32767.0f; }

// The plot's and the writer's band: the point is neither drawn nor written.
inline bool inNoDataBand(float elevation) {
    const double z = elevation;
    return z > 32765.9 && z < 32768.0;
}

// An elevation text of digits, points and minus signs may read as a value in the plot's
// and the writer's band; false only when its first characters rule that out: below zero,
// or a whole part of other than five digits, or five that do not start 3276. Without an
// exponent, which a plain text cannot hold, the whole part is the leading run of digits.
// The text must be followed as a line is.
inline bool mayBeInNoDataBand(const char* zText) {
    const char first = zText[0];
    if (first == '-') return false;
    if (first >= '1' && first <= '9') return std::memcmp(zText, "3276", 4) == 0;
    return true;
}

#endif
