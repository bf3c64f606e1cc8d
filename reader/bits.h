// Named operations on 64-bit masks in which bit i stands for the character at i: where the
// line feeds, commas and other characters of a stretch of a point file lie.
#ifndef SKERROW_READER_BITS_H
#define SKERROW_READER_BITS_H

#include <cstdint>

#include "reader/portability.h"

// bits with its lowest set bit cleared: the next line feed becomes the lowest.
inline uint64_t withoutLowestBit(uint64_t bits) { return bits & (bits - 1); }

// The lowest set bit and every bit below it: a line up to and including its line feed.
inline uint64_t throughLowestBit(uint64_t bits) { return bits ^ (bits - 1); }

// The count lowest bits, count 0 to 64.
inline uint64_t lowBits(int count) { return count >= 64 ? ~uint64_t(0) : (uint64_t(1) << count) - 1; }

// Set bits, without needing the processor's own count (which not every x86-64 has).
inline int bitsSet(uint64_t bits) {
    bits = bits - ((bits >> 1) & 0x5555555555555555ULL);
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((bits * 0x0101010101010101ULL) >> 56);
}

// bits has exactly count bits set: a line holds its layout's commas.
template <int count>
inline bool hasBitCount(uint64_t bits) {
    for (int i = 0; i < count; ++i) {
        if (!bits) return false;
        bits = withoutLowestBit(bits);
    }
    return bits == 0;
}

#endif
