// The many-characters-at-once scans against their one-character meaning: the marks of a
// chunk in every form (a word at a time, as on a machine without vector compares, SSE2,
// AVX2 and AVX-512 where the processor has them), the byte search and the bit count, over
// random bytes rich in the characters they look for, the edges of the plain range, and
// bytes with the high bit set.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "reader/bits.h"
#include "reader/byteMarks.h"
#include "support/marksReference.h"

namespace {

// 64 characters to scan, then room the scans may read.
struct Chunk {
    char text[64 + 16];
};

Chunk randomChunk(std::mt19937_64& random) {
    // The edges of the plain range ('+' and '/' just outside, ':' after the digits), the
    // line break's characters, and bytes with the high bit set.
    static const char interesting[] = {'\n', '\r', ',',  '-', '.',    '/',    '+',    ':',    '0',
                                       '9',  ' ',  '\0', 'e', '\x80', '\xac', '\xb9', '\xff', '\x8a'};
    Chunk chunk;
    for (char& c : chunk.text)
        c = random() % 4 ? interesting[random() % sizeof interesting] : static_cast<char>(random() % 256);
    return chunk;
}

TEST(ByteMarks, EveryFormMarksAsCharacterByCharacter) {
    std::mt19937_64 random(41);
    for (int round = 0; round < 40000; ++round) {
        const Chunk chunk = randomChunk(random);
        const ByteMarks expected = byteMarksByBytes(chunk.text);
        std::vector<std::pair<int, ByteMarks>> forms = {{8, PortableMarks::of(chunk.text)},
                                                        {16, NarrowMarks::of(chunk.text)}};
#if defined(SKERROW_WIDE_MARKS)
        if (widestMarkWidth() >= 32) forms.push_back({32, Avx2Marks::of(chunk.text)});
        if (widestMarkWidth() >= 64) forms.push_back({64, Avx512Marks::of(chunk.text)});
#endif
        for (const auto& [width, marks] : forms) {
            ASSERT_EQ(marks.lineFeeds, expected.lineFeeds) << "round " << round << ", width " << width;
            ASSERT_EQ(marks.commas, expected.commas) << "round " << round << ", width " << width;
            ASSERT_EQ(marks.nuls, expected.nuls) << "round " << round << ", width " << width;
            ASSERT_EQ(marks.others, expected.others) << "round " << round << ", width " << width;
        }
    }
}

TEST(ByteMarks, FindByteIsMemchrWithinTheCount) {
    std::mt19937_64 random(6);
    for (int round = 0; round < 20000; ++round) {
        const Chunk chunk = randomChunk(random);
        const size_t count = random() % 65;
        for (char wanted : {'\n', '\0', ','}) {
            const void* expected = std::memchr(chunk.text, wanted, count);
            ASSERT_EQ(static_cast<const void*>(findByte(chunk.text, count, wanted)), expected)
                << "round " << round << ", count " << count;
        }
    }
}

TEST(ByteMarks, BitsSetCountsEveryBit) {
    std::mt19937_64 random(7);
    EXPECT_EQ(bitsSet(0), 0);
    EXPECT_EQ(bitsSet(~uint64_t(0)), 64);
    for (int round = 0; round < 10000; ++round) {
        const uint64_t bits = random() & random();
        ASSERT_EQ(bitsSet(bits), __builtin_popcountll(bits)) << std::hex << bits;
    }
}

}  // namespace
