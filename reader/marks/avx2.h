// The byte marks thirty-two characters a compare, with AVX2.
#ifndef SKERROW_READER_MARKS_AVX2_H
#define SKERROW_READER_MARKS_AVX2_H

#include <immintrin.h>

#include "reader/byteMarksType.h"
#include "reader/portability.h"

struct Avx2Marks {
    SKERROW_TARGET_AVX2 static inline ByteMarks of(const char* at) {
        // As Sse2Marks: ',' '-' '.' '/' and the digits shifted to the bottom of the signed
        // range, one compare for them all, '/' taken out again.
        const __m256i shift = _mm256_set1_epi8(static_cast<char>(0x80 - ','));
        const __m256i rangeTop = _mm256_set1_epi8(static_cast<char>(-128 + ('9' - ',' + 1)));
        const __m256i lineFeed = _mm256_set1_epi8('\n');
        const __m256i comma = _mm256_set1_epi8(',');
        const __m256i slash = _mm256_set1_epi8('/');
        const __m256i zero = _mm256_setzero_si256();
        ByteMarks marks = {0, 0, 0, 0};
        uint64_t plain = 0;
        for (int i = 0; i < 64; i += 32) {
            const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + i));
            const __m256i feeds = _mm256_cmpeq_epi8(bytes, lineFeed);
            const __m256i inRange = _mm256_cmpgt_epi8(rangeTop, _mm256_add_epi8(bytes, shift));
            const __m256i plainBytes =
                _mm256_or_si256(_mm256_andnot_si256(_mm256_cmpeq_epi8(bytes, slash), inRange), feeds);
            marks.lineFeeds |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(feeds))) << i;
            marks.commas |=
                static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, comma))))
                << i;
            marks.nuls |=
                static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, zero)))) << i;
            plain |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(plainBytes))) << i;
        }
        marks.others = ~plain;
        return marks;
    }
};

#endif
