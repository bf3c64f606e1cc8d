#include "points/pointLine.h"

#include <cstring>

#include "points/appState.h"
#include "points/numberReading.h"

void readLine(int limit) {
    g_lineBuf[0] = '\0';
    if (limit > static_cast<int>(sizeof g_lineBuf)) limit = sizeof g_lineBuf;
    if (limit < 1 || !g_input.good()) {
        g_input.setstate(std::ios::failbit);
        return;
    }
    // getline scans the stream's buffer for the line feed a block at a time. It is given
    // room for one character more than the line may hold: a carriage return that turns
    // out to belong to the line break.
    char line[sizeof g_lineBuf + 1];
    g_input.getline(line, limit + 1);
    const std::ios::iostate got = g_input.rdstate();
    std::streamsize stored = g_input.gcount();
    bool broken = false;  // the line went on past what it may hold
    if (got & std::ios::eofbit) {
        // The end of the file stops the line; a carriage return before it is a line break.
        if (stored > 0 && line[stored - 1] == '\r') --stored;
    } else if (got & std::ios::failbit) {
        broken = true;  // limit characters and more to come
    } else {
        --stored;  // the line feed, counted but not stored
        if (stored > 0 && line[stored - 1] == '\r') --stored;
    }
    if (stored > limit - 1) {
        stored = limit - 1;
        broken = true;
    }
    std::memcpy(g_lineBuf, line, static_cast<size_t>(stored));
    g_lineBuf[stored] = '\0';
    if (broken)
        g_input.clear(std::ios::failbit);
    else if ((got & std::ios::eofbit) && stored == 0)
        g_input.clear(std::ios::eofbit | std::ios::failbit);
    else
        g_input.clear(got & std::ios::eofbit);
}

static bool isBlank(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t') return false;
    return true;
}

// A read that failed before the end of the file: an over-long line or a read error.
static bool brokenRead() { return g_input.fail() && !g_input.eof(); }

short readDataLine(int limit) {
    if (!g_input.good()) return g_input.eof() ? LINE_END : LINE_BAD;
    readLine(limit);
    ++g_lineNumber;
    if (brokenRead()) return LINE_BAD;
    if (!isBlank(g_lineBuf)) return LINE_DATA;

    // Blank lines end the data only when nothing else follows them.
    const int blankLine = g_lineNumber;
    while (g_input.good()) {
        readLine(limit);
        ++g_lineNumber;
        if (brokenRead() || !isBlank(g_lineBuf)) {
            g_input.clear(std::ios::failbit);  // failed short of the end: every later call is LINE_BAD too
            g_lineNumber = blankLine;
            g_lineBuf[0] = '\0';
            return LINE_BAD;
        }
    }
    g_lineNumber = blankLine;
    g_lineBuf[0] = '\0';
    return LINE_END;
}

bool startPass() {
    if (g_input.is_open()) g_input.close();
    g_input.clear();
    g_lineNumber = 0;
    // A large buffer: each pass reads the whole file, a block per system call.
    static char block[1 << 18];
    g_input.rdbuf()->pubsetbuf(block, sizeof block);
    g_input.open(g_inputPath, std::ios::in | std::ios::binary);
    if (!g_input.is_open()) {
        g_input.clear();
        return false;
    }
    if (g_skipHeader == 1) {
        readLine(128);
        g_lineNumber = 1;
    }
    return true;
}

// Cuts the field starting at field at its first comma and returns the next field.
static char* cutField(char* field) {
    char* comma = std::strchr(field, ',');
    *comma = '\0';
    return comma + 1;
}

bool parsePointLine() {
    const int layout = g_fieldCount >= 5 ? 5 : (g_fieldCount >= 3 ? 3 : 2);
    const int commasNeeded = layout == 5 ? 4 : layout - 1;
    int commas = 0;
    for (const char* p = g_lineBuf; *p && commas < commasNeeded; ++p)
        if (*p == ',') ++commas;
    if (commas < commasNeeded) return false;

    g_field1 = g_lineBuf;
    g_field2 = cutField(g_field1);
    if (layout >= 3) g_field3 = cutField(g_field2);
    if (layout == 5) g_field4 = cutField(g_field3);

    const char* xField;
    const char* yField;
    const char* zField = nullptr;
    if (layout == 2) {
        xField = g_field1;
        yField = g_field2;
    } else if (layout == 3) {
        xField = g_field1;
        yField = g_field2;
        zField = g_field3;
    } else {
        xField = g_field2;
        yField = g_field3;
        zField = g_field4;
    }
    if (g_swapXY == 1) {
        const char* other = xField;
        xField = yField;
        yField = other;
    }
    // Every field lies inside g_lineBuf, so it fits the scratch texts of the same size.
    std::strcpy(g_xText, xField);
    std::strcpy(g_yText, yField);

    long long whole = 0;
    readWholeNumber(g_xText, &whole);
    g_x = static_cast<double>(whole);
    readWholeNumber(g_yText, &whole);
    g_y = static_cast<double>(whole);
    if (zField) {
        std::strcpy(g_zText, zField);
        g_elevation = readElevation(g_zText);
    }
    return true;
}
