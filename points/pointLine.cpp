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
    typedef std::ifstream::traits_type Traits;
    const Traits::int_type end = Traits::eof();
    std::streambuf* in = g_input.rdbuf();
    const int room = limit - 1;
    int stored = 0;
    std::ios::iostate state = std::ios::goodbit;
    for (;;) {
        Traits::int_type c = in->sgetc();
        if (Traits::eq_int_type(c, end)) {
            state |= std::ios::eofbit;
            break;
        }
        if (c == '\n') {
            in->sbumpc();
            break;
        }
        if (c == '\r') {
            // Part of the line break when a line feed or the end of the file follows.
            Traits::int_type next = in->snextc();
            if (next == '\n') {
                in->sbumpc();
                break;
            }
            if (Traits::eq_int_type(next, end)) {
                state |= std::ios::eofbit;
                break;
            }
            if (stored == room) {
                state |= std::ios::failbit;
                break;
            }
            g_lineBuf[stored++] = '\r';
            continue;
        }
        if (stored == room) {
            state |= std::ios::failbit;
            break;
        }
        g_lineBuf[stored++] = Traits::to_char_type(c);
        in->sbumpc();
    }
    if ((state & std::ios::eofbit) && stored == 0) state |= std::ios::failbit;
    g_lineBuf[stored] = '\0';
    g_input.setstate(state);
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
