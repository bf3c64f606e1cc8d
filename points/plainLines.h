// Runs of plain point lines, found 64 characters at a time where they stand in the block
// read ahead. A plain line holds only digits, points, minus signs and commas (a carriage
// return just before its line feed aside), has exactly the commas of its layout and fits
// the limit. Such a line is data by every rule of the passes, and its fields lie between
// its commas, so a pass can read just the fields it needs. Every other line is left for
// nextPointLine, which tells what it is.
#ifndef SKERROW_POINTS_PLAINLINES_H
#define SKERROW_POINTS_PLAINLINES_H

#include <cstddef>
#include <cstdint>

#include "points/numberReading.h"
#include "points/plainDecimal.h"
#include "points/pointFields.h"
#include "points/pointLine.h"
#include "points/wideMarks.h"

// A plain line: its text without the line break, and its first and last commas (the same
// one in a line of one comma).
struct PlainLine {
    const char* text;
    size_t length;
    const char* firstComma;
    const char* lastComma;
};

// bits has exactly count bits set.
template <int count>
inline bool hasBitCount(uint64_t bits) {
    for (int i = 0; i < count; ++i) {
        if (!bits) return false;
        bits &= bits - 1;
    }
    return bits == 0;
}

// takePlainLines' walk. Each 64-character chunk starts where the line in hand starts, so
// that every line it takes lies whole in its chunk; a line of 64 characters or more, or
// one that runs on past the held bytes, ends the walk. With passing, while *passOver is
// above 0 a line is only passed over, and counted off it: any line of plain characters
// that is not empty and fits the limit will do, whatever its commas; take then returns
// how many lines to pass over after its line, or -1 to leave it. Marks is the form of the
// marks (see wideMarks.h); walkPlainLinesWidest picks it.
template <class Marks, int commas, bool passing, class Take>
__attribute__((always_inline)) inline long long walkPlainLines(size_t longest, Take& take, int* passOver) {
    size_t held;
    const char* const begin = heldBytes(&held);
    const char* const end = begin + held;
    const char* lineStart = begin;
    long long taken = 0;
    int pass = passing ? *passOver : 0;
    bool stopped = false;
    while (!stopped && lineStart < end) {
        const char* const chunk = lineStart;
        const PlainMarks marks = Marks::of(chunk);
        uint64_t lineFeeds = end - chunk >= 64 ? marks.lineFeeds : marks.lineFeeds & ((uint64_t(1) << (end - chunk)) - 1);
        if (!lineFeeds) break;
        uint64_t lineBits = ~uint64_t(0);  // the chunk's bits from lineStart on
        do {
            const uint64_t throughFeed = lineFeeds ^ (lineFeeds - 1);
            const uint64_t lineMask = lineBits & (throughFeed >> 1);
            const char* const feed = chunk + __builtin_ctzll(lineFeeds);
            const uint64_t commaBits = marks.commas & lineMask;
            size_t characters = static_cast<size_t>(feed - lineStart);
            uint64_t others = marks.others & lineMask;
            // A carriage return just before the line feed belongs to the line break.
            if (others && others == ((throughFeed >> 1) & ~(throughFeed >> 2)) && feed[-1] == '\r') {
                others = 0;
                --characters;
            }
            if (passing && pass > 0) {
                if (others || characters - 1 >= longest) {
                    stopped = true;
                    break;
                }
                --pass;
            } else {
                if (others || characters - 1 >= longest || !hasBitCount<commas>(commaBits)) {
                    stopped = true;
                    break;
                }
                PlainLine line;
                line.text = lineStart;
                line.length = characters;
                line.firstComma = chunk + __builtin_ctzll(commaBits);
                line.lastComma = chunk + 63 - __builtin_clzll(commaBits);
                if constexpr (passing) {
                    const int next = take(line);
                    if (next < 0) {
                        stopped = true;
                        break;
                    }
                    pass = next;
                } else if (!take(line)) {
                    stopped = true;
                    break;
                }
            }
            ++taken;
            lineStart = feed + 1;
            lineBits = ~throughFeed;
            lineFeeds &= lineFeeds - 1;
        } while (lineFeeds);
    }
    if (passing) *passOver = pass;
    takeHeldLines(static_cast<size_t>(lineStart - begin), taken);
    return taken;
}

