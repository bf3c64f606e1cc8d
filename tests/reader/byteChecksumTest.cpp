// The checksum parts of a file add up to: whatever places the file is cut at, the parts'
// sums make the whole file's, and the changes edits make show in it.
#include "reader/byteChecksum.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string randomBytes(std::mt19937_64& random, size_t count) {
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

uint64_t wholeSum(const std::string& bytes) { return checksumOf(0, bytes.data(), bytes.size()); }

TEST(ByteChecksum, PartsCutAnywhereAddUpToTheWhole) {
    std::mt19937_64 random(5);
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = randomBytes(random, random() % 5000);
        const uint64_t whole = wholeSum(bytes);
        // Cut at random places, some inside words, some one byte apart, some not at all.
        std::vector<size_t> cuts = {0};
        while (cuts.back() < bytes.size()) cuts.push_back(std::min(bytes.size(), cuts.back() + random() % 300));
        uint64_t sum = 0;
        for (size_t i = 0; i + 1 < cuts.size(); ++i)
            sum += checksumOf(cuts[i], bytes.data() + cuts[i], cuts[i + 1] - cuts[i]);
        ASSERT_EQ(sum, whole) << bytes.size() << " bytes in " << cuts.size() - 1 << " parts";
    }
}

TEST(ByteChecksum, EveryOneByteChangeShows) {
    std::mt19937_64 random(6);
    const std::string bytes = randomBytes(random, 777);
    const uint64_t whole = wholeSum(bytes);
    for (size_t at = 0; at < bytes.size(); ++at)
        for (int bit = 0; bit < 8; ++bit) {
            std::string changed = bytes;
            changed[at] = static_cast<char>(changed[at] ^ (1 << bit));
            ASSERT_NE(wholeSum(changed), whole) << "byte " << at << " bit " << bit;
        }
}

// Edits a file's bytes undergo with its size kept: lines moved, digits swapped, a word
// carried over from one place to another.
TEST(ByteChecksum, SameSizeEditsShow) {
    const std::string lines = "633001.25,5288001.50,201.25\n633002.75,5288002.00,202.50\n633003.00,5288003.25,203.75\n";
    const uint64_t whole = wholeSum(lines);
    std::string swappedLines = lines.substr(28, 28) + lines.substr(0, 28) + lines.substr(56);
    ASSERT_EQ(swappedLines.size(), lines.size());
    EXPECT_NE(wholeSum(swappedLines), whole);
    std::string swappedDigits = lines;
    std::swap(swappedDigits[4], swappedDigits[5]);  // 633001 becomes 633010
    EXPECT_NE(wholeSum(swappedDigits), whole);
    // Two whole words exchanged: the same bytes, at other places.
    std::string swappedWords = lines;
    for (int i = 0; i < 8; ++i) std::swap(swappedWords[i], swappedWords[40 + i]);
    EXPECT_NE(wholeSum(swappedWords), whole);
    EXPECT_EQ(wholeSum(lines), whole);
}

}  // namespace
