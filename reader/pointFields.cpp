#include "reader/pointFields.h"

#include <cstdint>
#include <cstring>

#include "reader/byteMarks.h"
#include "reader/lineLimits.h"

namespace {

// The places of the first four commas, and the count of all of them.
inline int findCommas(const char* line, size_t length, size_t at[4]) {
    int found = 0;
    for (size_t i = 0; i < length; i += 8) {
        uint64_t marks = bytesEqual(loadWord(line + i), ',') & maskBefore(line + i, line + length);
        for (; marks; marks &= marks - 1) {
            if (found < 4) at[found] = i + static_cast<size_t>(bytesBefore(marks));
            ++found;
        }
    }
    return found;
}

}  // namespace

int countLineCommas(const char* line, size_t length) {
    int found = 0;
    for (size_t i = 0; i < length; i += 8)
        found += bytesMarked(bytesEqual(loadWord(line + i), ',') & maskBefore(line + i, line + length));
    return found;
}

namespace {

// A coordinate field in the plain form, the whole coordinate's fast path and perhaps a
// point and up to 7 more digits: its whole value, and the character after the field, or
// nullptr for any other field.
SKERROW_INLINE const char* cutPlainCoordinate(const char* text, double* value) {
    uint64_t digits;
    const int count = wholeCoordinateFastPath<FieldKind::Plain>(text, &digits);
    if (count == 0) return nullptr;
    const char* p = text + count;
    if (*p == '.') {
        ++p;
        p += bytesBefore(nonDigits(loadWord(p)));
    }
    *value = static_cast<double>(digits);
    return p;
}

// A free text, such as a point number, from text to its comma: the comma's place, or
// nullptr when a NUL comes first or no comma comes before end.
const char* freeFieldEnd(const char* text, const char* end) {
    for (const char* at = text; at < end; at += 8) {
        const uint64_t word = loadWord(at);
        const uint64_t commas = bytesEqual(word, ',') & maskBefore(at, end);
        const uint64_t stops = commas | (bytesEqual(word, 0) & maskBefore(at, end));
        if (stops) return (stops & -stops) == (commas & -commas) ? at + bytesBefore(stops) : nullptr;
    }
    return nullptr;
}

// The common line, read from its start: X, Y and the elevation in the plain form, and in
// a 5-field line a point number and a description of any text without a NUL around them.
// The fields' places follow from reading the numbers and the commas between them are
// just separators, so that only the free texts are scanned. Returns the character after
// the last field, which the caller must find to be the line's end, the end itself (which
// a 5-field line needs) before its line break or terminator; nullptr, with fields partly
// filled, for any other line. Between the free texts it reads on only over characters of
// the forms it takes, at most 16 past the one it stops at.
template <int layout>
const char* cutPlainLineOf(const char* line, const char* end, bool swap, PointFields* fields) {
    const char* first = line;
    if (layout == 5) {
        const char* comma = freeFieldEnd(line, end);
        if (!comma) return nullptr;
        first = comma + 1;
    }
    double firstValue, secondValue;
    const char* p = cutPlainCoordinate(first, &firstValue);
    if (!p || *p != ',') return nullptr;
    const char* const secondText = p + 1;
    p = cutPlainCoordinate(secondText, &secondValue);
    if (!p) return nullptr;
    fields->xText = swap ? secondText : first;
    fields->xLength = static_cast<size_t>(swap ? p - secondText : secondText - 1 - first);
    fields->yText = swap ? first : secondText;
    fields->yLength = static_cast<size_t>(swap ? secondText - 1 - first : p - secondText);
    fields->x = swap ? secondValue : firstValue;
    fields->y = swap ? firstValue : secondValue;
    if (layout == 2) {
        fields->commas = 1;
        fields->zText = p;
        fields->zLength = 0;
        fields->zValue = 0.0;
        fields->elevation = 0.0f;
        return p;
    }
    if (*p != ',') return nullptr;
    const char* const zText = p + 1;
    p = readShortDecimal(zText, &fields->zValue);
    if (!p) return nullptr;
    fields->commas = 2;
    fields->zText = zText;
    fields->zLength = static_cast<size_t>(p - zText);
    fields->elevation = narrowElevation(fields->zValue);
    if (layout == 5) {
        // The description runs to the end of the line; its commas count with the four.
        int freeCommas = 0;
        if (p >= end || *p != ',' || !countTextCommas(p + 1, end, &freeCommas)) return nullptr;
        fields->commas = 4 + freeCommas;
        return end;
    }
    return p;
}

// cutPlainLineOf for the layout, each compiled with its field count fixed.
inline const char* cutPlainLine(const char* line, const char* end, const PointLayout& layout, PointFields* fields) {
    if (layout.fieldCount == 3) return cutPlainLineOf<3>(line, end, layout.swapXY, fields);
    return layout.fieldCount >= 5 ? cutPlainLineOf<5>(line, end, layout.swapXY, fields)
                                  : cutPlainLineOf<2>(line, end, layout.swapXY, fields);
}

}  // namespace

