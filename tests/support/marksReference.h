// The byte marks one character at a time: the meaning every faster form is held to.
#ifndef SKERROW_TESTS_SUPPORT_MARKSREFERENCE_H
#define SKERROW_TESTS_SUPPORT_MARKSREFERENCE_H

#include "reader/byteMarksType.h"

inline ByteMarks byteMarksByBytes(const char* at) {
    ByteMarks marks = {0, 0, 0, 0};
    for (int i = 0; i < 64; ++i) {
        const char c = at[i];
        const uint64_t bit = uint64_t(1) << i;
        if (c == '\n') marks.lineFeeds |= bit;
        if (c == ',') marks.commas |= bit;
        if (c == '\0') marks.nuls |= bit;
        const bool plain = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ',' || c == '\n';
        if (!plain) marks.others |= bit;
    }
    return marks;
}

#endif
