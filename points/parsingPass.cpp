// The parsing pass: every point of the file under the reading choices just made is checked
// and counted, and the X, Y and elevation ranges are gathered.
#include <cfloat>
#include <climits>
#include <cmath>

#include "points/appState.h"
#include "points/openPasses.h"
#include "points/pointChecks.h"

namespace {

const char kHeaderOrZero[] =
    "This file either has a header line or there       \n"
    "are X - Y fields equal to zero.  Erase any\n"
    "lines with zero XY values or check the\n"
    "\"Ignore 1st line\"  box when opening file.";
const char kInvalidData[] = "Invalid or missing data in file.  ";
const char kUnevenFields[] = "This file has uneven fields.\n  Check file and try again.";
const char kExtentTooLarge[] = "The X - Y extent of this file is too large.\n    Check file and try again.";

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
        // fits: the counting pass saw fewer than INT_MAX lines
        if ((stop = checkPoint(r, point, cut, layout)) != PointStop::End) break;
    }
    if (outcome != LineOutcome::Data && outcome != LineOutcome::End) {
        stop = PointStop::BadLine;
        *badLine = outcome;
    }
    *out = r;
    return stop;
}

// The ranges of the points under the reading choices, as the line-by-line pass gathers
// them: X and Y exchanged from the unswapped ranges of the one pass.
Ranges swapped(const Ranges& r) {
    Ranges s = r;
    s.minX = r.minY;
    s.maxX = r.maxY;
    s.minY = r.minX;
    s.maxY = r.maxX;
    return s;
}

}  // namespace

bool gatherRanges(HWND window, LineReader& reader, const OpenGather& gather) {
    g_minX = g_minY = INT_MAX;
    g_maxX = g_maxY = INT_MIN;
    g_minZ = FLT_MAX;
    g_maxZ = -FLT_MAX;
    g_pointCount = 0;
    Ranges ranges;
    int limit = kFullLineLimit;
    LineOutcome badLine = LineOutcome::Bad;
    PointStop stop = PointStop::End;
    FilePlan plan;
    if (gatheredRanges(gather, headerChoice(), pointLayout(), &ranges, &plan)) {
        // Every point passed its checks in the one pass: nothing is read again.
        if (g_swapXY == 1) ranges = swapped(ranges);
        g_filePlan = plan;
    } else {
        if (!openReader(reader, g_inputPath, headerChoice())) {
            rejectFile(window, reader, kInvalidData);
            return false;
        }
        showWaitCursor();
        stop = readPoints(reader, pointLayout(), &ranges, &limit, &badLine);
    }
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
