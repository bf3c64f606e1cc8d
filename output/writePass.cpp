// The writer's pass. The file is cut at line starts into tasks of about a megabyte, which
// the workers take in order; each writes its task's lines into a block of its own, and the
// blocks go to the output in the tasks' order, whoever finishes first. Within a task, runs
// of plain lines are written where they stand in the block read ahead, by the one route
// that suits the write's choices; every other line goes the general way, cut into its
// fields. Both write the very same bytes for a line.
#include "output/writePass.h"

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>

#include "output/outputLine.h"
#include "points/noDataBand.h"
#include "reader/pointPass.h"

namespace {

// Input bytes of a task: large enough that opening its range costs nothing, small enough
// that the workers finish together and a block mostly holds a task's lines.
constexpr uint64_t kTaskBytes = uint64_t(1) << 20;

// The most tasks a write is cut into, whatever the file's size.
constexpr uint64_t kMostTasks = 100000;

// A task's output lines, gathered to go to the stream a large block at a time: twice a
// task's input, so that even converted lines of a task mostly fit one block.
constexpr size_t kLineBlockSize = size_t(2) << 20;
struct LineBlock {
    std::unique_ptr<char[]> lines{new char[kLineBlockSize]};
    size_t used = 0;
};

bool roomForLine(const LineBlock& block) { return kLineBlockSize - block.used >= kOutputLineMax; }

// How the runs of plain lines are written, chosen once for the pass.
enum class PlainRoute {
    CopyRun,      // copies in the file's order with a one-character gap, of all points or a rectangle's
    CopyEach,     // the same for a circle's points, each tested before it is copied
    CopyPolygon,  // the same for a polygon's points, each copied and then kept or not by its test
    Convert,      // metres, feet or a factor, from the values read where they stand
    General,      // any other write: each line as the general way writes it
};

// What a pass writes with, the same for every task.
struct PassChoices {
    PointLayout layout;
    LineForm form;
    Conversion conversion;
    SelectionArea area;  // every point for a move
    PlainRoute route;
};

PlainRoute choosePlainRoute(const PassChoices& choices) {
    const Conversion c = choices.conversion;
    if (c == Conversion::MetresToFeet || c == Conversion::FeetToMetres || c == Conversion::Factor)
        return PlainRoute::Convert;
    if (c == Conversion::None && !choices.layout.swapXY && choices.form.gap.length == 1)
        return choices.area.kind == AreaKind::Circle    ? PlainRoute::CopyEach
               : choices.area.kind == AreaKind::Polygon ? PlainRoute::CopyPolygon
                                                        : PlainRoute::CopyRun;
    return PlainRoute::General;
}

PassChoices passChoices(const OpenedFile& file, const SelectionArea& area, const WriteChoices& choices) {
    PassChoices pass = {file.layout, lineForm(choices, file.layout), choices.conversion, area, PlainRoute::General};
    // A move writes every point, whatever the last selection holds.
    if (choices.conversion == Conversion::Move) {
        pass.area.kind = AreaKind::Everything;
        pass.area.outside = false;
    }
    pass.route = choosePlainRoute(pass);
    return pass;
}

// 3- and 5-field files: the elevation lies in the plot's and the writer's no-data band.
bool isNoDataPoint(const PointFields& point, bool elevations) { return elevations && inNoDataBand(point.elevation); }

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

// Copies of the plain lines that keep(line) keeps: each line is its own output with the gap
// over its commas, copied and then kept or not, so that the test, true or false as the
// points fall, costs no jump. The output's end and count are locals of the walk, where the
// copies' stores cannot be taken to change them.
template <class Form, class Keep>
SKERROW_INLINE void copyPlainKept(LineReader& reader, LineBlock& block, char gap, long long* count, const Keep& keep) {
    struct Copied {
        char* out;
        long long written;
    };
    char* const start = block.lines.get() + block.used;
    const char* const outLimit = block.lines.get() + kLineBlockSize - kOutputLineMax;
    const Copied copied = withWidestMarks([&reader, gap, start, outLimit, keep](auto marks) SKERROW_INLINE_LAMBDA {
        char* out = start;
        long long written = 0;
        const char g = gap;
        const char* const limit = outLimit;
        walkLines<decltype(marks)>(reader, [&](const LineSpan& span) SKERROW_INLINE_LAMBDA {
            PlainLine line;
            if (!plainLineOf<Form::commas>(span, kFullLineLimit - 1, &line) || out > limit) return WalkStep::Leave;
            if (plainLineHasNoData<Form>(line)) return WalkStep::Next;
            char* const end = putPlainCopyLine(out, line, g);
            const bool kept = keep(line);
            out = kept ? end : out;
            written += kept;
            return WalkStep::Next;
        });
        return Copied{out, written};
    });
    block.used = static_cast<size_t>(copied.out - block.lines.get());
    *count += copied.written;
}

// Copies of every plain line, or of those in the selected rectangle (or outside it), kept
// by their whole X and Y.
template <class Form, bool rectangle, bool outside = false>
void copyPlainRun(LineReader& reader, LineBlock& block, char gap, const SelectionArea& area, long long* count) {
    const int minX = area.minX, maxX = area.maxX, minY = area.minY, maxY = area.maxY;
    copyPlainKept<Form>(reader, block, gap, count,
                        [minX, maxX, minY, maxY](const PlainLine& line) SKERROW_INLINE_LAMBDA {
                            if (!rectangle) return true;
                            double x, y;
                            plainLineXY<Form>(line, &x, &y);
                            return ((minX <= x) & (x <= maxX) & (minY <= y) & (y <= maxY)) != outside;
                        });
}

// Copies of the plain lines within the selected circle, each tested before it is copied.
template <class Form>
void copyPlainEach(LineReader& reader, LineBlock& block, char gap, const SelectionArea& area, long long* count) {
    takePlainLines(reader, kFullLineLimit, Form{}, [&](const PlainLine& line) SKERROW_INLINE_LAMBDA {
        if (!roomForLine(block)) return false;
        double x, y;
        plainLineXY<Form>(line, &x, &y);
        if (!isInsideArea(area, x, y)) return true;
        if (plainLineHasNoData<Form>(line)) return true;
        block.used =
            static_cast<size_t>(putPlainCopyLine(block.lines.get() + block.used, line, gap) - block.lines.get());
        ++*count;
        return true;
    });
}

// Copies of the plain lines within the selected polygon (or outside it), kept by the
// polygon's test of their whole X and Y.
template <class Form, bool outside>
void copyPlainPolygon(LineReader& reader, LineBlock& block, char gap, const PolygonArea& polygon, long long* count) {
    const PolygonArea* const area = &polygon;
    copyPlainKept<Form>(reader, block, gap, count, [area](const PlainLine& line) SKERROW_INLINE_LAMBDA {
        double x, y;
        plainLineXY<Form>(line, &x, &y);
        return isInsidePolygonArea(*area, x, y) != outside;
    });
}

// Any plain line's output, as the general way would write it, reading only the values
// the output and its tests need. False, leaving the line, when the block is full or a
// converted value is too large (the general way then stops the pass at it).
bool writePlainLine(const PlainLine& line, LineBlock& block, const PassChoices& choices, long long* count) {
    if (!roomForLine(block)) return false;
    PointFields point = plainLineFields(line, choices.layout);
    if (choices.area.kind != AreaKind::Everything) {
        point.x = readWholeCoordinate<FieldKind::Plain>(point.xText, point.xLength);
        point.y = readWholeCoordinate<FieldKind::Plain>(point.yText, point.yLength);
        if (!isInsideArea(choices.area, point.x, point.y)) return true;
    }
    if (choices.layout.fieldCount == 3 && (choices.conversion != Conversion::None || mayBeInNoDataBand(point.zText))) {
        point.elevation = readElevationField<FieldKind::Plain>(point.zText, point.zLength, &point.zValue);
        if (isNoDataPoint(point, choices.form.elevations)) return true;
    }
    char* const out = block.lines.get() + block.used;
    char* const end = choices.conversion == Conversion::Move   ? putMoveLine(out, point, choices.form)
                      : choices.conversion == Conversion::None ? putCopyLine(out, point, choices.form)
                                                               : putConvertLine(out, point, choices.form);
    if (!end) return false;
    block.used = static_cast<size_t>(end - block.lines.get());
    ++*count;
    return true;
}

// A plain line's output when its values are not in the short decimal form, as
// writePlainLine writes it (or not), at out; returns the end, or nullptr when the line is
// left. Kept apart from the conversion's walk, whose registers it would crowd.
SKERROW_NOINLINE char* writeOtherPlainLine(const PlainLine& line, char* out, LineBlock& block,
                                           const PassChoices& choices, long long* count) {
    block.used = static_cast<size_t>(out - block.lines.get());
    if (!writePlainLine(line, block, choices, count)) return nullptr;
    return block.lines.get() + block.used;
}

// The plain line's point lies in the selected area, by the whole-number readings of X and Y.
SKERROW_NOINLINE bool plainLineInArea(const PlainLine& line, const PassChoices& choices) {
    const PointFields point = plainLineFields(line, choices.layout);
    return isInsideArea(choices.area, readWholeCoordinate<FieldKind::Plain>(point.xText, point.xLength),
                        readWholeCoordinate<FieldKind::Plain>(point.yText, point.yLength));
}

// Conversions of the plain lines, as writePlainLine converts them, with the short decimal
// form of all three values read where they stand; a line in the selected area whose
// values have another form is written the general way, in its place. The conversion's
// constants, the output's end and count are locals of the walk, where the output's
// stores cannot be taken to change them.
template <class Form>
void convertPlainRun(LineReader& reader, LineBlock& block, const PassChoices& choices, long long* count) {
    struct Converted {
        char* out;
        long long written;
    };
    const ConversionScale scale = choices.form.scale;
    const bool everyPoint = choices.area.kind == AreaKind::Everything;
    char* const start = block.lines.get() + block.used;
    const char* const outLimit = block.lines.get() + kLineBlockSize - kOutputLineMax;
    const Converted converted = withWidestMarks(
        [&reader, &block, &choices, count, scale, everyPoint, start, outLimit](auto marks) SKERROW_INLINE_LAMBDA {
            char* out = start;
            long long written = 0;
            const char* const limit = outLimit;
            const FieldGap gap = choices.form.gap;
            walkLines<decltype(marks)>(reader, [&](const LineSpan& span) SKERROW_INLINE_LAMBDA {
                PlainLine line;
                if (!plainLineOf<Form::commas>(span, kFullLineLimit - 1, &line) || out > limit) return WalkStep::Leave;
                if (!everyPoint && !plainLineInArea(line, choices)) return WalkStep::Next;
                const char* const second = line.firstComma + 1;
                double x, y, zValue = 0.0;
                if (!shortDecimalFastPath<FieldKind::Plain>(Form::swap ? second : line.text, &x) ||
                    !shortDecimalFastPath<FieldKind::Plain>(Form::swap ? line.text : second, &y) ||
                    (Form::elevations && !shortDecimalFastPath<FieldKind::Plain>(line.lastComma + 1, &zValue))) {
                    char* const other = writeOtherPlainLine(line, out, block, choices, count);
                    if (!other) return WalkStep::Leave;
                    out = other;
                    return WalkStep::Next;
                }
                float elevation = 0.0f;
                if (Form::elevations) {
                    elevation = narrowElevation(zValue);
                    if (inNoDataBand(elevation)) return WalkStep::Next;
                }
                // A value too large is left to the general way, which stops the pass at it.
                char* const end = putConvertedPoint(out, x, y, elevation, scale, Form::elevations, gap);
                if (!end) return WalkStep::Leave;
                out = end;
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
void writePlainRun(LineReader& reader, LineBlock& block, const PassChoices& choices, long long* count) {
    const char gap = choices.form.gap.text[0];
    switch (choices.route) {
    case PlainRoute::CopyRun:
        if (choices.area.kind == AreaKind::Rectangle && choices.area.outside)
            copyPlainRun<Form, true, true>(reader, block, gap, choices.area, count);
        else if (choices.area.kind == AreaKind::Rectangle)
            copyPlainRun<Form, true>(reader, block, gap, choices.area, count);
        else
            copyPlainRun<Form, false>(reader, block, gap, choices.area, count);
        return;
    case PlainRoute::CopyEach: copyPlainEach<Form>(reader, block, gap, choices.area, count); return;
    case PlainRoute::CopyPolygon:
        if (choices.area.outside)
            copyPlainPolygon<Form, true>(reader, block, gap, *choices.area.polygon, count);
        else
            copyPlainPolygon<Form, false>(reader, block, gap, *choices.area.polygon, count);
        return;
    case PlainRoute::Convert: convertPlainRun<Form>(reader, block, choices, count); return;
    case PlainRoute::General:
        takePlainLines(reader, kFullLineLimit, Form{},
                       [&](const PlainLine& line) { return writePlainLine(line, block, choices, count); });
        return;
    }
}

// How a task ended, for the order the tasks' lines go out in.
struct TaskEnd {
    PartEnd part;
    PassResult stop = PassResult::Done;  // ReadFailed or ValueTooLarge for a part that stopped
    long long stopLine = 0;              // ValueTooLarge: the line, counted from the task's first
    long long count = 0;
    unsigned long long checksum = 0;
};

// The tasks' output, in the tasks' order. A worker that finishes a task leaves its block
// with the finished tasks and takes a free block for its next task; whoever finishes the
// task at the head writes it and every finished task after it. A task whose lines outgrow
// a block writes the full block in its own turn, waiting for it if need be.
class OrderedOutput {
public:
    OrderedOutput(HANDLE output, size_t tasks, int blocks)
        : output_(output), tasks_(tasks), taskBlocks_(tasks, nullptr) {
        for (int i = 0; i < blocks; ++i) {
            blocks_.push_back(std::make_unique<LineBlock>());
            free_.push_back(blocks_.back().get());
        }
    }

    // The next task, with a free block for it (blockOf), waiting for a block; false once
    // every task is taken or the pass has stopped. A task is handed out only with its
    // block: a task taken before its block could find every block held by the tasks after
    // it, waiting for it to go out first.
    bool takeTask(size_t* task) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return !free_.empty() || stopped_ || nextTask_ == tasks_; });
        if (stopped_ || nextTask_ == tasks_) return false;
        *task = nextTask_++;
        taskBlocks_[*task] = free_.back();
        free_.pop_back();
        return true;
    }

    LineBlock& blockOf(size_t task) { return *taskBlocks_[task]; }

    // The full block of the unfinished task goes out in the task's turn; false when the
    // pass has stopped.
    bool writeInTurn(size_t task) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return (head_ == task && !drainActive_) || stopped_; });
            if (stopped_) return false;
        }
        // Every task before this one is out, and no other writes until it ends. A task
        // that follows a blank line with lines of its own finds the file changed, as the
        // line-by-line reading would: the blank line stands before more data.
        if (!order_.linesMayFollow(true)) {
            stop(PassResult::ReadFailed);
            return false;
        }
        return writeLines(blockOf(task));
    }

    // The task has ended: its lines go out in its turn, by this worker or another.
    void finishTask(size_t task, const TaskEnd& end) {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_[task] = Finished{&blockOf(task), end};
        if (drainActive_ || head_ != task) return;
        drainActive_ = true;
        while (!stopped_) {
            const auto next = finished_.find(head_);
            if (next == finished_.end()) break;
            const Finished done = next->second;
            finished_.erase(next);
            lock.unlock();
            const PartOrder::Take take = order_.take(done.end.part);
            const bool written = take != PartOrder::None && writeLines(*done.block);
            lock.lock();
            free_.push_back(done.block);
            if (!written) {
                if (take == PartOrder::None) stopLocked(PassResult::ReadFailed);
                break;
            }
            outcome_.count += done.end.count;
            outcome_.checksum += done.end.checksum;
            if (take == PartOrder::Last) {
                if (done.end.stop == PassResult::ValueTooLarge) {
                    stopTask_ = head_;
                    stopLine_ = done.end.stopLine;
                }
                stopLocked(done.end.stop);
            }
            ++head_;
        }
        drainActive_ = false;
        changed_.notify_all();
    }

    // How the pass ended; for a value too large, the task it stands in and its line there.
    PassOutcome outcome(size_t* stopTask, long long* stopLine) const {
        *stopTask = stopTask_;
        *stopLine = stopLine_;
        return outcome_;
    }

