// A point line cut into its fields where it stands, and its X, Y and elevation read:
// the inner loops of the passes read a line without copying it.
#ifndef SKERROW_READER_POINTFIELDS_H
#define SKERROW_READER_POINTFIELDS_H

#include <cstddef>
#include <cstdint>

#include "reader/lineReader.h"
#include "reader/valueReaders.h"
#include "reader/wordScan.h"

// How a point file's lines are read: its field count (2, 3 or 5) and whether X and Y
// stand the other way round.
//   2 fields: X, Y           swapped: Y, X
//   3 fields: X, Y, Z        swapped: Y, X, Z
//   5 fields: No, X, Y, Z, Desc   swapped: No, Y, X, Z, Desc (No and Desc never read)
struct PointLayout {
    short fieldCount;
    bool swapXY;
};

// The commas a line of the layout has at least: 1, 2 or 4.
inline int commasNeeded(const PointLayout& layout) {
    return layout.fieldCount >= 5 ? 4 : layout.fieldCount >= 3 ? 2 : 1;
}

struct PointFields {
    const char* xText;  // by layout and swap
    size_t xLength;
    const char* yText;
    size_t yLength;
    const char* zText;  // 3 and 5 fields; in a 5-field line without the description
    size_t zLength;
    int commas;       // every comma of the line
    double x, y;      // readWholeCoordinate's readings
    double zValue;    // readDecimalField's reading of the elevation text (0 without a number); 0 for 2 fields
    float elevation;  // readElevationField's: zValue in single precision; 0 for 2 fields
};

// Cuts the line of length characters (no line break among them) by the layout: field 1
// runs to the first comma, and so on; the last field a layout reads runs to the end of the
// line, further commas and all, except that a 5-field line's elevation ends at the comma
// before its description. Reads X, Y and the elevation. The character after the line must
// be a line break or a terminator, followed by kLineTailRoom readable bytes. Returns
// false when the line has fewer commas than its layout needs; fields->commas is set
// either way.
bool cutPointFields(const char* line, size_t length, const PointLayout& layout, PointFields* fields);

// nextDataLine(limit) and cutPointFields of the line it takes, in one: the outcome, and
// for Data whether the line has the commas its layout needs (*cut) and its fields. A
// plain line is cut where it stands in the read block.
LineOutcome nextPointLine(LineReader& reader, int limit, const PointLayout& layout, PointFields* fields, bool* cut);

// Commas in the line of length characters (same room rule).
int countLineCommas(const char* line, size_t length);

#endif
