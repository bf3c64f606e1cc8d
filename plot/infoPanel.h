// The information panel above and below the plot frame.
#ifndef SKERROW_PLOT_INFOPANEL_H
#define SKERROW_PLOT_INFOPANEL_H

#include <windows.h>

#include "plot/plotView.h"
#include "points/openedFile.h"
#include "points/plotFit.h"

// Draws the title, the file name, the elevation range and the point count of the file in
// white onto dc around the fit's frame, leaving the text alignment at left-top; for a
// zoomed view, the note that it is.
void drawInfoPanel(HDC dc, const OpenedFile& file, const PlotFit& fit, PlotScope scope = PlotScope::WholeFile);

// Shows the whole point coordinates under the pointer in the panel's strip under the
// fit's frame, filled black first.
void drawPointerStrip(HDC dc, const PlotFit& fit, WorldPoint point);

// Fills the panel's strip for the pointer's coordinates black.
void clearPointerStrip(HDC dc, const PlotFit& fit);

#endif
