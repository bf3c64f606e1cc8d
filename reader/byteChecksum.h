// A checksum of a file's bytes that the parts of a pass make on their own and add up,
// whatever lines the parts were cut at: each 8-byte word, by its place in the file, times
// an odd multiplier of its own, summed modulo 2^64. A word a border cuts in two is summed
// half by each part (each with the other half's bytes as zeros), which adds up to the
// whole word, as the sum is linear. Any change of one word changes the sum; a change that
// leaves it as it was needs the words' changes to cancel through their multipliers, which
// edits of a file do not do by chance. It notices changes; it is no defence against
// someone who means to forge a file.
#ifndef SKERROW_READER_BYTECHECKSUM_H
#define SKERROW_READER_BYTECHECKSUM_H

#include <cstddef>
#include <cstdint>

// The checksum's share of count bytes that stand at offset in the file.
uint64_t checksumOf(uint64_t offset, const char* bytes, size_t count);

#endif