private:
    struct Finished {
        LineBlock* block;
        TaskEnd end;
    };

    // Writes the block of the task at the head, by the one thread that may write now;
    // true when its lines went out.
    bool writeLines(LineBlock& block) {
        DWORD written = 0;
        const bool wrote =
            block.used == 0 || WriteFile(output_, block.lines.get(), static_cast<DWORD>(block.used), &written, NULL);
        block.used = 0;
        if (!wrote) {
            const DWORD error = GetLastError();
            std::lock_guard<std::mutex> lock(mutex_);
            if (!stopped_) outcome_.writeError = error;
            stopLocked(PassResult::WriteFailed);
            return false;
        }
        return true;
    }

    void stop(PassResult result) {
        std::lock_guard<std::mutex> lock(mutex_);
        stopLocked(result);
    }

    void stopLocked(PassResult result) {
        if (!stopped_) outcome_.result = result;
        stopped_ = true;
        changed_.notify_all();
    }

    const HANDLE output_;
    const size_t tasks_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<LineBlock>> blocks_;
    std::vector<LineBlock*> free_;
    std::vector<LineBlock*> taskBlocks_;   // the block each task was handed out with
    std::map<size_t, Finished> finished_;  // tasks ended whose lines have not gone out
    size_t nextTask_ = 0;                  // the next task to hand out
    size_t head_ = 0;                      // the next task whose lines go out
    bool drainActive_ = false;             // a worker is writing the finished tasks from the head on
    bool stopped_ = false;
    PartOrder order_;  // how the tasks written so far ended, by the one thread writing
    PassOutcome outcome_;
    size_t stopTask_ = 0;
    long long stopLine_ = 0;
};

