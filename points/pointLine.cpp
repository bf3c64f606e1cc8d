#include "points/pointLine.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "points/appState.h"
#include "points/chunkMarks.h"
#include "points/numberReading.h"
#include "points/pointFields.h"
#include "points/wordScan.h"

// The block readLine reads g_input through: the bytes [s_begin, s_end) are read from the
// file and not yet taken. It holds data only while the stream is good: a read that ends at
// the end of the file or fails drops it, so that a clear and seekg then (as the open's
// read-back of the last line does) reads from the new position.
// Room after the data lets the word-at-a-time readers look past a line's end, and the
// line walker read 64 characters from any place in the data.
static const size_t kBlockSize = 1 << 18;
static const size_t kBlockRoom = 64;
static_assert(kBlockRoom >= 64 && kBlockRoom >= 1 + LINE_TAIL_ROOM, "a line's terminator and tail fit after the block");
static char s_block[kBlockSize + kBlockRoom];
static size_t s_begin = 0, s_end = 0;
static bool s_drained = false;  // the file had nothing more after s_end
static bool s_nulStored = false;  // the last readLine stored a NUL: g_lineBuf's text ends early

static void dropBlock() {
    s_begin = s_end = 0;
    s_drained = false;
}

// Keeps the bytes not yet taken and fills the rest of the block; false at the end of the file.
static bool refillBlock() {
    if (s_drained) return false;
    const size_t kept = s_end - s_begin;
    std::memmove(s_block, s_block + s_begin, kept);
    s_begin = 0;
    s_end = kept;
    const std::streamsize got =
        g_input.rdbuf()->sgetn(s_block + kept, static_cast<std::streamsize>(kBlockSize - kept));
    if (got <= 0) {
        s_drained = true;
        return false;
    }
    s_end += static_cast<size_t>(got);
    return true;
}

void readLine(int limit) {
    g_lineBuf[0] = '\0';
    s_nulStored = false;
    if (limit > static_cast<int>(sizeof g_lineBuf)) limit = sizeof g_lineBuf;
    if (limit < 1 || !g_input.good()) {
        dropBlock();
        g_input.setstate(std::ios::failbit);
        return;
    }
    // A line that fits has its line feed within limit + 1 bytes: limit - 1 characters, a
    // carriage return of the line break, the line feed.
    const size_t window = static_cast<size_t>(limit) + 1;
    const char* lineFeed;
    for (;;) {
        const size_t held = s_end - s_begin;
        lineFeed = static_cast<const char*>(std::memchr(s_block + s_begin, '\n', held < window ? held : window));
        if (lineFeed || held >= window || !refillBlock()) break;
    }
    const char* start = s_block + s_begin;
    const size_t held = s_end - s_begin;
    const bool atEnd = !lineFeed && held < window;  // the rest of the file is this line
    size_t length = lineFeed ? static_cast<size_t>(lineFeed - start) : held < window ? held : window;
    // A carriage return before the line feed or the end of the file is part of the line break.
    if ((lineFeed || atEnd) && length > 0 && start[length - 1] == '\r') --length;

    if (length > static_cast<size_t>(limit - 1)) {
        // Longer than the limit: its first limit - 1 characters, and the stream fails.
        std::memcpy(g_lineBuf, start, static_cast<size_t>(limit - 1));
        g_lineBuf[limit - 1] = '\0';
        dropBlock();
        g_input.setstate(std::ios::failbit);
        return;
    }
    std::memcpy(g_lineBuf, start, length);
    g_lineBuf[length] = '\0';
    s_nulStored = std::memchr(g_lineBuf, 0, length) != nullptr;
    if (atEnd) {
        dropBlock();
        g_input.setstate(length == 0 ? std::ios::eofbit | std::ios::failbit : std::ios::eofbit);
        return;
    }
    s_begin = static_cast<size_t>(lineFeed + 1 - s_block);
}

static bool isBlank(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t') return false;
    return true;
}

// A read that failed before the end of the file: an over-long line or a read error.
static bool brokenRead() { return g_input.fail() && !g_input.eof(); }

short readDataLine(int limit) {
    if (!g_input.good()) return g_input.eof() ? LINE_END : LINE_BAD;
    readLine(limit);
    ++g_lineNumber;
    if (brokenRead()) return LINE_BAD;
    if (s_nulStored) {
        // A text file holds no NUL: the file is damaged, and no reading of it can be trusted.
        g_input.clear(std::ios::failbit);  // failed short of the end: every later call is LINE_BAD
        dropBlock();
        return LINE_NUL;
    }
    if (!isBlank(g_lineBuf)) return LINE_DATA;

    // Blank lines end the data only when nothing else follows them.
    const int blankLine = g_lineNumber;
    while (g_input.good()) {
        readLine(limit);
        ++g_lineNumber;
        if (brokenRead() || s_nulStored || !isBlank(g_lineBuf)) {
            g_input.clear(std::ios::failbit);  // failed short of the end: every later call is LINE_BAD too
            dropBlock();
            g_lineNumber = blankLine;
            g_lineBuf[0] = '\0';
            return LINE_BAD;
        }
    }
    g_lineNumber = blankLine;
    g_lineBuf[0] = '\0';
    return LINE_END;
}

