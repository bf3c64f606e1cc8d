// The writer's pass over the point file: one line in, at most one line out.
#ifndef SKERROW_OUTPUT_WRITEPASS_H
#define SKERROW_OUTPUT_WRITEPASS_H

#include <windows.h>

#include "output/writeOptions.h"
#include "points/openedFile.h"
#include "points/selectionArea.h"
#include "reader/passWatch.h"

enum class PassResult {
    Done,           // every line read and every chosen point written
    ReadFailed,     // a line that cannot be read or split: the file changed since it was opened
    WriteFailed,    // the output took no more
    ValueTooLarge,  // a converted value is no number a point file could hold
};

struct PassOutcome {
    PassResult result = PassResult::Done;
    long long count = 0;              // the lines written
    unsigned long long checksum = 0;  // of every byte read (byteChecksum.h), for a pass that is Done
    DWORD writeError = 0;             // WriteFailed: the system's error
    long long line = 0;               // ValueTooLarge: the line, counted from 1 as the Open counts
};

// Reads the point file (as the Open stamped it) on every worker under the watch and writes
// each point the area holds, as the choices make it, to output in the file's order (a move
// writes every point). The lines of a pass that stops early are written too, as far as it
// got.
PassOutcome writeChosenPoints(HANDLE output, const OpenedFile& file, const SelectionArea& area,
                              const WriteChoices& choices, PassWatch* watch);

#endif
