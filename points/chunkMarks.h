// Sixty-four characters at a time: where the line feeds, commas and NULs of a stretch of
// a point file lie, as one bit a character (bit i for at[i]), so that a pass can find
// whole runs of lines and count their commas without looking at each character. With
// SSE2 (every x86-64) sixteen characters are compared at once; elsewhere a word of eight.
#ifndef SKERROW_POINTS_CHUNKMARKS_H
#define SKERROW_POINTS_CHUNKMARKS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "points/wordScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct ChunkMarks {
    uint64_t lineFeeds;
    uint64_t commas;
    uint64_t nuls;
};

// The high bit of each byte of marks (as bytesEqual gives them) as the low eight bits.
inline uint64_t gatherHighBits(uint64_t marks) { return ((marks >> 7) * 0x0102040810204080ULL) >> 56; }

// The marks of the 64 characters at at, a word at a time.
inline ChunkMarks chunkMarksByWords(const char* at) {
    ChunkMarks marks = {0, 0, 0};
    for (int i = 0; i < 64; i += 8) {
        const uint64_t word = loadWord(at + i);
        marks.lineFeeds |= gatherHighBits(bytesEqual(word, '\n')) << i;
        marks.commas |= gatherHighBits(bytesEqual(word, ',')) << i;
        marks.nuls |= gatherHighBits(bytesEqual(word, 0)) << i;
    }
    return marks;
}

// The marks of the 64 characters at at, which must all be readable.
inline ChunkMarks chunkMarks(const char* at) {
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i zero = _mm_setzero_si128();
    ChunkMarks marks = {0, 0, 0};
    for (int i = 0; i < 64; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i));
        marks.lineFeeds |= static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed))) << i;
        marks.commas |= static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma))) << i;
        marks.nuls |= static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero))) << i;
    }
    return marks;
#else
    return chunkMarksByWords(at);
#endif
}

// The first c among the count characters at at, or nullptr: memchr for the short texts
// of a point file, without the call. Up to 15 characters after them are read too, so
// they must be readable.
inline const char* findByte(const char* at, size_t count, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (size_t i = 0; i < count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i));
        unsigned marks = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        if (count - i < 16) marks &= (1u << (count - i)) - 1;
        if (marks) return at + i + __builtin_ctz(marks);
    }
    return nullptr;
#else
    return static_cast<const char*>(std::memchr(at, c, count));
#endif
}

// Set bits, without needing the processor's own count.
inline int bitsSet(uint64_t bits) {
    bits = bits - ((bits >> 1) & 0x5555555555555555ULL);
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((bits * kEveryByte) >> 56);
}

#endif
