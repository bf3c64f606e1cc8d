// Fitting the ranges into the plot area: at most 900 by 630 pixels centred at (480, 350),
// limited by width when the extent is wider than 10:7 and by height otherwise.
#include "plot/plotView.h"
#include "points/appState.h"

void fitPlot() {
    g_plotCenterX = 480;
    g_plotCenterY = 350;
    const float aspect = static_cast<float>(static_cast<double>(g_rangeX) / g_rangeY);
    const float tenBySeven = static_cast<float>(10.0 / 7.0);
    if (aspect > tenBySeven)
        g_scale = static_cast<float>(900.0 / g_rangeX);
    else
        g_scale = static_cast<float>(630.0 / g_rangeY);

    // Products in double with the scale at its stored precision; truncation toward zero.
    const double scale = g_scale;
    const int halfX = g_rangeX / 2;
    const int halfY = g_rangeY / 2;
    g_plotLeft = 480 - static_cast<int>(halfX * scale + 5.0);
    g_plotRight = g_plotLeft + static_cast<int>(g_rangeX * scale) + 11;
    g_plotTop = 350 - (static_cast<int>(halfY * scale + 5.0) + 2);
    g_plotBottom = g_plotTop + static_cast<int>(g_rangeY * scale) + 10;
}
