#include "output/outputLine.h"

#include <cmath>
#include <cstring>

#include "app/areaSelection.h"
#include "output/numberFormat.h"
#include "output/writeOptions.h"
#include "points/appState.h"
#include "points/numberReading.h"

namespace {

const double METRES_TO_FEET = 3.28084;
const double FEET_TO_METRES = 0.3048;

bool hasElevation() { return g_fieldCount == 3 || g_fieldCount == 5; }

double conversionMultiplier() {
    if (g_conversion == 2) return METRES_TO_FEET;
    if (g_conversion == 4) return FEET_TO_METRES;
    return static_cast<double>(g_factor);  // stored in single precision, used so
}

// Copies 16 bytes at a time: both sides have the room, and a fixed-size copy is a few
// instructions where a call to copy a short text costs more than the text.
char* putText(char* out, const char* text, size_t length) {
    for (size_t i = 0; i < length; i += 16) std::memcpy(out + i, text + i, 16);
    return out + length;
}

char* putLineEnd(char* out) {
    std::memcpy(out, OUTPUT_LINE_END, 2);
    return out + 2;
}

// A gap is never longer than its 16 characters of room (makeGap cuts it so): one copy of
// them all, with no loop.
char* putGap(char* out, const FieldGap& gap) {
    std::memcpy(out, gap.text, sizeof gap.text);
    return out + gap.length;
}

// x, gap, y and, for files with elevations, gap and z, each with its decimals; then the
// line end.
char* putNumbers(char* out, double x, double y, float z, const FieldGap& gap) {
    out = putGap(putNumber2(out, x), gap);
    out = putNumber2(out, y);
    if (hasElevation()) out = putNumber3(putGap(out, gap), z);
    return putLineEnd(out);
}

// The elevation as the writer holds it: the reading in single precision.
float elevationValue(const PointFields& point) { return static_cast<float>(point.zValue); }

std::string lineOf(char* (*put)(char*, const PointFields&, const FieldGap&), const std::string& gap) {
    char line[OUTPUT_LINE_MAX];
    return std::string(line, put(line, scratchPoint(), makeGap(gap)));
}

}  // namespace

std::string fieldGap() {
    if (g_fileType == 2) return " ";
    if (g_fileType == 3) return std::string(g_tabCount > 1 ? static_cast<size_t>(g_tabCount) : 1, '\t');
    return ",";
}

FieldGap makeGap(const std::string& text) {
    FieldGap gap = {};
    gap.length = text.size() < sizeof gap.text ? text.size() : sizeof gap.text;
    std::memcpy(gap.text, text.data(), gap.length);
    return gap;
}

bool isNoDataPoint(const PointFields& point) {
    if (!hasElevation()) return false;
    return point.elevation > 32765.9 && point.elevation < 32768.0f;
}

bool isInsideArea(const PointFields& point) {
    if (g_selectAll == 1) return true;
    if (g_areaType == 1) {
        return g_selMinX <= point.x && point.x <= g_selMaxX && g_selMinY <= point.y && point.y <= g_selMaxY;
    }
    // Doubles hold any whole-number distance of a large coordinate file without wrapping.
    double dx = std::fabs(point.x - static_cast<double>(g_circleCenterX));
    double dy = std::fabs(point.y - static_cast<double>(g_circleCenterY));
    return std::hypot(dx, dy) <= static_cast<double>(g_circleRadius);
}

char* putCopyLine(char* out, const PointFields& point, const FieldGap& gap) {
    const char* last = hasElevation() ? point.zText + point.zLength : point.yText + point.yLength;
    // Comma separated fields that stand in the line's order, as they do unless X and Y are
    // swapped, are the line's own text from X to the last field.
    const bool inOrder = point.yText == point.xText + point.xLength + 1 &&
                         (!hasElevation() || point.zText == point.yText + point.yLength + 1);
    if (gap.length == 1 && gap.text[0] == ',' && inOrder)
        return putLineEnd(putText(out, point.xText, static_cast<size_t>(last - point.xText)));
    out = putGap(putText(out, point.xText, point.xLength), gap);
    out = putText(out, point.yText, point.yLength);
    if (hasElevation()) out = putText(putGap(out, gap), point.zText, point.zLength);
    return putLineEnd(out);
}

char* putConvertLine(char* out, const PointFields& point, const FieldGap& gap) {
    return putConvertValues(out, readDecimalField(point.xText, point.xLength),
                            readDecimalField(point.yText, point.yLength), point.zValue, gap);
}

char* putConvertValues(char* out, double x, double y, double zValue, const FieldGap& gap) {
    double m = conversionMultiplier();
    if (g_elevationsOnly != 1) {
        x *= m;
        y *= m;
    }
    // The elevation as the writer holds it: the reading in single precision.
    // Narrowed with care: a large elevation times a large factor leaves the float range.
    const float z = hasElevation() ? narrowElevation(static_cast<double>(narrowElevation(zValue)) * m) : 0.0f;
    return putNumbers(out, x, y, z, gap);
}

char* putMoveLine(char* out, const PointFields& point, const FieldGap& gap) {
    double x = readDecimalField(point.xText, point.xLength) - (static_cast<double>(g_minX) - 1.0);
    double y = readDecimalField(point.yText, point.yLength) - (static_cast<double>(g_minY) - 1.0);
    const float z = hasElevation() ? elevationValue(point) : 0.0f;
    return putNumbers(out, x, y, z, gap);
}

PointFields scratchPoint() {
    // Each text in a slot with a line's room after it, as cutPointFields leaves its fields.
    static char slots[3][sizeof g_xText + LINE_TAIL_ROOM];
    const char* texts[3] = {g_xText, g_yText, g_zText};
    size_t lengths[3];
    for (int i = 0; i < 3; ++i) {
        lengths[i] = std::strlen(texts[i]);
        std::memcpy(slots[i], texts[i], lengths[i] + 1);
    }
    if (g_fieldCount == 5) {
        if (const char* comma = std::strchr(slots[2], ',')) lengths[2] = static_cast<size_t>(comma - slots[2]);
    }
    PointFields point = {};
    point.xText = slots[0];
    point.xLength = lengths[0];
    point.yText = slots[1];
    point.yLength = lengths[1];
    point.x = g_x;
    point.y = g_y;
    if (hasElevation()) {
        point.zText = slots[2];
        point.zLength = lengths[2];
        point.zValue = readDecimalField(point.zText, point.zLength);
        point.elevation = g_elevation;
    }
    return point;
}

std::string formatCopyLine(const std::string& gap) { return lineOf(putCopyLine, gap); }
std::string formatConvertLine(const std::string& gap) { return lineOf(putConvertLine, gap); }
std::string formatMoveLine(const std::string& gap) { return lineOf(putMoveLine, gap); }
