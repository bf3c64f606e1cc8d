// The font a dialog template's controls are drawn in, and the dialog base units that turn
// the template's dialog units into pixels.
#ifndef SKERROW_PLATFORM_DIALOGFONT_H
#define SKERROW_PLATFORM_DIALOGFONT_H

#include <QFont>

#include "resourceScript.h"

namespace layer {

// Windows rounds MulDiv half away from zero.
inline int mulDiv(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// Horizontal units are a quarter of x pixels, vertical ones an eighth of y pixels.
struct DialogUnits {
    int x = 8, y = 16;
    QFont font;
};

// The font of the template (its FONT statement, or the system font) as it can be had
// here, and the base units Windows derives from that font.
DialogUnits dialogUnits(const DialogTemplate& source);

// Whether the metric-compatible "MS Sans Serif" is loaded when the font database has no
// face of that name (the default); without it dialogs use the fallback face.
void useSansSerifSubstitute(bool use);

}  // namespace layer

#endif
