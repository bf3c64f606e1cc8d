// Dragging a rectangle or a circle over the plot. Outlines are drawn with the inverting
// raster operation, so drawing the same figure again erases it and the plot under it is
// never saved or redrawn.
#include "app/areaSelection.h"

#include <cmath>
#include <cstdlib>

#include "app/commands.h"
#include "app/mainWindow.h"
#include "plot/plotView.h"
#include "points/appState.h"

DragPoint g_dragStart, g_dragCurrent, g_dragPrevious, g_dragEnd;
int g_outlineShown = 0;
int g_circleFits = 0;
short g_selLeft = 0, g_selRight = 0, g_selTop = 0, g_selBottom = 0;
short g_selWidth = 0, g_selHeight = 0;
int g_dragActive = 0;

namespace {

short toShort(int value) {
    if (value > 32767) return 32767;
    if (value < -32768) return -32768;
    return static_cast<short>(value);
}

// Whole pixels from the centre to a rim point, kept in int: far positions must not wrap.
int radiusBetween(DragPoint centre, DragPoint rim) {
    return static_cast<int>(
        std::hypot(static_cast<double>(std::abs(centre.x - rim.x)), static_cast<double>(std::abs(centre.y - rim.y))));
}

void drawCircleOutline(HDC dc, DragPoint centre, int r) {
    // The default white brush leaves the inside unchanged under R2_NOTXORPEN.
    Ellipse(dc, centre.x - r, centre.y - r, centre.x + r, centre.y + r);
}

// Draws the outline now on screen once more, which removes it.
void eraseOutline(HDC dc) {
    if (g_outlineShown != 1) return;
    if (g_areaType == AreaType::Rectangle)
        drawRectangleOutline(dc, g_dragStart, g_dragPrevious);
    else
        drawCircleOutline(dc, g_dragStart, radiusBetween(g_dragStart, g_dragPrevious));
}

// The left and top edges may touch the frame; the right and bottom ones must stay inside.
bool circleFits(DragPoint centre, int r) {
    const PlotFit fit = viewFit();
    return centre.x - r >= fit.left && centre.y - r >= fit.top && centre.x + r < fit.right && centre.y + r < fit.bottom;
}

// The selection area record takes what a drag selected: the box, and a circle's centre
// and radius.
void keepSelection(const SelectionArea& area) {
    g_selMinX = area.minX;
    g_selMaxX = area.maxX;
    g_selMinY = area.minY;
    g_selMaxY = area.maxY;
    if (area.kind != AreaKind::Circle) return;
    g_circleCenterX = area.centreX;
    g_circleCenterY = area.centreY;
    g_circleRadius = area.radius;
}

void endDrag() {
    g_outlineShown = 0;
    g_dragActive = 0;
    releaseFrame();
}

}  // namespace

