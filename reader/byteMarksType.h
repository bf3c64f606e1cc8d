// Where the characters of 64 bytes of a point file lie that the walks over its lines
// look for, as one bit a character (bit i for at[i]).
#ifndef SKERROW_READER_BYTEMARKSTYPE_H
#define SKERROW_READER_BYTEMARKSTYPE_H

#include <cstdint>

struct ByteMarks {
    uint64_t lineFeeds;
    uint64_t commas;
    uint64_t nuls;
    uint64_t others;  // characters other than digits, points, minus signs, commas and line feeds
};

#endif
