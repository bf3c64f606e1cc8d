// Reading and parsing point lines: the one way every pass (open, plot, writer) meets the file.
#ifndef SKERROW_POINTS_POINTLINE_H
#define SKERROW_POINTS_POINTLINE_H

#include <cstddef>

// Reads the next line of g_input into g_lineBuf, storing at most limit - 1 characters
// (at most 127) and always a terminator; getline semantics:
// - it stops at and consumes the line break: a line feed, or a carriage return followed by
//   a line feed or by the end of the file (the carriage return is never stored or counted);
// - end of file sets eof; a read that stores nothing at end of file also sets fail;
// - a full buffer followed by anything but a line break or the end of file sets fail;
// - a stream not good beforehand stores an empty text and is set to fail.
// It reads g_input a large block at a time and holds what it read ahead only while the
// stream stays good: once a read ends at the end of the file or fails, the stream may be
// cleared and moved with seekg, and the next read starts there. startPass drops it too.
void readLine(int limit);

// Outcomes of readDataLine.
#define LINE_END 0    // no more data: end of file, with nothing but blank lines after the last point
#define LINE_DATA 1   // g_lineBuf holds a data line (a last line without a line break included)
#define LINE_BAD (-1) // g_lineBuf could not be read whole, or a blank line stands before more data
#define LINE_NUL (-2) // g_lineBuf holds a line with a NUL character in it (its text ends at the NUL)

// The shared pass rule: reads the next data line with readLine(limit) and tells what it is.
// Open, plot and writer all walk the file with it, so they all read the same points.
// - g_lineNumber counts the lines read (header included), and names the line meant by
//   LINE_DATA and LINE_BAD.
// - A blank line (empty, or only spaces and tabs) is read past: when only blank lines
//   follow to the end of the file the result is LINE_END, otherwise LINE_BAD naming the
//   first blank line, with g_lineBuf emptied.
// - LINE_BAD for a line over the limit leaves its first limit - 1 characters in g_lineBuf
//   (never empty); a stream already failed (a header skip over 127 characters) gives
//   LINE_BAD for the line last read without reading on.
// - A line that holds a NUL is LINE_NUL (a line of only a NUL included), and is never
//   taken for a blank one.
// - After LINE_END the stream is at end of file; after LINE_BAD or LINE_NUL it is failed.
//   Every later call returns LINE_END or LINE_BAD again, so no loop can go on past them.
short readDataLine(int limit);

// readDataLine(limit) for the passes' inner loops, with the line in place of g_lineBuf: for
// LINE_DATA, *line and *length give the line without its line break. A line that stands
// whole in the block read ahead is not copied (g_lineBuf is then left alone); it stays
// valid until the next read. After the line stand its line break or a terminator and
// LINE_TAIL_ROOM readable bytes, as cutPointFields needs.
short nextDataLine(int limit, const char** line, size_t* length);

// Takes the lines nextDataLine(limit) would take one after another without copying, up to
// maxLines of them and as long as they stand whole in the block read ahead, adding their
// commas to *commas unless commas is null; returns how many it took (g_lineNumber counts
// them). Any other line is left for nextDataLine, as is everything once the block is
// used up, and every line under a limit below 3.
long long takeDataLines(int limit, long long maxLines, long long* commas);

// The bytes read ahead and not yet taken, for a reader that finds whole lines itself:
// *held of them at the returned place, followed by at least 64 readable bytes, and by
// the line break's room for a line that ends among them (see nextDataLine).
const char* heldBytes(size_t* held);

// Takes one line of bytes bytes, its line break included, from the held bytes, as
// readLine would take it, and counts it in g_lineNumber. The line must be one readLine
// would store whole and readDataLine would find to be data.
void takeHeldLine(size_t bytes);

// takeHeldLine for lines lines together, bytes bytes in all.
void takeHeldLines(size_t bytes, long long lines);

// Opens g_input on g_inputPath from its start (closing it first if it is open), in binary
// mode so that positions are byte offsets and the line break is handled by readLine alone,
// steps over a UTF-8 byte-order mark at its start, sets g_lineNumber to 0 and skips the
// header line (readLine(128), g_lineNumber 1) when g_skipHeader is 1. Returns false when
// the file cannot be opened or is no plain file (a folder, a pipe, a device).
bool startPass();

// Splits g_lineBuf at commas by g_fieldCount and g_swapXY and fills the line scratch:
// g_field1..g_field4 (field 5 stays attached to field 4; g_field5 is left alone),
// g_xText, g_yText, g_x, g_y and, for 3 and 5 fields, g_zText and g_elevation.
// X and Y are readCoordinate's readings: beyond 64 bits the nearest 64-bit limit or an
// infinity, so that a range test on g_x and g_y finds them. Returns false, touching nothing, when the line has fewer fields than
// the layout needs (1 comma for 2 fields, 2 for 3, 4 for 5).
bool parsePointLine();

#endif
