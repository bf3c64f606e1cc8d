// The plot view: information panel, frame and points, and the mapping between point
// coordinates and client pixels.
#ifndef SKERROW_PLOT_PLOTVIEW_H
#define SKERROW_PLOT_PLOTVIEW_H

#include <windows.h>

// Fits the ranges of the file just opened into the plot area: g_scale, the plot centre
// and the frame.
void fitPlot();

// Draws the panel, the frame and every point of the file; the view state is then Drawn.
void drawPlot(HWND window);

// A finished drag as the selection area record holds it: the box from left to right and
// top to bottom in client pixels and, for a circle, its centre and radius in pixels.
struct DraggedArea {
    int left, top, right, bottom;
    POINT centre;
    int radius;
};

// Converts the dragged area into whole point coordinates: g_selMinX..g_selMaxY and, for a
// circle (g_areaType), the circle's centre and radius.
void selectionToWorld(const DraggedArea& area);

#endif
