#include "points/selectionArea.h"

AreaType g_areaType = AreaType::Rectangle;
int g_selMinX = 0, g_selMaxX = 0, g_selMinY = 0, g_selMaxY = 0;
int g_circleCenterX = 0, g_circleCenterY = 0;
int g_circleRadius = 0;

SelectionArea selectedArea(short selectAll) {
    const AreaKind kind = selectAll == 1                      ? AreaKind::Everything
                          : g_areaType == AreaType::Rectangle ? AreaKind::Rectangle
                                                              : AreaKind::Circle;
    return SelectionArea{kind,      g_selMinX,       g_selMaxX,       g_selMinY,
                         g_selMaxY, g_circleCenterX, g_circleCenterY, g_circleRadius};
}
