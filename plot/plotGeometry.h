// Where the plot view draws: the panel's texts around the frame, the frame's pen and the
// grid of every second pixel the points are drawn on. The plot area and the frame's inset
// are the fit's (points/plotFit.h).
#ifndef SKERROW_PLOT_PLOTGEOMETRY_H
#define SKERROW_PLOT_PLOTGEOMETRY_H

#include "points/plotFit.h"

// The title is centred over the plot area, its baseline this far above the frame.
constexpr int kTitleX = kPlotCentreX;
constexpr int kTitleAboveFrame = 8;

// The file name at the top left of the client area.
constexpr int kFileNameX = 4;
constexpr int kFileNameY = 6;

// The texts under the frame, their tops this far below it: the elevation range at the
// left, the point count at the right.
constexpr int kPanelBelowFrame = 4;
constexpr int kMinElevationX = 5;
constexpr int kMaxElevationX = 145;
constexpr int kPointCountX = 765;

// Under the frame between the elevation range and the point count, on the texts' row and
// clear of both: the strip where the pointer's coordinates are shown, filled black before
// each, and right of it the note that the view is zoomed.
constexpr int kPointerStripLeft = 300;
constexpr int kPointerStripRight = 570;
constexpr int kZoomNoteX = 590;

// The panel's fonts: bold Times New Roman, the title italic.
constexpr int kTitleFontHeight = 30;
constexpr int kLabelFontHeight = 18;

// The red frame's pen.
constexpr int kFramePenWidth = 3;

// Points are drawn on a grid of every second pixel in both directions.
constexpr int kPointGrid = 2;

#endif
