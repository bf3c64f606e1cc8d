// The counting pass: the first data line fixes the comma count, every later line adds its
// commas, and the last line, read back from the end of the file, must agree with both.
#include <climits>
#include <cstring>

#include "points/openPasses.h"
#include "reader/pointPass.h"

namespace {

// Every line after the first read past by the line rules alone, its commas counted.
class CountPass {
public:
    static constexpr bool kCountsCommas = true;

    int lineLimit() const { return kShortLineLimit; }
    const PointLayout& layout() const { return layout_; }
    long long linesToSkim() const { return LLONG_MAX; }
    void skimmed(long long lines, long long commas) {
        lines_ += lines;
        commas_ += commas;
    }
    // Never reached: every line is skimmed.
    template <class Form>
    bool plainRun(LineReader&) {
        return true;
    }
    PointStep takePoint(const PointFields&, bool) { return PointStep::Next; }

    long long lines() const { return lines_; }
    long long commas() const { return commas_; }

private:
    const PointLayout layout_{2, false};
    long long lines_ = 0, commas_ = 0;
};

int countCommas(const char* text) {
    int commas = 0;
    for (; *text; ++text)
        if (*text == ',') ++commas;
    return commas;
}

// Text in UTF-16 holds a NUL beside every character it shares with ASCII: such a file is
// no point file, not a damaged one.
bool startsLikeUtf16(const char* text) {
    return std::strncmp(text, "\xFF\xFE", 2) == 0 || std::strncmp(text, "\xFE\xFF", 2) == 0;
}

}  // namespace

OpenStop countLines(const char* path, HeaderChoice header, const OpenGather& gather, FileCounts* counts,
                    PassWatch* watch) {
    counts->lines = 0;
    LineReader reader;
    reader.watch = watch;
    if (!openReader(reader, path, header)) return OpenStop{OpenRefusal::NotPointFile};
    LineOutcome outcome = readDataLine(reader, kFullLineLimit);
    if (outcome == LineOutcome::Damaged && startsLikeUtf16(reader.line)) outcome = LineOutcome::Data;
    if (outcome == LineOutcome::Bad || outcome == LineOutcome::Damaged)
        return badLineStop(reader, kFullLineLimit, outcome);
    // A first line of many lines that end in a carriage return alone: whatever else this
    // pass finds wrong with it, that is the cause.
    const bool carriageReturnsAlone = outcome == LineOutcome::Data && holdsLoneCarriageReturn(reader.line);
    auto refuse = [carriageReturnsAlone](OpenRefusal refusal) {
        return OpenStop{carriageReturnsAlone ? OpenRefusal::CarriageReturnsAlone : refusal};
    };
    const int firstCommas = outcome == LineOutcome::Data ? countCommas(reader.line) : 0;
    if (firstCommas == 0) return refuse(OpenRefusal::NotPointFile);
    counts->lines = 1;

    int gatheredFirst;
    long long laterCommas, lines;
    PartEnd end;
    if (!gatheredCounts(gather, header, &gatheredFirst, &laterCommas, &lines)) {
        CountPass pass;
        beginWatchedPass(watch, stampOf(path).size);
        end = walkWatched(reader, pass, watch);
        lines = 1 + pass.lines();
        laterCommas = pass.commas();
    }
    // The count the Swap Fields dialog and the plot hold.
    if (lines >= INT_MAX) return OpenStop{OpenRefusal::TooManyLines};
    if (end.stopped) return badLineStop(reader, kShortLineLimit, end.outcome);
    counts->lines = lines;

    readLastLine(reader);
    const int lastCommas = countCommas(reader.line);
    if (firstCommas != lastCommas || firstCommas + laterCommas != static_cast<long long>(lastCommas) * lines)
        return refuse(OpenRefusal::UnevenFields);
    counts->fieldCount = static_cast<short>(firstCommas + 1);
    if (counts->fieldCount != 2 && counts->fieldCount != 3 && counts->fieldCount != 5)
        return refuse(OpenRefusal::FieldCount);
    return OpenStop{};
}
