// Where the line feeds, commas and other characters of 64 characters of a point file lie,
// as one bit a character (bit i for at[i]): the marks the walks over plain lines work from.
#ifndef SKERROW_POINTS_PLAINMARKS_H
#define SKERROW_POINTS_PLAINMARKS_H

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct PlainMarks {
    uint64_t lineFeeds;
    uint64_t commas;
    uint64_t others;  // characters other than digits, points, minus signs, commas and line feeds
};

// The plain marks of the 64 characters at at, one character at a time: the reference
// the faster form is held to.
inline PlainMarks plainMarksByBytes(const char* at) {
    PlainMarks marks = {0, 0, 0};
    for (int i = 0; i < 64; ++i) {
        const char c = at[i];
        const uint64_t bit = uint64_t(1) << i;
        if (c == '\n') marks.lineFeeds |= bit;
        if (c == ',') marks.commas |= bit;
        const bool plain = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ',' || c == '\n';
        if (!plain) marks.others |= bit;
    }
    return marks;
}

// The plain marks of the 64 characters at at, which must all be readable.
__attribute__((always_inline)) inline PlainMarks plainMarks(const char* at) {
#if defined(__SSE2__)
    // ',' '-' '.' '/' and the digits are the characters 0x2C to 0x39: shifted to the bottom
    // of the signed range, one compare finds them all, and '/' is taken out again.
    const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - ','));
    const __m128i rangeTop = _mm_set1_epi8(static_cast<char>(-128 + ('9' - ',' + 1)));
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i slash = _mm_set1_epi8('/');
    PlainMarks marks = {0, 0, 0};
    uint64_t plain = 0;
    for (int i = 0; i < 64; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i));
        const __m128i feeds = _mm_cmpeq_epi8(bytes, lineFeed);
        const __m128i inRange = _mm_cmplt_epi8(_mm_add_epi8(bytes, shift), rangeTop);
        const __m128i plainBytes = _mm_or_si128(_mm_andnot_si128(_mm_cmpeq_epi8(bytes, slash), inRange), feeds);
        marks.lineFeeds |= static_cast<uint64_t>(_mm_movemask_epi8(feeds)) << i;
        marks.commas |= static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma))) << i;
        plain |= static_cast<uint64_t>(_mm_movemask_epi8(plainBytes)) << i;
    }
    marks.others = ~plain;
    return marks;
#else
    return plainMarksByBytes(at);
#endif
}

#endif
