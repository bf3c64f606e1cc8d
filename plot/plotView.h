// The plot view: information panel, frame and points, and the mapping between
// point coordinates and client pixels.
#ifndef SKERROW_PLOT_PLOTVIEW_H
#define SKERROW_PLOT_PLOTVIEW_H

#include <windows.h>

void drawPlot(HWND window);

// Converts the selection box g_selLeft..g_selBottom into g_selMinX..g_selMaxY and, for a
// circle (g_areaType 0), g_dragStart and radiusPixels into the circle centre and radius.
void selectionToWorld(int radiusPixels);

#endif
