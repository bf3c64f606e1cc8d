#include "output/outputLine.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/areaSelection.h"
#include "output/numberFormat.h"
#include "output/writeOptions.h"
#include "points/appState.h"

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
float elevationValue() { return static_cast<float>(std::strtod(g_zText, nullptr)); }

std::string joinFields(const std::string& x, const std::string& y, const std::string& z, const std::string& gap) {
    std::string line = x;
    line += gap;
    line += y;
    if (hasElevation()) {
        line += gap;
        line += z;
    }
    line += OUTPUT_LINE_END;
    return line;
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

std::string formatCopyLine(const std::string& gap) { return joinFields(g_xText, g_yText, g_zText, gap); }

std::string formatConvertLine(const std::string& gap) {
    double m = conversionMultiplier();
    double x = std::strtod(g_xText, nullptr);
    double y = std::strtod(g_yText, nullptr);
    if (g_elevationsOnly != 1) {
        x *= m;
        y *= m;
    }
    std::string z;
    if (hasElevation()) {
        float converted = static_cast<float>(elevationValue() * m);
        z = formatNumber(converted, 3);
    }
    return joinFields(formatNumber(x, 2), formatNumber(y, 2), z, gap);
}

std::string formatMoveLine(const std::string& gap) {
    double x = std::strtod(g_xText, nullptr) - (static_cast<double>(g_minX) - 1.0);
    double y = std::strtod(g_yText, nullptr) - (static_cast<double>(g_minY) - 1.0);
    std::string z;
    if (hasElevation()) z = formatNumber(elevationValue(), 3);
    return joinFields(formatNumber(x, 2), formatNumber(y, 2), z, gap);
}
