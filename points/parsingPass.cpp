// The parsing pass: every point of the file under the reading choices just made is checked
// and counted, and the X, Y and elevation ranges are gathered.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>

#include "points/appState.h"
#include "points/numberReading.h"
#include "points/openSteps.h"
#include "points/plainLines.h"
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

// Ends the Open with "Line <n> of this file <what>" and the usual advice.
static void rejectLine(HWND window, const char* what) {
    char text[160];
    std::snprintf(text, sizeof text, "Line %d of this file %s\n    Check file and try again.", g_lineNumber, what);
    rejectFile(window, text);
}

// Why the point loop stopped.
enum class PointStop {
    End,
    BadLine,
    ShortLine,
    HeaderOrZero,
    OutOfRange,
    NotANumber,
    UnevenFields,
    NoElevation,
    ElevationOutOfRange
};

// Why a coordinate's reading ends the open, or End when it does not.
static PointStop coordinateStop(double value) {
    if (value == 0) return PointStop::HeaderOrZero;
    if (std::isnan(value)) return PointStop::NotANumber;
    return outOfRange(value) ? PointStop::OutOfRange : PointStop::End;
}

// Why an elevation ends the open: no number in its field, a NaN, or a value no float holds.
static PointStop elevationStop(const PointFields& point) {
    if (std::isnan(point.elevation)) return PointStop::NoElevation;
    if (std::isinf(point.elevation)) return PointStop::ElevationOutOfRange;
    // Only a field without a number reads as 0 and is not one.
    if (point.zValue == 0.0 && !holdsNumber(point.zText, point.zLength)) return PointStop::NoElevation;
    return PointStop::End;
}

// The ranges as the loop gathers them, in locals it keeps in registers.
struct Ranges {
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    float minZ = FLT_MAX, maxZ = -FLT_MAX;
    int points = 0;
    bool elevationSeen = false;
};

// Adds a point of elevation z to the elevation range unless it has no height.
static inline void addElevation(Ranges& r, float z) {
    if (std::isfinite(z) && (z < kNoDataLow || z > kNoDataHigh)) {
        if (z > r.maxZ) r.maxZ = z;
        if (z < r.minZ) r.minZ = z;
        r.elevationSeen = true;
    }
}

// A plain line's point gathered as the loop below gathers it, reading only what the
// ranges need: the whole parts of X and Y, and the elevation. False, leaving the line to
// the loop, for a point the loop would stop at or one the short forms do not read.
template <bool swap, bool elevations>
static inline bool addPlainPoint(Ranges& r, const PlainLine& line) {
    int x, y;
    float z;
    if (!plainLineWholes<swap, elevations>(line, &x, &y, &z)) return false;
    if (x > r.maxX) r.maxX = x;
    if (x < r.minX) r.minX = x;
    if (y > r.maxY) r.maxY = y;
    if (y < r.minY) r.minY = y;
    if (elevations) addElevation(r, z);
    ++r.points;
    return true;
}

// The run of plain lines at the stream's place, gathered into r; the file's layout and
// swap pick the form of the loop once.
static void addPlainPoints(Ranges& r, int commas) {
    const bool swap = g_swapXY == 1;
    if (commas == 2) {
        if (swap) takePlainLines(80, 2, [&r](const PlainLine& line) { return addPlainPoint<true, true>(r, line); });
        else takePlainLines(80, 2, [&r](const PlainLine& line) { return addPlainPoint<false, true>(r, line); });
    } else {
        if (swap) takePlainLines(80, 1, [&r](const PlainLine& line) { return addPlainPoint<true, false>(r, line); });
        else takePlainLines(80, 1, [&r](const PlainLine& line) { return addPlainPoint<false, false>(r, line); });
    }
}

