#include "points/openGather.h"

#include <climits>
#include <cstring>
#include <fstream>

#include "reader/workers.h"

namespace {

// Room for lines 1 and 2 of at most 127 characters each, their line breaks and a
// byte-order mark.
constexpr size_t kHeadBytes = 3 + 2 * (kFullLineLimit + 1);

// A part read by one worker: every data line counted with its commas and, while all are
// points of the part's first line's layout that pass every check, gathered into its
// ranges. Once one is not, the part is only counted, as the counting pass counts.
void gatherPart(PartGather& part) {
    LineReader reader;
    if (!openReaderRange(reader, g_inputPath, part.range.begin, part.range.end)) {
        part.readable = part.clean = false;
        return;
    }
    const char* text;
    size_t length;
    LineOutcome outcome = nextDataLine(reader, kShortLineLimit, &text, &length);
    if (outcome != LineOutcome::Data) {
        if (outcome == LineOutcome::End)
            part.endedInBlanks = reader.endedInBlanks;
        else
            part.readable = part.clean = false;
        return;
    }
    part.commas = countLineCommas(text, length);
    const short fieldCount = static_cast<short>(part.commas + 1);
    const PointLayout layout = {fieldCount, false};
    Ranges r;
    PointFields point;
    part.clean = fieldCount == 2 || fieldCount == 3 || fieldCount == 5;
    if (part.clean)
        part.clean = checkPoint(r, point, cutPointFields(text, length, layout, &point), layout) == PointStop::End;
    long long lines = 1, commas = part.commas;
    for (;;) {
        if (part.clean) {
            withPlainForm(layout, [&](auto form) {
                lines += takePlainLines(reader, kShortLineLimit, form,
                                        [&r](const PlainLine& line)
                                            SKERROW_INLINE_LAMBDA { return addPlainPoint<decltype(form)>(r, line); });
            });
            commas = part.commas * lines;  // every line so far has the first one's commas
            bool cut;
            if ((outcome = nextPointLine(reader, kShortLineLimit, layout, &point, &cut)) != LineOutcome::Data) break;
            ++lines;
            commas += point.commas;
            if (checkPoint(r, point, cut, layout) != PointStop::End) part.clean = false;
            if (part.clean) commas = part.commas * lines;
        } else {
            lines += takeDataLines(reader, kShortLineLimit, LLONG_MAX, &commas);
            if ((outcome = nextDataLine(reader, kShortLineLimit, &text, &length)) != LineOutcome::Data) break;
            ++lines;
            commas += countLineCommas(text, length);
        }
    }
    if (outcome == LineOutcome::End) {
        part.endedInBlanks = reader.endedInBlanks;
    } else {
        part.readable = part.clean = false;
    }
    part.lines = lines;
    part.allCommas = commas;
    part.ranges = r;
}

// The byte where line 3 starts: just after the second line feed, or the file's end.
uint64_t thirdLineStart(uint64_t size) {
    std::filebuf file;
    char head[kHeadBytes];
    if (!file.open(g_inputPath, std::ios::in | std::ios::binary)) return size;
    const std::streamsize got = readBytes(file, head, sizeof head);
    int feeds = 0;
    for (std::streamsize i = 0; i < got; ++i)
        if (head[i] == '\n' && ++feeds == 2) return static_cast<uint64_t>(i) + 1;
    return size;
}

// The parts read in order as the line rules read them: a part that ends in blank lines
// may be followed only by parts without a line.
bool partsReadInOrder(const OpenGather& gather, bool clean) {
    bool blanksOpen = false;
    for (const PartGather& part : gather.parts) {
        if (!part.readable || (clean && !part.clean)) return false;
        if (blanksOpen && part.lines > 0) return false;
        blanksOpen = part.endedInBlanks || (blanksOpen && part.lines == 0);
    }
    return true;
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

void gatherOpen(OpenGather* gather) {
    *gather = OpenGather();
    const int workers = workerCount();
    if (workers < 2) return;  // on one core, the two passes read the file as they always have
    LineReader reader;
    if (!openReader(reader, g_inputPath, HeaderChoice::Read)) return;
    if (readDataLine(reader, kFullLineLimit) != LineOutcome::Data) return;
    gather->line1 = reader.line;
    if (readDataLine(reader, kFullLineLimit) != LineOutcome::Data || reader.lineNumber != 2) return;
    gather->line2 = reader.line;
    closeReader(reader);

    const uint64_t size = g_inputStamp.size;
    const std::vector<ByteRange> ranges = splitAtLineStarts(g_inputPath, thirdLineStart(size), size, workers);
    gather->parts.resize(ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i) gather->parts[i].range = ranges[i];
    runWorkers(static_cast<int>(ranges.size()), [gather](int part) { gatherPart(gather->parts[part]); });
    gather->complete = true;
}

bool gatheredCounts(const OpenGather& gather, HeaderChoice header, int* firstCommas, long long* laterCommas,
                    long long* lines) {
    if (!gather.complete || !partsReadInOrder(gather, false)) return false;
    long long partLines = 0, partCommas = 0;
    for (const PartGather& part : gather.parts) {
        partLines += part.lines;
        partCommas += part.allCommas;
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
    return *lines < INT_MAX;
}

bool gatheredRanges(const OpenGather& gather, HeaderChoice header, const PointLayout& layout, Ranges* ranges,
                    FilePlan* plan) {
    if (!gather.complete || !partsReadInOrder(gather, true)) return false;
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
    for (const PartGather& part : gather.parts) {
        if (part.lines > 0 && part.commas != layout.fieldCount - 1) return false;
        addRanges(r, part.ranges);
        plan->parts.push_back(part.range);
        plan->dataLinesBefore.push_back(headLines + before);
        before += part.lines;
    }
    // The plot's first part holds lines 1 and 2 with the first part after them.
    if (plan->parts.empty()) {
        plan->parts.push_back({0, g_inputStamp.size});
        plan->dataLinesBefore.push_back(0);
    } else {
        plan->parts[0].begin = 0;
        plan->dataLinesBefore[0] = 0;
    }
    *ranges = r;
    return true;
}
