// The writer's pass. The file is cut at line starts into tasks of about a megabyte, which
// the workers take in order; each writes its task's lines into a block of its own, and the
// blocks go to the output in the tasks' order, whoever finishes first. Within a task, runs
// of plain lines are written where they stand in the block read ahead, by the one route
// that suits the write's choices; every other line goes the general way, cut into its
// fields. Both write the very same bytes for a line.
#include "output/writePass.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

#include "output/outputLine.h"
#include "output/writeOptions.h"
#include "points/appState.h"
#include "points/noDataBand.h"
#include "points/selectionArea.h"
#include "reader/fileChunks.h"
#include "reader/plainLines.h"
#include "reader/workers.h"

namespace {

// Input bytes of a task: large enough that opening its range costs nothing, small enough
// that the workers finish together and a block mostly holds a task's lines.
constexpr uint64_t kTaskBytes = uint64_t(1) << 20;

// A task's output lines, gathered to go to the stream a large block at a time: twice a
// task's input, so that even converted lines of a task mostly fit one block.
constexpr size_t kLineBlockSize = size_t(2) << 20;
struct LineBlock {
    std::unique_ptr<char[]> lines{new char[kLineBlockSize]};
    size_t used = 0;
};

bool roomForLine(const LineBlock& block) { return kLineBlockSize - block.used >= kOutputLineMax; }

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

// What a pass writes with, the same for every task.
struct PassChoices {
    PointLayout layout;
    FieldGap gap;
    PlainRoute route;
};

// The elevation text from z to end reads as a value in the no-data band.
bool plainElevationHasNoData(const char* z, const char* end) {
    return inNoDataBand(readElevationField<FieldKind::Plain>(z, static_cast<size_t>(end - z)));
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
void copyPlainRun(LineReader& reader, LineBlock& block, char gap, int* count) {
    struct Copied {
        char* out;
        int written;
    };
    const PlainCopyArea area = {g_selMinX, g_selMaxX, g_selMinY, g_selMaxY};
    char* const start = block.lines.get() + block.used;
    const char* const outLimit = block.lines.get() + kLineBlockSize - kOutputLineMax;
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
                plainLineXY<Form>(line, &x, &y);
                kept = (a.minX <= x) & (x <= a.maxX) & (a.minY <= y) & (y <= a.maxY);
            }
            out = kept ? end : out;
            written += kept;
            return WalkStep::Next;
        });
        return Copied{out, written};
    });
    block.used = static_cast<size_t>(copied.out - block.lines.get());
    *count += copied.written;
}

// Copies of the plain lines within the selected circle, each tested before it is copied.
template <class Form>
void copyPlainEach(LineReader& reader, LineBlock& block, char gap, int* count) {
    takePlainLines(reader, kFullLineLimit, Form{}, [&](const PlainLine& line) SKERROW_INLINE_LAMBDA {
        if (!roomForLine(block)) return false;
        PointFields point;
        plainLineXY<Form>(line, &point.x, &point.y);
        if (!isInsideArea(point)) return true;
        if (plainLineHasNoData<Form>(line)) return true;
        block.used =
            static_cast<size_t>(putPlainCopyLine(block.lines.get() + block.used, line, gap) - block.lines.get());
        ++*count;
        return true;
    });
}

// Any plain line's output, as the general way would write it, reading only the values
// the output and its tests need. False, leaving the line, when the block is full.
bool writePlainLine(const PlainLine& line, LineBlock& block, const PassChoices& choices, int* count) {
    if (!roomForLine(block)) return false;
    PointFields point = plainLineFields(line, choices.layout);
    if (g_conversion != Conversion::Move && g_selectAll != 1) {
        point.x = readWholeCoordinate<FieldKind::Plain>(point.xText, point.xLength);
        point.y = readWholeCoordinate<FieldKind::Plain>(point.yText, point.yLength);
        if (!isInsideArea(point)) return true;
    }
    if (choices.layout.fieldCount == 3 && (g_conversion != Conversion::None || mayBeInNoDataBand(point.zText))) {
        point.elevation = readElevationField<FieldKind::Plain>(point.zText, point.zLength, &point.zValue);
        if (isNoDataPoint(point)) return true;
    }
    char* const out = block.lines.get() + block.used;
    char* const end = g_conversion == Conversion::Move   ? putMoveLine(out, point, choices.gap)
                      : g_conversion == Conversion::None ? putCopyLine(out, point, choices.gap)
                                                         : putConvertLine(out, point, choices.gap);
    block.used = static_cast<size_t>(end - block.lines.get());
    ++*count;
    return true;
}

