#include "reader/lineReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "reader/byteChecksum.h"
#include "reader/byteMarks.h"

long long g_lineNumberOrigin = 0;

namespace {

// The block a reader reads the file through, and the room after its data: the walks
// read 64 characters from any place in the data, and a line's terminator and tail room
// fit after it.
constexpr size_t kBlockSize = size_t(1) << 18;
constexpr size_t kBlockRoom = 64;
static_assert(kBlockRoom >= 64 && kBlockRoom >= 1 + kLineTailRoom, "a line's terminator and tail fit after the block");

void dropBlock(LineReader& reader) {
    reader.begin = reader.end = 0;
    reader.drained = false;
}

// Keeps the bytes not yet taken and fills the rest of the block; false at the end of the file.
bool refillBlock(LineReader& reader) {
    if (reader.drained) return false;
    char* const block = reader.block.get();
    const size_t kept = reader.end - reader.begin;
    std::memmove(block, block + reader.begin, kept);
    reader.begin = 0;
    reader.end = kept;
    const uint64_t room = kBlockSize - kept;
    const std::streamsize wanted = static_cast<std::streamsize>(room < reader.rangeLeft ? room : reader.rangeLeft);
    if (stopAsked(reader.watch)) {
        reader.drained = reader.readError = true;
        return false;
    }
    const std::streamsize got = wanted > 0 ? readBytes(reader.file, block + kept, wanted) : 0;
    if (reader.watch && got > 0)
        reader.watch->bytesRead.fetch_add(static_cast<uint64_t>(got), std::memory_order_relaxed);
    if (got <= 0) {
        reader.drained = true;
        if (got < 0) reader.readError = true;
        return false;
    }
    if (reader.checksumming) reader.checksum += checksumOf(reader.position, block + kept, static_cast<size_t>(got));
    reader.position += static_cast<uint64_t>(got);
    reader.end += static_cast<size_t>(got);
    reader.rangeLeft -= static_cast<uint64_t>(got);
    return true;
}

void failReader(LineReader& reader) {
    dropBlock(reader);
    reader.failed = true;
}

bool isBlank(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t') return false;
    return true;
}

// A read that failed before the end of the file: an over-long line or a read error.
bool brokenRead(const LineReader& reader) { return reader.failed && !reader.atEnd; }

// Failed short of the end: every later readDataLine is Bad too.
void stopShort(LineReader& reader) {
    reader.atEnd = false;
    reader.failed = true;
    dropBlock(reader);
}

// Spreadsheets start a UTF-8 file with a byte-order mark; it belongs to no field.
void skipByteOrderMark(LineReader& reader) {
    static const char mark[] = "\xEF\xBB\xBF";
    char start[3] = {0, 0, 0};
    if (readBytes(reader.file, start, 3) == 3 && std::memcmp(start, mark, 3) == 0) {
        reader.checksum += checksumOf(0, mark, 3);
        return;
    }
    reader.file.pubseekpos(0, std::ios::in);
}

}  // namespace

std::streamsize readBytes(std::filebuf& file, char* to, std::streamsize count) {
    try {
        return file.sgetn(to, count);
    } catch (const std::exception&) {
        return -1;
    }
}

namespace {

// Opens the reader's file on path, with nothing held and no state set.
bool openFile(LineReader& reader, const char* path) {
    closeReader(reader);
    reader.atEnd = reader.failed = reader.nulStored = reader.endedInBlanks = reader.readError = false;
    reader.lineNumber = g_lineNumberOrigin;
    reader.checksum = 0;
    reader.position = 0;
    reader.line[0] = '\0';
    reader.rangeLeft = UINT64_MAX;
    if (!reader.block) reader.block.reset(new char[kBlockSize + kBlockRoom]());
    // Only a plain file: a folder would read as empty, and opening a pipe waits for a writer.
    std::error_code error;
    if (std::filesystem::status(path, error).type() != std::filesystem::file_type::regular) return false;
    return reader.file.open(path, std::ios::in | std::ios::binary) != nullptr;
}

}  // namespace

bool openReaderRange(LineReader& reader, const char* path, uint64_t begin, uint64_t end, HeaderChoice header) {
    if (!openFile(reader, path)) return false;
    const bool startsFile = begin == 0;
    if (startsFile) {
        skipByteOrderMark(reader);
        begin = static_cast<uint64_t>(reader.file.pubseekoff(0, std::ios::cur, std::ios::in));
    } else if (reader.file.pubseekpos(static_cast<std::streamoff>(begin), std::ios::in) < 0) {
        closeReader(reader);
        return false;
    }
    reader.position = begin;
    reader.rangeLeft = end > begin ? end - begin : 0;
    if (startsFile && header == HeaderChoice::Skip) {
        readLine(reader, kFullLineLimit);
        reader.lineNumber = g_lineNumberOrigin + 1;
    }
    return true;
}

bool openReader(LineReader& reader, const char* path, HeaderChoice header) {
    return openReaderRange(reader, path, 0, UINT64_MAX, header);
}

void closeReader(LineReader& reader) {
    if (reader.file.is_open()) reader.file.close();
    dropBlock(reader);
}

void markUnreadable(LineReader& reader) { stopShort(reader); }

