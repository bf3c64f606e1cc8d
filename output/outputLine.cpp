#include "output/outputLine.h"

#include <cmath>
#include <cstdlib>
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

// The elevation text's value, in single precision as every elevation is held.
float elevationValue() { return static_cast<float>(readDecimal(g_zText)); }

char* putText(char* out, const char* text, size_t length) {
    std::memcpy(out, text, length);
    return out + length;
}

// x, gap, y and, for files with elevations, gap and z; then the line end.
char* joinFields(char* out, const char* x, size_t xLength, const char* y, size_t yLength, const char* z,
                 size_t zLength, const std::string& gap) {
    out = putText(out, x, xLength);
    out = putText(out, gap.data(), gap.size());
    out = putText(out, y, yLength);
    if (hasElevation()) {
        out = putText(out, gap.data(), gap.size());
        out = putText(out, z, zLength);
    }
    return putText(out, OUTPUT_LINE_END, sizeof OUTPUT_LINE_END - 1);
}

// Numbers for joinFields: x and y with two decimals, z with three.
char* joinNumbers(char* out, double x, double y, float z, const std::string& gap) {
    char xText[NUMBER_TEXT_MAX], yText[NUMBER_TEXT_MAX], zText[NUMBER_TEXT_MAX];
    const size_t xLength = static_cast<size_t>(putNumber(xText, x, 2) - xText);
    const size_t yLength = static_cast<size_t>(putNumber(yText, y, 2) - yText);
    const size_t zLength = hasElevation() ? static_cast<size_t>(putNumber(zText, z, 3) - zText) : 0;
    return joinFields(out, xText, xLength, yText, yLength, zText, zLength, gap);
}

std::string lineOf(char* (*put)(char*, const std::string&), const std::string& gap) {
    char line[OUTPUT_LINE_MAX];
    return std::string(line, put(line, gap));
}

}  // namespace

void cutDescription() {
    if (g_fieldCount != 5) return;
    if (char* comma = std::strchr(g_field4, ',')) {
        *comma = '\0';
        g_field5 = comma + 1;
    }
    if (char* comma = std::strchr(g_zText, ',')) *comma = '\0';
}

bool isNoDataPoint() {
    if (!hasElevation()) return false;
    return g_elevation > 32765.9 && g_elevation < 32768.0f;
}

bool isInsideArea() {
    if (g_selectAll == 1) return true;
    if (g_areaType == 1) {
        return g_selMinX <= g_x && g_x <= g_selMaxX && g_selMinY <= g_y && g_y <= g_selMaxY;
    }
    // Doubles hold any whole-number distance of a large coordinate file without wrapping.
    double dx = std::fabs(g_x - static_cast<double>(g_circleCenterX));
    double dy = std::fabs(g_y - static_cast<double>(g_circleCenterY));
    return std::hypot(dx, dy) <= static_cast<double>(g_circleRadius);
}

std::string fieldGap() {
    if (g_fileType == 2) return " ";
    if (g_fileType == 3) return std::string(g_tabCount > 1 ? static_cast<size_t>(g_tabCount) : 1, '\t');
    return ",";
}

// Copies text up to its terminator to out and returns the end: field texts are short, and
// one pass over them costs less than measuring and then copying them.
static char* putFieldText(char* out, const char* text) {
    while (*text) *out++ = *text++;
    return out;
}

char* putCopyLine(char* out, const std::string& gap) {
    out = putFieldText(out, g_xText);
    out = putText(out, gap.data(), gap.size());
    out = putFieldText(out, g_yText);
    if (hasElevation()) {
        out = putText(out, gap.data(), gap.size());
        out = putFieldText(out, g_zText);
    }
    return putText(out, OUTPUT_LINE_END, sizeof OUTPUT_LINE_END - 1);
}

char* putConvertLine(char* out, const std::string& gap) {
    double m = conversionMultiplier();
    double x = readDecimal(g_xText);
    double y = readDecimal(g_yText);
    if (g_elevationsOnly != 1) {
        x *= m;
        y *= m;
    }
    const float z = hasElevation() ? static_cast<float>(elevationValue() * m) : 0.0f;
    return joinNumbers(out, x, y, z, gap);
}

char* putMoveLine(char* out, const std::string& gap) {
    double x = readDecimal(g_xText) - (static_cast<double>(g_minX) - 1.0);
    double y = readDecimal(g_yText) - (static_cast<double>(g_minY) - 1.0);
    const float z = hasElevation() ? elevationValue() : 0.0f;
    return joinNumbers(out, x, y, z, gap);
}

std::string formatCopyLine(const std::string& gap) { return lineOf(putCopyLine, gap); }
std::string formatConvertLine(const std::string& gap) { return lineOf(putConvertLine, gap); }
std::string formatMoveLine(const std::string& gap) { return lineOf(putMoveLine, gap); }
