// The selection area record: the area a drag selected, in whole point coordinates, as the
// writer tests each point against it; and the area a write takes, every point or those
// the record holds.
#ifndef SKERROW_POINTS_SELECTIONAREA_H
#define SKERROW_POINTS_SELECTIONAREA_H

#include <climits>
#include <cmath>

#include "points/polygonArea.h"
#include "reader/portability.h"

// The shape a drag selects, chosen from the menu.
enum class AreaType : short { Circle = 0, Rectangle = 1, Polygon = 2 };

extern AreaType g_areaType;  // a rectangle at start
extern int g_selMinX, g_selMaxX, g_selMinY, g_selMaxY;
extern int g_circleCenterX, g_circleCenterY;
extern int g_circleRadius;  // whole coordinate units; wide enough for any file's extent

extern PolygonArea g_selPolygon;  // the polygon last closed, in whole point coordinates
extern bool g_pointsOutside;      // "Points Outside": an area's write takes the points it does not hold

// What a write takes.
enum class AreaKind {
    Everything,  // "Select All Pts." and the move: no area test
    Rectangle,   // minX..maxX by minY..maxY, every bound inside
    Circle,      // within radius of the centre, the rim inside
    Polygon,     // inside *polygon by the even-odd rule, or on one of its edges
};

struct SelectionArea {
    AreaKind kind;
    int minX, maxX, minY, maxY;  // the box, for a circle its bounding box
    int centreX, centreY, radius;
    const PolygonArea* polygon = nullptr;  // a polygon's test, made once for the write and read by every worker
    bool outside = false;                  // the points the shape does not hold; never for Everything
};

// The point with whole coordinates x and y (any doubles) lies in the polygon. Every vertex
// is an int, so a value beyond the int range (or NaN) lies outside, and is never converted.
SKERROW_INLINE bool isInsidePolygonArea(const PolygonArea& polygon, double x, double y) {
    constexpr double kLeast = INT_MIN, kMost = INT_MAX;
    if (!(x >= kLeast && x <= kMost && y >= kLeast && y <= kMost)) return false;
    return insidePolygon(polygon, static_cast<long long>(x), static_cast<long long>(y));
}

// The point with whole coordinates x and y lies in the area's shape. Doubles hold any whole
// distance of a large coordinate file without wrapping.
SKERROW_INLINE bool isInsideShape(const SelectionArea& area, double x, double y) {
    switch (area.kind) {
    case AreaKind::Everything: return true;
    case AreaKind::Rectangle: return area.minX <= x && x <= area.maxX && area.minY <= y && y <= area.maxY;
    case AreaKind::Polygon: return isInsidePolygonArea(*area.polygon, x, y);
    case AreaKind::Circle: break;
    }
    const double dx = std::fabs(x - static_cast<double>(area.centreX));
    const double dy = std::fabs(y - static_cast<double>(area.centreY));
    return std::hypot(dx, dy) <= static_cast<double>(area.radius);
}

// The point with whole coordinates x and y is one the area takes: in its shape, or, for
// the points outside, not in it.
SKERROW_INLINE bool isInsideArea(const SelectionArea& area, double x, double y) {
    return isInsideShape(area, x, y) != area.outside;
}

// The area the record holds for a write of selectAll (1: every point).
SelectionArea selectedArea(short selectAll);

#endif