DragPoint mousePosition(LPARAM lParam) {
    return DragPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

DragPoint intoFrame(DragPoint point, const PlotFit& fit) {
    if (point.x < fit.left) point.x = toShort(fit.left);
    if (point.x > fit.right) point.x = toShort(fit.right);
    if (point.y < fit.top) point.y = toShort(fit.top);
    if (point.y > fit.bottom) point.y = toShort(fit.bottom);
    return point;
}

void confineToFrame(HWND window, const PlotFit& fit) {
    SetCapture(window);
    POINT topLeft = {fit.left, fit.top};
    POINT bottomRight = {fit.right, fit.bottom};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    RECT frame;
    SetRect(&frame, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    ClipCursor(&frame);
}

void releaseFrame() {
    ClipCursor(NULL);
    ReleaseCapture();
}

void drawRectangleOutline(HDC dc, DragPoint s, DragPoint p) {
    // Four segments; each leaves its end point undrawn, so every pixel is inverted once.
    MoveToEx(dc, s.x, s.y, NULL);
    LineTo(dc, p.x, s.y);
    MoveToEx(dc, p.x, s.y, NULL);
    LineTo(dc, p.x, p.y);
    MoveToEx(dc, p.x, p.y, NULL);
    LineTo(dc, s.x, p.y);
    MoveToEx(dc, s.x, p.y, NULL);
    LineTo(dc, s.x, s.y);
}

void onLButtonDown(HWND window, WPARAM, LPARAM lParam) {
    if (g_viewState == ViewState::Empty) return;
    if (g_dragActive && g_outlineShown) {
        // A second press before a release: take the stale outline off first.
        HDC dc = GetDC(window);
        SetROP2(dc, R2_NOTXORPEN);
        eraseOutline(dc);
        ReleaseDC(window, dc);
    }
    const PlotFit fit = viewFit();
    confineToFrame(window, fit);
    g_dragStart = intoFrame(mousePosition(lParam), fit);
    g_outlineShown = 0;
    g_dragActive = 1;
}

void onMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    // Moves with the button held that did not begin with a press in this window are ignored.
    if (g_viewState == ViewState::Empty || !(wParam & MK_LBUTTON) || !g_dragActive) return;
    HDC dc = GetDC(window);
    SetROP2(dc, R2_NOTXORPEN);
    eraseOutline(dc);
    g_dragCurrent = mousePosition(lParam);
    if (g_areaType == AreaType::Rectangle) {
        drawRectangleOutline(dc, g_dragStart, g_dragCurrent);
        g_outlineShown = 1;
        g_dragPrevious = g_dragCurrent;
    } else {
        g_outlineShown = 0;
        int r = radiusBetween(g_dragStart, g_dragCurrent);
        if (circleFits(g_dragStart, r)) {
            g_outlineShown = 1;
            g_dragPrevious = g_dragCurrent;
            g_circleFits = 1;
            drawCircleOutline(dc, g_dragStart, r);
        } else {
            // Nothing on screen until the mouse comes back to a radius that fits.
            g_circleFits = 0;
        }
    }
    ReleaseDC(window, dc);
}

void onLButtonUp(HWND window, WPARAM, LPARAM lParam) {
    if (!g_dragActive) return;
    if (g_viewState == ViewState::Empty) {
        endDrag();
        return;
    }
    HDC dc = GetDC(window);
    SetROP2(dc, R2_NOTXORPEN);
    g_dragEnd = mousePosition(lParam);
    bool outlineWasShown = g_outlineShown == 1;
    // The circle selected is the last one drawn, whatever the release position.
    int r = outlineWasShown && g_areaType == AreaType::Circle ? radiusBetween(g_dragStart, g_dragPrevious) : 0;
    eraseOutline(dc);

    if (g_areaType == AreaType::Rectangle) {
        g_selLeft = g_dragStart.x < g_dragEnd.x ? g_dragStart.x : g_dragEnd.x;
        g_selRight = g_dragStart.x < g_dragEnd.x ? g_dragEnd.x : g_dragStart.x;
        g_selTop = g_dragStart.y < g_dragEnd.y ? g_dragStart.y : g_dragEnd.y;
        g_selBottom = g_dragStart.y < g_dragEnd.y ? g_dragEnd.y : g_dragStart.y;
    } else {
        if (!outlineWasShown || g_circleFits == 0) {
            endDrag();
            ReleaseDC(window, dc);
            return;
        }
        g_selLeft = toShort(g_dragStart.x - r);
        g_selRight = toShort(g_dragStart.x + r);
        g_selTop = toShort(g_dragStart.y - r);
        g_selBottom = toShort(g_dragStart.y + r);
    }

    keepSelection(
        selectionToWorld(DraggedArea{g_selLeft, g_selTop, g_selRight, g_selBottom, {g_dragStart.x, g_dragStart.y}, r},
                         g_areaType, viewFit()));
    endDrag();
    g_selWidth = toShort(g_selRight - g_selLeft);
    g_selHeight = toShort(g_selBottom - g_selTop);
    if (g_selWidth > kLeastDragPixels && g_selHeight > kLeastDragPixels)
        runWriteSequence(window, 0, dc);  // clears through dc and releases it before the writer
    else
        ReleaseDC(window, dc);
}
