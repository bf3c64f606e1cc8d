// Splitting a point file into ranges of whole lines, one for each worker of a pass.
#ifndef SKERROW_READER_FILECHUNKS_H
#define SKERROW_READER_FILECHUNKS_H

#include <cstdint>
#include <vector>

struct ByteRange {
    uint64_t begin, end;
};

// Splits the bytes [from, size) of the file at path into at most parts ranges of about
// equal size. Each range after the first begins just after the first line feed at or
// after its even share's start, so that every range holds whole lines and a carriage
// return stays with its line feed. Ranges that would be empty are left out. A file that
// cannot be read is one range.
std::vector<ByteRange> splitAtLineStarts(const char* path, uint64_t from, uint64_t size, int parts);

#endif
