// Limited by width when the extent is wider than the plot area's 10:7 and by height
// otherwise; products in double with the scale at its stored precision, truncated toward
// zero.
#include "points/plotFit.h"

namespace {

// The frame's margins around the fitted points, beyond the inset: the right edge and the
// bottom lie this many pixels past the left and top edges and the fitted ranges.
constexpr int kFrameWidthMargin = 2 * kFrameInset + 1;
constexpr int kFrameTopMargin = 2;
constexpr int kFrameHeightMargin = 2 * kFrameInset;

}  // namespace

PlotFit fitPlot(const PlotExtent& extent) {
    PlotFit fit;
    fit.extent = extent;
    fit.centreX = kPlotCentreX;
    fit.centreY = kPlotCentreY;
    const float aspect = static_cast<float>(static_cast<double>(extent.rangeX) / extent.rangeY);
    const float plotAspect = static_cast<float>(static_cast<double>(kPlotWidth) / kPlotHeight);
    if (aspect > plotAspect)
        fit.scale = static_cast<float>(static_cast<double>(kPlotWidth) / extent.rangeX);
    else
        fit.scale = static_cast<float>(static_cast<double>(kPlotHeight) / extent.rangeY);

    const double scale = fit.scale;
    const int halfX = extent.rangeX / 2;
    const int halfY = extent.rangeY / 2;
    fit.left = kPlotCentreX - static_cast<int>(halfX * scale + kFrameInset);
    fit.right = fit.left + static_cast<int>(extent.rangeX * scale) + kFrameWidthMargin;
    fit.top = kPlotCentreY - (static_cast<int>(halfY * scale + kFrameInset) + kFrameTopMargin);
    fit.bottom = fit.top + static_cast<int>(extent.rangeY * scale) + kFrameHeightMargin;
    return fit;
}
