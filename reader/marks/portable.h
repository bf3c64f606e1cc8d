// The byte marks a word of eight characters at a time, for processors without the vector
// compares of the other forms.
#ifndef SKERROW_READER_MARKS_PORTABLE_H
#define SKERROW_READER_MARKS_PORTABLE_H

#include "reader/byteMarksType.h"
#include "reader/wordScan.h"

struct PortableMarks {
    // The high bit of each byte of marks (as bytesEqual gives them) as the low eight bits.
    static uint64_t gatherHighBits(uint64_t marks) { return ((marks >> 7) * 0x0102040810204080ULL) >> 56; }

    // The high bit of each byte from low to high inclusive; bytes of 0x80 and above are in
    // no range. A byte with its high bit set before the subtraction cannot borrow from the
    // next one.
    static uint64_t bytesBetween(uint64_t word, unsigned char low, unsigned char high) {
        const uint64_t low7 = (word & ~kHighBits) | kHighBits;
        const uint64_t atLeastLow = (low7 - kEveryByte * low) & kHighBits;
        const uint64_t aboveHigh = (low7 - kEveryByte * (high + 1)) & kHighBits;
        return atLeastLow & ~aboveHigh & ~(word & kHighBits);
    }

    static ByteMarks of(const char* at) {
        ByteMarks marks = {0, 0, 0, 0};
        uint64_t plain = 0;
        for (int i = 0; i < 64; i += 8) {
            const uint64_t word = loadWord(at + i);
            const uint64_t feeds = bytesEqual(word, '\n');
            const uint64_t commas = bytesEqual(word, ',');
            marks.lineFeeds |= gatherHighBits(feeds) << i;
            marks.commas |= gatherHighBits(commas) << i;
            marks.nuls |= gatherHighBits(bytesEqual(word, 0)) << i;
            const uint64_t plainBytes =
                bytesBetween(word, '0', '9') | bytesEqual(word, '.') | bytesEqual(word, '-') | commas | feeds;
            plain |= gatherHighBits(plainBytes) << i;
        }
        marks.others = ~plain;
        return marks;
    }
};

#endif
