// The elevation colour ramp: twelve bands from dark blue through green, yellow, red and
// magenta to near white, indexed 0 to 240 over the file's elevation range.
#ifndef SKERROW_PLOT_COLOURRAMP_H
#define SKERROW_PLOT_COLOURRAMP_H

#include <windows.h>

// The ramp's indexes, 0 to 240, and the grey of points without an elevation.
constexpr int kRampSteps = 241;
constexpr int kGreyStep = 220;

// Index 0..240 of an elevation within g_minZ..g_maxZ; 220 (grey) when the file has no
// elevation range. Elevations outside the range (a file changed since it was opened)
// are held to the ends of the ramp.
int colourIndex(float elevation);

// The colour of ramp index k; k outside 0..240 is held to the nearest end.
COLORREF rampColour(int k);

#endif
