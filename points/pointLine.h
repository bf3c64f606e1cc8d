// Reading and parsing point lines: the one way every pass (open, plot, writer) meets the file.
#ifndef SKERROW_POINTS_POINTLINE_H
#define SKERROW_POINTS_POINTLINE_H

// Reads the next line of g_input into g_lineBuf, storing at most limit - 1 characters
// (getline semantics: stops at and consumes a line feed; end of file sets eof, a read
// that stores nothing at end of file also sets fail; a full buffer not followed by a
// line feed sets fail). A carriage return before the line feed is part of the line break.
void readLine(int limit);

// Outcomes of readDataLine.
#define LINE_END 0    // no more data: end of file, with nothing but blank lines after the last point
#define LINE_DATA 1   // g_lineBuf holds a data line (a last line without a line break included)
#define LINE_BAD (-1) // g_lineBuf could not be read whole, or a blank line stands before more data

// The shared pass rule: reads the next data line with readLine(limit) and tells what it is.
// Counts g_lineNumber. Open, plot and writer all walk the file with it.
short readDataLine(int limit);

// Opens g_input on g_inputPath from its start, resets g_lineNumber and skips the header
// line when g_skipHeader is 1. Returns false when the file cannot be opened.
bool startPass();

// Splits g_lineBuf at commas by g_fieldCount and g_swapXY and fills the line scratch.
// Returns false, touching nothing outside the line, when the line has fewer fields than
// the layout needs.
bool parsePointLine();

#endif
