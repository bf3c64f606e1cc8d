// Area selection by dragging with the left button: drag state and the selection area record.
#ifndef SKERROW_APP_AREASELECTION_H
#define SKERROW_APP_AREASELECTION_H

#include <windows.h>

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

// Selection area record, read by the writer
extern short g_areaType;  // 1 rectangle, 0 circle
extern int g_selMinX, g_selMaxX, g_selMinY, g_selMaxY;
extern int g_circleCenterX, g_circleCenterY;
extern int g_circleRadius;  // whole coordinate units; wide enough for any file's extent

void onLButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
void onMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
void onLButtonUp(HWND window, WPARAM wParam, LPARAM lParam);

#endif
