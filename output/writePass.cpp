// The writer's pass. Runs of plain lines are written where they stand in the block read
// ahead, by the one route that suits the write's choices; every other line goes the
// general way, cut into its fields. Both write the very same bytes for a line.
#include "output/writePass.h"

#include "output/outputLine.h"
#include "output/writeOptions.h"
#include "points/appState.h"
#include "points/noDataBand.h"
#include "points/selectionArea.h"
#include "reader/plainLines.h"

namespace {

// Output lines gather here and go to the stream a large block at a time.
char s_lines[1 << 20];
size_t s_used = 0;

bool flushLines(std::ofstream& output) {
    output.write(s_lines, static_cast<std::streamsize>(s_used));
    s_used = 0;
    return !output.fail();
}

bool roomForLine() { return sizeof s_lines - s_used >= kOutputLineMax; }

// The selected rectangle, as the copy run holds it.
struct PlainCopyArea {
    int minX, maxX, minY, maxY;
};

// How the runs of plain lines are written, chosen once for the pass.
enum class PlainRoute {
    CopyRun,   // copies in the file's order with a one-character gap, of all points or a rectangle's
    CopyEach,  // the same for a circle's points, each tested before it is copied
    Convert,   // metres, feet or a factor, from the values read where they stand
    General,   // any other write: each line as the general way writes it
};

PlainRoute choosePlainRoute(const PointLayout& layout, const FieldGap& gap) {
    const Conversion c = g_conversion;
    if (c == Conversion::MetresToFeet || c == Conversion::FeetToMetres || c == Conversion::Factor)
        return PlainRoute::Convert;
    if (c == Conversion::None && !layout.swapXY && gap.length == 1)
        return g_selectAll == 1 || g_areaType == AreaType::Rectangle ? PlainRoute::CopyRun : PlainRoute::CopyEach;
    return PlainRoute::General;
}

// The elevation text from z to end reads as a value in the no-data band.
bool plainElevationHasNoData(const char* z, const char* end) {
    return inNoDataBand(narrowElevation(readDecimalField(z, static_cast<size_t>(end - z))));
}

// A plain line of the form's elevations is dropped for its elevation: only one whose
// first characters do not rule out the no-data band is read.
template <class Form>
SKERROW_INLINE bool plainLineHasNoData(const PlainLine& line) {
    return Form::elevations && mayBeInNoDataBand(line.lastComma + 1) &&
           plainElevationHasNoData(line.lastComma + 1, line.text + line.length);
}

// Copies of every plain line, or of those in the selected rectangle: each line is its own
// output with the gap over its commas. A rectangle's lines are copied and then kept or
// not by their whole X and Y, so that the test, true or false as the points fall, costs
// no jump. The output's end and count are locals of the walk, where the copies' stores
// cannot be taken to change them.
template <class Form, bool rectangle>
void copyPlainRun(LineReader& reader, char gap, int* count) {
    struct Copied {
        char* out;
        int written;
    };
    const PlainCopyArea area = {g_selMinX, g_selMaxX, g_selMinY, g_selMaxY};
    char* const start = s_lines + s_used;
    const char* const outLimit = s_lines + sizeof s_lines - kOutputLineMax;
    const Copied copied = withWidestMarks([&reader, gap, start, outLimit, area](auto marks) SKERROW_INLINE_LAMBDA {
        char* out = start;
        int written = 0;
        const char g = gap;
        const char* const limit = outLimit;
        const PlainCopyArea a = area;
        walkLines<decltype(marks)>(reader, [&](const LineSpan& span) SKERROW_INLINE_LAMBDA {
            PlainLine line;
            if (!plainLineOf<Form::commas>(span, kFullLineLimit - 1, &line) || out > limit) return WalkStep::Leave;
            if (plainLineHasNoData<Form>(line)) return WalkStep::Next;
            char* const end = putPlainCopyLine(out, line, g);
            bool kept = true;
            if (rectangle) {
                double x, y;
                plainWholeXY(line.text, line.firstComma, Form::elevations ? line.lastComma : line.text + line.length,
                             &x, &y);
                kept = (a.minX <= x) & (x <= a.maxX) & (a.minY <= y) & (y <= a.maxY);
            }
            out = kept ? end : out;
            written += kept;
            return WalkStep::Next;
        });
        return Copied{out, written};
    });
    s_used = static_cast<size_t>(copied.out - s_lines);
    *count += copied.written;
}

// Copies of the plain lines within the selected circle, each tested before it is copied.
template <class Form>
void copyPlainEach(LineReader& reader, char gap, int* count) {
    takePlainLines(reader, kFullLineLimit, Form{}, [&](const PlainLine& line) SKERROW_INLINE_LAMBDA {
        if (!roomForLine()) return false;
        PointFields point;
        plainWholeXY(line.text, line.firstComma, Form::elevations ? line.lastComma : line.text + line.length, &point.x,
                     &point.y);
        if (!isInsideArea(point)) return true;
        if (plainLineHasNoData<Form>(line)) return true;
        s_used = static_cast<size_t>(putPlainCopyLine(s_lines + s_used, line, gap) - s_lines);
        ++*count;
        return true;
    });
}

// Any plain line's output, as the general way would write it, reading only the values
// the output and its tests need. False, leaving the line, when the block is full.
bool writePlainLine(const PlainLine& line, const PointLayout& layout, const FieldGap& gap, int* count) {
    if (!roomForLine()) return false;
    PointFields point = plainLineFields(line, layout);
    if (g_conversion != Conversion::Move && g_selectAll != 1) {
        point.x = readPlainWholeField(point.xText, point.xLength);
        point.y = readPlainWholeField(point.yText, point.yLength);
        if (!isInsideArea(point)) return true;
    }
    if (layout.fieldCount == 3 && (g_conversion != Conversion::None || mayBeInNoDataBand(point.zText))) {
        point.zValue = readDecimalField(point.zText, point.zLength);
        point.elevation = narrowElevation(point.zValue);
        if (isNoDataPoint(point)) return true;
    }
    char* const out = s_lines + s_used;
    char* const end = g_conversion == Conversion::Move   ? putMoveLine(out, point, gap)
                      : g_conversion == Conversion::None ? putCopyLine(out, point, gap)
                                                         : putConvertLine(out, point, gap);
    s_used = static_cast<size_t>(end - s_lines);
    ++*count;
    return true;
}

// A plain line converted as writePlainLine converts it, with the short decimal form of
// all three values read where they stand; false, leaving the line to writePlainLine, when
// the block is full or a value is not in that form.
template <class Form>
SKERROW_INLINE bool convertPlainLine(const PlainLine& line, const PointLayout& layout, const FieldGap& gap,
                                     int* count) {
    if (!roomForLine()) return false;
    if (g_selectAll != 1) {
        PointFields point = plainLineFields(line, layout);
        point.x = readPlainWholeField(point.xText, point.xLength);
        point.y = readPlainWholeField(point.yText, point.yLength);
        if (!isInsideArea(point)) return true;
    }
    const char* const second = line.firstComma + 1;
    double x, y, zValue = 0.0;
    if (!readPlainDecimal(Form::swap ? second : line.text, &x) ||
        !readPlainDecimal(Form::swap ? line.text : second, &y))
        return false;
    if (Form::elevations) {
        if (!readPlainDecimal(line.lastComma + 1, &zValue)) return false;
        if (inNoDataBand(narrowElevation(zValue))) return true;
    }
    s_used = static_cast<size_t>(putConvertValues(s_lines + s_used, x, y, zValue, gap) - s_lines);
    ++*count;
    return true;
}

// Writes the run of plain lines at the reader's place by the route.
template <class Form>
void writePlainRun(LineReader& reader, PlainRoute route, const PointLayout& layout, const FieldGap& gap, int* count) {
    switch (route) {
    case PlainRoute::CopyRun:
        if (g_selectAll != 1)
            copyPlainRun<Form, true>(reader, gap.text[0], count);
        else
            copyPlainRun<Form, false>(reader, gap.text[0], count);
        return;
    case PlainRoute::CopyEach: copyPlainEach<Form>(reader, gap.text[0], count); return;
    case PlainRoute::Convert:
        takePlainLines(reader, kFullLineLimit, Form{}, [&](const PlainLine& line) SKERROW_INLINE_LAMBDA {
            return convertPlainLine<Form>(line, layout, gap, count) || writePlainLine(line, layout, gap, count);
        });
        return;
    case PlainRoute::General:
        takePlainLines(reader, kFullLineLimit, Form{},
                       [&](const PlainLine& line) { return writePlainLine(line, layout, gap, count); });
        return;
    }
}

}  // namespace

