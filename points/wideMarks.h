// The plain marks of 64 characters with the widest vector registers the processor has:
// AVX-512 compares all 64 at once into bit masks, AVX2 32 at a time, and every x86-64 has
// SSE2's 16. The widths above SSE2 are chosen while the program runs, so that one build
// serves every processor. A walk is compiled once for each width, its marks inlined into
// it: the AVX2 and AVX-512 forms are entry points of their own, marked for those
// processors, into which the walk is inlined whole; code for a wider processor can only
// be inlined into code marked for one.
#ifndef SKERROW_POINTS_WIDEMARKS_H
#define SKERROW_POINTS_WIDEMARKS_H

#include "points/plainMarks.h"

// The width the walks use: 16, 32 or 64 characters a compare. Set at start to the widest
// the processor and system allow; tests set it to each width there is.
extern int g_markWidth;

// The widest mark width the processor and system allow.
int widestMarkWidth();

// The marks of every processor: SSE2 on x86-64, a word at a time elsewhere.
struct NarrowMarks {
    __attribute__((always_inline)) static PlainMarks of(const char* at) { return plainMarks(at); }
};

#if defined(__x86_64__) && defined(__GNUC__)
#define SKERROW_WIDE_MARKS 1
#include <immintrin.h>

struct Avx2Marks {
    __attribute__((target("avx2"))) static inline PlainMarks of(const char* at) {
        // As plainMarks: ',' '-' '.' '/' and the digits shifted to the bottom of the
        // signed range, one compare for them all, '/' taken out again.
        const __m256i shift = _mm256_set1_epi8(static_cast<char>(0x80 - ','));
        const __m256i rangeTop = _mm256_set1_epi8(static_cast<char>(-128 + ('9' - ',' + 1)));
        const __m256i lineFeed = _mm256_set1_epi8('\n');
        const __m256i comma = _mm256_set1_epi8(',');
        const __m256i slash = _mm256_set1_epi8('/');
        PlainMarks marks = {0, 0, 0};
        uint64_t plain = 0;
        for (int i = 0; i < 64; i += 32) {
            const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + i));
            const __m256i feeds = _mm256_cmpeq_epi8(bytes, lineFeed);
            const __m256i inRange = _mm256_cmpgt_epi8(rangeTop, _mm256_add_epi8(bytes, shift));
            const __m256i plainBytes =
                _mm256_or_si256(_mm256_andnot_si256(_mm256_cmpeq_epi8(bytes, slash), inRange), feeds);
            marks.lineFeeds |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(feeds))) << i;
            marks.commas |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, comma))))
                            << i;
            plain |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(plainBytes))) << i;
        }
        marks.others = ~plain;
        return marks;
    }
};

struct Avx512Marks {
    __attribute__((target("avx512f,avx512bw"))) static inline PlainMarks of(const char* at) {
        const __m512i bytes = _mm512_loadu_si512(at);
        PlainMarks marks;
        marks.lineFeeds = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('\n'));
        marks.commas = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(','));
        // ',' '-' '.' '/' and the digits are the characters 0x2C to 0x39.
        const uint64_t inRange =
            _mm512_cmple_epu8_mask(_mm512_sub_epi8(bytes, _mm512_set1_epi8(',')), _mm512_set1_epi8('9' - ','));
        const uint64_t slashes = _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8('/'));
        marks.others = ~((inRange & ~slashes) | marks.lineFeeds);
        return marks;
    }
};

#endif

#endif