// A plain line's output when its values are not in the short decimal form, as
// writePlainLine writes it (or not), at out; returns the end. Kept apart from the
// conversion's walk, whose registers it would crowd.
SKERROW_NOINLINE char* writeOtherPlainLine(const PlainLine& line, char* out, LineBlock& block,
                                           const PassChoices& choices, int* count) {
    block.used = static_cast<size_t>(out - block.lines.get());
    writePlainLine(line, block, choices, count);
    return block.lines.get() + block.used;
}

// The plain line's point lies in the selected area, by the whole-number readings of X and Y.
SKERROW_NOINLINE bool plainLineInArea(const PlainLine& line, const PointLayout& layout) {
    PointFields point = plainLineFields(line, layout);
    point.x = readWholeCoordinate<FieldKind::Plain>(point.xText, point.xLength);
    point.y = readWholeCoordinate<FieldKind::Plain>(point.yText, point.yLength);
    return isInsideArea(point);
}

// Conversions of the plain lines, as writePlainLine converts them, with the short decimal
// form of all three values read where they stand; a line in the selected area whose
// values have another form is written the general way, in its place. The conversion's
// constants, the output's end and count are locals of the walk, where the output's
// stores cannot be taken to change them.
template <class Form>
void convertPlainRun(LineReader& reader, LineBlock& block, const PassChoices& choices, int* count) {
    struct Converted {
        char* out;
        int written;
    };
    const ConversionScale scale = conversionScale();
    const bool everyPoint = g_selectAll == 1;
    char* const start = block.lines.get() + block.used;
    const char* const outLimit = block.lines.get() + kLineBlockSize - kOutputLineMax;
    const Converted converted = withWidestMarks(
        [&reader, &block, &choices, count, scale, everyPoint, start, outLimit](auto marks) SKERROW_INLINE_LAMBDA {
            char* out = start;
            int written = 0;
            const char* const limit = outLimit;
            const FieldGap gap = choices.gap;
            walkLines<decltype(marks)>(reader, [&](const LineSpan& span) SKERROW_INLINE_LAMBDA {
                PlainLine line;
                if (!plainLineOf<Form::commas>(span, kFullLineLimit - 1, &line) || out > limit) return WalkStep::Leave;
                if (!everyPoint && !plainLineInArea(line, choices.layout)) return WalkStep::Next;
                const char* const second = line.firstComma + 1;
                double x, y, zValue = 0.0;
                if (!shortDecimalFastPath<FieldKind::Plain>(Form::swap ? second : line.text, &x) ||
                    !shortDecimalFastPath<FieldKind::Plain>(Form::swap ? line.text : second, &y) ||
                    (Form::elevations && !shortDecimalFastPath<FieldKind::Plain>(line.lastComma + 1, &zValue))) {
                    out = writeOtherPlainLine(line, out, block, choices, count);
                    return WalkStep::Next;
                }
                float elevation = 0.0f;
                if (Form::elevations) {
                    elevation = narrowElevation(zValue);
                    if (inNoDataBand(elevation)) return WalkStep::Next;
                }
                out = putConvertedPoint(out, x, y, elevation, scale, Form::elevations, gap);
                ++written;
                return WalkStep::Next;
            });
            return Converted{out, written};
        });
    block.used = static_cast<size_t>(converted.out - block.lines.get());
    *count += converted.written;
}

// Writes the run of plain lines at the reader's place by the route.
template <class Form>
void writePlainRun(LineReader& reader, LineBlock& block, const PassChoices& choices, int* count) {
    switch (choices.route) {
    case PlainRoute::CopyRun:
        if (g_selectAll != 1)
            copyPlainRun<Form, true>(reader, block, choices.gap.text[0], count);
        else
            copyPlainRun<Form, false>(reader, block, choices.gap.text[0], count);
        return;
    case PlainRoute::CopyEach: copyPlainEach<Form>(reader, block, choices.gap.text[0], count); return;
    case PlainRoute::Convert: convertPlainRun<Form>(reader, block, choices, count); return;
    case PlainRoute::General:
        takePlainLines(reader, kFullLineLimit, Form{},
                       [&](const PlainLine& line) { return writePlainLine(line, block, choices, count); });
        return;
    }
}

