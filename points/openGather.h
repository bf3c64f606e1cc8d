// The Open's one pass: the file read once, on every worker, for what the counting pass
// and the parsing pass would find under any reading choice "Swap Fields" can still make.
// A swap only exchanges the X and Y ranges; the header choice concerns the first line
// alone. Lines 1 and 2, where the choices differ, are read apart; the rest is cut into
// parts, one for each worker, and gathered under the layout of line 2 (the first data line
// when a header is skipped; under the other choice line 1 must have the same commas for
// the file to pass). Where a choice needs what the pass did not gather (a file with a line
// any check would stop at), the Open reads the file again line by line, which gives the
// very messages it always has.
#ifndef SKERROW_POINTS_OPENGATHER_H
#define SKERROW_POINTS_OPENGATHER_H

#include <string>
#include <vector>

#include "points/openedFile.h"
#include "points/pointChecks.h"
#include "reader/pointPass.h"

// One part of the file after line 2, as a worker read it.
struct PartGather {
    PartEnd end;
    unsigned long long checksum = 0;  // of the part's bytes
    bool clean = true;                // every line a point of the gathered layout that passes every check
    long long lines = 0;
    long long commas = 0;
    Ranges ranges;  // of the clean lines, under no swap
};

struct OpenGather {
    bool complete = false;  // the file was read in parts: lines 1 and 2 are data lines of 127 characters at most
    std::string line1, line2;
    unsigned long long headChecksum = 0;  // of the bytes of lines 1 and 2
    unsigned long long size = 0;
    short fieldCount = 0;  // the layout the parts were gathered under: line 2's
    PassPlan plan;         // the parts after line 2
    std::vector<PartGather> parts;
};

// Reads the point file at path, of size bytes, once: lines 1 and 2 here, the rest in parts
// on every worker, under the watch. On one worker nothing is gathered: the Open then
// counts and parses.
OpenGather gatherOpen(const char* path, unsigned long long size, PassWatch* watch);

// The counting pass's results under the header choice, when the one pass has them: the
// first data line's commas, the later lines' commas and the count of data lines.
bool gatheredCounts(const OpenGather& gather, HeaderChoice header, int* firstCommas, long long* laterCommas,
                    long long* lines);

// The parsing pass's ranges under the header choice and the layout, when every point
// passed its checks (ranges under no swap), and the plan of the file's parts for the plot.
// *checksum is the whole file's (byteChecksum.h).
bool gatheredRanges(const OpenGather& gather, HeaderChoice header, const PointLayout& layout, Ranges* ranges,
                    FilePlan* plan, unsigned long long* checksum);

#endif
