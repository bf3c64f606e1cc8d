// Screen-to-world conversion of a finished selection. The rectangle is measured from 5
// pixels inside the frame's left and bottom edges (where the smallest X and Y are drawn),
// the circle centre from the frame's left and top edges.
#include "app/areaSelection.h"
#include "plot/plotView.h"
#include "points/appState.h"

// Truncation toward zero into the int range of the record; with a tiny scale (a huge
// extent) the quotients can pass it and must saturate rather than wrap.
static int truncateWorld(double value) {
    if (!(value > -2147483648.0)) return value != value ? 0 : -2147483647 - 1;
    if (value >= 2147483647.0) return 2147483647;
    return static_cast<int>(value);
}

static int addWorld(long long a, long long b) {
    long long sum = a + b;
    if (sum > 2147483647LL) return 2147483647;
    if (sum < -2147483648LL) return -2147483647 - 1;
    return static_cast<int>(sum);
}

void selectionToWorld(int radiusPixels) {
    double scale = g_scale;
    g_selMinX = addWorld(truncateWorld((g_selLeft - (g_plotLeft + 5)) / scale), g_minX);
    g_selMaxX = truncateWorld((g_selRight - g_selLeft) / scale + g_selMinX);
    g_selMinY = addWorld(truncateWorld((g_plotBottom - 5 - g_selBottom) / scale), g_minY);
    g_selMaxY = truncateWorld((g_selBottom - g_selTop) / scale + g_selMinY);
    if (g_areaType != 0) return;
    g_circleRadius = truncateWorld(radiusPixels / scale);
    g_circleCenterX = addWorld(truncateWorld((g_dragStart.x - g_plotLeft) / scale), g_minX);
    g_circleCenterY = addWorld(g_maxY, -static_cast<long long>(truncateWorld((g_dragStart.y - g_plotTop) / scale)));
}