bool cutPointFields(const char* line, size_t length, const PointLayout& pointLayout, PointFields* fields) {
    if (cutPlainLine(line, line + length, pointLayout, fields) == line + length) return true;
    const int layout = pointLayout.fieldCount >= 5 ? 5 : (pointLayout.fieldCount >= 3 ? 3 : 2);
    size_t at[4];
    fields->commas = findCommas(line, length, at);
    if (fields->commas < commasNeeded(pointLayout)) return false;

    // The last field a layout reads runs to the end of the line, further commas and all;
    // in a 5-field line the elevation ends at the description.
    const char* const end = line + length;
    const char* start[4] = {line, line + at[0] + 1, end, end};
    const char* stop[4] = {line + at[0], end, end, end};
    if (layout >= 3) {
        stop[1] = line + at[1];
        start[2] = line + at[1] + 1;
    }
    if (layout == 5) {
        stop[2] = line + at[2];
        start[3] = line + at[2] + 1;
        stop[3] = line + at[3];
    }
    int xField = layout == 5 ? 1 : 0;
    int yField = xField + 1;
    if (pointLayout.swapXY) {
        const int other = xField;
        xField = yField;
        yField = other;
    }
    fields->xText = start[xField];
    fields->xLength = static_cast<size_t>(stop[xField] - start[xField]);
    fields->yText = start[yField];
    fields->yLength = static_cast<size_t>(stop[yField] - start[yField]);
    fields->x = readWholeCoordinate<FieldKind::Any>(fields->xText, fields->xLength);
    fields->y = readWholeCoordinate<FieldKind::Any>(fields->yText, fields->yLength);
    if (layout == 2) {
        fields->zText = end;
        fields->zLength = 0;
        fields->zValue = 0.0;
        fields->elevation = 0.0f;
        return true;
    }
    const int zField = layout == 5 ? 3 : 2;
    fields->zText = start[zField];
    fields->zLength = static_cast<size_t>(stop[zField] - start[zField]);
    fields->elevation = readElevationField<FieldKind::Any>(fields->zText, fields->zLength, &fields->zValue);
    return true;
}

LineOutcome nextPointLine(LineReader& reader, int limit, const PointLayout& layout, PointFields* fields, bool* cut) {
    if (limit > static_cast<int>(kLineBufferSize)) limit = kLineBufferSize;
    // A plain line whole in the held bytes is cut where it stands. The line feed is found
    // first, so that where the next line starts does not wait for this one's numbers.
    size_t held;
    const char* line = heldBytes(reader, &held);
    const size_t window = static_cast<size_t>(limit) + 1;
    const char* lineFeed = limit > 1 ? findByte(line, held < window ? held : window, '\n') : nullptr;
    if (lineFeed) {
        const char* end = lineFeed > line && lineFeed[-1] == '\r' ? lineFeed - 1 : lineFeed;
        // A line the plain form takes holds digits and no NUL: it is data, and stored whole.
        if (end > line && end - line <= limit - 1 && cutPlainLine(line, end, layout, fields) == end) {
            takeHeldLines(reader, static_cast<size_t>(lineFeed + 1 - line), 1);
            *cut = true;
            return LineOutcome::Data;
        }
    }
    const char* text;
    size_t length;
    const LineOutcome outcome = nextDataLine(reader, limit, &text, &length);
    if (outcome == LineOutcome::Data) *cut = cutPointFields(text, length, layout, fields);
    return outcome;
}
