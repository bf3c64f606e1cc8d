// Drawing the opened point file: the panel, the red frame filled black, and one pixel per
// point on the even-pixel grid, read straight from the file with no table of points.
#include "plot/colourRamp.h"
#include "plot/infoPanel.h"
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/noDataBand.h"
#include "reader/plainLines.h"

namespace {

// Files longer than these line counts are thinned to every second, third or fourth line:
// the lines passed over after each one drawn.
int linesPassedOver(int lineCount) {
    if (lineCount > 1440000) return 3;
    if (lineCount > 1120000) return 2;
    if (lineCount > 480000) return 1;
    return 0;
}

// Truncation toward zero, held inside the int range: a point of a file changed since it
// was opened may map far outside any frame and must not overflow on the way.
int truncatePixel(double value) {
    if (!(value > -1e9)) return -1000000000;
    if (value > 1e9) return 1000000000;
    return static_cast<int>(value);
}

void drawFrame(HDC dc) {
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
COLORREF s_rampColours[kRampSteps];

// Maps the point to its pixel and sets it when it lies strictly inside the frame.
void plotPoint(HDC dc, double x, double y, float elevation) {
    if (hasElevations() && inNoDataBand(elevation)) return;
    const double scale = g_scale;
    int column = g_plotCenterX - truncatePixel(scale * (g_rangeX / 2 - (x - g_minX)));
    int row = g_plotCenterY + truncatePixel(scale * (g_rangeY / 2 - (y - g_minY)));
    column = column / 2 * 2;
    row = row / 2 * 2;
    if (column <= g_plotLeft || column >= g_plotRight || row <= g_plotTop || row >= g_plotBottom) return;
    // A 2-field file has no elevations: every point is grey.
    const int k = g_fieldCount == 2 ? kGreyStep : colourIndex(elevation);
    SetPixel(dc, column, row, s_rampColours[k]);
}

// The run of plain lines at the reader's place: each line drawn as the one nextPointLine
// reads from it, then *passOver lines read past before the next one drawn. A line whose X
// or Y is not the common kind of whole part, or whose elevation is not in the short
// decimal form, is left to the general reading.
template <class Form>
void plotPlainRun(HDC dc, LineReader& reader, int step, int* passOver) {
    takePlainLinesPassing(reader, kFullLineLimit, Form{}, passOver,
                          [dc, step](const PlainLine& line) SKERROW_INLINE_LAMBDA {
                              int x, y;
                              float elevation;
                              if (!plainLineWholes<Form>(line, &x, &y, &elevation)) return -1;
                              plotPoint(dc, x, y, elevation);
                              return step;
                          });
}

// One pass over the file. Stops at the end of the data, at a line that cannot be read
// whole (the reader would never reach its end), and at a drawn line without enough fields.
void plotPoints(HDC dc) {
    LineReader reader;
    if (!openReader(reader, g_inputPath, headerChoice())) return;
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    for (int k = 0; k < kRampSteps; ++k) s_rampColours[k] = rampColour(k);
    const PointLayout layout = pointLayout();
    const int step = linesPassedOver(g_lineCount);
    int passOver = 0;
    for (;;) {
        // Runs of plain lines where they stand; whatever they leave is read the general way.
        withPlainForm(layout, [&](auto form) { plotPlainRun<decltype(form)>(dc, reader, step, &passOver); });
        if (passOver > 0) {
            // The lines thinned out are only read past, a run at a time where they stand
            // whole in the block read ahead.
            long long taken = takeDataLines(reader, kFullLineLimit, passOver, nullptr);
            if (taken == 0) {
                const char* line;
                size_t length;
                if (nextDataLine(reader, kFullLineLimit, &line, &length) != LineOutcome::Data) break;
                taken = 1;
            }
            passOver -= static_cast<int>(taken);
            continue;
        }
        PointFields point;
        bool cut;
        if (nextPointLine(reader, kFullLineLimit, layout, &point, &cut) != LineOutcome::Data || !cut) break;
        plotPoint(dc, point.x, point.y, point.elevation);
        passOver = step;
    }
    closeReader(reader);
}

}  // namespace

void drawPlot(HWND window) {
    HDC dc = GetDC(window);
    drawInfoPanel(dc);
    drawFrame(dc);
    plotPoints(dc);
    g_viewState = ViewState::Drawn;
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    ReleaseDC(window, dc);
}
