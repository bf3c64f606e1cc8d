// A point line cut where it stands: the inner loops of the passes read the fields and
// values of a line without copying it, with parsePointLine's readings.
#ifndef SKERROW_POINTS_POINTFIELDS_H
#define SKERROW_POINTS_POINTFIELDS_H

#include <cstddef>
#include <cstdint>

#include "points/wordScan.h"

struct PointFields {
    const char* xText;  // by layout and swap, as parsePointLine fills g_xText
    size_t xLength;
    const char* yText;
    size_t yLength;
    const char* zText;  // 3 and 5 fields; in a 5-field line without the description
    size_t zLength;
    int commas;         // every comma of the line
    double x, y;        // g_x and g_y's readings
    double zValue;      // readDecimal's reading of the elevation text (0 without a number); 0 for 2 fields
    float elevation;    // g_elevation's reading (zValue narrowed); 0 for 2 fields
};

// Room a line needs after its last character: every line handed to cutPointFields must
// be followed by its line break or terminator and then this many readable bytes.
#define LINE_TAIL_ROOM 16

// Cuts the line of length characters (no line break among them) by g_fieldCount and
// g_swapXY, as parsePointLine cuts g_lineBuf, and reads X, Y and the elevation as it does.
// The character after the line must be a line break or a terminator. Returns false when
// the line has fewer commas than its layout needs; fields->commas is set either way.
bool cutPointFields(const char* line, size_t length, PointFields* fields);

// nextDataLine(limit) and cutPointFields of the line it takes, in one: the outcome, and
// for LINE_DATA whether the line has the commas its layout needs (*cut) and its fields.
// A plain line of 2 or 3 fields is cut where it stands in the read block.
short nextPointLine(int limit, PointFields* fields, bool* cut);

// readDecimal's reading of a field of length characters, followed as a line is.
double readDecimalField(const char* text, size_t length);

// readCoordinate's reading of a field of length characters, followed as a line is.
double readWholeCopy(const char* text, size_t length);

// An exponent stands at text, after the whole digits of a coordinate: perhaps a point and
// fraction digits, then an e. The text must be followed as a line is.
inline bool exponentFollows(const char* text) {
    if (*text == '.') {
        ++text;
        for (int run; (run = bytesBefore(nonDigits(loadWord(text)))) == 8;) text += run;
        text += bytesBefore(nonDigits(loadWord(text)));
    }
    return (*text | 0x20) == 'e';
}

// readCoordinate's reading of a coordinate field of a plain line, which holds only digits,
// points and minus signs and so no exponent: 1 to 15 leading digits here, any other field
// in readWholeCopy.
inline double readPlainWholeField(const char* text, size_t length) {
    uint64_t digits;
    const int count = digitRun(text, &digits);
    if (count > 0 && count <= 15) return static_cast<double>(digits);
    return readWholeCopy(text, length);
}

// readCoordinate's reading of any coordinate field: 1 to 15 leading digits with no
// exponent after them here, any other field in readWholeCopy.
inline double readWholeField(const char* text, size_t length) {
    uint64_t digits;
    const int count = digitRun(text, &digits);
    if (count > 0 && count <= 15 && !exponentFollows(text + count)) return static_cast<double>(digits);
    return readWholeCopy(text, length);
}

// Commas in the line of length characters (same room rule).
int countLineCommas(const char* line, size_t length);

#endif
