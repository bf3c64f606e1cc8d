// The menu commands, one function each, called from the window procedure's command switch.
#ifndef SKERROW_APP_COMMANDS_H
#define SKERROW_APP_COMMANDS_H

#include <windows.h>

#include "output/writer.h"
#include "plot/plotView.h"
#include "points/selectionArea.h"

// "&Open": the note or a cleared window, the Open itself, then the fit and the drawing.
void openCommand(HWND window);
// The same Open with the path given (on the command line or by a drop) instead of chosen in
// the file dialog.
void openGivenFile(HWND window, const char* path);

// "&Redraw": the plot drawn again on a cleared window, once a file is open.
void redrawCommand(HWND window);

// "&Rectangle", "&Circle" and "&Polygon".
void chooseAreaType(HWND window, AreaType areaType);

// "Points &Outside": its check mark on or off.
void toggleOutside(HWND window);

// A closer look: the view zoomed to the whole point coordinates of a box of client pixels
// (converted as a rectangle is), fitted as an Open fits a file, and drawn.
void zoomToBox(HWND window, const DraggedArea& box);

// "&Whole File": the view back to the whole file, drawn, from a zoomed one.
void wholeFileCommand(HWND window);

// "Move All Pts.": all points shifted to small coordinates, after the writer's question.
void moveAllPoints(HWND window);

// The writer, its pass watched and stopped by Esc.
WriteEnd writeWatched(HWND window);

// From "Select All Pts." (selectAll 1) or a completed area selection (selectAll 0):
// clears the window, asks the write options and runs the writer. dc is the device
// context a drag still holds (released before the writer runs), or NULL.
void runWriteSequence(HWND window, short selectAll, HDC dc);

#endif
