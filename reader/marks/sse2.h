// The byte marks sixteen characters a compare, with SSE2, which every x86-64 has.
#ifndef SKERROW_READER_MARKS_SSE2_H
#define SKERROW_READER_MARKS_SSE2_H

#include <emmintrin.h>

#include "reader/byteMarksType.h"
#include "reader/portability.h"

struct Sse2Marks {
    static SKERROW_INLINE ByteMarks of(const char* at) {
        // ',' '-' '.' '/' and the digits are the characters 0x2C to 0x39: shifted to the
        // bottom of the signed range, one compare finds them all, and '/' is taken out again.
        const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - ','));
        const __m128i rangeTop = _mm_set1_epi8(static_cast<char>(-128 + ('9' - ',' + 1)));
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i comma = _mm_set1_epi8(',');
        const __m128i slash = _mm_set1_epi8('/');
        const __m128i zero = _mm_setzero_si128();
        ByteMarks marks = {0, 0, 0, 0};
        uint64_t plain = 0;
        for (int i = 0; i < 64; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i));
            const __m128i feeds = _mm_cmpeq_epi8(bytes, lineFeed);
            const __m128i inRange = _mm_cmplt_epi8(_mm_add_epi8(bytes, shift), rangeTop);
            const __m128i plainBytes = _mm_or_si128(_mm_andnot_si128(_mm_cmpeq_epi8(bytes, slash), inRange), feeds);
            marks.lineFeeds |= static_cast<uint64_t>(_mm_movemask_epi8(feeds)) << i;
            marks.commas |= static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma))) << i;
            marks.nuls |= static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero))) << i;
            plain |= static_cast<uint64_t>(_mm_movemask_epi8(plainBytes)) << i;
        }
        marks.others = ~plain;
        return marks;
    }
};

#endif
