// Drawing the opened point file: the panel, the red frame filled black, and one pixel per
// point on the even-pixel grid, read straight from the file with no table of points.
#include <vector>

#include "plot/colourRamp.h"
#include "plot/infoPanel.h"
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/noDataBand.h"
#include "reader/fileChunks.h"
#include "reader/plainLines.h"
#include "reader/workers.h"

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

// The window's pixels, set through the device context.
struct WindowCanvas {
    HDC dc;
    void set(int column, int row, int k) const { SetPixel(dc, column, row, s_rampColours[k]); }
};

// A worker's own pixels inside the frame: 0 where no point fell, else the ramp index plus
// 1 of the last point that did. No worker touches the window.
struct PartCanvas {
    std::vector<unsigned char> pixels;
    int left, top, width;
    void set(int column, int row, int k) {
        pixels[static_cast<size_t>(row - top) * width + (column - left)] = static_cast<unsigned char>(k + 1);
    }
};

// Maps the point to its pixel and sets it when it lies strictly inside the frame.
template <class Canvas>
SKERROW_INLINE void plotPoint(Canvas& canvas, double x, double y, float elevation) {
    if (hasElevations() && inNoDataBand(elevation)) return;
    const double scale = g_scale;
    int column = g_plotCenterX - truncatePixel(scale * (g_rangeX / 2 - (x - g_minX)));
    int row = g_plotCenterY + truncatePixel(scale * (g_rangeY / 2 - (y - g_minY)));
    column = column / 2 * 2;
    row = row / 2 * 2;
    if (column <= g_plotLeft || column >= g_plotRight || row <= g_plotTop || row >= g_plotBottom) return;
    // A 2-field file has no elevations: every point is grey.
    const int k = g_fieldCount == 2 ? kGreyStep : colourIndex(elevation);
    canvas.set(column, row, k);
}

// The run of plain lines at the reader's place: each line drawn as the one nextPointLine
// reads from it, then *passOver lines read past before the next one drawn. A line whose X
// or Y is not the common kind of whole part, or whose elevation is not in the short
// decimal form, is left to the general reading.
template <class Form, class Canvas>
void plotPlainRun(Canvas& canvas, LineReader& reader, int step, int* passOver) {
    takePlainLinesPassing(reader, kFullLineLimit, Form{}, passOver,
                          [&canvas, step](const PlainLine& line) SKERROW_INLINE_LAMBDA {
                              int x, y;
                              float elevation;
                              if (!plainLineWholes<Form>(line, &x, &y, &elevation)) return -1;
                              plotPoint(canvas, x, y, elevation);
                              return step;
                          });
}

// How a range of the file was drawn.
struct RangeDrawn {
    bool stopped = false;  // at a line that cannot be read whole, or a drawn one without enough fields
    bool hadLines = false;
    bool endedInBlanks = false;
};

// Draws the points of the reader's lines: every (step + 1)th data line, after passOver
// lines read past. Stops at the end of the data, at a line that cannot be read whole (the
// reader would never reach its end), and at a drawn line without enough fields.
template <class Canvas>
RangeDrawn drawLines(Canvas& canvas, LineReader& reader, int step, int passOver) {
    const PointLayout layout = pointLayout();
    RangeDrawn drawn;
    for (;;) {
        // Runs of plain lines where they stand; whatever they leave is read the general way.
        const int linesBefore = reader.lineNumber;
        withPlainForm(layout, [&](auto form) { plotPlainRun<decltype(form)>(canvas, reader, step, &passOver); });
        if (reader.lineNumber != linesBefore) drawn.hadLines = true;
        if (passOver > 0) {
            // The lines thinned out are only read past, a run at a time where they stand
            // whole in the block read ahead.
            long long taken = takeDataLines(reader, kFullLineLimit, passOver, nullptr);
            if (taken == 0) {
                const char* line;
                size_t length;
                const LineOutcome outcome = nextDataLine(reader, kFullLineLimit, &line, &length);
                if (outcome != LineOutcome::Data) {
                    drawn.stopped = outcome != LineOutcome::End;
                    break;
                }
                taken = 1;
            }
            drawn.hadLines = true;
            passOver -= static_cast<int>(taken);
            continue;
        }
        PointFields point;
        bool cut;
        const LineOutcome outcome = nextPointLine(reader, kFullLineLimit, layout, &point, &cut);
        if (outcome != LineOutcome::Data || !cut) {
            drawn.stopped = outcome != LineOutcome::End;
            break;
        }
        drawn.hadLines = true;
        plotPoint(canvas, point.x, point.y, point.elevation);
        passOver = step;
    }
    drawn.endedInBlanks = reader.endedInBlanks;
    if (drawn.stopped) drawn.hadLines = true;
    return drawn;
}

