#include "output/outputLine.h"

#include <cmath>
#include <cstring>

#include "output/numberFormat.h"
#include "output/writeOptions.h"
#include "points/appState.h"
#include "points/noDataBand.h"
#include "points/selectionArea.h"

namespace {

constexpr double kMetresToFeet = 3.28084;
constexpr double kFeetToMetres = 0.3048;

double conversionMultiplier() {
    if (g_conversion == Conversion::MetresToFeet) return kMetresToFeet;
    if (g_conversion == Conversion::FeetToMetres) return kFeetToMetres;
    return static_cast<double>(g_factor);  // stored in single precision, used so
}

// Copies 16 bytes at a time: both sides have the room, and a fixed-size copy is a few
// instructions where a call to copy a short text costs more than the text.
char* putText(char* out, const char* text, size_t length) {
    for (size_t i = 0; i < length; i += 16) std::memcpy(out + i, text + i, 16);
    return out + length;
}

}  // namespace

FieldGap fieldGap() {
    FieldGap gap = {};
    gap.length = 1;
    gap.text[0] = ',';
    if (g_conversion == Conversion::Move) return gap;
    if (g_fileType == FileType::Space) gap.text[0] = ' ';
    if (g_fileType == FileType::Tab) {
        gap.length = g_tabCount > 1 ? static_cast<size_t>(g_tabCount) : 1;
        std::memset(gap.text, '\t', gap.length);
    }
    return gap;
}

bool isNoDataPoint(const PointFields& point) { return hasElevations() && inNoDataBand(point.elevation); }

bool isInsideArea(const PointFields& point) {
    if (g_selectAll == 1) return true;
    if (g_areaType == AreaType::Rectangle) {
        return g_selMinX <= point.x && point.x <= g_selMaxX && g_selMinY <= point.y && point.y <= g_selMaxY;
    }
    // Doubles hold any whole-number distance of a large coordinate file without wrapping.
    double dx = std::fabs(point.x - static_cast<double>(g_circleCenterX));
    double dy = std::fabs(point.y - static_cast<double>(g_circleCenterY));
    return std::hypot(dx, dy) <= static_cast<double>(g_circleRadius);
}

char* putCopyLine(char* out, const PointFields& point, const FieldGap& gap) {
    const char* last = hasElevations() ? point.zText + point.zLength : point.yText + point.yLength;
    // Comma separated fields that stand in the line's order, as they do unless X and Y are
    // swapped, are the line's own text from X to the last field.
    const bool inOrder = point.yText == point.xText + point.xLength + 1 &&
                         (!hasElevations() || point.zText == point.yText + point.yLength + 1);
    if (gap.length == 1 && gap.text[0] == ',' && inOrder)
        return putLineEnd(putText(out, point.xText, static_cast<size_t>(last - point.xText)));
    out = putGap(putText(out, point.xText, point.xLength), gap);
    out = putText(out, point.yText, point.yLength);
    if (hasElevations()) out = putText(putGap(out, gap), point.zText, point.zLength);
    return putLineEnd(out);
}

char* putConvertLine(char* out, const PointFields& point, const FieldGap& gap) {
    return putConvertValues(out, readDecimalField(point.xText, point.xLength),
                            readDecimalField(point.yText, point.yLength), point.zValue, gap);
}

ConversionScale conversionScale() { return ConversionScale{conversionMultiplier(), g_elevationsOnly != 1}; }

char* putConvertValues(char* out, double x, double y, double zValue, const FieldGap& gap) {
    // The elevation as the writer holds it: the reading in single precision.
    const bool elevations = hasElevations();
    return putConvertedPoint(out, x, y, elevations ? narrowElevation(zValue) : 0.0f, conversionScale(), elevations,
                             gap);
}

char* putMoveLine(char* out, const PointFields& point, const FieldGap& gap) {
    double x = readDecimalField(point.xText, point.xLength) - (static_cast<double>(g_minX) - 1.0);
    double y = readDecimalField(point.yText, point.yLength) - (static_cast<double>(g_minY) - 1.0);
    // The elevation as the writer holds it: the reading in single precision.
    const float z = hasElevations() ? point.elevation : 0.0f;
    return putNumbers(out, x, y, z, hasElevations(), gap);
}
