// Elevation to colour. The index arithmetic rounds to single precision where the
// elevations and their range are stored so, so equal files give equal pixels everywhere.
#include "plot/colourRamp.h"

int colourIndex(const ElevationRamp& ramp, float elevation) {
    if (!(ramp.rangeZ > 0.0f)) return kGreyStep;
    const float d = elevation - ramp.minZ;
    const float q = static_cast<float>(static_cast<double>(d) / static_cast<double>(ramp.rangeZ) * (kRampSteps - 1));
    // NaN and anything below the range go to the first index, anything above to the last:
    // the ramp is never read outside its 241 entries.
    if (!(q >= 0.0f)) return 0;
    if (q >= kRampSteps - 1) return kRampSteps - 1;
    return static_cast<int>(q);
}

COLORREF rampColour(int k) {
    if (k < 0) k = 0;
    if (k > kRampSteps - 1) k = kRampSteps - 1;
    int band = k < 220 ? k / 20 : 11;
    int m = k - band * 20;
    switch (band) {
    case 0: return RGB(0, 0, 50 + 10 * m);                       // dark blue to blue
    case 1: return RGB(0, 12 * m, 255);                          // blue to azure
    case 2: return RGB(0, 255, 255 - 12 * m);                    // cyan to green
    case 3: return RGB(0, 255 - 4 * m, 0);                       // green to darker green
    case 4: return RGB(12 * m, 160 + 4 * m, 0);                  // green to yellow
    case 5: return RGB(255, 255 - 5 * m, 0);                     // yellow to orange
    case 6: return RGB(255, 144 - 7 * m, 0);                     // orange to red
    case 7: return RGB(255 - 5 * m, 15, 0);                      // red to dark red
    case 8: return RGB(192 + 3 * m, 0, 12 * m);                  // dark red to magenta
    case 9: return RGB(255, 7 * m, 255);                         // magenta to pink
    case 10: return RGB(238 - 5 * m, 128, 238 - 5 * m);          // light violet to grey violet
    default: return RGB(154 + 5 * m, 154 + 5 * m, 154 + 5 * m);  // grey to near white
    }
}
