#include "points/openGather.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "reader/workers.h"

namespace {

// Room for lines 1 and 2 of at most 127 characters each, their line breaks and a
// byte-order mark.
constexpr size_t kHeadBytes = 3 + 2 * (kFullLineLimit + 1);

// A part read by one worker: every data line counted with its commas and, while all are
// points of the layout that pass every check, gathered into its ranges. Once one is not,
// the part is only counted, as the counting pass counts.
class GatherPass {
public:
    static constexpr bool kCountsCommas = true;

    GatherPass(PartGather& part, short fieldCount)
        : part_(part), layout_{fieldCount, false}, layoutCommas_(fieldCount - 1) {
        part.clean = fieldCount == 2 || fieldCount == 3 || fieldCount == 5;
    }

    int lineLimit() const { return kShortLineLimit; }
    const PointLayout& layout() const { return layout_; }
    long long linesToSkim() const { return part_.clean ? 0 : LLONG_MAX; }

    void skimmed(long long lines, long long commas) {
        part_.lines += lines;
        part_.commas += commas;
    }

    template <class Form>
    bool plainRun(LineReader& reader) {
        Ranges r = part_.ranges;  // a local of the walk, kept in registers
        const long long taken =
            takePlainLines(reader, kShortLineLimit, Form{},
                           [&r](const PlainLine& line) SKERROW_INLINE_LAMBDA { return addPlainPoint<Form>(r, line); });
        part_.ranges = r;
        part_.lines += taken;
        part_.commas += taken * layoutCommas_;
        return true;
    }

    PointStep takePoint(const PointFields& point, bool cut) {
        ++part_.lines;
        part_.commas += point.commas;
        if (checkPoint(part_.ranges, point, cut, layout_) != PointStop::End) part_.clean = false;
        return PointStep::Next;
    }

private:
    PartGather& part_;
    const PointLayout layout_;
    const int layoutCommas_;
};

// The byte where line 3 starts: just after the second line feed, or the file's end.
uint64_t thirdLineStart(const char* path, uint64_t size) {
    std::filebuf file;
    char head[kHeadBytes];
    if (!file.open(path, std::ios::in | std::ios::binary)) return size;
    const std::streamsize got = readBytes(file, head, sizeof head);
    int feeds = 0;
    for (std::streamsize i = 0; i < got; ++i)
        if (head[i] == '\n' && ++feeds == 2) return static_cast<uint64_t>(i) + 1;
    return size;
}

// The parts were read whole, in order, as the line rules read them; clean: every line
// of every part passed every check.
bool partsReadWhole(const OpenGather& gather, bool clean) {
    std::vector<PartEnd> ends;
    for (const PartGather& part : gather.parts) {
        if (clean && !part.clean) return false;
        ends.push_back(part.end);
    }
    bool stopped;
    PartOrder::partsRead(ends, &stopped);
    return !stopped;
}

int commasIn(const std::string& text) {
    int commas = 0;
    for (char c : text) commas += c == ',';
    return commas;
}

// The line as a point of the layout that passes every check, gathered into r.
bool cleanPoint(const std::string& text, const PointLayout& layout, Ranges& r) {
    char line[kLineBufferSize + kLineTailRoom] = {};
    std::memcpy(line, text.data(), text.size());
    line[text.size()] = '\n';
    PointFields point;
    return checkPoint(r, point, cutPointFields(line, text.size(), layout, &point), layout) == PointStop::End;
}

}  // namespace

