// One pass over a point file, written once for every pass (the Open's, the drawing's and
// the writer's): the file cut at line starts into parts for the workers, the header
// skipped in the part that starts the file, each part walked by runs of plain lines and
// single lines, and the way each part ended merged in the file's order. A pass supplies
// only what it does with its lines and points, and how the results of its parts add up.
#ifndef SKERROW_READER_POINTPASS_H
#define SKERROW_READER_POINTPASS_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "reader/fileChunks.h"
#include "reader/lineReader.h"
#include "reader/lineWalk.h"
#include "reader/plainLines.h"
#include "reader/pointFields.h"
#include "reader/workers.h"

// The file a pass reads and how it is cut: the header choice holds for the part that
// starts the file.
struct PassPlan {
    const char* path;
    HeaderChoice header;
    std::vector<ByteRange> parts;
    bool checksums = false;      // each part's reader sums the bytes it reads (byteChecksum.h)
    PassWatch* watch = nullptr;  // counts the parts' bytes read, and may stop them
};

// The plan of a pass over the bytes [0, size) of the file in at most parts parts of about
// equal size (one part for a file that cannot be read).
PassPlan planPass(const char* path, HeaderChoice header, uint64_t size, int parts);

// Opens reader on part of the plan, skipping the header in a part that starts the file
// when the plan says so, and summing its bytes when the plan asks for checksums. A part that cannot be opened leaves
// the reader failed, so that a walk over it stops at its first line as at a line that cannot be read.
void openPart(LineReader& reader, const PassPlan& plan, size_t part);

// Runs walk(part, reader) for every part of the plan on workers threads, with the reader
// opened on the part; the parts are handed out in the file's order by take(&part), which
// returns false when none is left (takeInTurn hands out every part once).
template <class Take, class Walk>
void runParts(const PassPlan& plan, int workers, Take&& take, Walk&& walk) {
    runWorkers(
        workers,
        [&](int) {
            LineReader reader;
            size_t part;
            while (take(&part)) {
                openPart(reader, plan, part);
                walk(part, reader);
                closeReader(reader);
            }
        },
        plan.watch);
}

// Hands out the parts of a plan once each, in order.
class PartsInTurn {
public:
    explicit PartsInTurn(size_t parts) : parts_(parts) {}
    bool operator()(size_t* part) {
        *part = next_.fetch_add(1);
        return *part < parts_;
    }

private:
    const size_t parts_;
    std::atomic<size_t> next_{0};
};

// runParts with every part taken once, each on a worker of its own where there are enough.
template <class Walk>
void runParts(const PassPlan& plan, Walk&& walk) {
    PartsInTurn take(plan.parts.size());
    runParts(plan, static_cast<int>(plan.parts.size()), take, walk);
}

// How the walk of a part ended.
struct PartEnd {
    bool hadLines = false;       // it took a line, or met one that stops the pass
    bool endedInBlanks = false;  // its data ended in blank lines
    bool stopped = false;        // at a line it cannot read (outcome) or one its pass stops at
    bool abandoned = false;      // its pass gave it up (another part stopped the pass)
    LineOutcome outcome = LineOutcome::End;
};

// The parts' ends in the file's order, as one reader reading the whole file would meet
// them: a blank line with more lines after it stops the reading there, whichever parts
// the blank line and the lines after it fall in, and so does a part that stopped.
class PartOrder {
public:
    enum Take {
        Whole,  // the part's lines count, and the reading goes on after it
        Last,   // its lines count, up to where it stopped; no later part's do
        None,   // it comes after a blank line: the reading stops before it
    };

    Take take(const PartEnd& end) {
        if (!linesMayFollow(end.hadLines)) return None;
        blanksOpen_ = end.endedInBlanks || (blanksOpen_ && !end.hadLines);
        return end.stopped ? Last : Whole;
    }

    // Lines of the next part, taken before it has ended, may count.
    bool linesMayFollow(bool hadLines) const { return !(blanksOpen_ && hadLines); }

    // How many of the parts count, in order; *stopped tells whether the reading stopped
    // at one of them (it then counts up to the stop) or before one.
    static size_t partsRead(const std::vector<PartEnd>& ends, bool* stopped) {
        PartOrder order;
        *stopped = false;
        for (size_t i = 0; i < ends.size(); ++i) {
            const Take take = order.take(ends[i]);
            if (take == Whole) continue;
            *stopped = true;
            return take == Last ? i + 1 : i;
        }
        return ends.size();
    }

private:
    bool blanksOpen_ = false;
};

// What a pass does with a line cut into its fields.
enum class PointStep {
    Next,     // go on
    Stop,     // the pass stops at this line
    Abandon,  // the pass was stopped elsewhere: give up at once
};

// Walks the data lines at the reader's place to the end of its part, in order:
//   - while pass.linesToSkim() is above 0, that many lines are read past by the line
//     rules alone and handed to pass.skimmed(lines, commas) (commas counted only when
//     Pass::kCountsCommas);
//   - otherwise the run of plain lines there goes to pass.plainRun<Form>(reader) (the
//     pass's own loop over them; false gives the part up), and the line after it, cut by
//     pass.layout(), to pass.takePoint(point, cut).
// Lines are read with pass.lineLimit(). The walk ends at the end of the data, at a line
// that cannot be read, where takePoint stops, or where the pass gives up.
template <class Pass>
PartEnd walkPart(LineReader& reader, Pass& pass) {
    PartEnd end;
    LineOutcome outcome;
    for (;;) {
        const int limit = pass.lineLimit();
        if (const long long skim = pass.linesToSkim(); skim > 0) {
            long long commas = 0;
            long long taken = takeDataLines(reader, limit, skim, Pass::kCountsCommas ? &commas : nullptr);
            if (taken == 0) {
                const char* text;
                size_t length;
                if ((outcome = nextDataLine(reader, limit, &text, &length)) != LineOutcome::Data) break;
                if (Pass::kCountsCommas) commas += countLineCommas(text, length);
                taken = 1;
            }
            end.hadLines = true;
            pass.skimmed(taken, commas);
            continue;
        }
        const long long before = reader.lineNumber;
        bool kept = true;
        withPlainForm(pass.layout(), [&](auto form) { kept = pass.template plainRun<decltype(form)>(reader); });
        if (reader.lineNumber != before) end.hadLines = true;
        if (!kept) {
            end.abandoned = true;
            return end;
        }
        if (pass.linesToSkim() > 0) continue;  // the run ended among lines to read past
        PointFields point;
        bool cut;
        if ((outcome = nextPointLine(reader, limit, pass.layout(), &point, &cut)) != LineOutcome::Data) break;
        end.hadLines = true;
        const PointStep step = pass.takePoint(point, cut);
        if (step == PointStep::Next) continue;
        end.abandoned = step == PointStep::Abandon;
        end.stopped = step == PointStep::Stop;
        return end;
    }
    end.outcome = outcome;
    end.stopped = outcome != LineOutcome::End;
    if (end.stopped) end.hadLines = true;
    end.endedInBlanks = reader.endedInBlanks;
    return end;
}

// walkPart of the reader's lines on a worker of its own while the watch's thread waits, or
// on the calling thread without a watch.
template <class Pass>
PartEnd walkWatched(LineReader& reader, Pass& pass, PassWatch* watch) {
    PartEnd end;
    runWorkers(
        1, [&](int) { end = walkPart(reader, pass); }, watch);
    return end;
}

#endif