PassResult writeChosenPoints(LineReader& reader, std::ofstream& output, int* count) {
    s_used = 0;
    const PointLayout layout = pointLayout();
    const FieldGap gap = fieldGap();
    const PlainRoute route = choosePlainRoute(layout, gap);
    PassResult result = PassResult::Done;
    for (;;) {
        // Runs of plain lines where they stand; whatever they leave goes the general way.
        const bool plain =
            withPlainForm(layout, [&](auto form) { writePlainRun<decltype(form)>(reader, route, layout, gap, count); });
        if (plain && !roomForLine()) {
            if (!flushLines(output)) return PassResult::WriteFailed;
            continue;
        }
        PointFields point;
        bool cut;
        const LineOutcome read = nextPointLine(reader, kFullLineLimit, layout, &point, &cut);
        if (read == LineOutcome::End) break;
        // A line that cannot be read or split, or one with more fields than the open found
        // in every line, means the file changed since it was opened.
        if (read != LineOutcome::Data || !cut || point.commas != layout.fieldCount - 1) {
            result = PassResult::ReadFailed;
            break;
        }
        if (isNoDataPoint(point)) continue;
        char* const out = s_lines + s_used;
        char* end;
        if (g_conversion == Conversion::Move) {
            end = putMoveLine(out, point, gap);
        } else {
            if (!isInsideArea(point)) continue;
            end = g_conversion == Conversion::None ? putCopyLine(out, point, gap) : putConvertLine(out, point, gap);
        }
        s_used = static_cast<size_t>(end - s_lines);
        ++*count;
        if (!roomForLine() && !flushLines(output)) return PassResult::WriteFailed;
    }
    // The lines of a pass that stopped early are written too, as far as it got.
    if (!flushLines(output) && result == PassResult::Done) result = PassResult::WriteFailed;
    return result;
}