// The parts of the file the workers draw, and the data lines before each: the Open's
// parts while the file is as it opened, or even parts of it when no line is thinned out.
// Fewer than two parts: draw on one thread.
void chooseParts(int step, std::vector<ByteRange>* parts, std::vector<long long>* before) {
    const int workers = workerCount();
    if (workers < 2) return;
    const FileStamp now = stampOf(g_inputPath);
    if (!g_filePlan.parts.empty() && static_cast<int>(g_filePlan.parts.size()) <= workers &&
        sameStamp(now, g_inputStamp)) {
        *parts = g_filePlan.parts;
        *before = g_filePlan.dataLinesBefore;
    } else if (step == 0 && now.found) {
        *parts = splitAtLineStarts(g_inputPath, 0, now.size, workers);
        before->assign(parts->size(), 0);
    }
}

// The workers' pixels merged in the file's order, the later point winning a pixel as it
// would on one thread, up to the part where the reading stopped.
void mergeParts(HDC dc, std::vector<PartCanvas>& canvases, const std::vector<RangeDrawn>& drawn) {
    size_t used = 0;
    bool blanksOpen = false;
    for (; used < drawn.size(); ++used) {
        // A blank line before more lines stops the reading there.
        if (blanksOpen && drawn[used].hadLines) break;
        blanksOpen = drawn[used].endedInBlanks || (blanksOpen && !drawn[used].hadLines);
        if (drawn[used].stopped) {
            ++used;
            break;
        }
    }
    if (used == 0) return;
    std::vector<unsigned char>& merged = canvases[0].pixels;
    for (size_t part = 1; part < used; ++part) {
        const std::vector<unsigned char>& pixels = canvases[part].pixels;
        for (size_t i = 0; i < merged.size(); ++i)
            if (pixels[i]) merged[i] = pixels[i];
    }
    const PartCanvas& first = canvases[0];
    for (size_t i = 0; i < merged.size(); ++i)
        if (merged[i])
            SetPixel(dc, first.left + static_cast<int>(i % first.width), first.top + static_cast<int>(i / first.width),
                     s_rampColours[merged[i] - 1]);
}

// One pass over the file, on every worker where the file allows.
void plotPoints(HDC dc) {
    for (int k = 0; k < kRampSteps; ++k) s_rampColours[k] = rampColour(k);
    const int step = linesPassedOver(g_lineCount);
    std::vector<ByteRange> parts;
    std::vector<long long> before;
    chooseParts(step, &parts, &before);
    if (parts.size() < 2) {
        LineReader reader;
        if (!openReader(reader, g_inputPath, headerChoice())) return;
        SetCursor(LoadCursorA(NULL, IDC_WAIT));
        WindowCanvas canvas = {dc};
        drawLines(canvas, reader, step, 0);
        closeReader(reader);
        return;
    }
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    // The pixels strictly inside the frame.
    const int left = g_plotLeft + 1, top = g_plotTop + 1;
    const int width = g_plotRight - left, height = g_plotBottom - top;
    std::vector<PartCanvas> canvases(parts.size());
    std::vector<RangeDrawn> drawn(parts.size());
    runWorkers(static_cast<int>(parts.size()), [&](int part) {
        PartCanvas& canvas = canvases[part];
        canvas.left = left;
        canvas.top = top;
        canvas.width = width;
        canvas.pixels.assign(static_cast<size_t>(width) * height, 0);
        LineReader reader;
        if (!openReaderRange(reader, g_inputPath, parts[part].begin, parts[part].end)) {
            drawn[part].stopped = drawn[part].hadLines = true;
            return;
        }
        if (part == 0 && g_skipHeader == 1) {
            readLine(reader, kFullLineLimit);
            reader.lineNumber = 1;
        }
        const long long cycle = step + 1;
        const int passOver = static_cast<int>((cycle - before[part] % cycle) % cycle);
        drawn[part] = drawLines(canvas, reader, step, passOver);
    });
    mergeParts(dc, canvases, drawn);
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
