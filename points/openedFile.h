// The opened point file as the passes after the Open read it: where it is and what it was
// when the Open read it, how its lines are read, what the Open counted and found, and how
// it was cut into parts. The commands make it from the application state and hand it
// down; no pass reads the state itself.
#ifndef SKERROW_POINTS_OPENEDFILE_H
#define SKERROW_POINTS_OPENEDFILE_H

#include <vector>

#include "reader/fileChunks.h"
#include "reader/fileStamp.h"
#include "reader/lineReader.h"
#include "reader/pointFields.h"

// The ranges the Open found: the whole X and Y of the points, and their elevations (all
// 0.0 for a file without elevations, or one whose every height is missing).
struct PointRanges {
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    int rangeX = 0, rangeY = 0;
    float minZ = 0.0f, maxZ = 0.0f, rangeZ = 0.0f;
};

// How the Open cut the point file for its workers, with the data lines before each part,
// so that the plot's thinning can start each part where it stands in the file. Empty
// unless the Open read the file in one pass on several workers.
struct FilePlan {
    std::vector<ByteRange> parts;
    std::vector<long long> dataLinesBefore;
};

struct OpenedFile {
    const char* path;
    const char* title;            // the name part of the path, as chosen
    FileStamp stamp;              // the file as the Open began to read it
    unsigned long long checksum;  // of its bytes as the Open read them (byteChecksum.h)
    PointLayout layout;
    HeaderChoice header;
    long long lineCount;   // the lines of the counting pass, as "Swap Fields" showed them
    long long pointCount;  // the data lines under the reading choices
    PointRanges ranges;
    FilePlan plan;
};

// The file has elevations: 3 or 5 fields.
inline bool layoutHasElevations(const PointLayout& layout) { return layout.fieldCount == 3 || layout.fieldCount == 5; }

#endif
