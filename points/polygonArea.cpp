#include "points/polygonArea.h"

#include <algorithm>

namespace {

// Bands and columns aimed at for each vertex, and at least and at most: enough that most
// cells meet no edge and settle by their parity alone, few enough that the cells' table
// stays small in the cache.
constexpr int kGridStepsPerVertex = 2;
constexpr int kFewestGridSteps = 16;
constexpr int kMostGridSteps = 128;

// The side of the edge's line on which (x, y) lies, for a point within the edge's box:
// 1 left of the edge taken upwards (so its crossing of the row lies right of the point),
// 0 on the edge, -1 right of it. Within the box, dx (y - lowY) and dy (x - lowX) of the
// cross product have dx's sign, and each is at most |dx| dy <= (2^32 - 1)^2 < 2^64 in
// magnitude: the two magnitudes are compared exactly in unsigned 64-bit products.
int edgeSide(const PolygonSpan& span, long long x, long long y) {
    const long long dx = static_cast<long long>(span.highX) - span.lowX;
    const uint64_t absDx = static_cast<uint64_t>(dx >= 0 ? dx : -dx);
    const uint64_t dy = static_cast<uint64_t>(static_cast<long long>(span.highY) - span.lowY);
    const uint64_t rise = static_cast<uint64_t>(y - span.lowY);
    const uint64_t run = static_cast<uint64_t>(dx >= 0 ? x - span.lowX : span.lowX - x);
    const uint64_t along = absDx * rise;
    const uint64_t across = dy * run;
    if (along == across) return 0;
    return (along > across) == (dx >= 0) ? 1 : -1;
}

// The edge from (ax, ay) to (bx, by), its ends ordered by row.
PolygonSpan orderedEdge(int ax, int ay, int bx, int by) {
    if (ay <= by) return PolygonSpan{ay, by, ax, bx, std::min(ax, bx), std::max(ax, bx)};
    return PolygonSpan{by, ay, bx, ax, std::min(ax, bx), std::max(ax, bx)};
}

// Narrows the edge's columns to the whole columns its part at rows from..to (within its
// rows) can share with a whole point: ceiling of the least, floor of the greatest, as a
// whole point left of the least lies strictly left of the part, and one right of the
// greatest strictly right. At row t the edge lies |dx| (t - lowY) / dy columns from lowX;
// the product is at most |dx| dy < 2^64, so both come out exact in unsigned 64 bits.
void narrowToRows(PolygonSpan& span, long long from, long long to) {
    if (span.highY == span.lowY) return;
    const long long dx = static_cast<long long>(span.highX) - span.lowX;
    const uint64_t absDx = static_cast<uint64_t>(dx >= 0 ? dx : -dx);
    const uint64_t dy = static_cast<uint64_t>(static_cast<long long>(span.highY) - span.lowY);
    const uint64_t nearProduct = absDx * static_cast<uint64_t>(from - span.lowY);
    const uint64_t farProduct = absDx * static_cast<uint64_t>(to - span.lowY);
    const long long nearFloor = static_cast<long long>(nearProduct / dy);
    const long long nearCeiling = nearFloor + (nearProduct % dy != 0 ? 1 : 0);
    const long long farFloor = static_cast<long long>(farProduct / dy);
    if (dx >= 0) {
        span.minX = static_cast<int>(span.lowX + nearCeiling);
        span.maxX = static_cast<int>(span.lowX + farFloor);
    } else {
        span.minX = static_cast<int>(span.lowX - farFloor);
        span.maxX = static_cast<int>(span.lowX - nearCeiling);
    }
}

// The fewest shifts that cut extent + 1 whole steps into at most aim parts of 2^shift.
int gridShift(long long extent, int aim) {
    int shift = 0;
    while ((extent >> shift) + 1 > aim) ++shift;
    return shift;
}

// Adds row to the rows where the parity right of a cell flips, or takes it out when it is
// there already: two flips on one row undo each other.
void flipAt(std::vector<long long>& flips, long long row) {
    const auto at = std::lower_bound(flips.begin(), flips.end(), row);
    if (at != flips.end() && *at == row)
        flips.erase(at);
    else
        flips.insert(at, row);
}

// Flips the parity right of a cell, in the band of rows bandLow..bandHigh, by the edge
// wholly right of it: from the edge's low row (or the band's first) up to its high row,
// if that lies within the band.
void flipForEdge(std::vector<long long>& flips, const PolygonSpan& span, long long bandLow, long long bandHigh) {
    flipAt(flips, std::max<long long>(span.lowY, bandLow));
    if (span.highY <= bandHigh) flipAt(flips, span.highY);
}

// A cell's word: its first span, its parity and whether it holds no span. The spans stay
// far below 2^30: an edge's parts meet about as many cells as there are bands and columns,
// and a run of rows comes from a vertex within the band whose one edge lies right of the
// cell and whose other meets it, so a cell holds at most two runs for each edge it meets.
uint32_t cellWord(size_t start, bool parity, bool empty) {
    return static_cast<uint32_t>(start) << kCellFlagBits | (parity ? kCellParity : 0) | (empty ? kCellEmpty : 0);
}

}  // namespace

bool insidePolygonCell(const PolygonArea& polygon, const uint32_t* cell, long long x, long long y) {
    bool inside = (cell[0] & kCellParity) != 0;
    const PolygonSpan* const end = polygon.spans.data() + (cell[1] >> kCellFlagBits);
    for (const PolygonSpan* span = polygon.spans.data() + (cell[0] >> kCellFlagBits); span != end; ++span) {
        // The ray runs right from the point; an edge crosses its row when one end lies
        // above the row and the other on it or below, so a vertex on the row counts once.
        const bool onRows = y >= span->lowY && y <= span->highY;
        const bool crosses = onRows && y < span->highY;
        if (x < span->minX) {
            inside = inside != crosses;
        } else if (onRows && x <= span->maxX) {
            const int side = edgeSide(*span, x, y);
            if (side == 0) return true;
            inside = inside != (crosses && side > 0);
        }
    }
    return inside;
}