// How a task's lines ended.
enum class TaskEnd {
    Done,        // its range read to the end
    ReadFailed,  // a line that cannot be read or split: the file changed since it was opened
    Stopped,     // the pass stopped at an earlier task, or the output failed
};

// The tasks' output, in the tasks' order. A worker that finishes a task leaves its block
// with the finished tasks and takes a free block for its next task; whoever finishes the
// task at the head writes it and every finished task after it. A task whose lines outgrow
// a block writes the full block in its own turn, waiting for it if need be.
class OrderedOutput {
public:
    OrderedOutput(std::ofstream& output, size_t tasks, int blocks) : output_(output), tasks_(tasks) {
        for (int i = 0; i < blocks; ++i) {
            blocks_.push_back(std::make_unique<LineBlock>());
            free_.push_back(blocks_.back().get());
        }
    }

    // The next task and a free block for it, waiting for a block; false once every task
    // is taken or the pass has stopped. A task is handed out only with its block: a task
    // taken before its block could find every block held by the tasks after it, waiting
    // for it to go out first.
    bool takeTask(size_t* task, LineBlock** block) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return !free_.empty() || stopped_ || nextTask_ == tasks_; });
        if (stopped_ || nextTask_ == tasks_) return false;
        *task = nextTask_++;
        *block = free_.back();
        free_.pop_back();
        return true;
    }

    // The full block of the unfinished task goes out in the task's turn; false when the
    // pass has stopped. hadLines: the task has taken a line.
    bool writeInTurn(size_t task, LineBlock& block, bool hadLines) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return (head_ == task && !draining_) || stopped_; });
            if (stopped_) return false;
        }
        // Every task before this one is out, and no other writes until it ends.
        if (!writeLines(block, hadLines)) return false;
        return true;
    }

    // The task has ended: its lines go out in its turn, by this worker or another.
    void finishTask(size_t task, LineBlock* block, TaskEnd end, int count, bool hadLines, bool endedInBlanks) {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_[task] = Finished{block, end, count, hadLines, endedInBlanks};
        if (draining_ || head_ != task) return;
        draining_ = true;
        while (!stopped_) {
            const auto next = finished_.find(head_);
            if (next == finished_.end()) break;
            const Finished done = next->second;
            finished_.erase(next);
            lock.unlock();
            const bool written = writeLines(*done.block, done.hadLines);
            lock.lock();
            free_.push_back(done.block);
            if (!written) break;
            count_ += done.count;
            blankRunOpen_ = done.endedInBlanks || (blankRunOpen_ && !done.hadLines);
            if (done.end == TaskEnd::ReadFailed) stopLocked(PassResult::ReadFailed);
            ++head_;
        }
        draining_ = false;
        changed_.notify_all();
    }

    PassResult result() const { return result_; }
    int count() const { return count_; }

private:
    struct Finished {
        LineBlock* block;
        TaskEnd end;
        int count;
        bool hadLines, endedInBlanks;
    };

    // Writes the block of the task at the head, by the one thread that may write now;
    // true when its lines went out. A task that follows a blank line with lines of its
    // own finds the file changed, as the line-by-line reading would: the blank line
    // stands before more data.
    bool writeLines(LineBlock& block, bool hadLines) {
        if (blankRunOpen_ && hadLines) {
            stop(PassResult::ReadFailed);
            return false;
        }
        output_.write(block.lines.get(), static_cast<std::streamsize>(block.used));
        block.used = 0;
        if (output_.fail()) {
            stop(PassResult::WriteFailed);
            return false;
        }
        return true;
    }

    void stop(PassResult result) {
        std::lock_guard<std::mutex> lock(mutex_);
        stopLocked(result);
    }

    void stopLocked(PassResult result) {
        if (!stopped_) result_ = result;
        stopped_ = true;
        changed_.notify_all();
    }

    std::ofstream& output_;
    const size_t tasks_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<LineBlock>> blocks_;
    std::vector<LineBlock*> free_;
    std::map<size_t, Finished> finished_;  // tasks ended whose lines have not gone out
    size_t nextTask_ = 0;                  // the next task to hand out
    size_t head_ = 0;                      // the next task whose lines go out
    bool draining_ = false;                // a worker is writing the finished tasks from the head on
    bool stopped_ = false;
    bool blankRunOpen_ = false;  // the tasks written so far ended in blank lines
    PassResult result_ = PassResult::Done;
    int count_ = 0;
};

