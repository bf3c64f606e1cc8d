// The passes of the Open command and the ways they refuse a file, shared by its files only.
#ifndef SKERROW_POINTS_OPENPASSES_H
#define SKERROW_POINTS_OPENPASSES_H

#include <windows.h>

#include "points/openGather.h"
#include "reader/lineReader.h"

// Ends a failed Open: the "Error" box with text, then the reader closed, view state Empty,
// select-all off and the arrow cursor.
void rejectFile(HWND window, LineReader& reader, const char* text);

// Ends a failed Open for a Bad or Damaged line (outcome) from readDataLine(limit), naming
// the reader's line number.
void rejectBadLine(HWND window, LineReader& reader, int limit, LineOutcome outcome);

// Ends a failed Open with "Line <n> of this file <what>" and the usual advice.
void rejectLine(HWND window, LineReader& reader, const char* what);

// The text holds a carriage return followed by more of the line: a file whose lines end
// in a carriage return alone reads as one long line.
bool holdsLoneCarriageReturn(const char* text);

// Ends a failed Open for a file whose lines end in a carriage return alone.
void rejectCarriageReturnsAlone(HWND window, LineReader& reader);

// The counting pass and the check of the commas, on a reader it opens on g_inputPath
// under the previous Open's header choice; it first reads the file in one pass into
// *gather, and counts line by line only when that pass could not. On success g_lineCount
// and g_fieldCount hold the file's line and field counts, and the reader stays open.
bool countLines(HWND window, LineReader& reader, OpenGather* gather);

// The parsing pass under the choices just made: the ranges the one pass gathered, or,
// when a point there would end the Open, every point checked line by line on the same
// reader. Counts the points and sets g_filePlan.
bool gatherRanges(HWND window, LineReader& reader, const OpenGather& gather);

void showWaitCursor();
void showArrowCursor();

#endif
