// The elevation colour ramp: twelve bands from dark blue through green, yellow, red and
// magenta to near white, indexed 0 to 240 over the file's elevation range.
#ifndef SKERROW_PLOT_COLOURRAMP_H
#define SKERROW_PLOT_COLOURRAMP_H

#include <windows.h>

// The ramp's indexes, 0 to 240, and the grey of points without an elevation.
constexpr int kRampSteps = 241;
constexpr int kGreyStep = 220;

// The elevations the ramp spreads over: the file's range.
struct ElevationRamp {
    float minZ;
    float rangeZ;  // 0 (or less) when the file has no elevation range
};

// Index 0..240 of an elevation within the ramp's range; 220 (grey) when there is no range.
// Elevations outside the range (a file changed since it was opened) are held to the ends.
int colourIndex(const ElevationRamp& ramp, float elevation);

// The colour of ramp index k; k outside 0..240 is held to the nearest end.
COLORREF rampColour(int k);

#endif
