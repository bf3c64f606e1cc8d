// Fitting an extent of whole point coordinates into the plot area: the scale, the centre
// and the red frame that the drawing maps points into and the drag maps pixels out of.
#ifndef SKERROW_POINTS_PLOTFIT_H
#define SKERROW_POINTS_PLOTFIT_H

// The plot area: at most kPlotWidth by kPlotHeight pixels centred at the client pixel
// (kPlotCentreX, kPlotCentreY); an extent wider than 10:7 is limited by its width.
constexpr int kPlotCentreX = 480;
constexpr int kPlotCentreY = 350;
constexpr int kPlotWidth = 900;
constexpr int kPlotHeight = 630;

// The smallest X lies this many pixels inside the frame's left edge; a rectangle is
// measured from this far inside the left and bottom edges.
constexpr int kFrameInset = 5;

// The whole coordinates a fit maps: their smallest X and Y, largest Y, and both ranges
// (neither 0).
struct PlotExtent {
    int minX, minY, maxY;
    int rangeX, rangeY;
};

struct PlotFit {
    PlotExtent extent;
    float scale;  // pixels per coordinate unit, at single precision as every product uses it
    short centreX, centreY;
    int left, right, top, bottom;  // the frame, in client pixels
};

PlotFit fitPlot(const PlotExtent& extent);

#endif
