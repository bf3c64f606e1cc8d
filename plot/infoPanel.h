// The information panel above and below the plot frame.
#ifndef SKERROW_PLOT_INFOPANEL_H
#define SKERROW_PLOT_INFOPANEL_H

#include <windows.h>

#include "points/openedFile.h"
#include "points/plotFit.h"

// Draws the title, the file name, the elevation range and the point count of the file in
// white onto dc around the fit's frame, leaving the text alignment at left-top.
void drawInfoPanel(HDC dc, const OpenedFile& file, const PlotFit& fit);

#endif
