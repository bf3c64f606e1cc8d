// Drawing the opened point file: the panel, the red frame filled black, and one pixel per
// point on the even-pixel grid, read straight from the file with no table of points.
#include <climits>
#include <cmath>
#include <vector>

#include "plot/colourRamp.h"
#include "plot/infoPanel.h"
#include "plot/plotGeometry.h"
#include "plot/plotView.h"
#include "points/noDataBand.h"
#include "reader/pointPass.h"

namespace {

// Files of more lines than these, as the counting pass found them, are thinned to every
// second, third or fourth line: the lines passed over after each one drawn.
int linesPassedOver(long long lineCount) {
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

void drawFrame(HDC dc, const PlotFit& fit) {
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    HPEN pen = CreatePen(PS_SOLID, kFramePenWidth, RGB(255, 0, 0));
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    Rectangle(dc, fit.left, fit.top, fit.right, fit.bottom);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// How every point is mapped to its pixel and coloured, the same for every worker. A
// zoomed view also holds the whole coordinates whose pixels may fall inside its frame, so
// that a plain line beyond them is passed over once its X or its Y is read.
struct PointMapping {
    double scale;
    int centreX, centreY;
    int minX, minY, halfX, halfY;  // half of the ranges, toward zero
    int left, right, top, bottom;
    bool elevations;
    ElevationRamp ramp;
    bool zoomed;
    long long viewMinX, viewMaxX, viewMinY, viewMaxY;
};

// The view's whole coordinates reach past its extent by the inset, the frame's margins and
// the grid's rounding on either side, all within this many pixels, and a unit more.
constexpr int kViewMarginPixels = kFrameInset + 2 * kPointGrid + 2;

PointMapping pointMapping(const OpenedFile& file, const PlotFit& fit, PlotScope scope) {
    const PlotExtent& extent = fit.extent;
    const double margin = kViewMarginPixels / static_cast<double>(fit.scale) + 1;
    return PointMapping{fit.scale,
                        fit.centreX,
                        fit.centreY,
                        extent.minX,
                        extent.minY,
                        extent.rangeX / 2,
                        extent.rangeY / 2,
                        fit.left,
                        fit.right,
                        fit.top,
                        fit.bottom,
                        layoutHasElevations(file.layout),
                        ElevationRamp{file.ranges.minZ, file.ranges.rangeZ},
                        scope == PlotScope::Zoomed,
                        static_cast<long long>(std::floor(extent.minX - margin)),
                        static_cast<long long>(std::ceil(static_cast<double>(extent.minX) + extent.rangeX + margin)),
                        static_cast<long long>(std::floor(extent.minY - margin)),
                        static_cast<long long>(std::ceil(static_cast<double>(extent.maxY) + margin))};
}

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
SKERROW_INLINE void plotPoint(Canvas& canvas, const PointMapping& m, double x, double y, float elevation) {
    if (m.elevations && inNoDataBand(elevation)) return;
    int column = m.centreX - truncatePixel(m.scale * (m.halfX - (x - m.minX)));
    int row = m.centreY + truncatePixel(m.scale * (m.halfY - (y - m.minY)));
    column = column / kPointGrid * kPointGrid;
    row = row / kPointGrid * kPointGrid;
    if (column <= m.left || column >= m.right || row <= m.top || row >= m.bottom) return;
    // A 2-field file has no elevations: every point is grey.
    canvas.set(column, row, m.elevations ? colourIndex(m.ramp, elevation) : kGreyStep);
}

// A plain line's point in a zoomed view, as plainLineWholes and plotPoint would draw it,
// with its Y read only when its X lies in the view and its elevation only when both do.
// False leaves the line to the general reading where plainLineWholes would.
template <class Form, class Canvas>
SKERROW_INLINE bool plotPlainInView(Canvas& canvas, const PointMapping& m, const PlainLine& line) {
    const char* const second = line.firstComma + 1;
    uint64_t xDigits, yDigits;
    if (!wholeCoordinateFastPath<FieldKind::Plain>(Form::swap ? second : line.text, &xDigits) ||
        xDigits - 1 >= uint64_t(INT_MAX))
        return false;
    const long long x = static_cast<long long>(xDigits);
    if (x < m.viewMinX || x > m.viewMaxX) return true;
    if (!wholeCoordinateFastPath<FieldKind::Plain>(Form::swap ? line.text : second, &yDigits) ||
        yDigits - 1 >= uint64_t(INT_MAX))
        return false;
    const long long y = static_cast<long long>(yDigits);
    if (y < m.viewMinY || y > m.viewMaxY) return true;
    float elevation = 0.0f;
    if (Form::elevations) {
        double value;
        if (!shortDecimalFastPath<FieldKind::Plain>(line.lastComma + 1, &value)) return false;
        elevation = narrowElevation(value);
    }
    plotPoint(canvas, m, static_cast<double>(x), static_cast<double>(y), elevation);
    return true;
}

// The drawing of a part: every (step + 1)th data line, after passOver lines read past. A
// plain line whose X or Y is not the common kind of whole part, or whose elevation is not
// in the short decimal form, is left to the general reading; a drawn line without enough
// fields stops the part (the reader would never reach its end).
template <class Canvas>
class DrawPass {
public:
    static constexpr bool kCountsCommas = false;

    DrawPass(Canvas& canvas, const PointMapping& mapping, const PointLayout& layout, int step, int passOver)
        : canvas_(canvas), map_(mapping), layout_(layout), step_(step), passOver_(passOver) {}

    int lineLimit() const { return kFullLineLimit; }
    const PointLayout& layout() const { return layout_; }
    long long linesToSkim() const { return passOver_; }
    void skimmed(long long lines, long long) { passOver_ -= static_cast<int>(lines); }

    template <class Form>
    bool plainRun(LineReader& reader) {
        if (map_.zoomed) return plainRunInView<Form>(reader);
        Canvas& canvas = canvas_;
        const PointMapping& mapping = map_;
        const int step = step_;
        takePlainLinesPassing(reader, kFullLineLimit, Form{}, &passOver_,
                              [&canvas, &mapping, step](const PlainLine& line) SKERROW_INLINE_LAMBDA {
                                  int x, y;
                                  float elevation;
                                  if (!plainLineWholes<Form>(line, &x, &y, &elevation)) return -1;
                                  plotPoint(canvas, mapping, x, y, elevation);
                                  return step;
                              });
        return true;
    }

    // A zoomed view's run: every line, the points beyond the view passed over early.
    template <class Form>
    bool plainRunInView(LineReader& reader) {
        Canvas& canvas = canvas_;
        const PointMapping& mapping = map_;
        takePlainLines(reader, kFullLineLimit, Form{},
                       [&canvas, &mapping](const PlainLine& line)
                           SKERROW_INLINE_LAMBDA { return plotPlainInView<Form>(canvas, mapping, line); });
        return true;
    }

    PointStep takePoint(const PointFields& point, bool cut) {
        if (!cut) return PointStep::Stop;
        plotPoint(canvas_, map_, point.x, point.y, point.elevation);
        passOver_ = step_;
        return PointStep::Next;
    }

private:
    Canvas& canvas_;
    const PointMapping& map_;
    const PointLayout layout_;
    const int step_;
    int passOver_;
};

// The parts of the file the workers draw, and the data lines before each: the Open's
// parts while the file is as it opened, or even parts of it when no line is thinned out,
// or else the whole file as one. None for a file that cannot be looked at.
void chooseParts(const OpenedFile& file, int step, std::vector<ByteRange>* parts, std::vector<long long>* before,
                 unsigned long long* size) {
    const int workers = workerCount();
    const FileStamp now = stampOf(file.path);
    *size = now.size;
    if (!now.found) return;
    if (workers > 1 && !file.plan.parts.empty() && static_cast<int>(file.plan.parts.size()) <= workers &&
        sameStamp(now, file.stamp)) {
        *parts = file.plan.parts;
        *before = file.plan.dataLinesBefore;
        return;
    }
    if (step == 0) *parts = splitAtLineStarts(file.path, 0, now.size, workers);
    if (parts->empty()) parts->push_back({0, now.size});
    before->assign(parts->size(), 0);
}

// The workers' pixels merged in the file's order, the later point winning a pixel as it
// would on one thread, up to the part where the reading stopped.
void mergeParts(HDC dc, std::vector<PartCanvas>& canvases, const std::vector<PartEnd>& ends, const COLORREF* colours) {
    bool stopped;
    const size_t used = PartOrder::partsRead(ends, &stopped);
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
                     colours[merged[i] - 1]);
}

// One pass over the file, on every worker where the file allows, under the watch. Each
// worker draws into pixels of its own; the window is drawn on by this thread alone. A
// zoomed view draws every line: the frame leaves out the points beyond it.
void plotPoints(HDC dc, const OpenedFile& file, const PlotFit& fit, PlotScope scope, PassWatch* watch) {
    COLORREF colours[kRampSteps];  // worked out once for each drawing rather than once for each point
    for (int k = 0; k < kRampSteps; ++k) colours[k] = rampColour(k);
    const PointMapping mapping = pointMapping(file, fit, scope);
    const int step = scope == PlotScope::Zoomed ? 0 : linesPassedOver(file.lineCount);
    PassPlan plan{file.path, file.header, {}, false, watch};
    std::vector<long long> before;
    unsigned long long size;
    chooseParts(file, step, &plan.parts, &before, &size);
    if (plan.parts.empty()) return;
    beginWatchedPass(watch, size);
    // The pixels strictly inside the frame.
    const int left = fit.left + 1, top = fit.top + 1;
    const int width = fit.right - left, height = fit.bottom - top;
    std::vector<PartCanvas> canvases(plan.parts.size());
    std::vector<PartEnd> ends(plan.parts.size());
    runParts(plan, [&](size_t part, LineReader& reader) {
        PartCanvas& canvas = canvases[part];
        canvas.left = left;
        canvas.top = top;
        canvas.width = width;
        canvas.pixels.assign(static_cast<size_t>(width) * height, 0);
        const long long cycle = step + 1;
        const int passOver = static_cast<int>((cycle - before[part] % cycle) % cycle);
        DrawPass<PartCanvas> pass(canvas, mapping, file.layout, step, passOver);
        ends[part] = walkPart(reader, pass);
    });
    mergeParts(dc, canvases, ends, colours);
}

}  // namespace

void drawPlot(HWND window, const OpenedFile& file, const PlotFit& fit, PlotScope scope, PassWatch* watch) {
    HDC dc = GetDC(window);
    drawInfoPanel(dc, file, fit, scope);
    drawFrame(dc, fit);
    plotPoints(dc, file, fit, scope, watch);
    ReleaseDC(window, dc);
}