#if defined(SKERROW_WIDE_MARKS)
template <int commas, bool passing, class Take>
__attribute__((target("avx2"))) long long walkPlainLinesAvx2(size_t longest, Take& take, int* passOver) {
    return walkPlainLines<Avx2Marks, commas, passing>(longest, take, passOver);
}
template <int commas, bool passing, class Take>
__attribute__((target("avx512f,avx512bw"))) long long walkPlainLinesAvx512(size_t longest, Take& take,
                                                                          int* passOver) {
    return walkPlainLines<Avx512Marks, commas, passing>(longest, take, passOver);
}
#endif

// walkPlainLines in the form for g_markWidth.
template <int commas, bool passing, class Take>
long long walkPlainLinesWidest(size_t longest, Take& take, int* passOver) {
#if defined(SKERROW_WIDE_MARKS)
    if (g_markWidth == 64) return walkPlainLinesAvx512<commas, passing>(longest, take, passOver);
    if (g_markWidth == 32) return walkPlainLinesAvx2<commas, passing>(longest, take, passOver);
#endif
    return walkPlainLines<NarrowMarks, commas, passing>(longest, take, passOver);
}

// Hands the plain lines of 1 or 2 commas (commas) that stand whole in the block read
// ahead to take, in order, as nextPointLine(limit) would read them; take returns false to
// leave its line, and the walk stops there. Returns how many lines were taken; the
// stream is then at the first line not taken, and g_lineNumber counts the taken ones.
// take may not read the stream itself.
template <class Take>
long long takePlainLines(int limit, int commas, Take&& take) {
    if (limit > 128) limit = 128;
    if (limit < 2) return 0;
    const size_t longest = static_cast<size_t>(limit - 1);
    if (commas == 2) return walkPlainLinesWidest<2, false>(longest, take, nullptr);
    return commas == 1 ? walkPlainLinesWidest<1, false>(longest, take, nullptr) : 0;
}

// takePlainLines for a pass that reads only some lines: while *passOver is above 0 the
// next line is passed over as nextDataLine(limit) would read it, if it holds only plain
// characters (its commas are not looked at), and *passOver counts it off; the others go
// to take, which returns the lines to pass over after its own, or -1 to leave it.
template <class Take>
long long takePlainLinesPassing(int limit, int commas, int* passOver, Take&& take) {
    if (limit > 128) limit = 128;
    if (limit < 2) return 0;
    const size_t longest = static_cast<size_t>(limit - 1);
    if (commas == 2) return walkPlainLinesWidest<2, true>(longest, take, passOver);
    return commas == 1 ? walkPlainLinesWidest<1, true>(longest, take, passOver) : 0;
}

// The whole part of a plain line's coordinate field when it is the common kind: 1 to 9
// digits, not all of them zeros, read as readPlainWholeField reads them. Any other (a sign, no
// leading digit, zero, 10 digits or more) gives 0, for the pass to leave the line to the
// general reading.
__attribute__((always_inline)) inline int plainWhole(const char* text) {
    uint64_t digits;
    const int count = digitRun(text, &digits);
    return count >= 1 && count <= 9 ? static_cast<int>(digits) : 0;
}

// The whole parts of a plain line's X and Y (swap: X is the second field) and, with
// elevations, its elevation, as nextPointLine reads them. False when X or Y is not the
// common kind (see plainWhole) or the elevation not in the short decimal form, for the
// pass to read the line the general way.
template <bool swap, bool elevations>
__attribute__((always_inline)) inline bool plainLineWholes(const PlainLine& line, int* x, int* y, float* elevation) {
    const char* const second = line.firstComma + 1;
    *x = plainWhole(swap ? second : line.text);
    *y = plainWhole(swap ? line.text : second);
    if (*x == 0 || *y == 0) return false;
    *elevation = 0.0f;
    if (elevations) {
        double value;
        if (!readPlainDecimal(line.lastComma + 1, &value)) return false;
        *elevation = narrowElevation(value);
    }
    return true;
}

// The fields of a plain line of 2 or 3 fields (g_fieldCount), with g_swapXY, as
// cutPointFields finds them; no value is read (x, y, zValue and elevation are 0).
PointFields plainLineFields(const PlainLine& line);

// plainLineFields with every value read, as cutPointFields reads them.
PointFields plainLinePoint(const PlainLine& line);

#endif
