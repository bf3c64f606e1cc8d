// The selection area record: the area a drag selected, in whole point coordinates, as the
// writer tests each point against it.
#ifndef SKERROW_POINTS_SELECTIONAREA_H
#define SKERROW_POINTS_SELECTIONAREA_H

enum class AreaType : short { Circle = 0, Rectangle = 1 };

extern AreaType g_areaType;  // chosen from the menu; a rectangle at start
extern int g_selMinX, g_selMaxX, g_selMinY, g_selMaxY;
extern int g_circleCenterX, g_circleCenterY;
extern int g_circleRadius;  // whole coordinate units; wide enough for any file's extent

#endif