// One task's lines into its block, which goes out in the task's turn, and whenever it
// fills before that. A line that cannot be read or split, or one with more fields than
// the Open found in every line, stops the pass: the file changed since it was opened; so
// does a line whose converted values are too large.
class WritePass {
public:
    static constexpr bool kCountsCommas = false;

    WritePass(size_t task, const PassChoices& choices, OrderedOutput& ordered, const LineReader& reader)
        : task_(task), choices_(choices), ordered_(ordered), block_(ordered.blockOf(task)), reader_(reader) {}

    int lineLimit() const { return kFullLineLimit; }
    const PointLayout& layout() const { return choices_.layout; }
    long long linesToSkim() const { return 0; }
    void skimmed(long long, long long) {}

    template <class Form>
    bool plainRun(LineReader& reader) {
        for (;;) {
            writePlainRun<Form>(reader, block_, choices_, &end_.count);
            if (roomForLine(block_)) return true;
            if (!ordered_.writeInTurn(task_)) return false;
        }
    }

    PointStep takePoint(const PointFields& point, bool cut) {
        if (!cut || point.commas != choices_.layout.fieldCount - 1) return stopAt(PassResult::ReadFailed);
        if (isNoDataPoint(point, choices_.form.elevations)) return PointStep::Next;
        if (!isInsideArea(choices_.area, point.x, point.y)) return PointStep::Next;
        char* const out = block_.lines.get() + block_.used;
        char* const end = choices_.conversion == Conversion::Move   ? putMoveLine(out, point, choices_.form)
                          : choices_.conversion == Conversion::None ? putCopyLine(out, point, choices_.form)
                                                                    : putConvertLine(out, point, choices_.form);
        if (!end) return stopAt(PassResult::ValueTooLarge);
        block_.used = static_cast<size_t>(end - block_.lines.get());
        ++end_.count;
        if (!roomForLine(block_) && !ordered_.writeInTurn(task_)) return PointStep::Abandon;
        return PointStep::Next;
    }

