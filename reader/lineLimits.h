// How long a line of a point file may be, and the room the readers keep around one.
#ifndef SKERROW_READER_LINELIMITS_H
#define SKERROW_READER_LINELIMITS_H

#include <cstddef>

// Line limits count the terminator: a limit of 128 takes lines of up to 127 characters.
// The full limit holds for the first data line, the header line, the line read back from
// the end of the file and every line of the plot and the writer; the Open's passes take
// the lines after the first with the short one.
constexpr int kFullLineLimit = 128;
constexpr int kShortLineLimit = 80;

// Characters a line buffer holds, its terminator included.
constexpr size_t kLineBufferSize = kFullLineLimit;

// Room a line needs after its last character: every line handed to the field readers is
// followed by its line break or a terminator and then this many readable bytes, so that
// they may read a word or a vector past any field.
constexpr size_t kLineTailRoom = 16;

#endif
