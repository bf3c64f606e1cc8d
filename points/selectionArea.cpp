#include "points/selectionArea.h"

AreaType g_areaType = AreaType::Rectangle;
int g_selMinX = 0, g_selMaxX = 0, g_selMinY = 0, g_selMaxY = 0;
int g_circleCenterX = 0, g_circleCenterY = 0;
int g_circleRadius = 0;
