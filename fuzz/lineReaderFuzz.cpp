// The line reader over arbitrary bytes and limits: startPass, readLine and readDataLine
// against a plain model of the file's lines. Input: a byte for the header choice, two
// limit bytes (first line, later lines), then the file.
#include <cstring>
#include <string>
#include <vector>

#include "fuzzSupport.h"
#include "points/appState.h"
#include "reader/lineReader.h"
#include "reader/lineWalk.h"
#include "reader/plainLines.h"
#include "reader/pointFields.h"
#include "support/plainLinePoint.h"
#include "support/pointLineReference.h"
#include "support/testReader.h"

namespace {

struct Expected {
    LineOutcome outcome;
    int lineNumber;
    std::string text;  // the reader's line as a C string
};

// The file's lines: split at line feeds, one carriage return before a line feed or at the
// end of the file dropped; a last line without a line feed counts when it is not empty.
std::vector<std::string> splitLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = content.find('\n', start);
        std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (end == std::string::npos) {
            if (start < content.size()) lines.push_back(line);
            break;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string cString(const std::string& text) { return text.substr(0, text.find('\0')); }

// A line with a NUL is never blank: it is damaged.
bool blank(const std::string& line) {
    for (char c : line)
        if (c != ' ' && c != '\t') return false;
    return true;
}

bool holdsNul(const std::string& line) { return line.find('\0') != std::string::npos; }

int clampLimit(int limit) { return limit > 128 ? 128 : limit; }

// What each call of readDataLine gives, up to and including the first LineOutcome::End, LineOutcome::Bad
// or LineOutcome::Damaged.
std::vector<Expected> model(const std::string& content, bool skipHeader, int firstLimit, int laterLimit) {
    // A UTF-8 byte-order mark belongs to no line.
    const std::string text = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? content.substr(3) : content;
    std::vector<std::string> lines = splitLines(text);
    // Whether the reads so far met the end of the file: the lines before `next` are taken,
    // and the last of them had no line feed (or there was none to take).
    auto endMet = [&](size_t next) { return lines.empty() || (next >= lines.size() && text.back() != '\n'); };
    std::vector<Expected> calls;
    size_t next = 0;
    if (skipHeader) {
        if (!lines.empty() && lines[0].size() > 127) {
            calls.push_back({LineOutcome::Bad, 1, cString(lines[0].substr(0, 127))});
            return calls;
        }
        next = 1;
    }
    for (bool first = true;; first = false) {
        const int limit = clampLimit(first ? firstLimit : laterLimit);
        const int number = static_cast<int>(next) + 1;
        if ((skipHeader || !first) && endMet(next)) {
            calls.push_back({LineOutcome::End, number, ""});
            return calls;
        }
        if (limit < 1) {
            calls.push_back({LineOutcome::Bad, number, ""});
            return calls;
        }
        if (next >= lines.size()) {
            calls.push_back({LineOutcome::End, number, ""});
            return calls;
        }
        const std::string& line = lines[next];
        if (line.size() > static_cast<size_t>(limit - 1)) {
            calls.push_back({LineOutcome::Bad, number, cString(line.substr(0, limit - 1))});
            return calls;
        }
        if (holdsNul(line)) {
            calls.push_back({LineOutcome::Damaged, number, cString(line)});
            return calls;
        }
        if (!blank(line)) {
            calls.push_back({LineOutcome::Data, number, cString(line)});
            ++next;
            continue;
        }
        // A run of blank lines: the end of the data only when nothing follows it.
        for (size_t i = next + 1; i < lines.size(); ++i) {
            if (lines[i].size() > static_cast<size_t>(limit - 1) || !blank(lines[i])) {
                calls.push_back({LineOutcome::Bad, number, ""});
                return calls;
            }
        }
        calls.push_back({LineOutcome::End, number, ""});
        return calls;
    }
}

const std::string& scratch() {
    static const std::string path = [] {
        std::string p = fuzz::scratchPath("lines.csv");
        fuzz::removeAtExit(p);
        return p;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint8_t choices = in.byte();
    const bool skipHeader = choices & 1;
    const int firstLimit = in.byte() % 140;
    const int laterLimit = in.byte() % 140;
    const std::string content = in.rest();
    fuzz::writeFile(scratch(), content);

    std::strcpy(g_inputPath, scratch().c_str());
    g_skipHeader = skipHeader ? 1 : 0;
    FUZZ_CHECK(openReader(g_reader, g_inputPath, headerChoice()), "the scratch file opens");

    const std::vector<Expected> expected = model(content, skipHeader, firstLimit, laterLimit);
    for (size_t i = 0; i < expected.size(); ++i) {
        const LineOutcome outcome = readDataLine(g_reader, i == 0 ? firstLimit : laterLimit);
        FUZZ_CHECK(std::memchr(g_reader.line, '\0', kLineBufferSize) != nullptr, "the line buffer is terminated");
        FUZZ_CHECK(outcome == expected[i].outcome, "outcome as the model's");
        // LineOutcome::End names no line and leaves no text of its own.
        if (outcome == LineOutcome::End) continue;
        FUZZ_CHECK(g_reader.lineNumber == expected[i].lineNumber, "line number as the model's");
        FUZZ_CHECK(std::string(g_reader.line) == expected[i].text, "line text as the model's");
    }
    // After the end or a bad line every later call answers the same, whatever the limit;
    // after a damaged one, that the line is bad.
    const LineOutcome last =
        expected.back().outcome == LineOutcome::Damaged ? LineOutcome::Bad : expected.back().outcome;
    for (int limit : {128, 80, 1, 0}) {
        FUZZ_CHECK(readDataLine(g_reader, limit) == last, "the last outcome repeats");
        FUZZ_CHECK(last == LineOutcome::End ? g_reader.atEnd : g_reader.failed, "the stream stays ended");
    }
    closeReader(g_reader);

    // The passes' reader, which takes lines where they stand, walks the file the same way.
    FUZZ_CHECK(openReader(g_reader, g_inputPath, headerChoice()), "the scratch file opens again");
    for (size_t i = 0; i < expected.size(); ++i) {
        const char* line = nullptr;
        size_t length = 0;
        const LineOutcome outcome = nextDataLine(g_reader, i == 0 ? firstLimit : laterLimit, &line, &length);
        FUZZ_CHECK(outcome == expected[i].outcome, "in place: outcome as the model's");
        if (outcome == LineOutcome::End) continue;
        FUZZ_CHECK(g_reader.lineNumber == expected[i].lineNumber, "in place: line number as the model's");
        if (outcome == LineOutcome::Data)
            FUZZ_CHECK(std::string(line, length) == expected[i].text, "in place: line as the model's");
    }
    const char* line;
    size_t length;
    for (int limit : {128, 80, 1, 0})
        FUZZ_CHECK(nextDataLine(g_reader, limit, &line, &length) == last, "in place: the last outcome repeats");
    closeReader(g_reader);

    // And the reader that cuts plain lines while it finds their ends, under a layout and
    // swap from the header byte, against parsePointLine on the model's line.
    static const short layouts[] = {2, 3, 5};
    g_fieldCount = layouts[(choices >> 1) % 3];
    g_swapXY = (choices >> 3) & 1;
    FUZZ_CHECK(openReader(g_reader, g_inputPath, headerChoice()), "the scratch file opens a third time");
    for (size_t i = 0; i < expected.size(); ++i) {
        PointFields point;
        bool cut = false;
        const LineOutcome outcome =
            nextPointLine(g_reader, i == 0 ? firstLimit : laterLimit, pointLayout(), &point, &cut);
        FUZZ_CHECK(outcome == expected[i].outcome, "cut in place: outcome as the model's");
        if (outcome == LineOutcome::End) continue;
        FUZZ_CHECK(g_reader.lineNumber == expected[i].lineNumber, "cut in place: line number as the model's");
        if (outcome != LineOutcome::Data) continue;
        std::memcpy(g_lineBuf, expected[i].text.c_str(), expected[i].text.size() + 1);
        FUZZ_CHECK(cut == parsePointLine(), "cut in place exactly when parsePointLine parses the line");
        if (!cut) continue;
        auto same = [](double a, double b) { return a == b || (a != a && b != b); };
        FUZZ_CHECK(std::string(point.xText, point.xLength) == g_xText && same(point.x, g_x), "cut in place: X");
        FUZZ_CHECK(std::string(point.yText, point.yLength) == g_yText && same(point.y, g_y), "cut in place: Y");
        if (g_fieldCount != 2)
            FUZZ_CHECK(
                point.elevation == g_elevation || (point.elevation != point.elevation && g_elevation != g_elevation),
                "cut in place: elevation");
    }
    closeReader(g_reader);

    // The bulk walk of the counting pass and the drawing takes runs of the same data lines,
    // with their commas, and leaves every other line to the one-line reader.
    FUZZ_CHECK(openReader(g_reader, g_inputPath, headerChoice()), "the scratch file opens a fourth time");
    for (size_t i = 0; i < expected.size();) {
        if (i > 0) {
            const long long most = 1 + static_cast<long long>(i % 7);
            long long commas = 0;
            const bool counting = (choices >> 4) & 1;
            const long long taken = takeDataLines(g_reader, laterLimit, most, counting ? &commas : nullptr);
            FUZZ_CHECK(taken >= 0 && taken <= most, "bulk: no more lines than asked for");
            long long expectedCommas = 0;
            for (long long k = 0; k < taken; ++k) {
                FUZZ_CHECK(i + k < expected.size() && expected[i + k].outcome == LineOutcome::Data,
                           "bulk: data lines only");
                for (char c : expected[i + k].text) expectedCommas += c == ',';
            }
            if (taken > 0) {
                FUZZ_CHECK(g_reader.lineNumber == expected[i + taken - 1].lineNumber,
                           "bulk: line number as the model's");
                FUZZ_CHECK(!counting || commas == expectedCommas, "bulk: commas as the model's lines hold");
                i += static_cast<size_t>(taken);
                continue;
            }
        }
        const char* text = nullptr;
        size_t textLength = 0;
        const LineOutcome outcome = nextDataLine(g_reader, i == 0 ? firstLimit : laterLimit, &text, &textLength);
        FUZZ_CHECK(outcome == expected[i].outcome, "bulk: outcome as the model's");
        if (outcome != LineOutcome::End)
            FUZZ_CHECK(g_reader.lineNumber == expected[i].lineNumber, "bulk: line number as the model's");
        ++i;
    }
    closeReader(g_reader);

    // The plain-line walk of the writer and the parsing pass takes only data lines that
    // parsePointLine cuts into exactly the layout's fields, with its values, and leaves
    // every other line to the one-line reader.
    if (g_fieldCount == 5) return 0;
    FUZZ_CHECK(openReader(g_reader, g_inputPath, headerChoice()), "the scratch file opens a fifth time");
    for (size_t i = 0; i < expected.size();) {
        if (i > 0) {
            const size_t from = i;
            bool agrees = true;
            withPlainForm(pointLayout(), [&](auto form) {
                takePlainLines(g_reader, laterLimit, form, [&](const PlainLine& plain) {
                    if (i >= expected.size() || expected[i].outcome != LineOutcome::Data) return agrees = false;
                    const PointFields point = plainLinePoint(plain, pointLayout());
                    std::memcpy(g_lineBuf, expected[i].text.c_str(), expected[i].text.size() + 1);
                    int commas = 0;
                    for (char c : expected[i].text) commas += c == ',';
                    agrees = std::string(plain.text, plain.length) == expected[i].text && commas == g_fieldCount - 1 &&
                             parsePointLine() && std::string(point.xText, point.xLength) == g_xText && point.x == g_x &&
                             std::string(point.yText, point.yLength) == g_yText && point.y == g_y &&
                             (g_fieldCount == 2 || point.elevation == g_elevation ||
                              (point.elevation != point.elevation && g_elevation != g_elevation));
                    ++i;
                    return agrees;
                });
            });
            FUZZ_CHECK(agrees, "plain walk: a plain line is the model's data line, cut as parsePointLine cuts it");
            if (i > from) {
                FUZZ_CHECK(g_reader.lineNumber == expected[i - 1].lineNumber, "plain walk: line number as the model's");
                continue;
            }
        }
        const char* text = nullptr;
        size_t textLength = 0;
        const LineOutcome outcome = nextDataLine(g_reader, i == 0 ? firstLimit : laterLimit, &text, &textLength);
        FUZZ_CHECK(outcome == expected[i].outcome, "plain walk: outcome as the model's");
        if (outcome != LineOutcome::End)
            FUZZ_CHECK(g_reader.lineNumber == expected[i].lineNumber, "plain walk: line number as the model's");
        ++i;
    }
    closeReader(g_reader);

    // The drawing's thinned walk: the lines it passes over are the model's data lines, of
    // plain characters; those it hands over are plain lines of the layout, as above.
    FUZZ_CHECK(openReader(g_reader, g_inputPath, headerChoice()), "the scratch file opens a sixth time");
    const int step = (choices >> 5) % 4;
    int passOver = 0;
    for (size_t i = 0; i < expected.size();) {
        if (i > 0) {
            const size_t from = i;
            int pending = passOver;
            bool agrees = true;
            auto passed = [&](int lines) {
                for (int k = 0; k < lines && agrees; ++k, ++i)
                    agrees = i < expected.size() && expected[i].outcome == LineOutcome::Data &&
                             !expected[i].text.empty() &&
                             expected[i].text.find_first_not_of("0123456789,.-") == std::string::npos;
            };
            withPlainForm(pointLayout(), [&](auto form) {
                takePlainLinesPassing(g_reader, laterLimit, form, &passOver, [&](const PlainLine& plain) {
                    passed(pending);
                    if (!agrees) return -1;
                    if (i >= expected.size() || expected[i].outcome != LineOutcome::Data) {
                        agrees = false;
                        return -1;
                    }
                    int commas = 0;
                    for (char c : expected[i].text) commas += c == ',';
                    agrees = std::string(plain.text, plain.length) == expected[i].text && commas == g_fieldCount - 1;
                    ++i;
                    pending = step;
                    return agrees ? step : -1;
                });
            });
            if (agrees) passed(pending - passOver);
            FUZZ_CHECK(agrees, "thinned walk: lines passed over and handed over are the model's");
            if (i > from) {
                FUZZ_CHECK(g_reader.lineNumber == expected[i - 1].lineNumber,
                           "thinned walk: line number as the model's");
                continue;
            }
        }
        const char* text = nullptr;
        size_t textLength = 0;
        const LineOutcome outcome = nextDataLine(g_reader, i == 0 ? firstLimit : laterLimit, &text, &textLength);
        FUZZ_CHECK(outcome == expected[i].outcome, "thinned walk: outcome as the model's");
        if (outcome != LineOutcome::End)
            FUZZ_CHECK(g_reader.lineNumber == expected[i].lineNumber, "thinned walk: line number as the model's");
        passOver = passOver > 0 ? passOver - 1 : step;
        ++i;
    }
    closeReader(g_reader);
    return 0;
}
