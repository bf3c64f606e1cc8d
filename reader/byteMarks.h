// The byte marks of 64 characters, and the one place that picks how they are made.
//
// Why the walks over a point file are fast: a file is almost all short lines of digits,
// points and commas. Rather than look at each character, a walk classifies 64 of them at
// once into bit masks (where the line feeds, commas, NULs and other characters lie) and
// then finds each line's end, length and commas with a few bit operations on the masks,
// without a branch per character. The classification is written once for each
// instruction set (marks/*.h): AVX-512 compares all 64 characters at once into masks,
// AVX2 32 at a time, SSE2 (every x86-64) 16, and other processors a word of eight. The
// walks are written once (lineWalk.h), as templates over the form of the marks; the
// widths above SSE2 are chosen while the program runs, so that one build serves every
// processor. A walk is compiled once for each width with its marks inlined into it: GCC
// inlines code for a wider processor only into code marked for one, so the AVX2 and
// AVX-512 forms are entry points of their own below, into which the walk is inlined whole.
#ifndef SKERROW_READER_BYTEMARKS_H
#define SKERROW_READER_BYTEMARKS_H

#include <cstddef>
#include <cstring>

#include "reader/bits.h"
#include "reader/byteMarksType.h"
#include "reader/marks/portable.h"
#include "reader/portability.h"

// The walks' steps are lambdas marked SKERROW_INLINE_LAMBDA: inlined into each width's
// entry point, and the step of a line into the walk.
#if defined(SKERROW_WIDE_MARKS)
#include "reader/marks/avx2.h"
#include "reader/marks/avx512.h"
#endif
#if defined(SKERROW_SSE2)
#include "reader/marks/sse2.h"
using NarrowMarks = Sse2Marks;
#else
using NarrowMarks = PortableMarks;
#endif

// The width the walks use: 16, 32 or 64 characters a compare. Set at start to the widest
// the processor and system allow; tests set it to each width there is.
extern int g_markWidth;

// The widest mark width the processor and system allow.
int widestMarkWidth();

#if defined(SKERROW_WIDE_MARKS)
template <class Body>
SKERROW_TARGET_AVX2 SKERROW_NOINLINE auto runWithAvx2Marks(Body& body) {
    return body(Avx2Marks{});
}
template <class Body>
SKERROW_TARGET_AVX512 SKERROW_NOINLINE auto runWithAvx512Marks(Body& body) {
    return body(Avx512Marks{});
}
#endif

// Runs body with the marks of g_markWidth: body is a generic lambda over the form of the
// marks, marked always_inline so that it is compiled into each width's entry point.
template <class Body>
auto withWidestMarks(Body&& body) {
#if defined(SKERROW_WIDE_MARKS)
    if (g_markWidth == 64) return runWithAvx512Marks(body);
    if (g_markWidth == 32) return runWithAvx2Marks(body);
#endif
    return body(NarrowMarks{});
}

// The first c among the count characters at at, or nullptr: memchr for the short texts
// of a point file, without the call. Up to 15 characters after them are read too, so
// they must be readable.
inline const char* findByte(const char* at, size_t count, char c) {
#if defined(SKERROW_SSE2)
    const __m128i wanted = _mm_set1_epi8(c);
    for (size_t i = 0; i < count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i));
        unsigned marks = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        if (count - i < 16) marks &= (1u << (count - i)) - 1;
        if (marks) return at + i + lowestBit(marks);
    }
    return nullptr;
#else
    return static_cast<const char*>(std::memchr(at, c, count));
#endif
}

#endif