    // How the task ended, once its walk has.
    TaskEnd ended(const PartEnd& part) {
        end_.part = part;
        if (part.stopped && end_.stop == PassResult::Done) end_.stop = PassResult::ReadFailed;
        end_.checksum = reader_.checksum;
        return end_;
    }

private:
    PointStep stopAt(PassResult stop) {
        end_.stop = stop;
        end_.stopLine = reader_.lineNumber;
        return PointStep::Stop;
    }

    const size_t task_;
    const PassChoices& choices_;
    OrderedOutput& ordered_;
    LineBlock& block_;
    const LineReader& reader_;
    TaskEnd end_;
};

// The line feeds among the first bytes of the file, which the lines before a task hold.
long long lineFeedsBefore(const char* path, uint64_t bytes) {
    std::filebuf file;
    if (!file.open(path, std::ios::in | std::ios::binary)) return 0;
    char buffer[1 << 16];
    long long feeds = 0;
    while (bytes > 0) {
        const std::streamsize wanted = static_cast<std::streamsize>(std::min<uint64_t>(bytes, sizeof buffer));
        const std::streamsize got = readBytes(file, buffer, wanted);
        if (got <= 0) break;
        feeds += std::count(buffer, buffer + got, '\n');
        bytes -= static_cast<uint64_t>(got);
    }
    return feeds;
}

}  // namespace

