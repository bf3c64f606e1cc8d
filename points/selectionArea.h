// The selection area record: the area a drag selected, in whole point coordinates, as the
// writer tests each point against it; and the area a write takes, every point or those
// the record holds.
#ifndef SKERROW_POINTS_SELECTIONAREA_H
#define SKERROW_POINTS_SELECTIONAREA_H

#include <cmath>

#include "reader/portability.h"

// The shape a drag selects, chosen from the menu.
enum class AreaType : short { Circle = 0, Rectangle = 1 };

extern AreaType g_areaType;  // a rectangle at start
extern int g_selMinX, g_selMaxX, g_selMinY, g_selMaxY;
extern int g_circleCenterX, g_circleCenterY;
extern int g_circleRadius;  // whole coordinate units; wide enough for any file's extent

// What a write takes.
enum class AreaKind {
    Everything,  // "Select All Pts." and the move: no area test
    Rectangle,   // minX..maxX by minY..maxY, every bound inside
    Circle,      // within radius of the centre, the rim inside
};

struct SelectionArea {
    AreaKind kind;
    int minX, maxX, minY, maxY;  // the box, for a circle its bounding box
    int centreX, centreY, radius;
};

// The point with whole coordinates x and y lies in the area. Doubles hold any whole
// distance of a large coordinate file without wrapping.
SKERROW_INLINE bool isInsideArea(const SelectionArea& area, double x, double y) {
    switch (area.kind) {
    case AreaKind::Everything: return true;
    case AreaKind::Rectangle: return area.minX <= x && x <= area.maxX && area.minY <= y && y <= area.maxY;
    case AreaKind::Circle: break;
    }
    const double dx = std::fabs(x - static_cast<double>(area.centreX));
    const double dy = std::fabs(y - static_cast<double>(area.centreY));
    return std::hypot(dx, dy) <= static_cast<double>(area.radius);
}

// The area the record holds for a write of selectAll (1: every point).
SelectionArea selectedArea(short selectAll);

#endif
