#include "reader/portability.h"

bool processorHasAvx2() {
#if defined(SKERROW_WIDE_MARKS)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool processorHasAvx512() {
#if defined(SKERROW_WIDE_MARKS)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512f");
#else
    return false;
#endif
}
