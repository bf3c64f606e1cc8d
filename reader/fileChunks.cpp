#include "reader/fileChunks.h"

#include <cstring>
#include <fstream>

#include "reader/lineReader.h"

namespace {

// The place just after the first line feed at or after at, or size when none comes.
uint64_t nextLineStart(std::filebuf& file, uint64_t at, uint64_t size) {
    char buffer[4096];
    while (at < size) {
        if (file.pubseekpos(static_cast<std::streamoff>(at), std::ios::in) < 0) return size;
        const std::streamsize got = readBytes(file, buffer, sizeof buffer);
        if (got <= 0) return size;
        if (const void* feed = std::memchr(buffer, '\n', static_cast<size_t>(got)))
            return at + static_cast<uint64_t>(static_cast<const char*>(feed) - buffer) + 1;
        at += static_cast<uint64_t>(got);
    }
    return size;
}

}  // namespace

std::vector<ByteRange> splitAtLineStarts(const char* path, uint64_t from, uint64_t size, int parts) {
    std::vector<ByteRange> ranges;
    if (from >= size) return ranges;
    std::filebuf file;
    if (parts < 2 || !file.open(path, std::ios::in | std::ios::binary)) {
        ranges.push_back({from, size});
        return ranges;
    }
    uint64_t begin = from;
    for (int i = 1; i <= parts && begin < size; ++i) {
        uint64_t end = size;
        if (i < parts) {
            // The range's last line is the one that holds the byte before the share's end.
            const uint64_t share = from + (size - from) * static_cast<uint64_t>(i) / static_cast<uint64_t>(parts);
            end = share > begin ? nextLineStart(file, share - 1, size) : begin;
        }
        if (end > begin) ranges.push_back({begin, end});
        begin = end > begin ? end : begin;
    }
    return ranges;
}
