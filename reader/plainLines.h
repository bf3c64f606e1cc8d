// Runs of plain point lines, taken where they stand in the block read ahead. A plain line
// holds only digits, points, minus signs and commas (a carriage return just before its
// line feed aside), has exactly the commas of its layout and fits the limit: such a line
// is data by every rule of the passes, and its fields lie between its commas, so a pass
// can read just the fields it needs. Every other line is left to nextPointLine.
#ifndef SKERROW_READER_PLAINLINES_H
#define SKERROW_READER_PLAINLINES_H

#include <cstddef>
#include <cstdint>

#include "reader/lineWalk.h"
#include "reader/numberReading.h"
#include "reader/pointFields.h"

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

// The whole part of a plain line's coordinate field when it is the common kind: 1 to 9
// digits, not all of them zeros, read as readPlainWholeField reads them. Any other (a
// sign, no leading digit, zero, 10 digits or more) gives 0, for the pass to leave the line
// to the general reading.
SKERROW_INLINE int plainWhole(const char* text) {
    uint64_t digits;
    const int count = digitRun(text, &digits);
    return count >= 1 && count <= 9 ? static_cast<int>(digits) : 0;
}

// The high bit of each byte below '0' in a word of a plain line's field, exact up to the
// first such byte: a field holds only digits, points and minus signs up to the comma or
// line break that ends it, so a byte below '0' is the only kind that ends its digits, and
// one addition finds it (a digit carries nothing into the byte after it).
SKERROW_INLINE uint64_t plainDigitsEnd(uint64_t word) { return ~(word + 0x5050505050505050ULL) & kHighBits; }

// readPlainDecimal of text, kept apart from the walks that inline readPlainField.
bool readPlainDecimalApart(const char* text, double* value);

// readPlainDecimal of a field of a plain line, where no exponent can follow the number.
// The common form, at most 7 digits on each side of the point, is read from two words;
// any other goes to readPlainDecimal. False, with *value untouched, where it gives
// nullptr.
SKERROW_INLINE bool readPlainField(const char* text, double* value) {
    const bool negative = *text == '-';
    const char* const p = text + (negative ? 1 : 0);
    const uint64_t word = loadWord(p);
    const int whole = bytesBefore(plainDigitsEnd(word));
    if (whole >= 1 && whole <= 7 && p[whole] == '.') {
        const uint64_t fractionWord = loadWord(p + whole + 1);
        const int decimals = bytesBefore(plainDigitsEnd(fractionWord));
        if (decimals >= 1 && decimals <= 7) {
            // At most 14 digits: exact as a signed number and as a double, and the one
            // rounded division gives strtod's double.
            const int64_t digits = static_cast<int64_t>(digitsValue(word, whole) * kPowersOfTen.whole[decimals] +
                                                        digitsValue(fractionWord, decimals));
            const double magnitude = static_cast<double>(digits) / kPowersOfTen.real[decimals];
            *value = negative ? -magnitude : magnitude;
            return true;
        }
    }
    return readPlainDecimalApart(text, value);
}

// The whole parts of a plain line's X and Y and, for a form with elevations, its
// elevation, as nextPointLine reads them. False when X or Y is not the common kind (see
// plainWhole) or the elevation not in the short decimal form, for the pass to read the
// line the general way.
template <class Form>
SKERROW_INLINE bool plainLineWholes(const PlainLine& line, int* x, int* y, float* elevation) {
    const char* const second = line.firstComma + 1;
    *x = plainWhole(Form::swap ? second : line.text);
    *y = plainWhole(Form::swap ? line.text : second);
    if (*x == 0 || *y == 0) return false;
    *elevation = 0.0f;
    if (Form::elevations) {
        double value;
        if (!readPlainField(line.lastComma + 1, &value)) return false;
        *elevation = narrowElevation(value);
    }
    return true;
}

// The whole X and Y of a plain line in the file's field order, as readPlainWholeField
// reads them: X from text to the first comma, Y from there to yEnd.
SKERROW_INLINE void plainWholeXY(const char* text, const char* firstComma, const char* yEnd, double* x, double* y) {
    *x = readPlainWholeField(text, static_cast<size_t>(firstComma - text));
    *y = readPlainWholeField(firstComma + 1, static_cast<size_t>(yEnd - firstComma - 1));
}

// The fields of a plain line of a layout of 2 or 3 fields, as cutPointFields finds them;
// no value is read (x, y, zValue and elevation are 0).
PointFields plainLineFields(const PlainLine& line, const PointLayout& layout);

// plainLineFields with every value read, as cutPointFields reads them.
PointFields plainLinePoint(const PlainLine& line, const PointLayout& layout);

#endif
