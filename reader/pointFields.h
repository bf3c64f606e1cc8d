// A point line cut into its fields where it stands, and its X, Y and elevation read:
// the inner loops of the passes read a line without copying it.
#ifndef SKERROW_READER_POINTFIELDS_H
#define SKERROW_READER_POINTFIELDS_H

#include <cstddef>
#include <cstdint>

#include "reader/lineReader.h"
#include "reader/numberReading.h"
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
    double x, y;      // readCoordinate's readings
    double zValue;    // readDecimal's reading of the elevation text (0 without a number); 0 for 2 fields
    float elevation;  // zValue narrowed to float; 0 for 2 fields
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

// readDecimal's reading of a field of length characters, followed as a line is.
double readDecimalField(const char* text, size_t length);

// readCoordinate's reading of a field of length characters, followed as a line is.
double readWholeCopy(const char* text, size_t length);

// An exponent stands at text, after the whole digits of a coordinate: perhaps a point and
// fraction digits, then an e. The text must be followed as a line is.
inline bool exponentFollows(const char* text) {
    if (*text == '.') text = pastDigits(text + 1);
    return (*text | 0x20) == 'e';
}

// readCoordinate's reading of a coordinate field of a plain line, which holds only digits,
// points and minus signs and so no exponent: 1 to 15 leading digits here, any other field
// in readWholeCopy.
inline double readPlainWholeField(const char* text, size_t length) {
    uint64_t digits;
    const int count = digitRun(text, &digits);
    if (count > 0 && count <= kShortDecimalDigits) return static_cast<double>(digits);
    return readWholeCopy(text, length);
}

// readCoordinate's reading of any coordinate field: 1 to 15 leading digits with no
// exponent after them here, any other field in readWholeCopy.
inline double readWholeField(const char* text, size_t length) {
    uint64_t digits;
    const int count = digitRun(text, &digits);
    if (count > 0 && count <= kShortDecimalDigits && !exponentFollows(text + count)) return static_cast<double>(digits);
    return readWholeCopy(text, length);
}

// Commas in the line of length characters (same room rule).
int countLineCommas(const char* line, size_t length);

#endif
