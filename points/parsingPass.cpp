// The parsing pass: every point of the file under the reading choices just made is checked
// and counted, and the X, Y and elevation ranges are gathered.
#include <cfloat>
#include <climits>
#include <cmath>

#include "points/appState.h"
#include "points/noDataBand.h"
#include "points/openPasses.h"
#include "reader/plainLines.h"

namespace {

const char kHeaderOrZero[] =
    "This file either has a header line or there       \n"
    "are X - Y fields equal to zero.  Erase any\n"
    "lines with zero XY values or check the\n"
    "\"Ignore 1st line\"  box when opening file.";
const char kInvalidData[] = "Invalid or missing data in file.  ";
const char kUnevenFields[] = "This file has uneven fields.\n  Check file and try again.";
const char kExtentTooLarge[] = "The X - Y extent of this file is too large.\n    Check file and try again.";

bool outOfRange(double value) { return value < INT_MIN || value > INT_MAX; }

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
PointStop coordinateStop(double value) {
    if (value == 0) return PointStop::HeaderOrZero;
    if (std::isnan(value)) return PointStop::NotANumber;
    return outOfRange(value) ? PointStop::OutOfRange : PointStop::End;
}

// Why an elevation ends the open: no number in its field, a NaN, or a value no float holds.
PointStop elevationStop(const PointFields& point) {
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
inline void addElevation(Ranges& r, float z) {
    if (std::isfinite(z) && !inOpenNoDataBand(z)) {
        if (z > r.maxZ) r.maxZ = z;
        if (z < r.minZ) r.minZ = z;
        r.elevationSeen = true;
    }
}

// A plain line's point gathered as the loop below gathers it, reading only what the
// ranges need: the whole parts of X and Y, and the elevation. False, leaving the line to
// the loop, for a point the loop would stop at or one the short forms do not read.
template <class Form>
SKERROW_INLINE bool addPlainPoint(Ranges& r, const PlainLine& line) {
    int x, y;
    float z;
    if (!plainLineWholes<Form>(line, &x, &y, &z)) return false;
    if (x > r.maxX) r.maxX = x;
    if (x < r.minX) r.minX = x;
    if (y > r.maxY) r.maxY = y;
    if (y < r.minY) r.minY = y;
    if (Form::elevations) addElevation(r, z);
    ++r.points;
    return true;
}

// Reads the points from the reader's place on into *out (true ranges: any first point
// replaces the start values) up to the end of the data or the first point that ends the
// open; *limit is the line limit the last read used, and *badLine the reader's outcome
// for a line it could not take.
PointStop readPoints(LineReader& reader, const PointLayout& layout, Ranges* out, int* limit, LineOutcome* badLine) {
    Ranges r;
    PointStop stop = PointStop::End;
    PointFields point;
    bool cut;
    LineOutcome outcome;
    const bool elevations = layout.fieldCount != 2;
    const int commasWanted = layout.fieldCount - 1;
    bool pastFirstLine = false;
    *limit = kFullLineLimit;
    for (;;) {
        // After the first line, runs of plain lines where they stand; the loop below takes
        // whatever they leave.
        if (pastFirstLine) {
            withPlainForm(layout, [&](auto form) {
                takePlainLines(reader, kShortLineLimit, form, [&r](const PlainLine& line) SKERROW_INLINE_LAMBDA {
                    return addPlainPoint<decltype(form)>(r, line);
                });
            });
        }
        if ((outcome = nextPointLine(reader, *limit, layout, &point, &cut)) != LineOutcome::Data) break;
        pastFirstLine = true;
        *limit = kShortLineLimit;
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
        if (elevations) {
            if ((stop = elevationStop(point)) != PointStop::End) break;
            addElevation(r, point.elevation);
        }
        ++r.points;  // fits: the counting pass saw fewer than INT_MAX lines
    }
    if (outcome != LineOutcome::Data && outcome != LineOutcome::End) {
        stop = PointStop::BadLine;
        *badLine = outcome;
    }
    *out = r;
    return stop;
}

}  // namespace

bool gatherRanges(HWND window, LineReader& reader) {
    g_minX = g_minY = INT_MAX;
    g_maxX = g_maxY = INT_MIN;
    g_minZ = FLT_MAX;
    g_maxZ = -FLT_MAX;
    g_pointCount = 0;
    if (!openReader(reader, g_inputPath, headerChoice())) {
        rejectFile(window, reader, kInvalidData);
        return false;
    }
    showWaitCursor();
    Ranges ranges;
    int limit;
    LineOutcome badLine = LineOutcome::Bad;
    const PointStop stop = readPoints(reader, pointLayout(), &ranges, &limit, &badLine);
    g_minX = ranges.minX;
    g_minY = ranges.minY;
    g_maxX = ranges.maxX;
    g_maxY = ranges.maxY;
    g_minZ = ranges.minZ;
    g_maxZ = ranges.maxZ;
    g_pointCount = ranges.points;
    switch (stop) {
    case PointStop::End: break;
    case PointStop::BadLine: rejectBadLine(window, reader, limit, badLine); return false;
    case PointStop::ShortLine: rejectLine(window, reader, "has fewer fields than the first line."); return false;
    case PointStop::HeaderOrZero: rejectFile(window, reader, kHeaderOrZero); return false;
    case PointStop::OutOfRange: rejectLine(window, reader, "has an X or Y value out of range."); return false;
    case PointStop::NotANumber: rejectLine(window, reader, "has an X or Y value that is not a number."); return false;
    case PointStop::UnevenFields: rejectFile(window, reader, kUnevenFields); return false;
    case PointStop::NoElevation: rejectLine(window, reader, "has an elevation that is not a number."); return false;
    case PointStop::ElevationOutOfRange: rejectLine(window, reader, "has an elevation out of range."); return false;
    }
    if (g_pointCount == 0) {
        rejectFile(window, reader, kInvalidData);
        return false;
    }

    const long long rangeX = static_cast<long long>(g_maxX) - g_minX;
    const long long rangeY = static_cast<long long>(g_maxY) - g_minY;
    if (rangeX == 0 || rangeY == 0) {
        g_rangeX = static_cast<int>(rangeX);
        g_rangeY = static_cast<int>(rangeY);
        rejectFile(window, reader, kInvalidData);
        return false;
    }
    if (rangeX > INT_MAX || rangeY > INT_MAX) {
        rejectFile(window, reader, kExtentTooLarge);
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
