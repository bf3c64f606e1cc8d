#include "points/selectionArea.h"

AreaType g_areaType = AreaType::Rectangle;
int g_selMinX = 0, g_selMaxX = 0, g_selMinY = 0, g_selMaxY = 0;
int g_circleCenterX = 0, g_circleCenterY = 0;
int g_circleRadius = 0;
PolygonArea g_selPolygon = makePolygonArea(nullptr, nullptr, 0);
bool g_pointsOutside = false;

namespace {

AreaKind kindOf(AreaType type) {
    switch (type) {
    case AreaType::Rectangle: return AreaKind::Rectangle;
    case AreaType::Polygon: return AreaKind::Polygon;
    case AreaType::Circle: break;
    }
    return AreaKind::Circle;
}

}  // namespace

SelectionArea selectedArea(short selectAll) {
    const AreaKind kind = selectAll == 1 ? AreaKind::Everything : kindOf(g_areaType);
    return SelectionArea{kind,
                         g_selMinX,
                         g_selMaxX,
                         g_selMinY,
                         g_selMaxY,
                         g_circleCenterX,
                         g_circleCenterY,
                         g_circleRadius,
                         &g_selPolygon,
                         kind != AreaKind::Everything && g_pointsOutside};
}