namespace {

// The polygon's vertices, extent and grid: bands of rows and columns of 2^shift whole steps
// each, about aim of each way.
void placeGrid(PolygonArea& polygon, const int* xs, const int* ys, int count) {
    polygon.count = count;
    std::copy(xs, xs + count, polygon.xs);
    std::copy(ys, ys + count, polygon.ys);
    polygon.minX = *std::min_element(xs, xs + count);
    polygon.maxX = *std::max_element(xs, xs + count);
    polygon.minY = *std::min_element(ys, ys + count);
    polygon.maxY = *std::max_element(ys, ys + count);

    const int aim = std::min(kMostGridSteps, std::max(kFewestGridSteps, kGridStepsPerVertex * count));
    const long long height = static_cast<long long>(polygon.maxY) - polygon.minY;
    const long long width = static_cast<long long>(polygon.maxX) - polygon.minX;
    polygon.width = static_cast<uint64_t>(width);
    polygon.height = static_cast<uint64_t>(height);
    polygon.bandShift = gridShift(height, aim);
    polygon.columnShift = gridShift(width, aim);
    polygon.bandCount = static_cast<int>((height >> polygon.bandShift) + 1);
    polygon.columnCount = static_cast<int>((width >> polygon.columnShift) + 1);
    while ((1 << polygon.columnBits) < polygon.columnCount) ++polygon.columnBits;
}

// The edges meeting the rows bandLow..bandHigh, narrowed to them, in the order of their
// least column.
void bandEdges(const PolygonArea& polygon, long long bandLow, long long bandHigh, std::vector<PolygonSpan>& band) {
    band.clear();
    const int count = polygon.count;
    for (int i = 0; i < count; ++i) {
        const int next = i + 1 < count ? i + 1 : 0;
        PolygonSpan span = orderedEdge(polygon.xs[i], polygon.ys[i], polygon.xs[next], polygon.ys[next]);
        if (span.highY < bandLow || span.lowY > bandHigh) continue;
        narrowToRows(span, std::max<long long>(span.lowY, bandLow), std::min<long long>(span.highY, bandHigh));
        band.push_back(span);
    }
    std::sort(band.begin(), band.end(),
              [](const PolygonSpan& one, const PolygonSpan& other) { return one.minX < other.minX; });
}

// The cells of one band, column by column from the left: the edges wholly right of a cell
// are those not yet passed in the order of their least column.
void addBandCells(PolygonArea& polygon, const std::vector<PolygonSpan>& band, long long bandLow, long long bandHigh,
                  std::vector<long long>& flips) {
    const int rowOfCells = 1 << polygon.columnBits;
    flips.clear();
    for (const PolygonSpan& span : band) flipForEdge(flips, span, bandLow, bandHigh);
    size_t passed = 0;
    for (int column = 0; column < rowOfCells; ++column) {
        const size_t start = polygon.spans.size();
        if (column >= polygon.columnCount) {
            polygon.cells.push_back(cellWord(start, false, true));
            continue;
        }
        const long long columnLow = polygon.minX + (static_cast<long long>(column) << polygon.columnShift);
        const long long columnHigh = std::min<long long>(columnLow + (1LL << polygon.columnShift) - 1, polygon.maxX);
        for (; passed < band.size() && band[passed].minX <= columnHigh; ++passed)
            flipForEdge(flips, band[passed], bandLow, bandHigh);
        for (size_t i = 0; i < passed; ++i)
            if (band[i].maxX >= columnLow) polygon.spans.push_back(band[i]);
        // A flip on the band's first row sets the parity of every row; each later one
        // becomes a run of the rows below it with the parity flipped once more.
        // Flips come only from edges right of the cell, so a column lies past it.
        bool parity = false;
        for (const long long row : flips) {
            parity = !parity;
            if (row == bandLow) continue;
            const int past = static_cast<int>(columnHigh + 1);
            polygon.spans.push_back(
                PolygonSpan{static_cast<int>(bandLow), static_cast<int>(row), past, past, past, past});
        }
        polygon.cells.push_back(cellWord(start, parity, polygon.spans.size() == start));
    }
}

}  // namespace

PolygonArea makePolygonArea(const int* xs, const int* ys, int count) {
    PolygonArea polygon{};
    if (xs == nullptr || ys == nullptr || count < kFewestPolygonVertices || count > kMostPolygonVertices) {
        polygon.cells.assign(2, kCellEmpty);
        return polygon;
    }
    placeGrid(polygon, xs, ys, count);
    std::vector<PolygonSpan> band;  // the edges meeting one band, narrowed to it
    std::vector<long long> flips;   // rows where the parity right of the current cell flips
    for (int b = 0; b < polygon.bandCount; ++b) {
        const long long bandLow = polygon.minY + (static_cast<long long>(b) << polygon.bandShift);
        const long long bandHigh = std::min<long long>(bandLow + (1LL << polygon.bandShift) - 1, polygon.maxY);
        bandEdges(polygon, bandLow, bandHigh, band);
        addBandCells(polygon, band, bandLow, bandHigh, flips);
    }
    polygon.cells.push_back(cellWord(polygon.spans.size(), false, true));
    return polygon;
}