PassOutcome writeChosenPoints(HANDLE output, const OpenedFile& file, const SelectionArea& area,
                              const WriteChoices& choices, PassWatch* watch) {
    const PassChoices pass = passChoices(file, area, choices);
    const uint64_t size = file.stamp.size;
    const int workers = workerCount();
    // A task for every worker at least, so that a small file is split too.
    const uint64_t tasks = workers == 1 ? 1 : std::max<uint64_t>(static_cast<uint64_t>(workers), size / kTaskBytes + 1);
    PassPlan plan = planPass(file.path, file.header, size, static_cast<int>(std::min(tasks, kMostTasks)));
    plan.checksums = true;
    plan.watch = watch;
    beginWatchedPass(watch, size);
    // Two blocks for each worker: one for the task in hand, one whose lines wait their turn.
    OrderedOutput ordered(output, plan.parts.size(), 2 * workers);
    runParts(
        plan, workers, [&ordered](size_t* task) { return ordered.takeTask(task); },
        [&](size_t task, LineReader& reader) {
            WritePass taskPass(task, pass, ordered, reader);
            const PartEnd end = walkPart(reader, taskPass);
            // A task given up leaves nothing to wait for: the pass has stopped.
            if (!end.abandoned) ordered.finishTask(task, taskPass.ended(end));
        });
    size_t stopTask;
    long long stopLine;
    PassOutcome outcome = ordered.outcome(&stopTask, &stopLine);
    if (outcome.result == PassResult::ValueTooLarge)
        outcome.line = stopLine + lineFeedsBefore(file.path, plan.parts[stopTask].begin);
    return outcome;
}
