// Eight characters at a time: the tests the inner loops make on every byte of a point file
// (line feeds, commas, digits), done on a 64-bit word at once. The first character of a
// text is the lowest byte of its word, as on every little-endian machine the program is
// built for. A word may reach up to 7 characters past the text it is taken from, so every
// buffer read this way has that much room after its data.
#ifndef SKERROW_READER_WORDSCAN_H
#define SKERROW_READER_WORDSCAN_H

#include <cstdint>
#include <cstring>

#include "reader/bits.h"
#include "reader/powersOfTen.h"

constexpr uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr uint64_t kHighBits = 0x8080808080808080ULL;

inline uint64_t loadWord(const char* at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The high bit of each byte of word that equals c, and no other bit: no carry crosses a
// byte, so there is no false match after a true one.
inline uint64_t bytesEqual(uint64_t word, unsigned char c) {
    const uint64_t diff = word ^ (kEveryByte * c);
    return ~(((diff & ~kHighBits) + ~kHighBits) | diff | ~kHighBits);
}

// The high bit of each byte that is not a decimal digit. Exact up to and including the
// first such byte; a borrow may mark bytes after it, which no caller looks at.
inline uint64_t nonDigits(uint64_t word) {
    return (((word & ~kHighBits) + 0x4646464646464646ULL) | (word - 0x3030303030303030ULL) | word) & kHighBits;
}

// Marked bytes in marks (high bits only): each adds 1 to the top byte of the product.
inline int bytesMarked(uint64_t marks) { return static_cast<int>(((marks >> 7) * kEveryByte) >> 56); }

// Bytes before the first marked one, 0 to 8.
inline int bytesBefore(uint64_t marks) { return marks ? lowestBit(marks) >> 3 : 8; }

// The value of the first count (1 to 8) characters of word, all of them digits.
inline uint64_t digitsValue(uint64_t word, int count) {
    uint64_t v = (word - 0x3030303030303030ULL) << (8 * (8 - count));
    v = v * 10 + (v >> 8);  // pairs
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    return v;
}

// The run of digits at text: its length, and its value in *value when it is at most 15
// digits long; a longer run gives 16 and no value. The run ends at a field's end at the
// latest, which is never a digit.
SKERROW_INLINE int digitRun(const char* text, uint64_t* value) {
    const uint64_t word = loadWord(text);
    const int count = bytesBefore(nonDigits(word));
    if (count < 8) {
        *value = count ? digitsValue(word, count) : 0;
        return count;
    }
    const uint64_t next = loadWord(text + 8);
    const int more = bytesBefore(nonDigits(next));
    if (more == 8) return 16;
    *value = more ? digitsValue(word, 8) * kPowersOfTen.whole[more] + digitsValue(next, more) : digitsValue(word, 8);
    return 8 + more;
}

// The text at text after its run of digits, however long.
inline const char* pastDigits(const char* text) {
    int run;
    while ((run = bytesBefore(nonDigits(loadWord(text)))) == 8) text += run;
    return text + run;
}

// The bytes of the word at at that lie before end.
inline uint64_t maskBefore(const char* at, const char* end) {
    return end - at < 8 ? (uint64_t(1) << (8 * (end - at))) - 1 : ~uint64_t(0);
}

// The text from text to end, read a word at a time: false when it holds a NUL, its commas
// counted into *commas otherwise.
inline bool countTextCommas(const char* text, const char* end, int* commas) {
    int found = 0;
    for (const char* at = text; at < end; at += 8) {
        const uint64_t word = loadWord(at);
        if (bytesEqual(word, 0) & maskBefore(at, end)) return false;
        found += bytesMarked(bytesEqual(word, ',') & maskBefore(at, end));
    }
    *commas += found;
    return true;
}

#endif
