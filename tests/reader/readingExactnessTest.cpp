// The fast line and number reading against the plain forms they replace: the character
// by character getline over the stream, and strtod. Many generated inputs, every byte and
// every bit compared.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>

#include "points/appState.h"
#include "reader/lineReader.h"
#include "reader/plainLines.h"
#include "reader/valueReaders.h"
#include "support/coordinateModel.h"
#include "support/pointLineReference.h"
#include "support/testReader.h"
#include "support/valueReadings.h"

namespace {

// ---- readLine against a model of the character loop ----

// One read of the model: what readLine must store and the state it must leave.
struct ModelRead {
    std::string text;
    bool eof, fail;
};

// The line reading rule over content from pos, one character at a time: a line feed, or a
// carriage return before a line feed or the end, ends the line; limit - 1 characters fit.
ModelRead modelReadLine(const std::string& content, size_t& pos, int limit) {
    ModelRead read{"", false, false};
    const size_t room = static_cast<size_t>(limit - 1);
    for (;;) {
        if (pos == content.size()) {
            read.eof = true;
            break;
        }
        char c = content[pos];
        if (c == '\n') {
            ++pos;
            break;
        }
        if (c == '\r' && (pos + 1 == content.size() || content[pos + 1] == '\n')) {
            pos += pos + 1 == content.size() ? 1 : 2;
            read.eof = pos == content.size() && content[pos - 1] == '\r';
            break;
        }
        if (read.text.size() == room) {
            read.fail = true;
            break;
        }
        read.text += c;
        ++pos;
    }
    if (read.eof && read.text.empty()) read.fail = true;
    return read;
}

// Files of short lines from an alphabet rich in line breaks, with lines near the limits.
std::string randomContent(std::mt19937_64& random) {
    static const char alphabet[] = {'1', ',', '.', ' ', '\t', '\r', '\n', '\r', '\n', '\0', 'x'};
    std::string content;
    const int lines = static_cast<int>(random() % 6);
    for (int line = 0; line < lines; ++line) {
        const int lengths[] = {0, 1, 2, 3, 78, 79, 80, 81, 126, 127, 128, 129};
        int length = random() % 3 == 0 ? static_cast<int>(random() % 8) : lengths[random() % 12];
        for (int i = 0; i < length; ++i) content += random() % 4 ? '5' : alphabet[random() % sizeof alphabet];
        const char* const breaks[] = {"\n", "\r\n", "\r", "\r\r\n", ""};
        content += breaks[random() % 5];
    }
    return content;
}

class ReadLineExactness : public ::testing::TestWithParam<int> {};

TEST_P(ReadLineExactness, StoresAndStopsAsTheCharacterLoop) {
    const int limit = GetParam();
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("skerrow-exact-" + std::to_string(limit) + ".csv");
    std::strcpy(g_inputPath, path.string().c_str());
    g_skipHeader = 0;
    std::mt19937_64 random(limit);
    for (int file = 0; file < 1500; ++file) {
        const std::string content = randomContent(random);
        std::ofstream(path, std::ios::binary) << content;
        ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
        size_t pos = 0;
        for (int read = 0; read < 12; ++read) {
            // A stream that is no longer good is failed by the next read, storing nothing.
            const bool wasGood = readerGood(g_reader);
            ModelRead expected = wasGood ? modelReadLine(content, pos, limit) : ModelRead{"", g_reader.atEnd, true};
            readLine(g_reader, limit);
            const std::string stored(g_reader.line, std::strlen(g_reader.line));
            std::string expectedText = expected.text.substr(0, expected.text.find('\0'));
            ASSERT_EQ(stored, expectedText) << "file " << file << " read " << read;
            ASSERT_EQ(g_reader.atEnd, expected.eof) << "file " << file << " read " << read;
            ASSERT_EQ(g_reader.failed, expected.fail) << "file " << file << " read " << read;
            if (!wasGood) break;
        }
        closeReader(g_reader);
    }
    std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Limits, ReadLineExactness, ::testing::Values(1, 2, 4, 80, 128));

bool sameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameFloat(float a, float b) { return sameDouble(a, b); }

// The reading of an elevation as it was: strtod narrowed, infinities past the float range.
float strtodElevation(const char* text) {
    double value = std::strtod(text, nullptr);
    if (std::isnan(value)) return static_cast<float>(value);
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(value);
}

// ---- parsePointLine against the field cutting with strchr and strcpy ----

struct Parsed {
    bool ok;
    std::string line;  // g_lineBuf's 128 bytes after the cut
    std::string x, y, z;
    long f1, f2, f3, f4;  // field offsets in g_lineBuf, -1 where left alone
};

// The cutting as it was: count the commas, cut at strchr's finds, copy with strcpy.
Parsed modelParse(const char* lineText, int fieldCount, bool swap) {
    char line[128] = {};
    std::strcpy(line, lineText);
    const int layout = fieldCount >= 5 ? 5 : (fieldCount >= 3 ? 3 : 2);
    const int needed = layout == 5 ? 4 : layout - 1;
    int commas = 0;
    for (const char* p = line; *p && commas < needed; ++p) commas += *p == ',';
    if (commas < needed) return Parsed{false, std::string(line, 128), "", "", "", -1, -1, -1, -1};
    char* fields[4] = {line, nullptr, nullptr, nullptr};
    const int cuts = layout == 5 ? 3 : layout - 1;
    for (int i = 0; i < cuts; ++i) {
        char* comma = std::strchr(fields[i], ',');
        *comma = '\0';
        fields[i + 1] = comma + 1;
    }
    const int first = layout == 5 ? 1 : 0;
    const char* x = fields[first];
    const char* y = fields[first + 1];
    if (swap) std::swap(x, y);
    auto offset = [&line](const char* p) { return p ? static_cast<long>(p - line) : -1L; };
    return Parsed{true,
                  std::string(line, 128),
                  x,
                  y,
                  layout == 2 ? "" : fields[first + 2],
                  0,
                  offset(fields[1]),
                  offset(fields[2]),
                  offset(fields[3])};
}

class ParseExactness : public ::testing::TestWithParam<int> {};

TEST_P(ParseExactness, CutsAndCopiesAsStrchrAndStrcpy) {
    const int fieldCount = GetParam();
    std::mt19937_64 random(fieldCount);
    static const char alphabet[] = "0123456789,,,.- \tE";
    for (int i = 0; i < 200000; ++i) {
        const bool swap = random() % 2;
        char line[128] = {};
        const int length = static_cast<int>(random() % 128);
        for (int k = 0; k < length; ++k) line[k] = alphabet[random() % (sizeof alphabet - 1)];
        const Parsed expected = modelParse(line, fieldCount, swap);
        std::memcpy(g_lineBuf, line, sizeof line);
        g_fieldCount = static_cast<short>(fieldCount);
        g_swapXY = swap ? 1 : 0;
        g_field1 = g_field2 = g_field3 = g_field4 = nullptr;
        std::strcpy(g_zText, "untouched");
        ASSERT_EQ(parsePointLine(), expected.ok) << line;
        ASSERT_EQ(std::string(g_lineBuf, 128), expected.line) << line;
        if (!expected.ok) continue;
        auto offset = [](const char* p) { return p ? static_cast<long>(p - g_lineBuf) : -1L; };
        ASSERT_EQ(offset(g_field2), expected.f2) << line;
        ASSERT_EQ(offset(g_field3), expected.f3) << line;
        ASSERT_EQ(offset(g_field4), expected.f4) << line;
        ASSERT_EQ(std::string(g_xText), expected.x) << line;
        ASSERT_EQ(std::string(g_yText), expected.y) << line;
        if (fieldCount == 2) {
            ASSERT_STREQ(g_zText, "untouched");
        } else {
            ASSERT_EQ(std::string(g_zText), expected.z) << line;
            ASSERT_TRUE(sameFloat(g_elevation, strtodElevation(expected.z.c_str()))) << line;
        }
        ASSERT_TRUE(sameDouble(g_x, modelCoordinate(expected.x))) << line;
        ASSERT_TRUE(sameDouble(g_y, modelCoordinate(expected.y))) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ParseExactness, ::testing::Values(2, 3, 5));

// ---- readDecimal and readElevation against strtod ----

void expectStrtodReading(const std::string& text) {
    const double expected = std::strtod(text.c_str(), nullptr);
    const double read = readDecimal(text.c_str());
    ASSERT_TRUE(sameDouble(read, expected)) << "\"" << text << "\": " << read << " for strtod's " << expected;
    const double readToEnd = readDecimal(text.c_str(), text.c_str() + text.size());
    ASSERT_TRUE(sameDouble(readToEnd, expected)) << "\"" << text << "\" with its end given";
    const float elevation = readElevation(text.c_str(), text.c_str() + text.size());
    const float expectedElevation = strtodElevation(text.c_str());
    ASSERT_TRUE(sameDouble(elevation, expectedElevation)) << "\"" << text << "\" as an elevation";
}

TEST(ReadDecimalExactness, EdgeTexts) {
    const char* const texts[] = {"",
                                 "-",
                                 ".",
                                 "-.",
                                 "+",
                                 "e5",
                                 "1e",
                                 "1e+",
                                 "1e-",
                                 ".5",
                                 "-.5",
                                 "5.",
                                 "-0",
                                 "-0.0",
                                 "0",
                                 "00012.50",
                                 "+12.5",
                                 " 12.5",
                                 "\t-3",
                                 "0x1p3",
                                 "-0X10",
                                 "0x",
                                 "inf",
                                 "-inf",
                                 "INFINITY",
                                 "nan",
                                 "-nan",
                                 "nan(1)",
                                 "1e308",
                                 "1.8e308",
                                 "-1e400",
                                 "1e-400",
                                 "4e-320",
                                 "2.2250738585072011e-308",
                                 "4.9406564584124654e-324",
                                 "9007199254740993",
                                 "9007199254740992.5",
                                 "0.1000000000000000055511151231257827021181583404541015625",
                                 "179769313486231580793728971405301e276",
                                 "12.5,TREE",
                                 "412345.678,5318765.43",
                                 "1,2",
                                 "1e5x",
                                 "32767.5",
                                 "3.4028235e38",
                                 "3.4028236e38",
                                 "-3.40282357e38",
                                 "1.4e-45",
                                 "0.000000000000000000000000000000000000000001",
                                 "123456789012345678901234567890123456789012345678901234567890.123456789"};
    for (const char* text : texts) expectStrtodReading(text);
}

TEST(ReadDecimalExactness, MillionsOfRandomTexts) {
    std::mt19937_64 random(7);
    char text[96];
    for (int i = 0; i < 1500000; ++i) {
        switch (i % 5) {
        case 0: {  // any double, shortest and long forms
            uint64_t bits = random();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            std::snprintf(text, sizeof text, i % 2 ? "%.17g" : "%.25e", value);
            break;
        }
        case 1:  // survey values with two or three decimals
            std::snprintf(text, sizeof text, i % 3 ? "%.2f" : "%.3f",
                          static_cast<double>(random() % 10000000000ULL) / 1000.0 - (i % 7 == 0 ? 5e6 : 0));
            break;
        case 2: {  // long digit strings with a point anywhere: rounding at the last bit
            int length = 1 + static_cast<int>(random() % 40);
            int point = static_cast<int>(random() % (length + 1));
            int n = 0;
            if (random() % 4 == 0) text[n++] = '-';
            for (int d = 0; d < length; ++d) {
                if (d == point) text[n++] = '.';
                text[n++] = static_cast<char>('0' + random() % 10);
            }
            if (random() % 3 == 0)
                n += std::snprintf(text + n, sizeof text - n, "e%d", static_cast<int>(random() % 700) - 350);
            text[n] = '\0';
            break;
        }
        case 3:  // elevations near the float range and the no-data band
            std::snprintf(
                text, sizeof text, "%.9g",
                (i % 2 ? 32766.0 + static_cast<double>(random() % 3000) / 1000.0
                       : std::ldexp(static_cast<double>(random() % 1000000), static_cast<int>(random() % 300) - 150)));
            break;
        default: {  // numbers followed by what a field may hold after them
            static const char* const tails[] = {",TREE", " ", "\t", "x", ",", "e", "e+", ".", "..5"};
            std::snprintf(text, sizeof text, "%lld.%03d%s", static_cast<long long>(random() % 9000000) - 1000000,
                          static_cast<int>(random() % 1000), tails[random() % 9]);
        }
        }
        expectStrtodReading(text);
    }
}

// ---- a plain line's field against strtod ----

// Fields of plain lines: runs of digits of every length up to ten around points and
// minus signs, ended by a comma or a line break. The decimal fast path of a plain field
// takes what that of any field takes, as strtod reads it. A digit lost past a word on either side of
// the point hardly shows in the written lines' two or three decimals, so only this
// comparison sees it.
TEST(ReadPlainFieldExactness, TakesWhatReadPlainDecimalTakesAsStrtodReadsIt) {
    std::mt19937_64 random(11);
    const char* const ends[] = {",", "\r\n", "\n"};
    for (int i = 0; i < 300000; ++i) {
        std::string field = random() % 3 ? "" : "-";
        const int runs = 1 + static_cast<int>(random() % 3);
        for (int run = 0; run < runs; ++run) {
            if (run > 0) field += random() % 5 ? '.' : '-';
            const int digits = static_cast<int>(random() % 11);
            for (int d = 0; d < digits; ++d) field += static_cast<char>('0' + random() % 10);
        }
        const std::string line = field + ends[random() % 3] + "12.5\n";
        char text[64] = {};  // zeros after the line: its tail room
        std::memcpy(text, line.data(), line.size());
        double fromField = -1.0, fromDecimal = -1.0;
        const bool tookField = shortDecimalFastPath<FieldKind::Plain>(text, &fromField) != nullptr;
        ASSERT_EQ(tookField, shortDecimalFastPath<FieldKind::Any>(text, &fromDecimal) != nullptr) << field;
        if (tookField) {
            ASSERT_TRUE(sameDouble(fromField, std::strtod(text, nullptr))) << field;
        }
    }
}

}  // namespace