short nextDataLine(int limit, const char** line, size_t* length) {
    // The common line: whole in the block, within the limit, not blank and free of NULs
    // (readLine's copy would end at one). It is taken as readLine would take it, and the
    // stream stays good.
    if (limit > static_cast<int>(sizeof g_lineBuf)) limit = sizeof g_lineBuf;
    const char* start = s_block + s_begin;
    const size_t held = s_end - s_begin;
    const size_t window = limit > 1 ? static_cast<size_t>(limit) + 1 : 0;
    const char* lineFeed = findByte(start, held < window ? held : window, '\n');
    if (lineFeed && lineFeed > start && *start != ' ' && *start != '\t') {
        size_t characters = static_cast<size_t>(lineFeed - start);
        if (start[characters - 1] == '\r') --characters;
        if (characters > 0 && characters <= static_cast<size_t>(limit - 1) && !findByte(start, characters, 0)) {
            s_begin = static_cast<size_t>(lineFeed + 1 - s_block);
            ++g_lineNumber;
            *line = start;
            *length = characters;
            return LINE_DATA;
        }
    }
    // Anything else goes the whole way, and a data line is copied where it has room after it.
    static char copy[sizeof g_lineBuf + LINE_TAIL_ROOM];
    const short outcome = readDataLine(limit);
    if (outcome != LINE_DATA) return outcome;
    *length = std::strlen(g_lineBuf);
    std::memcpy(copy, g_lineBuf, *length + 1);
    *line = copy;
    return LINE_DATA;
}

// takeDataLines' walk: the held bytes 64 at a time, a line taken at its line feed when it
// is not empty, not over the limit, does not start with a blank and holds no NUL. Commas
// are counted a chunk at a time, and those of the line the walk stops in taken off again.
template <bool countCommas>
static long long walkDataLines(size_t longest, long long maxLines, long long* commas) {
    const char* const end = s_block + s_end;
    const char* lineStart = s_block + s_begin;
    long long taken = 0;
    long long commasBefore = 0;  // in the held bytes before the chunk
    long long commasToLine = 0;  // in the held bytes before lineStart
    uint64_t lineNuls = 0;       // NULs in the part of the line before the chunk
    for (const char* chunk = lineStart; chunk < end; chunk += 64) {
        const ChunkMarks marks = chunkMarks(chunk);
        const uint64_t inside = end - chunk >= 64 ? ~uint64_t(0) : (uint64_t(1) << (end - chunk)) - 1;
        uint64_t lineFeeds = marks.lineFeeds & inside;
        const uint64_t nulBits = marks.nuls & inside;
        uint64_t lineBits = ~uint64_t(0);  // the chunk's bits from lineStart on
        bool stop = false;
        for (; lineFeeds; lineFeeds &= lineFeeds - 1) {
            const uint64_t throughFeed = lineFeeds ^ (lineFeeds - 1);
            const char* const lineFeed = chunk + __builtin_ctzll(lineFeeds);
            const size_t bytes = static_cast<size_t>(lineFeed - lineStart);  // a carriage return included
            const char first = *lineStart;
            // 2 to longest bytes hold a character whatever the last one is, and fit.
            if (bytes - 2 > longest - 2 || first == ' ' || first == '\t' || (lineNuls | (nulBits & lineBits & throughFeed))) {
                const size_t characters = bytes > 0 && lineFeed[-1] == '\r' ? bytes - 1 : bytes;
                if (characters == 0 || characters > longest || first == ' ' || first == '\t' || lineNuls ||
                    (nulBits & lineBits & throughFeed)) {
                    stop = true;
                    break;
                }
            }
            lineStart = lineFeed + 1;
            lineBits = ~throughFeed;
            lineNuls = 0;
            if (++taken == maxLines) {
                stop = true;
                break;
            }
        }
        const uint64_t commaBits = marks.commas & inside;
        if (stop || end - chunk <= 64 || chunk + 64 - lineStart > static_cast<ptrdiff_t>(longest) + 1) {
            // The walk ends in this chunk, at lineStart: the line there is left whole.
            if (countCommas && lineStart >= chunk) commasToLine = commasBefore + bitsSet(commaBits & ~lineBits);
            break;
        }
        if (countCommas) {
            if (lineStart >= chunk) commasToLine = commasBefore + bitsSet(commaBits & ~lineBits);
            commasBefore += bitsSet(commaBits);
        }
        lineNuls |= nulBits & lineBits;
    }
    s_begin = static_cast<size_t>(lineStart - s_block);
    if (countCommas) *commas += commasToLine;
    return taken;
}

