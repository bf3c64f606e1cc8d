#include "output/outputLine.h"

#include <cstring>

#include "output/numberFormat.h"

namespace {

constexpr double kMetresToFeet = 3.28084;
constexpr double kFeetToMetres = 0.3048;

// Copies 16 bytes at a time: both sides have the room, and a fixed-size copy is a few
// instructions where a call to copy a short text costs more than the text.
char* putText(char* out, const char* text, size_t length) {
    for (size_t i = 0; i < length; i += 16) std::memcpy(out + i, text + i, 16);
    return out + length;
}

}  // namespace

FieldGap fieldGap(const WriteChoices& choices) {
    FieldGap gap = {};
    gap.length = 1;
    gap.text[0] = ',';
    if (choices.conversion == Conversion::Move) return gap;
    if (choices.fileType == FileType::Space) gap.text[0] = ' ';
    if (choices.fileType == FileType::Tab) {
        gap.length = choices.tabCount > 1 ? static_cast<size_t>(choices.tabCount) : 1;
        std::memset(gap.text, '\t', gap.length);
    }
    return gap;
}

ConversionScale conversionScale(const WriteChoices& choices) {
    double multiplier = static_cast<double>(choices.factor);  // stored in single precision, used so
    if (choices.conversion == Conversion::MetresToFeet) multiplier = kMetresToFeet;
    if (choices.conversion == Conversion::FeetToMetres) multiplier = kFeetToMetres;
    return ConversionScale{multiplier, !choices.elevationsOnly};
}

LineForm lineForm(const WriteChoices& choices, const PointLayout& layout) {
    return LineForm{fieldGap(choices), layoutHasElevations(layout), conversionScale(choices),
                    static_cast<double>(choices.moveMinX) - 1.0, static_cast<double>(choices.moveMinY) - 1.0};
}

char* putCopyLine(char* out, const PointFields& point, const LineForm& form) {
    const FieldGap& gap = form.gap;
    const char* last = form.elevations ? point.zText + point.zLength : point.yText + point.yLength;
    // Comma separated fields that stand in the line's order, as they do unless X and Y are
    // swapped, are the line's own text from X to the last field.
    const bool inOrder = point.yText == point.xText + point.xLength + 1 &&
                         (!form.elevations || point.zText == point.yText + point.yLength + 1);
    if (gap.length == 1 && gap.text[0] == ',' && inOrder)
        return putLineEnd(putText(out, point.xText, static_cast<size_t>(last - point.xText)));
    out = putGap(putText(out, point.xText, point.xLength), gap);
    out = putText(out, point.yText, point.yLength);
    if (form.elevations) out = putText(putGap(out, gap), point.zText, point.zLength);
    return putLineEnd(out);
}

char* putConvertLine(char* out, const PointFields& point, const LineForm& form) {
    // The elevation as the writer holds it: the reading in single precision.
    return putConvertedPoint(
        out, readDecimalField(point.xText, point.xLength), readDecimalField(point.yText, point.yLength),
        form.elevations ? narrowElevation(point.zValue) : 0.0f, form.scale, form.elevations, form.gap);
}

char* putMoveLine(char* out, const PointFields& point, const LineForm& form) {
    const double x = readDecimalField(point.xText, point.xLength) - form.shiftX;
    const double y = readDecimalField(point.yText, point.yLength) - form.shiftY;
    // The elevation as the writer holds it: the reading in single precision.
    const float z = form.elevations ? point.elevation : 0.0f;
    return putNumbers(out, x, y, z, form.elevations, form.gap);
}
