// What the program asks of the compiler beyond standard C++, in one place: forced and
// forbidden inlining, branch hints, the bit scans, and code for the wider instruction
// sets that is chosen while the program runs. GCC and Clang are the compilers it is built
// with; MSVC has a branch of its own, which keeps the SSE2 marks and drops the wider ones.
#ifndef SKERROW_READER_PORTABILITY_H
#define SKERROW_READER_PORTABILITY_H

#include <sys/stat.h>

#include <cstdint>

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#define SKERROW_MSVC 1
#endif

// A function that must be compiled into each caller: the walks' steps and the field
// readers, whose callers keep their locals in registers only if the call goes.
#if defined(SKERROW_MSVC)
#define SKERROW_INLINE __forceinline
#define SKERROW_INLINE_LAMBDA
#define SKERROW_NOINLINE __declspec(noinline)
#define SKERROW_RETURNS_NONNULL
#define SKERROW_UNLIKELY(condition) (condition)
#define SKERROW_UNROLL_ALL
#else
#define SKERROW_INLINE __attribute__((always_inline)) inline
// The same for a lambda, written after its parameter list.
#define SKERROW_INLINE_LAMBDA __attribute__((always_inline))
// A function kept out of its callers: the rare forms, whose code would crowd the loops.
#define SKERROW_NOINLINE __attribute__((noinline))
#define SKERROW_RETURNS_NONNULL __attribute__((returns_nonnull))
#define SKERROW_UNLIKELY(condition) __builtin_expect(!!(condition), 0)
// A loop of a fixed count, before it: unrolled whole, so that its constants are folded.
#define SKERROW_UNROLL_ALL _Pragma("GCC unroll 64")
#endif

// x86-64 has SSE2 everywhere. GCC and Clang also compile single functions for AVX2 and
// AVX-512, which the byte marks choose between while the program runs.
#if defined(__x86_64__) || defined(_M_X64)
#define SKERROW_SSE2 1
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#define SKERROW_WIDE_MARKS 1
#define SKERROW_TARGET_AVX2 __attribute__((target("avx2")))
#define SKERROW_TARGET_AVX512 __attribute__((target("avx512f,avx512bw")))
#endif

// The place of the lowest set bit; bits must not be 0.
inline int lowestBit(uint64_t bits) {
#if defined(SKERROW_MSVC)
    unsigned long place;
    _BitScanForward64(&place, bits);
    return static_cast<int>(place);
#else
    return __builtin_ctzll(bits);
#endif
}

// The place of the highest set bit; bits must not be 0.
inline int highestBit(uint64_t bits) {
#if defined(SKERROW_MSVC)
    unsigned long place;
    _BitScanReverse64(&place, bits);
    return static_cast<int>(place);
#else
    return 63 - __builtin_clzll(bits);
#endif
}

// The time the file's status last changed (its bytes, its times, its links), to the
// finest tick the system keeps: unlike the time of the last write, no program can set it
// back. Linux keeps nanoseconds; Windows' C runtime gives seconds (of the file's creation).
inline long long statusChangeTicks(const struct stat& info) {
#if defined(__linux__)
    return static_cast<long long>(info.st_ctim.tv_sec) * 1000000000LL + info.st_ctim.tv_nsec;
#else
    return static_cast<long long>(info.st_ctime);
#endif
}

// Whether the processor and the system (which must save the wider registers) allow AVX2,
// and AVX-512 with its byte and word instructions.
bool processorHasAvx2();
bool processorHasAvx512();

#endif
