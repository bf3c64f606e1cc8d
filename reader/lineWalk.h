// The walk over the lines a reader holds read ahead, 64 characters at a time: written once
// for every pass, as a template over the form of the byte marks (see byteMarks.h).
//
// Each 64-character chunk starts where the line in hand starts, so that every line the
// walk hands over lies whole in its chunk, and its marks are the chunk's marks cut to the
// line. A line of 64 characters or more, or one that runs on past the held bytes, ends
// the walk: the line-by-line reader takes it, and the walk may go on after it.
#ifndef SKERROW_READER_LINEWALK_H
#define SKERROW_READER_LINEWALK_H

#include <cstddef>
#include <cstdint>

#include "reader/bits.h"
#include "reader/byteMarks.h"
#include "reader/lineReader.h"

// A line of the held bytes, without its line feed, and its marks as bits of its chunk.
struct LineSpan {
    const char* text;
    const char* chunk;  // bit i of the marks stands for chunk[i]
    size_t bytes;       // to the line feed, a carriage return before it included
    uint64_t commas;
    uint64_t nuls;
    uint64_t others;  // characters other than digits, points, minus signs and commas
};

// What the walk does with a line: takes it and goes on, takes it as the last, or leaves
// it (and every line after it) to the line-by-line reader.
enum class WalkStep { Next, Last, Leave };

// Hands each line that ends in the held bytes to onLine, in order, until onLine leaves
// one or the lines run out; the lines taken are taken from the reader (lineNumber counts
// them). Returns how many were taken.
template <class Marks, class OnLine>
SKERROW_INLINE long long walkLines(LineReader& reader, OnLine&& onLine) {
    size_t held;
    const char* const begin = heldBytes(reader, &held);
    const char* const end = begin + held;
    const char* lineStart = begin;
    long long taken = 0;
    bool stopped = false;
    while (!stopped && lineStart < end) {
        const char* const chunk = lineStart;
        const ByteMarks marks = Marks::of(chunk);
        uint64_t lineFeeds = marks.lineFeeds & lowBits(static_cast<int>(end - chunk < 64 ? end - chunk : 64));
        if (!lineFeeds) break;
        uint64_t fromLine = ~uint64_t(0);  // the chunk's bits from lineStart on
        do {
            const uint64_t throughFeed = throughLowestBit(lineFeeds);
            const uint64_t lineMask = fromLine & (throughFeed >> 1);
            const char* const feed = chunk + lowestBit(lineFeeds);
            const LineSpan span = {lineStart,
                                   chunk,
                                   static_cast<size_t>(feed - lineStart),
                                   marks.commas & lineMask,
                                   marks.nuls & lineMask,
                                   marks.others & lineMask};
            const WalkStep step = onLine(span);
            if (step == WalkStep::Leave) {
                stopped = true;
                break;
            }
            ++taken;
            lineStart = feed + 1;
            if (step == WalkStep::Last) {
                stopped = true;
                break;
            }
            fromLine = ~throughFeed;
            lineFeeds = withoutLowestBit(lineFeeds);
        } while (lineFeeds);
    }
    takeHeldLines(reader, static_cast<size_t>(lineStart - begin), taken);
    return taken;
}

// The characters of a line without a carriage return just before its line feed, which
// belongs to the line break.
SKERROW_INLINE size_t spanCharacters(const LineSpan& span) {
    return span.bytes > 0 && span.text[span.bytes - 1] == '\r' ? span.bytes - 1 : span.bytes;
}

// A data line by readDataLine's rules, longest characters at most: not empty, not
// starting with a blank and free of NULs.
SKERROW_INLINE bool isDataSpan(const LineSpan& span, size_t longest) {
    const size_t characters = spanCharacters(span);
    return characters - 1 < longest && span.text[0] != ' ' && span.text[0] != '\t' && !span.nuls;
}

// A line of plain characters only (digits, points, minus signs and commas, a carriage
// return before its line feed aside), not empty and of longest characters at most: such
// a line is data by every rule of the passes. *characters is its length.
SKERROW_INLINE bool isPlainSpan(const LineSpan& span, size_t longest, size_t* characters) {
    size_t count = span.bytes;
    uint64_t others = span.others;
    // A carriage return just before the line feed: the only other character, the last one.
    if (others && others == (uint64_t(1) << (span.text - span.chunk + count - 1)) && span.text[count - 1] == '\r') {
        others = 0;
        --count;
    }
    *characters = count;
    return !others && count - 1 < longest;
}

// Takes the data lines that stand whole in the block read ahead, as nextDataLine(limit)
// would take them one after another, up to maxLines of them, adding their commas to
// *commas unless commas is null; returns how many it took. Any other line is left for
// nextDataLine, as is everything once the block is used up, and every line under a limit
// below 3.
long long takeDataLines(LineReader& reader, int limit, long long maxLines, long long* commas);

#endif
