// The polygon area: a closed polygon the user clicks vertex by vertex, in whole point
// coordinates, and the test the writer puts each point to. A point lies in the polygon by
// the even-odd rule or when it lies on one of its edges. The test is exact in 64-bit
// integers for any point, and a point looks only at the edges of its cell of a grid over
// the polygon's box.
#ifndef SKERROW_POINTS_POLYGONAREA_H
#define SKERROW_POINTS_POLYGONAREA_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "reader/portability.h"

constexpr int kFewestPolygonVertices = 3;
constexpr int kMostPolygonVertices = 250;

// What a point of one cell of the grid tests: an edge, its ends ordered by row, narrowed
// to the whole columns its part within the cell's band of rows can meet at whole rows.
// Edges wholly right of the cell fold into the cell's parity; where such edges end
// within the band, a run of rows lowY..highY - 1 right of the cell (minX past its last
// column) stands for the crossings of them that only some rows see.
struct PolygonSpan {
    int lowY, highY;  // the rows of its ends, lowY <= highY
    int lowX, highX;  // the columns of the ends at lowY and at highY
    int minX, maxX;   // the narrowed columns; minX may exceed maxX by 1 when none is whole
};

constexpr uint32_t kCellParity = 1;
constexpr uint32_t kCellEmpty = 2;
constexpr int kCellFlagBits = 2;

struct PolygonArea {
    int count;                     // vertices; 0 when the list made no polygon
    int xs[kMostPolygonVertices];  // the vertices as clicked, the last joined to the first
    int ys[kMostPolygonVertices];
    int minX, maxX, minY, maxY;  // the box, a single point at the origin when count is 0
    uint64_t width, height;      // maxX - minX and maxY - minY, below 2^32
    // The grid: a band is 2^bandShift rows from minY, a column 2^columnShift columns from
    // minX, and cell (band, column) is number (band << columnBits) + column.
    int bandShift, columnShift, columnBits;
    int bandCount, columnCount;
    // Cell c's spans are spans[cells[c] >> kCellFlagBits] up to the same of cells[c + 1];
    // kCellParity is the parity of the crossings right of the cell that every row of its
    // band sees, and kCellEmpty marks a cell of no spans, which its parity settles. With no
    // vertices, one empty cell of parity 0: nothing lies inside.
    std::vector<uint32_t> cells;
    std::vector<PolygonSpan> spans;
};

// The polygon of count vertices (xs[i], ys[i]), the last joined to the first. Repeated,
// collinear and crossing vertices are all taken as they stand. A count outside
// kFewestPolygonVertices..kMostPolygonVertices makes a polygon of count 0, which holds no
// point.
PolygonArea makePolygonArea(const int* xs, const int* ys, int count);

// Whether the point (x, y) of the cell lies inside the polygon or on its boundary, for a
// cell that is not empty.
bool insidePolygonCell(const PolygonArea& polygon, const uint32_t* cell, long long x, long long y);

// Whether the point with whole coordinates x and y (any values) lies inside the polygon or
// on its boundary. The box rejects first: the differences from its least corner, taken
// modulo 2^64, exceed its width or height for every point outside it, as no true
// difference reaches 2^64 in magnitude; past it they are at most 2^32 - 1, and the cell
// lies in the grid.
SKERROW_INLINE bool insidePolygon(const PolygonArea& polygon, long long x, long long y) {
    const uint64_t right = static_cast<uint64_t>(x) - static_cast<uint64_t>(static_cast<long long>(polygon.minX));
    const uint64_t up = static_cast<uint64_t>(y) - static_cast<uint64_t>(static_cast<long long>(polygon.minY));
    if (right > polygon.width || up > polygon.height) return false;
    const uint32_t* const cell =
        polygon.cells.data() +
        static_cast<size_t>(((up >> polygon.bandShift) << polygon.columnBits) + (right >> polygon.columnShift));
    if ((cell[0] & kCellEmpty) != 0) return (cell[0] & kCellParity) != 0;
    return insidePolygonCell(polygon, cell, x, y);
}

#endif