OpenGather gatherOpen(const char* path, unsigned long long size, PassWatch* watch) {
    OpenGather gather;
    const int workers = workerCount();
    if (workers < 2) return gather;  // on one core, the two passes read the file as they always have
    // Only a plain file: opening a pipe waits for a writer. The counting pass refuses it.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return gather;
    // Lines 1 and 2, the bytes before the parts: read whole in the reader's first block.
    const uint64_t partsStart = thirdLineStart(path, size);
    LineReader reader;
    reader.checksumming = true;
    if (!openReaderRange(reader, path, 0, partsStart)) return gather;
    if (readDataLine(reader, kFullLineLimit) != LineOutcome::Data) return gather;
    gather.line1 = reader.line;
    const long long line1 = reader.lineNumber;
    if (readDataLine(reader, kFullLineLimit) != LineOutcome::Data || reader.lineNumber != line1 + 1) return gather;
    gather.line2 = reader.line;
    if (readDataLine(reader, kFullLineLimit) != LineOutcome::End) return gather;
    gather.headChecksum = reader.checksum;
    closeReader(reader);
    // Without a comma in line 2 the file is no point file under either header choice: the
    // counting pass says so at once, with nothing gathered.
    if (commasIn(gather.line2) == 0) return gather;

    gather.size = size;
    gather.fieldCount = static_cast<short>(commasIn(gather.line2) + 1);
    gather.plan = PassPlan{path, HeaderChoice::Read, splitAtLineStarts(path, partsStart, size, workers), true, watch};
    beginWatchedPass(watch, size - partsStart);
    gather.parts.resize(gather.plan.parts.size());
    runParts(gather.plan, [&gather](size_t part, LineReader& partReader) {
        GatherPass pass(gather.parts[part], gather.fieldCount);
        gather.parts[part].end = walkPart(partReader, pass);
        gather.parts[part].checksum = partReader.checksum;
    });
    gather.complete = true;
    return gather;
}

bool gatheredCounts(const OpenGather& gather, HeaderChoice header, int* firstCommas, long long* laterCommas,
                    long long* lines) {
    if (!gather.complete || !partsReadWhole(gather, false)) return false;
    long long partLines = 0, partCommas = 0;
    for (const PartGather& part : gather.parts) {
        partLines += part.lines;
        partCommas += part.commas;
    }
    if (header == HeaderChoice::Read) {
        // Line 2 is a later line, read with the short limit.
        if (gather.line2.size() > static_cast<size_t>(kShortLineLimit - 1)) return false;
        *firstCommas = commasIn(gather.line1);
        *laterCommas = commasIn(gather.line2) + partCommas;
        *lines = 2 + partLines;
    } else {
        *firstCommas = commasIn(gather.line2);
        *laterCommas = partCommas;
        *lines = 1 + partLines;
    }
    return true;
}

bool gatheredRanges(const OpenGather& gather, HeaderChoice header, const PointLayout& layout, Ranges* ranges,
                    FilePlan* plan, unsigned long long* checksum) {
    if (!gather.complete || gather.fieldCount != layout.fieldCount || !partsReadWhole(gather, true)) return false;
    const PointLayout unswapped = {layout.fieldCount, false};
    Ranges r;
    if (header == HeaderChoice::Read) {
        if (gather.line2.size() > static_cast<size_t>(kShortLineLimit - 1)) return false;
        if (!cleanPoint(gather.line1, unswapped, r)) return false;
    }
    if (!cleanPoint(gather.line2, unswapped, r)) return false;
    const long long headLines = r.points;
    plan->parts.clear();
    plan->dataLinesBefore.clear();
    long long before = 0;
    *checksum = gather.headChecksum;
    for (size_t i = 0; i < gather.parts.size(); ++i) {
        *checksum += gather.parts[i].checksum;
        addRanges(r, gather.parts[i].ranges);
        plan->parts.push_back(gather.plan.parts[i]);
        plan->dataLinesBefore.push_back(headLines + before);
        before += gather.parts[i].lines;
    }
    // The plot's first part holds lines 1 and 2 with the first part after them.
    if (plan->parts.empty()) {
        plan->parts.push_back({0, gather.size});
        plan->dataLinesBefore.push_back(0);
    } else {
        plan->parts[0].begin = 0;
        plan->dataLinesBefore[0] = 0;
    }
    *ranges = r;
    return true;
}