long long takeDataLines(int limit, long long maxLines, long long* commas) {
    if (limit > static_cast<int>(sizeof g_lineBuf)) limit = sizeof g_lineBuf;
    if (limit < 3 || maxLines <= 0) return 0;  // the walk's length test needs room for 2 characters
    const size_t longest = static_cast<size_t>(limit - 1);
    const long long taken =
        commas ? walkDataLines<true>(longest, maxLines, commas) : walkDataLines<false>(longest, maxLines, nullptr);
    g_lineNumber += static_cast<int>(taken);
    return taken;
}

const char* heldBytes(size_t* held) {
    *held = s_end - s_begin;
    return s_block + s_begin;
}

void takeHeldLine(size_t bytes) {
    s_begin += bytes;
    ++g_lineNumber;
}

void takeHeldLines(size_t bytes, long long lines) {
    s_begin += bytes;
    g_lineNumber += static_cast<int>(lines);
}

// Spreadsheets start a UTF-8 file with a byte-order mark; it belongs to no field.
static void skipByteOrderMark() {
    static const char mark[] = "\xEF\xBB\xBF";
    char start[3] = {0, 0, 0};
    g_input.read(start, 3);
    if (g_input.gcount() == 3 && std::memcmp(start, mark, 3) == 0) return;
    g_input.clear();
    g_input.seekg(0);
}

bool startPass() {
    if (g_input.is_open()) g_input.close();
    g_input.clear();
    dropBlock();
    g_lineNumber = 0;
    // Only a plain file: a folder would read as empty, and opening a pipe waits for a writer.
    std::error_code error;
    if (std::filesystem::status(g_inputPath, error).type() != std::filesystem::file_type::regular) return false;
    g_input.open(g_inputPath, std::ios::in | std::ios::binary);
    if (!g_input.is_open()) {
        g_input.clear();
        return false;
    }
    skipByteOrderMark();
    if (g_skipHeader == 1) {
        readLine(128);
        g_lineNumber = 1;
    }
    return true;
}

// Copies the text from start to end into a scratch text of g_lineBuf's size.
static void copyField(char* to, const char* start, const char* end) {
    const size_t length = static_cast<size_t>(end - start);
    std::memcpy(to, start, length);
    to[length] = '\0';
}

bool parsePointLine() {
    const int layout = g_fieldCount >= 5 ? 5 : (g_fieldCount >= 3 ? 3 : 2);
    const int commasNeeded = layout == 5 ? 4 : layout - 1;
    // One scan without a branch on the text: at[k] is left at the (k+1)th comma, and end
    // at the end of the line.
    char* at[sizeof g_lineBuf];
    int found = 0;
    char* end = g_lineBuf;
    for (; *end; ++end) {
        at[found] = end;
        found += *end == ',';
    }
    if (found < commasNeeded) return false;
    char* const* commas = at;

    // Field 5 stays attached to field 4: its comma is not cut.
    const int cuts = layout == 5 ? 3 : layout - 1;
    for (int i = 0; i < cuts; ++i) *commas[i] = '\0';
    g_field1 = g_lineBuf;
    g_field2 = commas[0] + 1;
    if (layout >= 3) g_field3 = commas[1] + 1;
    if (layout == 5) g_field4 = commas[2] + 1;
    const char* fieldEnd[4] = {commas[0], cuts >= 2 ? commas[1] : end, cuts >= 3 ? commas[2] : end, end};

    int xField, yField, zField = -1;  // field indexes from 0
    if (layout == 5) {
        xField = 1;
        yField = 2;
        zField = 3;
    } else {
        xField = 0;
        yField = 1;
        if (layout == 3) zField = 2;
    }
    if (g_swapXY == 1) {
        const int other = xField;
        xField = yField;
        yField = other;
    }
    char* const fieldStart[4] = {g_field1, g_field2, layout >= 3 ? g_field3 : end, layout == 5 ? g_field4 : end};
    // Every field lies inside g_lineBuf, so it fits the scratch texts of the same size.
    copyField(g_xText, fieldStart[xField], fieldEnd[xField]);
    copyField(g_yText, fieldStart[yField], fieldEnd[yField]);

    g_x = readCoordinate(g_xText);
    g_y = readCoordinate(g_yText);
    if (zField >= 0) {
        copyField(g_zText, fieldStart[zField], fieldEnd[zField]);
        g_elevation = readElevation(g_zText, g_zText + (fieldEnd[zField] - fieldStart[zField]));
    }
    return true;
}
