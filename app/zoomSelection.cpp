// A closer look: a box dragged with the right button, its outline inverting as a
// rectangle's does; at the release the view zooms to it.
#include "app/areaSelection.h"
#include "app/commands.h"
#include "points/appState.h"

ZoomDrag g_zoomDrag = {};

namespace {

void eraseZoomOutline(HDC dc) {
    if (!g_zoomDrag.outlineShown) return;
    drawRectangleOutline(dc, g_zoomDrag.start, g_zoomDrag.previous);
    g_zoomDrag.outlineShown = false;
}

}  // namespace

void onRButtonDown(HWND window, WPARAM, LPARAM lParam) {
    // While a polygon is being placed the right button closes it, and a left drag or a
    // press for a vertex keeps the mouse to itself.
    if (onPolygonRightButton(window)) return;
    if (g_viewState == ViewState::Empty || g_dragActive || g_placing.pressed || g_zoomDrag.active) return;
    const PlotFit fit = viewFit();
    confineToFrame(window, fit);
    g_zoomDrag.start = intoFrame(mousePosition(lParam), fit);
    g_zoomDrag.outlineShown = false;
    g_zoomDrag.active = true;
}

void onZoomMove(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!g_zoomDrag.active || !(wParam & MK_RBUTTON)) return;
    HDC dc = GetDC(window);
    SetROP2(dc, R2_NOTXORPEN);
    eraseZoomOutline(dc);
    g_zoomDrag.previous = mousePosition(lParam);
    drawRectangleOutline(dc, g_zoomDrag.start, g_zoomDrag.previous);
    g_zoomDrag.outlineShown = true;
    ReleaseDC(window, dc);
}

void onRButtonUp(HWND window, WPARAM, LPARAM lParam) {
    if (!g_zoomDrag.active) return;
    HDC dc = GetDC(window);
    SetROP2(dc, R2_NOTXORPEN);
    eraseZoomOutline(dc);
    ReleaseDC(window, dc);
    g_zoomDrag.active = false;
    releaseFrame();
    if (g_viewState == ViewState::Empty) return;
    const DragPoint start = g_zoomDrag.start, end = mousePosition(lParam);
    const int left = start.x < end.x ? start.x : end.x, right = start.x < end.x ? end.x : start.x;
    const int top = start.y < end.y ? start.y : end.y, bottom = start.y < end.y ? end.y : start.y;
    if (right - left > kLeastDragPixels && bottom - top > kLeastDragPixels)
        zoomToBox(window, DraggedArea{left, top, right, bottom, {0, 0}, 0});
}
