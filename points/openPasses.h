// The passes of the Open command, shared by its files only. Each returns what it found
// and, when the file must be refused, where and why; none shows a message, sets the cursor
// or changes the view state, and none leaves the file open.
#ifndef SKERROW_POINTS_OPENPASSES_H
#define SKERROW_POINTS_OPENPASSES_H

#include "points/openGather.h"
#include "points/openMessages.h"
#include "points/openedFile.h"

// What the counting pass found: the lines, as "Swap Fields" shows them, and the fields.
struct FileCounts {
    long long lines = 0;
    short fieldCount = 0;
};

// The counting pass under the previous Open's header choice and the check of the commas:
// the counts the one pass gathered, or the file counted line by line, under the watch,
// when it could not. *counts holds what was counted up to a stop.
OpenStop countLines(const char* path, HeaderChoice header, const OpenGather& gather, FileCounts* counts,
                    PassWatch* watch);

// What the parsing pass found under the reading choices just made.
struct FileFindings {
    PointRanges ranges;        // as far as the pass got (rangeX and rangeY only with extentKnown)
    bool extentKnown = false;  // the ranges of X and Y were worked out, 0 or not
    long long points = 0;
    FilePlan plan;                    // the parts of the one pass, for the plot
    unsigned long long checksum = 0;  // of every byte the ranges were found from
};

// The parsing pass: the ranges the one pass gathered, or, when a point there would end the
// Open, every point checked line by line under the watch.
OpenStop gatherRanges(const char* path, HeaderChoice header, const PointLayout& layout, const OpenGather& gather,
                      FileFindings* found, PassWatch* watch);

#endif
