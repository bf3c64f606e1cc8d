// One point of the writer's pass: the line it becomes.
#ifndef SKERROW_OUTPUT_OUTPUTLINE_H
#define SKERROW_OUTPUT_OUTPUTLINE_H

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "output/numberFormat.h"
#include "output/writeOptions.h"
#include "reader/plainLines.h"
#include "reader/pointFields.h"

// Every output line ends so, whatever the platform.
constexpr char kOutputLineEnd[] = "\r\n";

// The text between two fields, with room to be copied 16 bytes at a time.
struct FieldGap {
    char text[16];
    size_t length;
};

// The text between two fields for the choices: a comma, a blank, or the tab count's tabs
// (one at least); a move's lines are always comma separated.
FieldGap fieldGap(const WriteChoices& choices);

// A conversion's multiplier, and whether X and Y take it as well as the elevation.
struct ConversionScale {
    double multiplier;
    bool coordinates;
};
ConversionScale conversionScale(const WriteChoices& choices);

// How every output line of a write is formed: its gap, whether it holds an elevation (a
// file of 3 or 5 fields), the conversion's scale and the move's shifts (the whole minima
// less 1, taken from X and Y).
struct LineForm {
    FieldGap gap;
    bool elevations;
    ConversionScale scale;
    double shiftX, shiftY;
};
LineForm lineForm(const WriteChoices& choices, const PointLayout& layout);

// Room one output line needs: three fields (each a 127-character text or a number), two
// gaps of at most 5 tabs, the line end, and room to copy 16 bytes at a time.
constexpr size_t kOutputLineMax = 3 * kNumberTextMax + 2 * kMostTabs + 2 + 16;

// The output line of the point, line end included, written at out (which has
// kOutputLineMax characters of room); each returns the end of the line, and a conversion
// nullptr, writing nothing, when a converted value is no number a point file could hold.
// The field texts are those cutPointFields found, so they have a line's room after them.
char* putCopyLine(char* out, const PointFields& point, const LineForm& form);     // the texts as they stand
char* putConvertLine(char* out, const PointFields& point, const LineForm& form);  // metres, feet or a factor
char* putMoveLine(char* out, const PointFields& point, const LineForm& form);     // shifted by the whole minima

inline char* putLineEnd(char* out) {
    std::memcpy(out, kOutputLineEnd, 2);
    return out + 2;
}

// A gap is never longer than its 16 characters of room (five tabs at most): one copy of
// them all, with no loop.
inline char* putGap(char* out, const FieldGap& gap) {
    std::memcpy(out, gap.text, sizeof gap.text);
    return out + gap.length;
}

// x, gap, y and, with elevations (3- and 5-field files), gap and z, each with its
// decimals; then the line end.
inline char* putNumbers(char* out, double x, double y, float z, bool elevations, const FieldGap& gap) {
    out = putNumber2(putGap(putNumber2(out, x), gap), y);
    if (elevations) out = putNumber3(putGap(out, gap), z);
    return putLineEnd(out);
}

// The converted line of the point whose X and Y read x and y and whose elevation reads
// elevation in single precision; nullptr, writing nothing, when the converted elevation is
// no finite number: a large elevation times a large factor leaves the float range. X and
// Y cannot leave the double range: the Open took no coordinate beyond 32 bits, and no
// factor goes beyond single precision (a file changed since shows in its checksum).
inline char* putConvertedPoint(char* out, double x, double y, float elevation, const ConversionScale& scale,
                               bool elevations, const FieldGap& gap) {
    if (scale.coordinates) {
        x *= scale.multiplier;
        y *= scale.multiplier;
    }
    const float z = elevations ? narrowElevation(static_cast<double>(elevation) * scale.multiplier) : 0.0f;
    if (SKERROW_UNLIKELY(!(std::fabs(z) <= FLT_MAX))) return nullptr;
    return putNumbers(out, x, y, z, elevations, gap);
}

// putCopyLine's output for a plain line whose fields stand in order (no swap) and a gap of
// one character: the line itself with its commas turned into the gap. It is copied 16
// bytes at a time, 64 in all; both sides have the room.
inline char* putPlainCopyLine(char* out, const PlainLine& line, char gap) {
    for (size_t i = 0; i < 64; i += 16) std::memcpy(out + i, line.text + i, 16);
    out[line.firstComma - line.text] = gap;
    out[line.lastComma - line.text] = gap;
    std::memcpy(out + line.length, kOutputLineEnd, 2);
    return out + line.length + 2;
}

#endif
