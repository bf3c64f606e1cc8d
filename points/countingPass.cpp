// The counting pass: the first data line fixes the comma count, every later line adds its
// commas, and the last line, read back from the end of the file, must agree with both.
#include <algorithm>
#include <climits>
#include <cstring>

#include "points/appState.h"
#include "points/openSteps.h"
#include "points/pointFields.h"
#include "points/pointLine.h"

static const char* const kNotPointFile = "This is not a valid point file.\n    Check file and try again.";
static const char* const kUnevenFields = "This file has uneven fields.\n  Check file and try again.";
static const char* const kFieldCount =
    "This only works on files with 2, 3 or 5 fields.\n        Check file and try again.";
static const char* const kTooManyLines = "This file has too many lines.\n    Check file and try again.";

static int countCommas(const char* text) {
    int commas = 0;
    for (; *text; ++text)
        if (*text == ',') ++commas;
    return commas;
}

// Reads the file's last non-blank line into g_lineBuf (limit 128), found by scanning back
// from the end past the trailing line breaks and blanks, so that it is the true last line
// with or without a final line break, whatever the line breaks are.
static void readLastLine() {
    g_lineBuf[0] = '\0';
    g_input.clear();
    g_input.seekg(0, std::ios::end);
    std::streamoff pos = g_input.tellg();
    if (pos <= 0) return;

    bool inLine = false;
    std::streamoff lineStart = 0;
    char chunk[256];
    while (pos > 0 && lineStart == 0) {
        std::streamoff size = std::min<std::streamoff>(pos, sizeof chunk);
        pos -= size;
        g_input.seekg(pos);
        g_input.read(chunk, size);
        if (g_input.gcount() != size) return;
        for (std::streamoff i = size - 1; i >= 0; --i) {
            char c = chunk[i];
            if (!inLine) {
                inLine = c != '\n' && c != '\r' && c != ' ' && c != '\t';
            } else if (c == '\n') {
                lineStart = pos + i + 1;
                break;
            }
        }
    }
    if (!inLine) return;
    g_input.clear();
    g_input.seekg(lineStart);
    readLine(128);
}

bool countLines(HWND window) {
    g_lineCount = 0;
    // Taken before the first read: a change while the Open reads shows at the next write.
    g_inputStamp = stampOf(g_inputPath);
    if (!startPass()) {
        rejectFile(window, kNotPointFile);
        return false;
    }
    short outcome = readDataLine(128);
    // Text in UTF-16 holds a NUL beside every character it shares with ASCII: such a file is
    // no point file, not a damaged one.
    if (outcome == LINE_NUL && (std::strncmp(g_lineBuf, "\xFF\xFE", 2) == 0 || std::strncmp(g_lineBuf, "\xFE\xFF", 2) == 0))
        outcome = LINE_DATA;
    if (outcome == LINE_BAD || outcome == LINE_NUL) {
        rejectBadLine(window, 128, outcome);
        return false;
    }
    // A first line of many lines that end in a carriage return alone: whatever else this
    // pass finds wrong with it, that is the cause.
    const bool carriageReturnsAlone = outcome == LINE_DATA && holdsLoneCarriageReturn(g_lineBuf);
    auto reject = [&](const char* text) {
        if (carriageReturnsAlone) rejectCarriageReturnsAlone(window);
        else rejectFile(window, text);
    };
    const int firstCommas = outcome == LINE_DATA ? countCommas(g_lineBuf) : 0;
    if (firstCommas == 0) {
        reject(kNotPointFile);
        return false;
    }
    g_lineCount = 1;

    // Wide sums: the comparison below must not overflow on any file.
    long long laterCommas = 0;
    long long lines = 1;
    showWaitCursor();
    const char* line;
    size_t length;
    for (;;) {
        // Whole blocks of common lines at a time, the rest one by one.
        lines += takeDataLines(80, INT_MAX - lines, &laterCommas);
        if (lines == INT_MAX || (outcome = nextDataLine(80, &line, &length)) != LINE_DATA) break;
        laterCommas += countLineCommas(line, length);
        ++lines;
    }
    showArrowCursor();
    if (lines == INT_MAX) {
        rejectFile(window, kTooManyLines);
        return false;
    }
    if (outcome == LINE_BAD || outcome == LINE_NUL) {
        rejectBadLine(window, 80, outcome);
        return false;
    }
    g_lineCount = static_cast<int>(lines);

    readLastLine();
    const int lastCommas = countCommas(g_lineBuf);
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
