// The parsing pass: every point of the file under the reading choices just made is checked
// and counted, and the X, Y and elevation ranges are gathered.
#include <climits>

#include "points/openPasses.h"
#include "points/pointChecks.h"
#include "reader/pointPass.h"

namespace {

// Every point checked, from the first data line on, until one ends the Open. The first
// line is read with the full limit and the rest with the short one; runs of plain lines
// are taken where they stand after the first.
class CheckPass {
public:
    static constexpr bool kCountsCommas = false;

    explicit CheckPass(const PointLayout& layout) : layout_(layout) {}

    int lineLimit() const { return pastFirstLine_ ? kShortLineLimit : kFullLineLimit; }
    const PointLayout& layout() const { return layout_; }
    long long linesToSkim() const { return 0; }
    void skimmed(long long, long long) {}

    template <class Form>
    bool plainRun(LineReader& reader) {
        if (!pastFirstLine_) return true;
        Ranges r = ranges_;  // a local of the walk, kept in registers
        takePlainLines(reader, kShortLineLimit, Form{},
                       [&r](const PlainLine& line) SKERROW_INLINE_LAMBDA { return addPlainPoint<Form>(r, line); });
        ranges_ = r;
        return true;
    }

    PointStep takePoint(const PointFields& point, bool cut) {
        pastFirstLine_ = true;
        stop_ = checkPoint(ranges_, point, cut, layout_);
        return stop_ == PointStop::End ? PointStep::Next : PointStep::Stop;
    }

    const Ranges& ranges() const { return ranges_; }
    PointStop stop() const { return stop_; }

private:
    const PointLayout layout_;
    bool pastFirstLine_ = false;
    Ranges ranges_;
    PointStop stop_ = PointStop::End;
};

// The refusal for a point the checks stopped at.
OpenRefusal refusalOf(PointStop stop) {
    switch (stop) {
    case PointStop::ShortLine: return OpenRefusal::ShortLine;
    case PointStop::HeaderOrZero: return OpenRefusal::HeaderOrZero;
    case PointStop::OutOfRange: return OpenRefusal::CoordinateOutOfRange;
    case PointStop::NotANumber: return OpenRefusal::CoordinateNotANumber;
    case PointStop::UnevenFields: return OpenRefusal::UnevenFields;
    case PointStop::NoElevation: return OpenRefusal::ElevationNotANumber;
    case PointStop::ElevationOutOfRange: return OpenRefusal::ElevationOutOfRange;
    default: return OpenRefusal::None;
    }
}

// The ranges of the points under the reading choices, as the line-by-line pass gathers
// them: X and Y exchanged from the unswapped ranges of the one pass.
Ranges swapped(const Ranges& r) {
    Ranges s = r;
    s.minX = r.minY;
    s.maxX = r.maxY;
    s.minY = r.minX;
    s.maxY = r.maxX;
    return s;
}

// The points' ranges, as far as they were gathered.
PointRanges pointRanges(const Ranges& r) {
    PointRanges ranges;
    ranges.minX = r.minX;
    ranges.minY = r.minY;
    ranges.maxX = r.maxX;
    ranges.maxY = r.maxY;
    ranges.minZ = r.minZ;
    ranges.maxZ = r.maxZ;
    return ranges;
}

// The checks of the whole file's ranges, and the extent and elevation range they give.
OpenStop checkRanges(const Ranges& r, bool hasElevations, FileFindings* found) {
    if (r.points == 0) return OpenStop{OpenRefusal::InvalidData};
    const long long rangeX = static_cast<long long>(r.maxX) - r.minX;
    const long long rangeY = static_cast<long long>(r.maxY) - r.minY;
    if (rangeX == 0 || rangeY == 0) {
        found->ranges.rangeX = static_cast<int>(rangeX);
        found->ranges.rangeY = static_cast<int>(rangeY);
        found->extentKnown = true;
        return OpenStop{OpenRefusal::InvalidData};
    }
    if (rangeX > INT_MAX || rangeY > INT_MAX) return OpenStop{OpenRefusal::ExtentTooLarge};
    found->ranges.rangeX = static_cast<int>(rangeX);
    found->ranges.rangeY = static_cast<int>(rangeY);
    found->extentKnown = true;
    if (!hasElevations || !r.elevationSeen) {
        // No elevation to show: a 2-field file, or every height in the no-data band.
        found->ranges.minZ = found->ranges.maxZ = found->ranges.rangeZ = 0.0f;
    } else {
        found->ranges.rangeZ = found->ranges.maxZ - found->ranges.minZ;
    }
    return OpenStop{};
}

}  // namespace

OpenStop gatherRanges(const char* path, HeaderChoice header, const PointLayout& layout, const OpenGather& gather,
                      FileFindings* found, PassWatch* watch) {
    *found = FileFindings();
    Ranges ranges;
    if (gatheredRanges(gather, header, layout, &ranges, &found->plan, &found->checksum)) {
        // Every point passed its checks in the one pass: nothing is read again.
        if (layout.swapXY) ranges = swapped(ranges);
    } else {
        found->plan = FilePlan();
        LineReader reader;
        reader.checksumming = true;
        reader.watch = watch;
        beginWatchedPass(watch, stampOf(path).size);
        if (!openReader(reader, path, header)) return OpenStop{OpenRefusal::InvalidData};
        CheckPass pass(layout);
        const PartEnd end = walkWatched(reader, pass, watch);
        found->checksum = reader.checksum;
        ranges = pass.ranges();
        found->ranges = pointRanges(ranges);
        found->points = ranges.points;
        if (end.outcome != LineOutcome::End) return badLineStop(reader, pass.lineLimit(), end.outcome);
        if (pass.stop() != PointStop::End) return OpenStop{refusalOf(pass.stop()), reader.lineNumber, pass.lineLimit()};
    }
    found->ranges = pointRanges(ranges);
    found->points = ranges.points;
    return checkRanges(ranges, layoutHasElevations(layout), found);
}