// One task: its range read line by line into a block of its own, which goes out in the
// task's turn, and whenever it fills before that.
void runTask(size_t task, LineBlock* block, const ByteRange& range, LineReader& reader, const PassChoices& choices,
             OrderedOutput& ordered) {
    if (!openReaderRange(reader, g_inputPath, range.begin, range.end)) {
        ordered.finishTask(task, block, TaskEnd::ReadFailed, 0, true, false);
        return;
    }
    if (task == 0 && g_skipHeader == 1) {
        readLine(reader, kFullLineLimit);
        reader.lineNumber = 1;
    }
    int count = 0;
    bool hadLines = false;  // a data line, or a line that ends the pass
    TaskEnd end = TaskEnd::Done;
    for (;;) {
        const int linesBefore = reader.lineNumber;
        const bool plain = withPlainForm(
            choices.layout, [&](auto form) { writePlainRun<decltype(form)>(reader, *block, choices, &count); });
        if (reader.lineNumber != linesBefore) hadLines = true;
        if (plain && !roomForLine(*block)) {
            if (!ordered.writeInTurn(task, *block, hadLines)) return;
            continue;
        }
        PointFields point;
        bool cut;
        const LineOutcome read = nextPointLine(reader, kFullLineLimit, choices.layout, &point, &cut);
        if (read == LineOutcome::End) break;
        hadLines = true;
        // A line that cannot be read or split, or one with more fields than the open found
        // in every line, means the file changed since it was opened.
        if (read != LineOutcome::Data || !cut || point.commas != choices.layout.fieldCount - 1) {
            end = TaskEnd::ReadFailed;
            break;
        }
        if (isNoDataPoint(point)) continue;
        char* const out = block->lines.get() + block->used;
        char* lineEnd;
        if (g_conversion == Conversion::Move) {
            lineEnd = putMoveLine(out, point, choices.gap);
        } else {
            if (!isInsideArea(point)) continue;
            lineEnd = g_conversion == Conversion::None ? putCopyLine(out, point, choices.gap)
                                                       : putConvertLine(out, point, choices.gap);
        }
        block->used = static_cast<size_t>(lineEnd - block->lines.get());
        ++count;
        if (!roomForLine(*block) && !ordered.writeInTurn(task, *block, hadLines)) return;
    }
    const bool endedInBlanks = reader.endedInBlanks;
    closeReader(reader);
    // The lines of a task that stopped early are written too, as far as it got.
    ordered.finishTask(task, block, end, count, hadLines, endedInBlanks);
}

}  // namespace

PassResult writeChosenPoints(std::ofstream& output, int* count) {
    const PassChoices choices = {pointLayout(), fieldGap(), choosePlainRoute(pointLayout(), fieldGap())};
    const uint64_t size = g_inputStamp.size;
    const int workers = workerCount();
    // A task for every worker at least, so that a small file is split too.
    const uint64_t tasks = workers == 1 ? 1 : std::max<uint64_t>(static_cast<uint64_t>(workers), size / kTaskBytes + 1);
    const std::vector<ByteRange> ranges =
        splitAtLineStarts(g_inputPath, 0, size, static_cast<int>(tasks < 100000 ? tasks : 100000));
    // Two blocks for each worker: one for the task in hand, one whose lines wait their turn.
    OrderedOutput ordered(output, ranges.size(), 2 * workers);
    runWorkers(workers, [&](int) {
        LineReader reader;
        size_t task;
        LineBlock* block;
        while (ordered.takeTask(&task, &block)) runTask(task, block, ranges[task], reader, choices, ordered);
    });
    *count = ordered.count();
    return ordered.result();
}
