// The counting pass: the first data line fixes the comma count, every later line adds its
// commas, and the last line, read back from the end of the file, must agree with both.
#include <climits>
#include <cstring>

#include "points/appState.h"
#include "points/openGather.h"
#include "points/openPasses.h"
#include "reader/lineWalk.h"

namespace {

const char kNotPointFile[] = "This is not a valid point file.\n    Check file and try again.";
const char kUnevenFields[] = "This file has uneven fields.\n  Check file and try again.";
const char kFieldCount[] = "This only works on files with 2, 3 or 5 fields.\n        Check file and try again.";
const char kTooManyLines[] = "This file has too many lines.\n    Check file and try again.";

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

bool countLines(HWND window, LineReader& reader, OpenGather* gather) {
    g_lineCount = 0;
    // Taken before the first read: a change while the Open reads shows at the next write.
    g_inputStamp = stampOf(g_inputPath);
    if (!openReader(reader, g_inputPath, headerChoice())) {
        rejectFile(window, reader, kNotPointFile);
        return false;
    }
    LineOutcome outcome = readDataLine(reader, kFullLineLimit);
    if (outcome == LineOutcome::Damaged && startsLikeUtf16(reader.line)) outcome = LineOutcome::Data;
    if (outcome == LineOutcome::Bad || outcome == LineOutcome::Damaged) {
        rejectBadLine(window, reader, kFullLineLimit, outcome);
        return false;
    }
    // A first line of many lines that end in a carriage return alone: whatever else this
    // pass finds wrong with it, that is the cause.
    const bool carriageReturnsAlone = outcome == LineOutcome::Data && holdsLoneCarriageReturn(reader.line);
    auto reject = [&](const char* text) {
        if (carriageReturnsAlone)
            rejectCarriageReturnsAlone(window, reader);
        else
            rejectFile(window, reader, text);
    };
    const int firstCommas = outcome == LineOutcome::Data ? countCommas(reader.line) : 0;
    if (firstCommas == 0) {
        reject(kNotPointFile);
        return false;
    }
    g_lineCount = 1;

    // Wide sums: the comparison below must not overflow on any file.
    long long laterCommas = 0;
    long long lines = 1;
    showWaitCursor();
    gatherOpen(gather);
    int gatheredFirst;
    if (gatheredCounts(*gather, headerChoice(), &gatheredFirst, &laterCommas, &lines)) {
        // The one pass read what the lines below would; only the first line was read here.
        outcome = LineOutcome::End;
    } else {
        laterCommas = 0;
        lines = 1;
        const char* line;
        size_t length;
        for (;;) {
            // Whole blocks of common lines at a time, the rest one by one.
            lines += takeDataLines(reader, kShortLineLimit, INT_MAX - lines, &laterCommas);
            if (lines == INT_MAX ||
                (outcome = nextDataLine(reader, kShortLineLimit, &line, &length)) != LineOutcome::Data)
                break;
            laterCommas += countLineCommas(line, length);
            ++lines;
        }
    }
    showArrowCursor();
    if (lines == INT_MAX) {
        rejectFile(window, reader, kTooManyLines);
        return false;
    }
    if (outcome == LineOutcome::Bad || outcome == LineOutcome::Damaged) {
        rejectBadLine(window, reader, kShortLineLimit, outcome);
        return false;
    }
    g_lineCount = static_cast<int>(lines);

    readLastLine(reader);
    const int lastCommas = countCommas(reader.line);
    if (firstCommas != lastCommas || firstCommas + laterCommas != static_cast<long long>(lastCommas) * lines) {
        reject(kUnevenFields);
        return false;
    }
    g_fieldCount = static_cast<short>(firstCommas + 1);
    if (g_fieldCount != 2 && g_fieldCount != 3 && g_fieldCount != 5) {
        reject(kFieldCount);
        return false;
    }
    return true;
}
