// Copies of every point, or of those in a rectangle, in the file's own field order with a
// gap of one character: the writer's most common output. A plain line's copy is the line
// itself with the gap where its commas were and the line end after it, so runs of plain
// lines are copied straight out of the block read ahead, a 64-character chunk of lines at
// a time, reading no value but the whole X and Y a rectangle needs and an elevation whose
// first characters do not rule out the no-data band.
#ifndef SKERROW_OUTPUT_PLAINCOPYRUN_H
#define SKERROW_OUTPUT_PLAINCOPYRUN_H

#include <cstdint>
#include <cstring>

#include "app/areaSelection.h"
#include "output/outputLine.h"
#include "points/numberReading.h"
#include "points/plainLines.h"
#include "points/pointFields.h"
#include "points/pointLine.h"

// The elevation text from z to end reads as a value in the no-data band.
inline bool plainElevationHasNoData(const char* z, const char* end) {
    PointFields point;
    point.elevation = narrowElevation(readDecimalField(z, static_cast<size_t>(end - z)));
    return isNoDataPoint(point);
}

// The whole X and Y of a plain line in the file's field order, as readPlainWholeField reads
// them: X from text to the first comma, Y from there to yEnd.
inline void plainWholeXY(const char* text, const char* firstComma, const char* yEnd, double* x, double* y) {
    *x = readPlainWholeField(text, static_cast<size_t>(firstComma - text));
    *y = readPlainWholeField(firstComma + 1, static_cast<size_t>(yEnd - firstComma - 1));
}

// Writes the copies of the plain lines of commas commas (1 or 2) at the stream's place
// from out on, as takePlainLines would hand them over, while out stays at or below
// outLimit (which leaves OUTPUT_LINE_MAX of room); lines of an elevation in the no-data
// band are taken and not written. *count counts the lines written. Returns the end of the
// output; the stream is then at the first line not taken, which nextPointLine reads.
// With rectangle, only the lines whose whole X and Y lie in the selected rectangle are
// written: each line is copied and then kept or not, so that the test, true or false as
// the points fall, costs no jump. Marks is the form of the marks (see wideMarks.h);
// copyPlainRunWidest picks it.
template <class Marks, int commas, bool rectangle>
__attribute__((always_inline)) inline char* copyPlainRun(char* out, const char* outLimit, char gap, int* count) {
    size_t held;
    const char* const begin = heldBytes(&held);
    const char* const end = begin + held;
    const char* lineStart = begin;
    long long taken = 0;
    int written = 0;
    bool stopped = false;
    // Each chunk starts at the line in hand, so its lines lie whole in it: shorter than
    // 64 characters, and so within every pass's limit. The lines of one chunk write at
    // most 64 characters and a carriage return each, and each copy stores 64 characters
    // from its start: OUTPUT_LINE_MAX of room covers that.
    while (!stopped && lineStart < end && out <= outLimit) {
        const char* const chunk = lineStart;
        const PlainMarks marks = Marks::of(chunk);
        uint64_t lineFeeds =
            end - chunk >= 64 ? marks.lineFeeds : marks.lineFeeds & ((uint64_t(1) << (end - chunk)) - 1);
        if (!lineFeeds) break;
        unsigned startBit = 0;
        do {
            const unsigned feedBit = static_cast<unsigned>(__builtin_ctzll(lineFeeds));
            const uint64_t lineMask = ((uint64_t(1) << feedBit) - 1) & ~((uint64_t(1) << startBit) - 1);
            size_t characters = feedBit - startBit;
            if (const uint64_t others = marks.others & lineMask) {
                // A carriage return just before the line feed belongs to the line break.
                if (others != uint64_t(1) << (feedBit - 1) || chunk[feedBit - 1] != '\r') {
                    stopped = true;
                    break;
                }
                --characters;
            }
            const uint64_t commaBits = marks.commas & lineMask;
            if (characters == 0 || !hasBitCount<commas>(commaBits)) {
                stopped = true;
                break;
            }
            const char* const text = chunk + startBit;
            const char* const firstComma = chunk + __builtin_ctzll(commaBits);
            const char* const lastComma = chunk + 63 - __builtin_clzll(commaBits);
            if (commas == 1 || !mayBeNoData(lastComma + 1) || !plainElevationHasNoData(lastComma + 1, text + characters)) {
                // The 64 characters from the line's start are readable: the block has that
                // much room after its last line.
                for (int i = 0; i < 64; i += 16) std::memcpy(out + i, text + i, 16);
                out[firstComma - text] = gap;
                out[lastComma - text] = gap;
                std::memcpy(out + characters, OUTPUT_LINE_END, 2);
                bool kept = true;
                if (rectangle) {
                    double x, y;
                    plainWholeXY(text, firstComma, commas == 2 ? lastComma : text + characters, &x, &y);
                    kept = (g_selMinX <= x) & (x <= g_selMaxX) & (g_selMinY <= y) & (y <= g_selMaxY);
                }
                out += kept ? characters + 2 : 0;
                written += kept;
            }
            ++taken;
            startBit = feedBit + 1;
            lineFeeds &= lineFeeds - 1;
        } while (lineFeeds);
        lineStart = chunk + startBit;
    }
    takeHeldLines(static_cast<size_t>(lineStart - begin), taken);
    *count += written;
    return out;
}

#if defined(SKERROW_WIDE_MARKS)
template <int commas, bool rectangle>
__attribute__((target("avx2"))) char* copyPlainRunAvx2(char* out, const char* outLimit, char gap, int* count) {
    return copyPlainRun<Avx2Marks, commas, rectangle>(out, outLimit, gap, count);
}
template <int commas, bool rectangle>
__attribute__((target("avx512f,avx512bw"))) char* copyPlainRunAvx512(char* out, const char* outLimit, char gap,
                                                                    int* count) {
    return copyPlainRun<Avx512Marks, commas, rectangle>(out, outLimit, gap, count);
}
#endif

// copyPlainRun in the form for g_markWidth.
template <int commas, bool rectangle>
char* copyPlainRunWidest(char* out, const char* outLimit, char gap, int* count) {
#if defined(SKERROW_WIDE_MARKS)
    if (g_markWidth == 64) return copyPlainRunAvx512<commas, rectangle>(out, outLimit, gap, count);
    if (g_markWidth == 32) return copyPlainRunAvx2<commas, rectangle>(out, outLimit, gap, count);
#endif
    return copyPlainRun<NarrowMarks, commas, rectangle>(out, outLimit, gap, count);
}

#endif
