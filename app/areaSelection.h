// Area selection by dragging with the left button, or by placing a polygon's vertices
// click by click; the closer look dragged with the right button; the pointer's
// coordinates in the panel. The area selected goes into the selection area record
// (points/selectionArea.h), the view zoomed to into the application state.
#ifndef SKERROW_APP_AREASELECTION_H
#define SKERROW_APP_AREASELECTION_H

#include <windows.h>

#include "points/plotFit.h"
#include "points/selectionArea.h"

// A drag selects nothing unless its box is wider and higher than this many pixels.
constexpr short kLeastDragPixels = 14;

struct DragPoint {
    short x;
    short y;
};

// Drag state
extern DragPoint g_dragStart, g_dragCurrent, g_dragPrevious, g_dragEnd;
extern int g_outlineShown;
extern int g_circleFits;
extern short g_selLeft, g_selRight, g_selTop, g_selBottom;
extern short g_selWidth, g_selHeight;
extern int g_dragActive;  // 1 from an accepted button-down in the window to its release

void onLButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
void onMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
void onLButtonUp(HWND window, WPARAM wParam, LPARAM lParam);

// What the drags, the polygon and the closer look share: the pointer's position of a
// mouse message, a position brought into the fit's frame (its edges included), the mouse
// captured and the cursor confined to the frame while a button is held, and the
// inverting rectangle's outline.
DragPoint mousePosition(LPARAM lParam);
DragPoint intoFrame(DragPoint point, const PlotFit& fit);
void confineToFrame(HWND window, const PlotFit& fit);
void releaseFrame();
void drawRectangleOutline(HDC dc, DragPoint s, DragPoint p);

// A polygon's vertices lie this close to the first (in pixels) to close it.
constexpr int kPolygonClosingPixels = 5;

// The polygon being placed, in client pixels: its vertices and the inverting outline on
// screen, the edges between them and the rubber line from the last to the pointer.
struct PolygonPlacement {
    int count;  // vertices placed; 0 while no polygon is being placed
    DragPoint vertices[kMostPolygonVertices];
    bool rubberShown;     // the line from the last vertex to rubberEnd is on screen
    DragPoint rubberEnd;  // where the pointer was last, brought into the frame
    bool pressed;         // the left button went down in the window and is not yet up
};
extern PolygonPlacement g_placing;

// The polygon's mouse and keys: a vertex where the left button is released; the right
// button (true when a polygon was being placed: it then does not zoom), Enter or a click
// by the first vertex close it; Backspace takes back the last vertex, Esc drops it.
void onPolygonButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
void onPolygonMove(HWND window, WPARAM wParam, LPARAM lParam);
void onPolygonButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
bool onPolygonRightButton(HWND window);
void onPolygonKey(HWND window, WPARAM key);
// Takes the outline of the polygon being placed off the screen and forgets it.
void dropPolygon(HWND window);

// The box of a closer look, dragged with the right button.
struct ZoomDrag {
    bool active;  // from a right press in the window to its release
    DragPoint start, previous;
    bool outlineShown;  // the outline from start to previous is on screen
};
extern ZoomDrag g_zoomDrag;

void onRButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
void onZoomMove(HWND window, WPARAM wParam, LPARAM lParam);
void onRButtonUp(HWND window, WPARAM wParam, LPARAM lParam);

// The pointer's coordinates in the panel: shown while the pointer is over the frame of a
// drawn plot and no button is held.
struct PointerReadout {
    bool shown;     // the strip holds coordinates
    bool tracking;  // TrackMouseEvent asked for the WM_MOUSELEAVE
};
extern PointerReadout g_pointerReadout;

void showPointer(HWND window, WPARAM wParam, LPARAM lParam);
void hidePointer(HWND window);
void onMouseLeave(HWND window);

#endif
