// The plot view: information panel, frame and points, and the mapping between point
// coordinates and client pixels.
#ifndef SKERROW_PLOT_PLOTVIEW_H
#define SKERROW_PLOT_PLOTVIEW_H

#include <windows.h>

#include "points/openedFile.h"
#include "points/plotFit.h"
#include "points/selectionArea.h"
#include "reader/passWatch.h"

// What a drawing shows: the whole file by the Open's fit, thinned when long; or a closer
// look at a box of it by a fit of its own, every line drawn, the panel saying so.
enum class PlotScope { WholeFile, Zoomed };

// Draws the panel, the frame and every point of the file as the fit maps it, the points'
// pass under the watch.
void drawPlot(HWND window, const OpenedFile& file, const PlotFit& fit, PlotScope scope, PassWatch* watch);

// A finished drag as the selection area record holds it: the box from left to right and
// top to bottom in client pixels and, for a circle, its centre and radius in pixels.
struct DraggedArea {
    int left, top, right, bottom;
    POINT centre;
    int radius;
};

// The dragged area in whole point coordinates, as the fit maps it: the box, and for a
// circle its centre and radius (kind Circle; Rectangle otherwise).
SelectionArea selectionToWorld(const DraggedArea& area, AreaType type, const PlotFit& fit);

// Whole point coordinates.
struct WorldPoint {
    int x, y;
};

// The whole point coordinates a rectangle's corner at the client pixel (x, y) selects, as
// the fit maps it: measured from the inset inside the frame's left and bottom edges.
WorldPoint cornerToWorld(int x, int y, const PlotFit& fit);

#endif
