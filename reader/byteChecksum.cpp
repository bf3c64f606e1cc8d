#include "reader/byteChecksum.h"

#include <cstring>

#include "reader/portability.h"

namespace {

// The multiplier of word i is kInBlock[i % kBlockWords] * kFirst * kStep^(i / kBlockWords):
// odd, as both factors are. The words of a block are summed with the small factors
// alone, which the compiler folds into the multiplications, and the block's sum is then
// multiplied by its block's factor: two instructions a word.
constexpr int kBlockWords = 32;
constexpr int64_t kInBlock[kBlockWords] = {
    0x3C6EF35F, 0x1B873593,  -0x6B43A9B5, 0x2D2A8D3B,  -0x5F31E1C5, 0x0F1BBCDD,  0x7FEB352D, -0x31848BAB,
    0x27D4EB2F, -0x61C88647, 0x165667B1,  -0x3D4D51C3, 0x5BD1E995,  -0x1B873593, 0x4CF5AD43, -0x7A143589,
    0x2127599B, -0x0D6C28BB, 0x6F8E2E8D,  -0x4EF9A2F7, 0x1F35A3C9,  -0x2C1B3C6D, 0x3A9F1E5F, -0x5A3B7E13,
    0x08FF0B6B, -0x7C2D4E85, 0x43B6F9A1,  -0x167E3A53, 0x59E7D3C5,  -0x38A4F1ED, 0x12D687F7, -0x6E1C5B2B};
constexpr uint64_t kFirst = 0x9E3779B97F4A7C15ULL;
constexpr uint64_t kStep = 0xD6E8FEB86659FD93ULL;

uint64_t power(uint64_t base, uint64_t exponent) {
    uint64_t result = 1;
    for (; exponent; exponent >>= 1, base *= base)
        if (exponent & 1) result *= base;
    return result;
}

uint64_t blockFactor(uint64_t block) { return kFirst * power(kStep, block); }

uint64_t wordMultiplier(uint64_t word) {
    return static_cast<uint64_t>(kInBlock[word % kBlockWords]) * blockFactor(word / kBlockWords);
}

uint64_t loadWord(const char* at) {
    uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The bytes [from, from + count) of a word, the rest as zeros, read as the word they make
// on a little-endian machine.
uint64_t partOfWord(const char* bytes, size_t from, size_t count) {
    unsigned char word[8] = {};
    std::memcpy(word + from, bytes, count);
    return loadWord(reinterpret_cast<const char*>(word));
}

// The small factors' sum of a whole block.
SKERROW_INLINE uint64_t blockSum(const char* bytes) {
    uint64_t sum = 0;
    SKERROW_UNROLL_ALL
    for (int j = 0; j < kBlockWords; ++j) sum += loadWord(bytes + 8 * j) * static_cast<uint64_t>(kInBlock[j]);
    return sum;
}

}  // namespace

uint64_t checksumOf(uint64_t offset, const char* bytes, size_t count) {
    if (count == 0) return 0;
    uint64_t word = offset / 8;
    uint64_t sum = 0;
    // A first word the bytes start inside of.
    if (const size_t into = static_cast<size_t>(offset % 8); into != 0) {
        const size_t take = count < 8 - into ? count : 8 - into;
        sum += partOfWord(bytes, into, take) * wordMultiplier(word);
        bytes += take;
        count -= take;
        ++word;
    }
    // Words one by one up to a block's start, whole blocks, then words one by one.
    for (; count >= 8 && word % kBlockWords != 0; bytes += 8, count -= 8, ++word)
        sum += loadWord(bytes) * wordMultiplier(word);
    if (count >= 8 * kBlockWords) {
        uint64_t factor = blockFactor(word / kBlockWords);
        for (; count >= 8 * kBlockWords; bytes += 8 * kBlockWords, count -= 8 * kBlockWords, word += kBlockWords) {
            sum += blockSum(bytes) * factor;
            factor *= kStep;
        }
    }
    for (; count >= 8; bytes += 8, count -= 8, ++word) sum += loadWord(bytes) * wordMultiplier(word);
    // A last word the bytes end inside of.
    if (count) sum += partOfWord(bytes, 0, count) * wordMultiplier(word);
    return sum;
}
