// Drawing the opened point file: the panel, the red frame filled black, and one pixel per
// point on the even-pixel grid, read straight from the file with no table of points.
#include "app/mainWindow.h"
#include "plot/colourRamp.h"
#include "plot/infoPanel.h"
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/plainLines.h"
#include "points/pointFields.h"
#include "points/pointLine.h"

// Files longer than these line counts are thinned to every second, third or fourth line.
static int lineStep(int lineCount) {
    if (lineCount > 1440000) return 3;
    if (lineCount > 1120000) return 2;
    if (lineCount > 480000) return 1;
    return 0;
}

// Truncation toward zero, held inside the int range: a point of a file changed since it
// was opened may map far outside any frame and must not overflow on the way.
static int truncatePixel(double value) {
    if (!(value > -1e9)) return -1000000000;
    if (value > 1e9) return 1000000000;
    return static_cast<int>(value);
}

// Elevations just below 32768 mark points without a surveyed height.
static bool isNoData(float elevation) {
    double z = elevation;
    return z > 32765.9 && z < 32768.0;
}

static void drawFrame(HDC dc) {
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    Rectangle(dc, g_plotLeft, g_plotTop, g_plotRight, g_plotBottom);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// The ramp's colours, worked out once for each drawing rather than once for each point.
static COLORREF s_rampColours[241];

// Maps the point to its pixel and sets it when it lies strictly inside the frame.
static void plotPoint(HDC dc, double x, double y, float elevation) {
    if ((g_fieldCount == 3 || g_fieldCount == 5) && isNoData(elevation)) return;
    double scale = g_scale;
    int column = g_plotCenterX - truncatePixel(scale * (g_rangeX / 2 - (x - g_minX)));
    int row = g_plotCenterY + truncatePixel(scale * (g_rangeY / 2 - (y - g_minY)));
    column = column / 2 * 2;
    row = row / 2 * 2;
    if (column <= g_plotLeft || column >= g_plotRight || row <= g_plotTop || row >= g_plotBottom) return;
    // A 2-field file has no elevations: every point is grey.
    int k = g_fieldCount == 2 ? 220 : colourIndex(elevation);  // 0 to 240
    SetPixel(dc, column, row, s_rampColours[k]);
}

// A plain line's point plotted as the one nextPointLine reads from it; false, leaving the
// line to be read the general way, when its X or Y is not the common kind of whole part
// or its elevation not in the short decimal form.
template <bool swap, bool elevations>
static inline bool plotPlainPoint(HDC dc, const PlainLine& line) {
    int x, y;
    float elevation;
    if (!plainLineWholes<swap, elevations>(line, &x, &y, &elevation)) return false;
    plotPoint(dc, x, y, elevation);
    return true;
}

// The run of plain lines at the stream's place: each line drawn, then step lines read
// past, with *skip the lines still to read past before the next one drawn.
template <bool swap, bool elevations>
static void plotPlainRun(HDC dc, int step, int* skip) {
    takePlainLinesPassing(128, elevations ? 2 : 1, skip, [dc, step](const PlainLine& line) {
        return plotPlainPoint<swap, elevations>(dc, line) ? step : -1;
    });
}

// One pass over the file. Stops at the end of the data, at a line that cannot be read
// whole (the stream would never reach its end), and at a drawn line without enough fields.
static void plotPoints(HDC dc) {
    if (!startPass()) return;
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    for (int k = 0; k <= 240; ++k) s_rampColours[k] = rampColour(k);
    const int step = lineStep(g_lineCount);
    const bool swap = g_swapXY == 1;
    int skip = 0;
    for (;;) {
        // Runs of plain lines where they stand; whatever they leave is read the general way.
        if (g_fieldCount == 3) swap ? plotPlainRun<true, true>(dc, step, &skip) : plotPlainRun<false, true>(dc, step, &skip);
        if (g_fieldCount == 2) swap ? plotPlainRun<true, false>(dc, step, &skip) : plotPlainRun<false, false>(dc, step, &skip);
        if (skip > 0) {
            // The lines thinned out are only read past, a run at a time where they stand
            // whole in the block read ahead.
            long long taken = takeDataLines(128, skip, nullptr);
            if (taken == 0) {
                const char* line;
                size_t length;
                if (nextDataLine(128, &line, &length) != LINE_DATA) break;
                taken = 1;
            }
            skip -= static_cast<int>(taken);
            continue;
        }
        PointFields point;
        bool cut;
        if (nextPointLine(128, &point, &cut) != LINE_DATA || !cut) break;
        plotPoint(dc, point.x, point.y, point.elevation);
        skip = step;
    }
    g_input.close();
}

void drawPlot(HWND window) {
    HDC dc = GetDC(window);
    drawInfoPanel(dc);
    drawFrame(dc);
    plotPoints(dc);
    g_viewState = 2;
    enableSelectItems(window, MF_ENABLED);
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    ReleaseDC(window, dc);
}
