// The Open's one pass: the file read once, on every worker, for what the counting pass
// and the parsing pass would find under any reading choice "Swap Fields" can still make.
// A swap only exchanges the X and Y ranges; the header choice concerns the first line
// alone. Lines 1 and 2, where the choices differ, are read apart; the rest is cut into
// parts, one for each worker, each part read with a reader of its own. Where a choice
// needs what the pass did not gather (a file with a line any check would stop at), the
// Open reads the file again line by line, which gives the very messages it always has.
#ifndef SKERROW_POINTS_OPENGATHER_H
#define SKERROW_POINTS_OPENGATHER_H

#include <string>
#include <vector>

#include "points/appState.h"
#include "points/pointChecks.h"
#include "reader/fileChunks.h"

// One part of the file after line 2, as a worker read it.
struct PartGather {
    ByteRange range;
    bool readable = true;  // no line the line rules refuse: over 79 characters, a NUL, a blank one before more
    bool clean = true;     // and every line a point that passes every check, with the part's commas
    bool endedInBlanks = false;
    int commas = -1;      // the commas of its first line; -1 when it has no line
    long long lines = 0;  // its data lines
    long long allCommas = 0;
    Ranges ranges;  // under no swap
};

struct OpenGather {
    bool complete = false;  // the file was read in parts: lines 1 and 2 are data lines of 127 characters at most
    std::string line1, line2;
    std::vector<PartGather> parts;
};

// Reads the point file once: lines 1 and 2 here, the rest in parts on every worker.
void gatherOpen(OpenGather* gather);

// The counting pass's results under the header choice, when the one pass has them: the
// first data line's commas, the later lines' commas and the count of data lines.
bool gatheredCounts(const OpenGather& gather, HeaderChoice header, int* firstCommas, long long* laterCommas,
                    long long* lines);

// The parsing pass's ranges under the header choice and the layout, when every point
// passed its checks (ranges under no swap), and the plan of the file's parts for the plot.
bool gatheredRanges(const OpenGather& gather, HeaderChoice header, const PointLayout& layout, Ranges* ranges,
                    FilePlan* plan);

#endif
