// The many-characters-at-once scans against their one-character meaning: the marks of a
// chunk (with SSE2 and with plain words, as on a machine without it), the byte search,
// and the bit count, over random bytes rich in the characters they look for and in
// bytes with the high bit set.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "points/chunkMarks.h"

namespace {

// 64 characters to scan, then room the scans may read.
struct Chunk {
    char text[64 + 16];
};

Chunk randomChunk(std::mt19937_64& random) {
    static const char interesting[] = {'\n', ',', '\0', '\r', '0', '9', '.', '-', ' ', '\x80', '\xff', '\x8a'};
    Chunk chunk;
    for (char& c : chunk.text)
        c = random() % 2 ? interesting[random() % sizeof interesting] : static_cast<char>(random() % 256);
    return chunk;
}

uint64_t marksOf(const char* text, char wanted) {
    uint64_t marks = 0;
    for (int i = 0; i < 64; ++i)
        if (text[i] == wanted) marks |= uint64_t(1) << i;
    return marks;
}

TEST(ChunkMarks, MarkEveryLineFeedCommaAndNulAndNothingElse) {
    std::mt19937_64 random(5);
    for (int round = 0; round < 20000; ++round) {
        const Chunk chunk = randomChunk(random);
        const ChunkMarks expected = {marksOf(chunk.text, '\n'), marksOf(chunk.text, ','), marksOf(chunk.text, '\0')};
        for (const ChunkMarks& marks : {chunkMarks(chunk.text), chunkMarksByWords(chunk.text)}) {
            ASSERT_EQ(marks.lineFeeds, expected.lineFeeds) << "round " << round;
            ASSERT_EQ(marks.commas, expected.commas) << "round " << round;
            ASSERT_EQ(marks.nuls, expected.nuls) << "round " << round;
        }
    }
}

TEST(ChunkMarks, FindByteIsMemchrWithinTheCount) {
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

TEST(ChunkMarks, BitsSetCountsEveryBit) {
    std::mt19937_64 random(7);
    EXPECT_EQ(bitsSet(0), 0);
    EXPECT_EQ(bitsSet(~uint64_t(0)), 64);
    for (int round = 0; round < 10000; ++round) {
        const uint64_t bits = random() & random();
        ASSERT_EQ(bitsSet(bits), __builtin_popcountll(bits)) << std::hex << bits;
    }
}

}  // namespace
