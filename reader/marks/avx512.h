// The byte marks all sixty-four characters in one compare each, with AVX-512BW, whose
// compares give bit masks directly.
#ifndef SKERROW_READER_MARKS_AVX512_H
#define SKERROW_READER_MARKS_AVX512_H

#include <immintrin.h>

#include "reader/byteMarksType.h"
#include "reader/portability.h"

struct Avx512Marks {
    SKERROW_TARGET_AVX512 static inline ByteMarks of(const char* at) {
        const __m512i bytes = _mm512_loadu_si512(at);
        ByteMarks marks;
        marks.lineFeeds = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('\n'));
        marks.commas = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(','));
        marks.nuls = _mm512_cmpeq_epi8_mask(bytes, _mm512_setzero_si512());
        // ',' '-' '.' '/' and the digits are the characters 0x2C to 0x39.
        const uint64_t inRange =
            _mm512_cmple_epu8_mask(_mm512_sub_epi8(bytes, _mm512_set1_epi8(',')), _mm512_set1_epi8('9' - ','));
        const uint64_t slashes = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('/'));
        marks.others = ~((inRange & ~slashes) | marks.lineFeeds);
        return marks;
    }
};

#endif
