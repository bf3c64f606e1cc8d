#include "reader/byteMarks.h"

int widestMarkWidth() {
    if (processorHasAvx512()) return 64;
    if (processorHasAvx2()) return 32;
    return 16;
}

int g_markWidth = widestMarkWidth();
