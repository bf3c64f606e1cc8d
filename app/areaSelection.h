// Area selection by dragging with the left button: the drag state. The area selected goes
// into the selection area record (points/selectionArea.h).
#ifndef SKERROW_APP_AREASELECTION_H
#define SKERROW_APP_AREASELECTION_H

#include <windows.h>

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

#endif
