// Screen-to-world conversion of a finished selection. The rectangle is measured from 5
// pixels inside the frame's left and bottom edges (where the smallest X and Y are drawn),
// the circle centre from the frame's left and top edges.
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/selectionArea.h"

namespace {

// Truncation toward zero into the int range of the record; with a tiny scale (a huge
// extent) the quotients can pass it and must saturate rather than wrap.
int truncateWorld(double value) {
    if (!(value > -2147483648.0)) return value != value ? 0 : -2147483647 - 1;
    if (value >= 2147483647.0) return 2147483647;
    return static_cast<int>(value);
}

int addWorld(long long a, long long b) {
    const long long sum = a + b;
    if (sum > 2147483647LL) return 2147483647;
    if (sum < -2147483648LL) return -2147483647 - 1;
    return static_cast<int>(sum);
}

}  // namespace

void selectionToWorld(const DraggedArea& area) {
    const double scale = g_scale;
    g_selMinX = addWorld(truncateWorld((area.left - (g_plotLeft + 5)) / scale), g_minX);
    g_selMaxX = truncateWorld((area.right - area.left) / scale + g_selMinX);
    g_selMinY = addWorld(truncateWorld((g_plotBottom - 5 - area.bottom) / scale), g_minY);
    g_selMaxY = truncateWorld((area.bottom - area.top) / scale + g_selMinY);
    if (g_areaType != AreaType::Circle) return;
    g_circleRadius = truncateWorld(area.radius / scale);
    g_circleCenterX = addWorld(truncateWorld((area.centre.x - g_plotLeft) / scale), g_minX);
    g_circleCenterY = addWorld(g_maxY, -static_cast<long long>(truncateWorld((area.centre.y - g_plotTop) / scale)));
}
