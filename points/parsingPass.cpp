// The parsing pass: every point of the file under the reading choices just made is checked
// and counted, and the X, Y and elevation ranges are gathered.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>

#include "points/appState.h"
#include "points/openSteps.h"
#include "points/pointFields.h"
#include "points/pointLine.h"

static const char* const kHeaderOrZero =
    "This file either has a header line or there       \n"
    "are X - Y fields equal to zero.  Erase any\n"
    "lines with zero XY values or check the\n"
    "\"Ignore 1st line\"  box when opening file.";
static const char* const kInvalidData = "Invalid or missing data in file.  ";
static const char* const kUnevenFields = "This file has uneven fields.\n  Check file and try again.";
static const char* const kExtentTooLarge = "The X - Y extent of this file is too large.\n    Check file and try again.";

// The elevation band that marks a point without a height.
static const float kNoDataLow = 32766.0f;
static const float kNoDataHigh = 32767.0f;

static bool outOfRange(double value) { return value < INT_MIN || value > INT_MAX; }

static void rejectOutOfRange(HWND window) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Line %d of this file has an X or Y value out of range.\n"
                  "    Check file and try again.",
                  g_lineNumber);
    rejectFile(window, text);
}

bool gatherRanges(HWND window) {
    // True ranges: any first point replaces these start values. They are gathered in
    // locals, which the loop keeps in registers, and stored on every way out.
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    float minZ = FLT_MAX, maxZ = -FLT_MAX;
    int points = 0;
    auto storeRanges = [&] {
        g_minX = minX;
        g_minY = minY;
        g_maxX = maxX;
        g_maxY = maxY;
        g_minZ = minZ;
        g_maxZ = maxZ;
        g_pointCount = points;
    };
    storeRanges();
    bool elevationSeen = false;

    if (!startPass()) {
        rejectFile(window, kInvalidData);
        return false;
    }
    showWaitCursor();
    int limit = 128;
    short outcome;
    PointFields point;
    bool cut;
    const bool hasElevations = g_fieldCount != 2;
    const int commasWanted = g_fieldCount - 1;
    while ((outcome = nextPointLine(limit, &point, &cut)) == LINE_DATA) {
        limit = 80;
        if (!cut) {
            storeRanges();
            rejectShortLine(window);
            return false;
        }
        if (point.x == 0) {
            storeRanges();
            rejectFile(window, kHeaderOrZero);
            return false;
        }
        if (outOfRange(point.x)) {
            storeRanges();
            rejectOutOfRange(window);
            return false;
        }
        const int x = static_cast<int>(point.x);
        if (x > maxX) maxX = x;
        if (x < minX) minX = x;
        if (point.y == 0) {
            storeRanges();
            rejectFile(window, kHeaderOrZero);
            return false;
        }
        if (outOfRange(point.y)) {
            storeRanges();
            rejectOutOfRange(window);
            return false;
        }
        const int y = static_cast<int>(point.y);
        if (y > maxY) maxY = y;
        if (y < minY) minY = y;
        // A line the counting pass never read (the first one, when the header choice has
        // changed since the last Open) may hold more fields than the rest; the plot and
        // the writer would take its fields from the wrong places.
        if (point.commas != commasWanted) {
            storeRanges();
            rejectFile(window, kUnevenFields);
            return false;
        }
        const float z = point.elevation;
        if (hasElevations && std::isfinite(z) && (z < kNoDataLow || z > kNoDataHigh)) {
            if (z > maxZ) maxZ = z;
            if (z < minZ) minZ = z;
            elevationSeen = true;
        }
        ++points;  // fits: the counting pass saw fewer than INT_MAX lines
    }
    storeRanges();
    if (outcome == LINE_BAD) {
        rejectBadLine(window, limit);
        return false;
    }
    if (g_pointCount == 0) {
        rejectFile(window, kInvalidData);
        return false;
    }

    const long long rangeX = static_cast<long long>(g_maxX) - g_minX;
    const long long rangeY = static_cast<long long>(g_maxY) - g_minY;
    if (rangeX == 0 || rangeY == 0) {
        g_rangeX = static_cast<int>(rangeX);
        g_rangeY = static_cast<int>(rangeY);
        rejectFile(window, kInvalidData);
        return false;
    }
    if (rangeX > INT_MAX || rangeY > INT_MAX) {
        rejectFile(window, kExtentTooLarge);
        return false;
    }
    g_rangeX = static_cast<int>(rangeX);
    g_rangeY = static_cast<int>(rangeY);

    if (g_fieldCount == 2 || !elevationSeen) {
        // No elevation to show: a 2-field file, or every height in the no-data band.
        g_minZ = g_maxZ = g_rangeZ = 0.0f;
    } else {
        g_rangeZ = g_maxZ - g_minZ;
    }
    // The plot thins by g_lineCount; it now counts the same lines as g_pointCount.
    g_lineCount = g_pointCount;
    return true;
}
