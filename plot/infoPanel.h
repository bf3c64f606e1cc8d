// The information panel above and below the plot frame.
#ifndef SKERROW_PLOT_INFOPANEL_H
#define SKERROW_PLOT_INFOPANEL_H

#include <windows.h>

// Draws the title, the file name, the elevation range and the point count in white
// onto dc, leaving the text alignment at left-top.
void drawInfoPanel(HDC dc);

#endif