void readLine(LineReader& reader, int limit) {
    reader.line[0] = '\0';
    reader.nulStored = false;
    if (limit > static_cast<int>(kLineBufferSize)) limit = kLineBufferSize;
    if (limit < 1 || !readerGood(reader)) {
        failReader(reader);
        return;
    }
    // A line that fits has its line feed within limit + 1 bytes: limit - 1 characters, a
    // carriage return of the line break, the line feed.
    const size_t window = static_cast<size_t>(limit) + 1;
    const char* lineFeed;
    for (;;) {
        const size_t held = reader.end - reader.begin;
        lineFeed = static_cast<const char*>(
            std::memchr(reader.block.get() + reader.begin, '\n', held < window ? held : window));
        if (lineFeed || held >= window || !refillBlock(reader)) break;
    }
    if (!lineFeed && reader.readError) {
        // Not the end of the file: a line cut off there must not pass for its last line.
        failReader(reader);
        return;
    }
    const char* start = reader.block.get() + reader.begin;
    const size_t held = reader.end - reader.begin;
    const bool lastInFile = !lineFeed && held < window;  // the rest of the file is this line
    size_t length = lineFeed ? static_cast<size_t>(lineFeed - start) : held < window ? held : window;
    // A carriage return before the line feed or the end of the file is part of the line break.
    if ((lineFeed || lastInFile) && length > 0 && start[length - 1] == '\r') --length;

    if (length > static_cast<size_t>(limit - 1)) {
        // Longer than the limit: its first limit - 1 characters, and the reader fails.
        std::memcpy(reader.line, start, static_cast<size_t>(limit - 1));
        reader.line[limit - 1] = '\0';
        failReader(reader);
        return;
    }
    std::memcpy(reader.line, start, length);
    reader.line[length] = '\0';
    reader.nulStored = std::memchr(reader.line, 0, length) != nullptr;
    if (lastInFile) {
        dropBlock(reader);
        reader.atEnd = true;
        reader.failed = length == 0;
        return;
    }
    reader.begin = static_cast<size_t>(lineFeed + 1 - reader.block.get());
}

LineOutcome readDataLine(LineReader& reader, int limit) {
    if (!readerGood(reader)) return reader.atEnd ? LineOutcome::End : LineOutcome::Bad;
    readLine(reader, limit);
    ++reader.lineNumber;
    if (brokenRead(reader)) return LineOutcome::Bad;
    if (reader.atEnd && reader.failed) return LineOutcome::End;  // the empty read at the end of the file
    if (reader.nulStored) {
        // A text file holds no NUL: the file is damaged, and no reading of it can be trusted.
        stopShort(reader);
        return LineOutcome::Damaged;
    }
    if (!isBlank(reader.line)) return LineOutcome::Data;

    // Blank lines end the data only when nothing else follows them.
    const long long blankLine = reader.lineNumber;
    while (readerGood(reader)) {
        readLine(reader, limit);
        ++reader.lineNumber;
        if (brokenRead(reader) || reader.nulStored || !isBlank(reader.line)) {
            stopShort(reader);
            reader.lineNumber = blankLine;
            reader.line[0] = '\0';
            return LineOutcome::Bad;
        }
    }
    reader.lineNumber = blankLine;
    reader.line[0] = '\0';
    reader.endedInBlanks = true;
    return LineOutcome::End;
}

LineOutcome nextDataLine(LineReader& reader, int limit, const char** line, size_t* length) {
    // The common line: whole in the block, within the limit, not blank and free of NULs
    // (readLine's copy would end at one). It is taken as readLine would take it, and the
    // reader stays good.
    if (limit > static_cast<int>(kLineBufferSize)) limit = kLineBufferSize;
    const char* start = reader.block.get() + reader.begin;
    const size_t held = reader.end - reader.begin;
    const size_t window = limit > 1 ? static_cast<size_t>(limit) + 1 : 0;
    const char* lineFeed = findByte(start, held < window ? held : window, '\n');
    if (lineFeed && lineFeed > start && *start != ' ' && *start != '\t') {
        size_t characters = static_cast<size_t>(lineFeed - start);
        if (start[characters - 1] == '\r') --characters;
        if (characters > 0 && characters <= static_cast<size_t>(limit - 1) && !findByte(start, characters, 0)) {
            reader.begin = static_cast<size_t>(lineFeed + 1 - reader.block.get());
            ++reader.lineNumber;
            *line = start;
            *length = characters;
            return LineOutcome::Data;
        }
    }
    // Anything else goes the whole way; reader.line has the tail room after it.
    const LineOutcome outcome = readDataLine(reader, limit);
    if (outcome != LineOutcome::Data) return outcome;
    *length = std::strlen(reader.line);
    *line = reader.line;
    return LineOutcome::Data;
}

const char* heldBytes(const LineReader& reader, size_t* held) {
    *held = reader.end - reader.begin;
    return reader.block.get() + reader.begin;
}

void takeHeldLines(LineReader& reader, size_t bytes, long long lines) {
    reader.begin += bytes;
    reader.lineNumber += lines;
}

void readLastLine(LineReader& reader) {
    reader.checksumming = false;  // it reads out of order
    reader.line[0] = '\0';
    dropBlock(reader);
    reader.atEnd = reader.failed = false;
    std::streamoff pos = reader.file.pubseekoff(0, std::ios::end, std::ios::in);
    if (pos <= 0) return;

    bool inLine = false;
    std::streamoff lineStart = 0;
    char chunk[256];
    while (pos > 0 && lineStart == 0) {
        const std::streamoff size = std::min<std::streamoff>(pos, sizeof chunk);
        pos -= size;
        reader.file.pubseekpos(pos, std::ios::in);
        if (readBytes(reader.file, chunk, size) != size) return;
        for (std::streamoff i = size - 1; i >= 0; --i) {
            const char c = chunk[i];
            if (!inLine) {
                inLine = c != '\n' && c != '\r' && c != ' ' && c != '\t';
            } else if (c == '\n') {
                lineStart = pos + i + 1;
                break;
            }
        }
    }
    if (!inLine) return;
    reader.file.pubseekpos(lineStart, std::ios::in);
    readLine(reader, kFullLineLimit);
}
