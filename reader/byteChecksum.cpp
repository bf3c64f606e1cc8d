#include "reader/byteChecksum.h"

#include <cstring>

namespace {

// The multiplier of the word at index i is kFirst * kStep^i: odd, and different for every
// word a file can have. Four words are summed at once, each lane stepping by kStep^4, so
// that the multiplications do not wait on each other.
constexpr uint64_t kFirst = 0x9E3779B97F4A7C15ULL;
constexpr uint64_t kStep = 0xD6E8FEB86659FD93ULL;
constexpr int kLanes = 4;

uint64_t power(uint64_t base, uint64_t exponent) {
    uint64_t result = 1;
    for (; exponent; exponent >>= 1, base *= base)
        if (exponent & 1) result *= base;
    return result;
}

uint64_t multiplierOf(uint64_t word) { return kFirst * power(kStep, word); }

// The bytes [from, from + count) of the word at index word, the rest as zeros, read as the
// word they make on a little-endian machine.
uint64_t partOfWord(const char* bytes, size_t from, size_t count) {
    unsigned char word[8] = {};
    std::memcpy(word + from, bytes, count);
    uint64_t value;
    std::memcpy(&value, word, sizeof value);
    return value;
}

}  // namespace

uint64_t checksumOf(uint64_t offset, const char* bytes, size_t count) {
    if (count == 0) return 0;
    uint64_t word = offset / 8;
    uint64_t sum = 0;
    // A first word the bytes start inside of.
    if (const size_t into = static_cast<size_t>(offset % 8); into != 0) {
        const size_t take = count < 8 - into ? count : 8 - into;
        sum += partOfWord(bytes, into, take) * multiplierOf(word);
        bytes += take;
        count -= take;
        ++word;
    }
    uint64_t lane[kLanes], laneSum[kLanes] = {};
    lane[0] = multiplierOf(word);
    for (int i = 1; i < kLanes; ++i) lane[i] = lane[i - 1] * kStep;
    const uint64_t laneStep = power(kStep, kLanes);
    for (; count >= 8 * kLanes; bytes += 8 * kLanes, count -= 8 * kLanes, word += kLanes) {
        for (int i = 0; i < kLanes; ++i) {
            uint64_t value;
            std::memcpy(&value, bytes + 8 * i, sizeof value);
            laneSum[i] += value * lane[i];
            lane[i] *= laneStep;
        }
    }
    for (int i = 0; i < kLanes; ++i) sum += laneSum[i];
    // Whole words left, then a last word the bytes end inside of.
    uint64_t multiplier = lane[0];
    for (; count >= 8; bytes += 8, count -= 8, multiplier *= kStep) {
        uint64_t value;
        std::memcpy(&value, bytes, sizeof value);
        sum += value * multiplier;
    }
    if (count) sum += partOfWord(bytes, 0, count) * multiplier;
    return sum;
}
