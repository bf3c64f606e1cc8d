// Screen-to-world conversion of a finished selection. The rectangle is measured from the
// inset inside the frame's left and bottom edges (where the smallest X and Y are drawn),
// the circle centre from the frame's left and top edges.
#include "plot/plotView.h"

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

WorldPoint cornerToWorld(int x, int y, const PlotFit& fit) {
    const double scale = fit.scale;
    return WorldPoint{addWorld(truncateWorld((x - (fit.left + kFrameInset)) / scale), fit.extent.minX),
                      addWorld(truncateWorld((fit.bottom - kFrameInset - y) / scale), fit.extent.minY)};
}

SelectionArea selectionToWorld(const DraggedArea& area, AreaType type, const PlotFit& fit) {
    const double scale = fit.scale;
    const PlotExtent& extent = fit.extent;
    SelectionArea world = {};
    world.kind = type == AreaType::Circle ? AreaKind::Circle : AreaKind::Rectangle;
    const WorldPoint corner = cornerToWorld(area.left, area.bottom, fit);
    world.minX = corner.x;
    world.maxX = truncateWorld((area.right - area.left) / scale + world.minX);
    world.minY = corner.y;
    world.maxY = truncateWorld((area.bottom - area.top) / scale + world.minY);
    if (type != AreaType::Circle) return world;
    world.radius = truncateWorld(area.radius / scale);
    world.centreX = addWorld(truncateWorld((area.centre.x - fit.left) / scale), extent.minX);
    world.centreY = addWorld(extent.maxY, -static_cast<long long>(truncateWorld((area.centre.y - fit.top) / scale)));
    return world;
}
