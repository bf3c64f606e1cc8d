#include "reader/workers.h"

#include <cstdlib>

int workerCount() {
    if (const char* asked = std::getenv("SKERROW_THREADS")) {
        char* end = nullptr;
        const long count = std::strtol(asked, &end, 10);
        if (end != asked && *end == '\0' && count >= 1 && count <= 64) return static_cast<int>(count);
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores > 64 ? 64 : static_cast<int>(cores);
}
