// Runs of plain point lines, taken where they stand in the block read ahead. A plain line
// holds only digits, points, minus signs and commas (a carriage return just before its
// line feed aside), has exactly the commas of its layout and fits the limit: such a line
// is data by every rule of the passes, and its fields lie between its commas, so a pass
// can read just the fields it needs. Every other line is left to nextPointLine.
#ifndef SKERROW_READER_PLAINLINES_H
#define SKERROW_READER_PLAINLINES_H

#include <climits>
#include <cstddef>
#include <cstdint>

#include "reader/lineWalk.h"
#include "reader/pointFields.h"
#include "reader/valueReaders.h"

// A plain line: its text without the line break, and its first and last commas (the same
// one in a line of one comma).
struct PlainLine {
    const char* text;
    size_t length;
    const char* firstComma;
    const char* lastComma;
};

// The plain forms of the layouts, for loops compiled once for each: the commas of a line
// (1 for 2 fields, 2 for 3) and whether X and Y are swapped.
template <int commaCount, bool swapped>
struct PlainForm {
    static constexpr int commas = commaCount;
    static constexpr bool swap = swapped;
    static constexpr bool elevations = commaCount == 2;
};

// Runs body with the plain form of a layout of 2 or 3 fields; a 5-field layout has none,
// and body does not run. Returns whether it ran.
template <class Body>
bool withPlainForm(const PointLayout& layout, Body&& body) {
    if (layout.fieldCount == 3) {
        if (layout.swapXY)
            body(PlainForm<2, true>{});
        else
            body(PlainForm<2, false>{});
        return true;
    }
    if (layout.fieldCount == 2) {
        if (layout.swapXY)
            body(PlainForm<1, true>{});
        else
            body(PlainForm<1, false>{});
        return true;
    }
    return false;
}

// The span as a plain line of commas commas, longest characters at most; false for any
// other line.
template <int commas>
SKERROW_INLINE bool plainLineOf(const LineSpan& span, size_t longest, PlainLine* line) {
    size_t characters;
    if (!isPlainSpan(span, longest, &characters) || !hasBitCount<commas>(span.commas)) return false;
    line->text = span.text;
    line->length = characters;
    line->firstComma = span.chunk + lowestBit(span.commas);
    line->lastComma = span.chunk + highestBit(span.commas);
    return true;
}

// Hands the plain lines of the form's commas that stand whole in the block read ahead to
// take, in order, as nextPointLine(limit) would read them; take returns false to leave
// its line, and the walk stops there. Returns how many lines were taken; the reader is
// then at the first line not taken. take may not read the reader itself.
template <class Form, class Take>
long long takePlainLines(LineReader& reader, int limit, Form, Take&& take) {
    if (limit > static_cast<int>(kLineBufferSize)) limit = kLineBufferSize;
    if (limit < 2) return 0;
    const size_t longest = static_cast<size_t>(limit - 1);
    return withWidestMarks([&reader, &take, longest](auto marks) SKERROW_INLINE_LAMBDA {
        const size_t most = longest;  // a local of the walk, kept in a register
        return walkLines<decltype(marks)>(reader, [&](const LineSpan& span) SKERROW_INLINE_LAMBDA {
            PlainLine line;
            if (!plainLineOf<Form::commas>(span, most, &line) || !take(line)) return WalkStep::Leave;
            return WalkStep::Next;
        });
    });
}

// takePlainLines for a pass that reads only some lines: while *passOver is above 0 the
// next line is passed over as nextDataLine(limit) would read it, if it holds only plain
// characters (its commas are not looked at), and *passOver counts it off; the others go
// to take, which returns the lines to pass over after its own, or -1 to leave it.
template <class Form, class Take>
long long takePlainLinesPassing(LineReader& reader, int limit, Form, int* passOver, Take&& take) {
    if (limit > static_cast<int>(kLineBufferSize)) limit = kLineBufferSize;
    if (limit < 2) return 0;
    const size_t longest = static_cast<size_t>(limit - 1);
    struct Walked {
        long long taken;
        int pass;
    };
    const Walked walked = withWidestMarks([&reader, &take, longest, passOver](auto marks) SKERROW_INLINE_LAMBDA {
        // Locals of the walk, kept in registers.
        const size_t most = longest;
        int pass = *passOver;
        const long long taken = walkLines<decltype(marks)>(reader, [&](const LineSpan& span) SKERROW_INLINE_LAMBDA {
            if (pass > 0) {
                size_t characters;
                if (!isPlainSpan(span, most, &characters)) return WalkStep::Leave;
                --pass;
                return WalkStep::Next;
            }
            PlainLine line;
            if (!plainLineOf<Form::commas>(span, most, &line)) return WalkStep::Leave;
            const int next = take(line);
            if (next < 0) return WalkStep::Leave;
            pass = next;
            return WalkStep::Next;
        });
        return Walked{taken, pass};
    });
    *passOver = walked.pass;
    return walked.taken;
}

// The whole parts of a plain line's X and Y, as ints, and, for a form with elevations, its
// elevation, by the fast paths of their readers. False when X or Y has no such whole part,
// is 0 or does not fit an int, or when the elevation is not in the short form, for the
// pass to read the line the general way (which finds every such line's message).
template <class Form>
SKERROW_INLINE bool plainLineWholes(const PlainLine& line, int* x, int* y, float* elevation) {
    const char* const second = line.firstComma + 1;
    uint64_t xDigits, yDigits;
    if (!wholeCoordinateFastPath<FieldKind::Plain>(Form::swap ? second : line.text, &xDigits) ||
        !wholeCoordinateFastPath<FieldKind::Plain>(Form::swap ? line.text : second, &yDigits))
        return false;
    // 0, which the fast path gives for a field of zeros, wraps round to the top.
    if (xDigits - 1 >= uint64_t(INT_MAX) || yDigits - 1 >= uint64_t(INT_MAX)) return false;
    *x = static_cast<int>(xDigits);
    *y = static_cast<int>(yDigits);
    *elevation = 0.0f;
    if (Form::elevations) {
        double value;
        if (!shortDecimalFastPath<FieldKind::Plain>(line.lastComma + 1, &value)) return false;
        *elevation = narrowElevation(value);
    }
    return true;
}

// The whole X and Y of a plain line of the form, as readWholeCoordinate reads them.
template <class Form>
SKERROW_INLINE void plainLineXY(const PlainLine& line, double* x, double* y) {
    const char* const first = line.text;
    const char* const second = line.firstComma + 1;
    const char* const end = Form::elevations ? line.lastComma : line.text + line.length;
    const double firstValue =
        readWholeCoordinate<FieldKind::Plain>(first, static_cast<size_t>(line.firstComma - first));
    const double secondValue = readWholeCoordinate<FieldKind::Plain>(second, static_cast<size_t>(end - second));
    *x = Form::swap ? secondValue : firstValue;
    *y = Form::swap ? firstValue : secondValue;
}

// The fields of a plain line of a layout of 2 or 3 fields, as cutPointFields finds them;
// no value is read (x, y, zValue and elevation are 0).
PointFields plainLineFields(const PlainLine& line, const PointLayout& layout);

#endif
