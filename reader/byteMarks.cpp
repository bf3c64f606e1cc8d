#include "reader/byteMarks.h"

int widestMarkWidth() {
#if defined(SKERROW_WIDE_MARKS)
    // The checks include the system's saving of the wider registers.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512f")) return 64;
    if (__builtin_cpu_supports("avx2")) return 32;
#endif
    return 16;
}

int g_markWidth = widestMarkWidth();
