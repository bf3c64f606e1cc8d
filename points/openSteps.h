// The steps of the Open command, shared by its files only.
#ifndef SKERROW_POINTS_OPENSTEPS_H
#define SKERROW_POINTS_OPENSTEPS_H

#include <windows.h>

// Ends a failed Open: the "Error" box with text, then g_input closed, view state 0,
// select-all off and the arrow cursor.
void rejectFile(HWND window, const char* text);

// Ends a failed Open for a LINE_BAD or LINE_NUL (outcome) from readDataLine(limit),
// naming g_lineNumber.
void rejectBadLine(HWND window, int limit, short outcome);

// The text holds a carriage return followed by more of the line: a file whose lines end
// in a carriage return alone reads as one long line.
bool holdsLoneCarriageReturn(const char* text);

// Ends a failed Open for a file whose lines end in a carriage return alone.
void rejectCarriageReturnsAlone(HWND window);

// Ends a failed Open for a line that parsePointLine found short, naming g_lineNumber.
void rejectShortLine(HWND window);

// The counting pass and the check of the commas; on success g_lineCount and g_fieldCount
// hold the file's line and field counts under the previous Open's header choice.
bool countLines(HWND window);

// The parsing pass under the choices just made: checks every point, gathers the ranges
// and counts the points.
bool gatherRanges(HWND window);

// Fits the ranges into the plot area.
void fitPlot();

void showWaitCursor();
void showArrowCursor();

#endif