// Reads the points from the stream's place on into *out (true ranges: any first point
// replaces the start values) up to the end of the data or the first point that ends the
// open; *limit is the line limit the last read used, and *badLine readDataLine's outcome
// for a line it could not take.
static PointStop readPoints(Ranges* out, int* limit, short* badLine) {
    Ranges r;
    PointStop stop = PointStop::End;
    PointFields point;
    bool cut;
    short outcome;
    const bool hasElevations = g_fieldCount != 2;
    const int commasWanted = g_fieldCount - 1;
    const bool plainLayout = g_fieldCount == 2 || g_fieldCount == 3;
    *limit = 128;
    for (;;) {
        // After the first line, runs of plain lines where they stand; the loop below takes
        // whatever they leave.
        if (*limit == 80 && plainLayout) addPlainPoints(r, commasWanted);
        if ((outcome = nextPointLine(*limit, &point, &cut)) != LINE_DATA) break;
        *limit = 80;
        if (!cut) {
            stop = PointStop::ShortLine;
            break;
        }
        if ((stop = coordinateStop(point.x)) != PointStop::End) break;
        const int x = static_cast<int>(point.x);
        if (x > r.maxX) r.maxX = x;
        if (x < r.minX) r.minX = x;
        if ((stop = coordinateStop(point.y)) != PointStop::End) break;
        const int y = static_cast<int>(point.y);
        if (y > r.maxY) r.maxY = y;
        if (y < r.minY) r.minY = y;
        // A line the counting pass never read (the first one, when the header choice has
        // changed since the last Open) may hold more fields than the rest; the plot and
        // the writer would take its fields from the wrong places.
        if (point.commas != commasWanted) {
            stop = PointStop::UnevenFields;
            break;
        }
        if (hasElevations) {
            if ((stop = elevationStop(point)) != PointStop::End) break;
            addElevation(r, point.elevation);
        }
        ++r.points;  // fits: the counting pass saw fewer than INT_MAX lines
    }
    if (outcome != LINE_DATA && outcome != LINE_END) {
        stop = PointStop::BadLine;
        *badLine = outcome;
    }
    *out = r;
    return stop;
}

bool gatherRanges(HWND window) {
    g_minX = g_minY = INT_MAX;
    g_maxX = g_maxY = INT_MIN;
    g_minZ = FLT_MAX;
    g_maxZ = -FLT_MAX;
    g_pointCount = 0;
    if (!startPass()) {
        rejectFile(window, kInvalidData);
        return false;
    }
    showWaitCursor();
    Ranges ranges;
    int limit;
    short badLine = LINE_BAD;
    const PointStop stop = readPoints(&ranges, &limit, &badLine);
    g_minX = ranges.minX;
    g_minY = ranges.minY;
    g_maxX = ranges.maxX;
    g_maxY = ranges.maxY;
    g_minZ = ranges.minZ;
    g_maxZ = ranges.maxZ;
    g_pointCount = ranges.points;
    switch (stop) {
    case PointStop::End: break;
    case PointStop::BadLine: rejectBadLine(window, limit, badLine); return false;
    case PointStop::ShortLine: rejectShortLine(window); return false;
    case PointStop::HeaderOrZero: rejectFile(window, kHeaderOrZero); return false;
    case PointStop::OutOfRange: rejectLine(window, "has an X or Y value out of range."); return false;
    case PointStop::NotANumber: rejectLine(window, "has an X or Y value that is not a number."); return false;
    case PointStop::UnevenFields: rejectFile(window, kUnevenFields); return false;
    case PointStop::NoElevation: rejectLine(window, "has an elevation that is not a number."); return false;
    case PointStop::ElevationOutOfRange: rejectLine(window, "has an elevation out of range."); return false;
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

    if (g_fieldCount == 2 || !ranges.elevationSeen) {
        // No elevation to show: a 2-field file, or every height in the no-data band.
        g_minZ = g_maxZ = g_rangeZ = 0.0f;
    } else {
        g_rangeZ = g_maxZ - g_minZ;
    }
    // The plot thins by g_lineCount; it now counts the same lines as g_pointCount.
    g_lineCount = g_pointCount;
    return true;
}
