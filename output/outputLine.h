// One point of the writer's pass: whether it is written, and the line it becomes.
#ifndef SKERROW_OUTPUT_OUTPUTLINE_H
#define SKERROW_OUTPUT_OUTPUTLINE_H

#include <cstring>
#include <string>

#include "output/numberFormat.h"
#include "points/plainLines.h"
#include "points/pointFields.h"

// Every output line ends so, whatever the platform.
#define OUTPUT_LINE_END "\r\n"

// The text between two fields, with room to be copied 16 bytes at a time.
struct FieldGap {
    char text[16];
    size_t length;
};

// The text between two fields for g_fileType: a comma, a blank, or g_tabCount tabs (one
// at least).
std::string fieldGap();
FieldGap makeGap(const std::string& text);

// 3- and 5-field files: the elevation lies in the no-data band (32765.9, 32768.0).
bool isNoDataPoint(const PointFields& point);

// An elevation text of digits, points and minus signs may read as a value in the no-data
// band; false only when its first characters rule that out. The text must be followed
// as a line is.
inline bool mayBeNoData(const char* zText) {
    // Below zero, or a whole part of other than five digits or five that do not start
    // 3276: outside (32765.9, 32768.0). Without an exponent, which a plain text cannot
    // hold, the whole part is the leading run of digits.
    const char first = zText[0];
    if (first == '-') return false;
    if (first >= '1' && first <= '9') return std::memcmp(zText, "3276", 4) == 0;
    return true;
}

// The point lies in the selected area (always, while g_selectAll is 1). The tests use the
// whole-number readings of X and Y in the file's own units, before any conversion.
bool isInsideArea(const PointFields& point);

// Room one output line needs: three fields (each a 127-character text or a number), two
// gaps of at most 5 tabs, the line end, and room to copy 16 bytes at a time.
#define OUTPUT_LINE_MAX (3 * NUMBER_TEXT_MAX + 2 * 5 + 2 + 16)

// The output line of the point, line end included, written at out (which has
// OUTPUT_LINE_MAX characters of room); each returns the end of the line. The field texts
// are those cutPointFields found, so they have a line's room after them.
char* putCopyLine(char* out, const PointFields& point, const FieldGap& gap);     // the texts as they stand
char* putConvertLine(char* out, const PointFields& point, const FieldGap& gap);  // g_conversion 2, 4 or 8
char* putMoveLine(char* out, const PointFields& point, const FieldGap& gap);     // shifted by the whole minima

// putConvertLine's output from the readings readDecimalField gives of X and Y and the
// elevation's reading (zValue; unused for 2 fields).
char* putConvertValues(char* out, double x, double y, double zValue, const FieldGap& gap);

// putCopyLine's output for a plain line whose fields stand in order (no swap) and a gap of
// one character: the line itself with its commas turned into the gap. It is copied 16
// bytes at a time; both sides have the room.
inline char* putPlainCopyLine(char* out, const PlainLine& line, char gap) {
    for (size_t i = 0; i < line.length; i += 16) std::memcpy(out + i, line.text + i, 16);
    out[line.firstComma - line.text] = gap;
    out[line.lastComma - line.text] = gap;
    std::memcpy(out + line.length, OUTPUT_LINE_END, 2);
    return out + line.length + 2;
}

// The point parsePointLine has just left in the line scratch (g_xText, g_yText, g_zText,
// g_x, g_y, g_elevation), the description cut off a 5-field elevation text.
PointFields scratchPoint();

// The lines of scratchPoint() as strings.
std::string formatCopyLine(const std::string& gap);
std::string formatConvertLine(const std::string& gap);
std::string formatMoveLine(const std::string& gap);

#endif
