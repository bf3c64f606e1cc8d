// The checks the Open makes of every point, and the ranges it gathers from the points that
// pass them; shared by its one-pass gathering and its line-by-line parsing pass.
#ifndef SKERROW_POINTS_POINTCHECKS_H
#define SKERROW_POINTS_POINTCHECKS_H

#include <cfloat>
#include <climits>
#include <cmath>

#include "points/noDataBand.h"
#include "reader/plainLines.h"

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
inline PointStop coordinateStop(double value) {
    if (value == 0) return PointStop::HeaderOrZero;
    if (std::isnan(value)) return PointStop::NotANumber;
    return value < INT_MIN || value > INT_MAX ? PointStop::OutOfRange : PointStop::End;
}

// Why an elevation ends the open: no number in its field, a NaN, or a value no float holds.
inline PointStop elevationStop(const PointFields& point) {
    if (std::isnan(point.elevation)) return PointStop::NoElevation;
    if (std::isinf(point.elevation)) return PointStop::ElevationOutOfRange;
    // Only a field without a number reads as 0 and is not one.
    if (point.zValue == 0.0 && !holdsNumber(point.zText, point.zLength)) return PointStop::NoElevation;
    return PointStop::End;
}

// The ranges as a loop gathers them, in locals it keeps in registers. X and Y are the
// layout's: for a gathering under no swap, the first and second coordinate fields.
struct Ranges {
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    float minZ = FLT_MAX, maxZ = -FLT_MAX;
    long long points = 0;
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

inline void addCoordinates(Ranges& r, int x, int y) {
    if (x > r.maxX) r.maxX = x;
    if (x < r.minX) r.minX = x;
    if (y > r.maxY) r.maxY = y;
    if (y < r.minY) r.minY = y;
}

// The ranges of two runs of points as one.
inline void addRanges(Ranges& r, const Ranges& more) {
    if (more.points > 0) {
        addCoordinates(r, more.minX, more.minY);
        addCoordinates(r, more.maxX, more.maxY);
    }
    if (more.elevationSeen) {
        addElevation(r, more.minZ);
        addElevation(r, more.maxZ);
    }
    r.points += more.points;
}

// A plain line's point gathered as the checking loops gather it, reading only what the
// ranges need: the whole parts of X and Y, and the elevation. False, leaving the line to
// the loop, for a point the loop would stop at or one the short forms do not read.
template <class Form>
SKERROW_INLINE bool addPlainPoint(Ranges& r, const PlainLine& line) {
    int x, y;
    float z;
    if (!plainLineWholes<Form>(line, &x, &y, &z)) return false;
    addCoordinates(r, x, y);
    if (Form::elevations) addElevation(r, z);
    ++r.points;
    return true;
}

// Why the point of a data line cut by the layout ends the open, or End, gathering it into
// r when it does not. X is checked and counted before Y, as the line-by-line pass does.
inline PointStop checkPoint(Ranges& r, const PointFields& point, bool cut, const PointLayout& layout) {
    if (!cut) return PointStop::ShortLine;
    PointStop stop;
    if ((stop = coordinateStop(point.x)) != PointStop::End) return stop;
    const int x = static_cast<int>(point.x);
    if (x > r.maxX) r.maxX = x;
    if (x < r.minX) r.minX = x;
    if ((stop = coordinateStop(point.y)) != PointStop::End) return stop;
    const int y = static_cast<int>(point.y);
    if (y > r.maxY) r.maxY = y;
    if (y < r.minY) r.minY = y;
    // A line the counting pass never read (the first one, when the header choice has
    // changed since the last Open) may hold more fields than the rest; the plot and the
    // writer would take its fields from the wrong places.
    if (point.commas != layout.fieldCount - 1) return PointStop::UnevenFields;
    if (layout.fieldCount != 2) {
        if ((stop = elevationStop(point)) != PointStop::End) return stop;
        addElevation(r, point.elevation);
    }
    ++r.points;
    return PointStop::End;
}

#endif
