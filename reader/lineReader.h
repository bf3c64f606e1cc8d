// Reading a point file line by line: the one way every pass (the Open's, the plot's and
// the writer's) meets the file. A reader holds the file, the block it reads ahead and the
// line in hand; a pass opens one on the point file's path with the header choice, walks
// its lines, and closes it.
#ifndef SKERROW_READER_LINEREADER_H
#define SKERROW_READER_LINEREADER_H

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>

#include "reader/lineLimits.h"
#include "reader/passWatch.h"

// Where every reader starts its count of lines: 0. A seam for tests, which set it near a
// limit to count past it without a file of billions of lines.
extern long long g_lineNumberOrigin;

// Up to count bytes of file into to: how many it read, or -1 when reading failed (the
// stream buffer reports such a failure by throwing, which no pass may let through).
std::streamsize readBytes(std::filebuf& file, char* to, std::streamsize count);

// Whether a pass reads the file's first line as data or skips it unread.
enum class HeaderChoice { Read, Skip };

// What readDataLine found.
enum class LineOutcome {
    End,      // no more data: end of file, with nothing but blank lines after the last point
    Data,     // the reader's line holds a data line (a last line without a line break included)
    Bad,      // a line that could not be read whole, or a blank line before more data
    Damaged,  // a line with a NUL character in it (the line's text ends at the NUL)
};

struct LineReader {
    std::filebuf file;
    // The bytes [begin, end) of the block are read from the file and not yet taken. They
    // are held only while the reader is good: a read that ends at the end of the file or
    // fails drops them, so that a later seek reads from the new position.
    std::unique_ptr<char[]> block;
    size_t begin = 0, end = 0;
    bool drained = false;        // the file had nothing more after end
    bool atEnd = false;          // a read met the end of the file (a stream's eof)
    bool failed = false;         // a read stored nothing at the end, or the line did not fit
    bool nulStored = false;      // the last readLine stored a NUL: line's text ends early
    uint64_t rangeLeft = 0;      // bytes of the file the reader may still read
    bool endedInBlanks = false;  // End came after blank lines, lineNumber the first of them
    bool readError = false;      // the file could not be read on: every later read fails
    long long lineNumber = 0;    // line of the file now in line, counted from 1 (header included)
    // Set before the reader is opened: its checksum (byteChecksum.h) of every byte it reads
    // from the file, which stands at position, the place of the next byte to read.
    bool checksumming = false;
    uint64_t checksum = 0;
    uint64_t position = 0;
    // Set before the reader is opened: the pass's watch, which counts the bytes it reads
    // and may ask it to stop, when every later read fails as at a read error.
    PassWatch* watch = nullptr;
    char line[kLineBufferSize + kLineTailRoom] = {};  // the line in hand, terminated
};

// Opens the reader on the bytes [begin, end) of the file at path (closing it first if it
// is open), as if they were the whole file: begin must be the start of a line, end the
// end of one (just after a line feed) or of the file. Line numbers count from the range's
// first line. A range from the file's start steps over a UTF-8 byte-order mark and, for
// HeaderChoice::Skip, skips the header line unread (readLine with the full limit;
// lineNumber 1): the one place any pass skips it. Returns false when the file cannot be
// opened, is no plain file (a folder, a pipe, a device) or cannot be moved to begin.
bool openReaderRange(LineReader& reader, const char* path, uint64_t begin, uint64_t end,
                     HeaderChoice header = HeaderChoice::Read);

// openReaderRange over the whole file.
bool openReader(LineReader& reader, const char* path, HeaderChoice header);

void closeReader(LineReader& reader);

// The reader reads nothing more: every later read is a line that cannot be read, as
// after one over the limit.
void markUnreadable(LineReader& reader);

// The reader is neither at the end nor failed.
inline bool readerGood(const LineReader& reader) { return !reader.atEnd && !reader.failed; }

// Reads the next line into reader.line, storing at most limit - 1 characters (at most 127)
// and always a terminator; a line stream's getline rules:
// - it stops at and consumes the line break: a line feed, or a carriage return followed by
//   a line feed or by the end of the file (the carriage return is never stored or counted);
// - the end of the file sets atEnd; a read that stores nothing at the end also sets failed;
// - a full buffer followed by anything but a line break or the end of the file sets failed;
// - a reader not good beforehand stores an empty text and is set failed.
void readLine(LineReader& reader, int limit);

// The shared pass rule: reads the next data line with readLine(limit) and tells what it
// is. Open, plot and writer all walk the file with it, so they all read the same points.
// - lineNumber counts the lines read (header included), and names the line meant by
//   Data, Bad and Damaged.
// - A blank line (empty, or only spaces and tabs) is read past: when only blank lines
//   follow to the end of the file the result is End, otherwise Bad naming the first blank
//   line, with the line emptied.
// - Bad for a line over the limit leaves its first limit - 1 characters in line (never
//   empty); a reader already failed (a header skip over 127 characters) gives Bad for the
//   line last read without reading on.
// - A line that holds a NUL is Damaged (a line of only a NUL included), and is never taken
//   for a blank one.
// - After End the reader is at the end; after Bad or Damaged it is failed. Every later call
//   returns End or Bad again, so no loop can go on past them.
LineOutcome readDataLine(LineReader& reader, int limit);

// readDataLine(limit) for the passes' inner loops, with the line in place: for Data, *line
// and *length give the line without its line break. A line that stands whole in the block
// read ahead is not copied (reader.line is then left alone); it stays valid until the
// next read. After the line stand its line break or a terminator and kLineTailRoom
// readable bytes.
LineOutcome nextDataLine(LineReader& reader, int limit, const char** line, size_t* length);

// The bytes read ahead and not yet taken, for a walk that finds whole lines itself: *held
// of them at the returned place, followed by at least 64 readable bytes, and by a line's
// tail room for a line that ends among them.
const char* heldBytes(const LineReader& reader, size_t* held);

// Takes lines lines of bytes bytes in all, their line breaks included, from the held
// bytes, as readLine would take them, and counts them in lineNumber. Each must be a line
// readLine would store whole and readDataLine would find to be data.
void takeHeldLines(LineReader& reader, size_t bytes, long long lines);

// Reads the file's last non-blank line into reader.line (the full limit), found by
// scanning back from the end past the trailing line breaks and blanks, so that it is the
// true last line with or without a final line break, whatever the line breaks are. The
// reader is then at the end; an empty text when the file has no such line.
void readLastLine(LineReader& reader);

#endif
