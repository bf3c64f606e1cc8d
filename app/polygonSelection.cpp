// Placing a polygon vertex by vertex. Its outline is drawn with the inverting raster
// operation, as a drag's is: every edge and the rubber line are drawn once to show them
// and once more to take them off, and a line leaves its end point undrawn, so each pixel
// is inverted exactly as often as the lines over it come and go.
#include "app/areaSelection.h"
#include "app/commands.h"
#include "plot/plotView.h"
#include "points/appState.h"

PolygonPlacement g_placing = {};

namespace {

void drawLine(HDC dc, DragPoint from, DragPoint to) {
    MoveToEx(dc, from.x, from.y, NULL);
    LineTo(dc, to.x, to.y);
}

DragPoint lastVertex() { return g_placing.vertices[g_placing.count - 1]; }

void eraseRubber(HDC dc) {
    if (!g_placing.rubberShown) return;
    drawLine(dc, lastVertex(), g_placing.rubberEnd);
    g_placing.rubberShown = false;
}

void drawRubber(HDC dc, DragPoint end) {
    eraseRubber(dc);
    drawLine(dc, lastVertex(), end);
    g_placing.rubberEnd = end;
    g_placing.rubberShown = true;
}

// Takes the edges and the rubber line off the screen.
void eraseOutline(HDC dc) {
    eraseRubber(dc);
    for (int i = 1; i < g_placing.count; ++i) drawLine(dc, g_placing.vertices[i - 1], g_placing.vertices[i]);
}

// The placement's device context, drawing by inversion.
HDC outlineContext(HWND window) {
    HDC dc = GetDC(window);
    SetROP2(dc, R2_NOTXORPEN);
    return dc;
}

// Ends a press still held: the mouse is no longer captured.
void endPress() {
    if (!g_placing.pressed) return;
    g_placing.pressed = false;
    ReleaseCapture();
}

void forget() {
    endPress();
    g_placing.count = 0;
    g_placing.rubberShown = false;
}

// The selection area record takes the closed polygon: each vertex by the rectangle's
// conversion of a corner, under the view's fit.
void keepPolygon(const PlotFit& fit) {
    int xs[kMostPolygonVertices], ys[kMostPolygonVertices];
    for (int i = 0; i < g_placing.count; ++i) {
        const WorldPoint vertex = cornerToWorld(g_placing.vertices[i].x, g_placing.vertices[i].y, fit);
        xs[i] = vertex.x;
        ys[i] = vertex.y;
    }
    g_selPolygon = makePolygonArea(xs, ys, g_placing.count);
}

// Closes a polygon of at least three vertices: its outline goes, and a box wider and
// higher than a rectangle's least starts the write sequence. With fewer, nothing happens.
void closePolygon(HWND window) {
    if (g_placing.count < kFewestPolygonVertices) return;
    HDC dc = outlineContext(window);
    eraseOutline(dc);
    int left = g_placing.vertices[0].x, right = left, top = g_placing.vertices[0].y, bottom = top;
    for (int i = 1; i < g_placing.count; ++i) {
        const DragPoint v = g_placing.vertices[i];
        left = v.x < left ? v.x : left;
        right = v.x > right ? v.x : right;
        top = v.y < top ? v.y : top;
        bottom = v.y > bottom ? v.y : bottom;
    }
    keepPolygon(viewFit());
    forget();
    if (right - left > kLeastDragPixels && bottom - top > kLeastDragPixels)
        runWriteSequence(window, 0, dc);  // clears through dc and releases it before the writer
    else
        ReleaseDC(window, dc);
}

// Backspace: the last vertex and its edge go, and the rubber line runs from the one
// before; the only vertex goes with the polygon.
void takeBack(HWND window) {
    if (g_placing.count == 1) {
        dropPolygon(window);
        return;
    }
    HDC dc = outlineContext(window);
    const bool rubber = g_placing.rubberShown;
    const DragPoint end = g_placing.rubberEnd;
    eraseRubber(dc);
    drawLine(dc, g_placing.vertices[g_placing.count - 2], lastVertex());
    --g_placing.count;
    if (rubber) drawRubber(dc, end);
    ReleaseDC(window, dc);
}

bool withinClosingReach(DragPoint a, DragPoint b) {
    const int dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy <= kPolygonClosingPixels * kPolygonClosingPixels;
}

}  // namespace

void onPolygonButtonDown(HWND window, WPARAM, LPARAM) {
    if (g_viewState == ViewState::Empty || g_placing.pressed) return;
    // The release that places the vertex comes to the window wherever it happens, and is
    // brought to the frame's edge as a drag's start is.
    SetCapture(window);
    g_placing.pressed = true;
}

void onPolygonMove(HWND window, WPARAM, LPARAM lParam) {
    if (g_viewState == ViewState::Empty || g_placing.count == 0) return;
    HDC dc = outlineContext(window);
    drawRubber(dc, intoFrame(mousePosition(lParam), viewFit()));
    ReleaseDC(window, dc);
}

void onPolygonButtonUp(HWND window, WPARAM, LPARAM lParam) {
    if (!g_placing.pressed) return;
    endPress();
    if (g_viewState == ViewState::Empty) {
        forget();
        return;
    }
    const DragPoint at = intoFrame(mousePosition(lParam), viewFit());
    if (g_placing.count > 0 && withinClosingReach(at, g_placing.vertices[0])) {
        closePolygon(window);
        return;
    }
    HDC dc = outlineContext(window);
    if (g_placing.count > 0) {
        eraseRubber(dc);
        drawLine(dc, lastVertex(), at);
    }
    g_placing.vertices[g_placing.count++] = at;
    // The rubber line from the new vertex starts with the next move.
    g_placing.rubberShown = false;
    ReleaseDC(window, dc);
    if (g_placing.count == kMostPolygonVertices) closePolygon(window);
}

bool onPolygonRightButton(HWND window) {
    if (g_placing.count == 0) return false;
    closePolygon(window);
    return true;
}

void onPolygonKey(HWND window, WPARAM key) {
    if (g_placing.count == 0) return;
    switch (key) {
    case VK_RETURN: closePolygon(window); break;
    case VK_BACK: takeBack(window); break;
    case VK_ESCAPE: dropPolygon(window); break;
    default: break;
    }
}

void dropPolygon(HWND window) {
    if (g_placing.count > 0) {
        HDC dc = outlineContext(window);
        eraseOutline(dc);
        ReleaseDC(window, dc);
    }
    forget();
}
