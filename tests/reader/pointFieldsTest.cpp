// The passes' in-place line handling against the copying forms it stands in for:
// nextDataLine against readDataLine over whole files, and cutPointFields against the
// reference parsePointLine over single lines. Every outcome, byte and bit compared.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "points/appState.h"
#include "reader/lineReader.h"
#include "reader/lineWalk.h"
#include "reader/pointFields.h"
#include "support/pointLineReference.h"
#include "support/scratchFolder.h"
#include "support/testReader.h"

namespace {

// ---- nextDataLine against readDataLine ----

struct Step {
    LineOutcome outcome;
    std::string text;
    long long lineNumber;
    bool operator==(const Step& other) const {
        return outcome == other.outcome && text == other.text && lineNumber == other.lineNumber;
    }
};

std::ostream& operator<<(std::ostream& out, const Step& step) {
    return out << "{" << step.outcome << ", \"" << step.text << "\", line " << step.lineNumber << "}";
}

// Walks the file with one of the two readers, two steps past its end.
std::vector<Step> walk(bool inPlace, int limit) {
    std::vector<Step> steps;
    if (!openReader(g_reader, g_inputPath, headerChoice())) return steps;
    for (int i = 0; i < 400000; ++i) {
        Step step;
        if (inPlace) {
            const char* line = nullptr;
            size_t length = 0;
            step.outcome = nextDataLine(g_reader, limit, &line, &length);
            if (step.outcome == LineOutcome::Data) step.text.assign(line, length);
        } else {
            step.outcome = readDataLine(g_reader, limit);
            if (step.outcome == LineOutcome::Data) step.text = g_reader.line;
        }
        step.lineNumber = g_reader.lineNumber;
        steps.push_back(step);
        if (step.outcome != LineOutcome::Data && steps.size() >= 3 &&
            steps[steps.size() - 3].outcome != LineOutcome::Data)
            break;
    }
    closeReader(g_reader);
    return steps;
}

// Point-like lines and every kind of line the rule treats apart: blank ones, lines that
// start with a blank, NULs, carriage returns, lines near the limits; some files larger
// than the read block, so that lines straddle its end.
std::string randomFile(std::mt19937_64& random) {
    std::string content;
    const bool large = random() % 8 == 0;
    const int lines = large ? 12000 + static_cast<int>(random() % 4000) : static_cast<int>(random() % 12);
    const int oddOnes = static_cast<int>(random() % 4);  // how often a line is unusual, in 64ths
    for (int i = 0; i < lines; ++i) {
        if (static_cast<int>(random() % 64) >= oddOnes) {
            content += std::to_string(400000 + random() % 9000) + "." + std::to_string(random() % 100) + "," +
                       std::to_string(5300000 + random() % 9000) + ",12.5";
        } else {
            static const char alphabet[] = {'7', ',', ' ', '\t', '\r', '\0', '.'};
            const int lengths[] = {0, 1, 2, 78, 79, 80, 81, 126, 127, 128, 129, 200};
            const int length = lengths[random() % 12];
            for (int k = 0; k < length; ++k) content += random() % 3 ? '7' : alphabet[random() % sizeof alphabet];
        }
        const char* const breaks[] = {"\n", "\n", "\r\n", "\r\r\n", "\r"};
        content += breaks[random() % 5];
    }
    if (random() % 3 == 0) content += "412000.5,5318000.25,3";  // a last line without a break
    if (random() % 3 == 0) content += std::string(random() % 3, '\n');
    return content;
}

class NextDataLineExactness : public ::testing::TestWithParam<int> {};

TEST_P(NextDataLineExactness, WalksFilesAsReadDataLine) {
    const int limit = GetParam();
    const std::filesystem::path path = makeScratchFolder("skerrow-next-") / "points.csv";
    std::strcpy(g_inputPath, path.string().c_str());
    std::mt19937_64 random(limit);
    for (int file = 0; file < 300; ++file) {
        std::ofstream(path, std::ios::binary) << randomFile(random);
        g_skipHeader = static_cast<short>(file % 2);
        const std::vector<Step> expected = walk(false, limit);
        const std::vector<Step> steps = walk(true, limit);
        ASSERT_EQ(steps.size(), expected.size()) << "file " << file;
        for (size_t i = 0; i < steps.size(); ++i) ASSERT_EQ(steps[i], expected[i]) << "file " << file << " step " << i;
    }
    std::filesystem::remove_all(path.parent_path());
}

INSTANTIATE_TEST_SUITE_P(Limits, NextDataLineExactness, ::testing::Values(80, 128));

// The counting pass's bulk reading: the same lines, line numbers and commas as taking
// them one at a time, however the bulk calls are cut off by their line limit.
// Short lines, many to a 64-character chunk, so that the walk meets every line it must
// leave among lines it may take at once: empty ones, a lone carriage return, blank ones, a
// blank or a tab first, a NUL anywhere, with commas after it.
std::string shortLineFile(std::mt19937_64& random) {
    static const std::string odd[] = {
        "",       "\r",    " 5,6", "\t5,6", " ", "\t \r", std::string("5,\0,6", 5), std::string("\0", 1),
        "5\r6,7", "\r5,6", ",,"};
    std::string content;
    const int lines = 2000 + static_cast<int>(random() % 40000);
    const int oddOnes = 1 + static_cast<int>(random() % 8);  // in 256ths
    for (int i = 0; i < lines; ++i) {
        if (static_cast<int>(random() % 256) < oddOnes) {
            content += odd[random() % (sizeof odd / sizeof odd[0])];
        } else {
            content += std::to_string(random() % 100000) + "," + std::to_string(random() % 1000);
        }
        content += random() % 4 ? "\n" : "\r\n";
    }
    return content;
}

class TakeDataLines : public ::testing::TestWithParam<bool> {};

TEST_P(TakeDataLines, TakesAndCountsAsNextDataLine) {
    const bool shortLines = GetParam();
    const std::filesystem::path path = makeScratchFolder("skerrow-take-") / "points.csv";
    std::strcpy(g_inputPath, path.string().c_str());
    std::mt19937_64 random(shortLines ? 32 : 31);
    for (int file = 0; file < (shortLines ? 60 : 300); ++file) {
        std::ofstream(path, std::ios::binary) << (shortLines ? shortLineFile(random) : randomFile(random));
        g_skipHeader = static_cast<short>(file % 2);
        const int limit = file % 3 ? 80 : 128;

        // One at a time: the line number and the commas so far after each data line.
        std::vector<int> lineNumbers;
        std::vector<long long> commasSoFar;
        ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
        const char* line;
        size_t length;
        long long commas = 0;
        LineOutcome last;
        while ((last = nextDataLine(g_reader, limit, &line, &length)) == LineOutcome::Data) {
            commas += countLineCommas(line, length);
            lineNumbers.push_back(g_reader.lineNumber);
            commasSoFar.push_back(commas);
        }
        const int lastLineNumber = g_reader.lineNumber;
        closeReader(g_reader);

        ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
        long long taken = 0, counted = 0;
        LineOutcome outcome = LineOutcome::Data;
        while (outcome == LineOutcome::Data) {
            const long long most = random() % 4 ? 1000000 : static_cast<long long>(random() % 40);
            // The drawing skips lines without counting their commas.
            const bool counting = file % 4 != 3;
            const long long n = takeDataLines(g_reader, limit, most, counting ? &counted : nullptr);
            ASSERT_LE(n, most);
            if (!counting && n > 0) counted = commasSoFar[taken + n - 1];
            taken += n;
            if (taken > 0) {
                ASSERT_LE(taken, static_cast<long long>(lineNumbers.size())) << "file " << file;
                ASSERT_EQ(g_reader.lineNumber, lineNumbers[taken - 1]) << "file " << file;
                ASSERT_EQ(counted, commasSoFar[taken - 1]) << "file " << file;
            }
            outcome = nextDataLine(g_reader, limit, &line, &length);
            if (outcome == LineOutcome::Data) {
                counted += countLineCommas(line, length);
                ++taken;
            }
        }
        ASSERT_EQ(taken, static_cast<long long>(lineNumbers.size())) << "file " << file;
        ASSERT_EQ(outcome, last) << "file " << file;
        ASSERT_EQ(g_reader.lineNumber, lastLineNumber) << "file " << file;
        closeReader(g_reader);
    }
    std::filesystem::remove_all(path.parent_path());
}

INSTANTIATE_TEST_SUITE_P(Files, TakeDataLines, ::testing::Values(false, true));

// ---- cutPointFields against parsePointLine ----

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

// A number text as survey files and hostile files hold them.
std::string numberText(std::mt19937_64& random) {
    std::string text;
    switch (random() % 6) {
    case 0: {  // any mix of the characters numbers are made of
        static const char alphabet[] = "0123456789.-+eEx ";
        const int length = static_cast<int>(random() % 24);
        for (int k = 0; k < length; ++k) text += alphabet[random() % (sizeof alphabet - 1)];
        return text;
    }
    case 1:  // leading zeros, blanks and signs before plain digits
        text = std::string(random() % 3, random() % 2 ? '0' : ' ') + (random() % 2 ? "-" : "+");
        break;
    default:
        if (random() % 4 == 0) text = "-";
    }
    // Digit runs of every length around the fast forms' limits of 8, 15 and 16 digits.
    const int whole = static_cast<int>(random() % 20);
    for (int k = 0; k < whole; ++k) text += static_cast<char>('0' + random() % 10);
    if (random() % 4) {
        text += '.';
        const int decimals = static_cast<int>(random() % 18);
        for (int k = 0; k < decimals; ++k) text += static_cast<char>('0' + random() % 10);
    }
    if (random() % 10 == 0) text += random() % 2 ? "e3" : "x";
    return text;
}

class CutExactness : public ::testing::TestWithParam<int> {};

TEST_P(CutExactness, CutsAndReadsAsParsePointLine) {
    const int fieldCount = GetParam();
    std::mt19937_64 random(100 + fieldCount);
    // The line with what may follow it in a file: a line break, then digits that must never
    // be read as part of the line.
    char buffer[sizeof g_lineBuf + kLineTailRoom];
    for (int i = 0; i < 300000; ++i) {
        std::string line;
        const int fields = fieldCount + static_cast<int>(random() % 4) - 2;
        for (int f = 0; f < fields; ++f) {
            if (f > 0) line += ',';
            line += fieldCount == 5 && f == 4 ? "TREE" : numberText(random);
        }
        if (line.size() >= sizeof g_lineBuf) line.resize(sizeof g_lineBuf - 1);
        std::memset(buffer, '9', sizeof buffer);
        std::memcpy(buffer, line.data(), line.size());
        buffer[line.size()] = random() % 2 ? '\n' : '\r';
        g_fieldCount = static_cast<short>(fieldCount);
        g_swapXY = static_cast<short>(random() % 2);

        PointFields point;
        const bool cut = cutPointFields(buffer, line.size(), pointLayout(), &point);
        int commas = 0;
        for (char c : line) commas += c == ',';
        ASSERT_EQ(point.commas, commas) << line;

        std::memcpy(g_lineBuf, line.c_str(), line.size() + 1);
        ASSERT_EQ(cut, parsePointLine()) << line;
        if (!cut) continue;
        ASSERT_EQ(std::string(point.xText, point.xLength), g_xText) << line;
        ASSERT_EQ(std::string(point.yText, point.yLength), g_yText) << line;
        ASSERT_TRUE(sameBits(point.x, g_x)) << line;
        ASSERT_TRUE(sameBits(point.y, g_y)) << line;
        if (fieldCount == 2) continue;
        // The elevation text ends where the writer cuts the description off.
        const std::string z = g_zText;
        ASSERT_EQ(std::string(point.zText, point.zLength), fieldCount == 5 ? z.substr(0, z.find(',')) : z) << line;
        ASSERT_TRUE(sameBits(point.elevation, g_elevation)) << line;
        ASSERT_TRUE(sameBits(point.zValue, std::strtod(g_zText, nullptr))) << line;
        ASSERT_TRUE(sameBits(readDecimalField(point.xText, point.xLength), std::strtod(g_xText, nullptr))) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, CutExactness, ::testing::Values(2, 3, 5));

// ---- nextPointLine against readDataLine and parsePointLine ----

// Lines mostly in the plain form the in-place cut takes, with every near miss: digit runs
// around its limits, signs, exponents, empty fields, extra fields, carriage returns.
std::string pointFile(std::mt19937_64& random, int fieldCount) {
    std::string content;
    const int lines = random() % 6 == 0 ? 9000 + static_cast<int>(random() % 3000) : static_cast<int>(random() % 40);
    for (int i = 0; i < lines; ++i) {
        const int fields = random() % 16 ? fieldCount : fieldCount + static_cast<int>(random() % 3) - 1;
        std::string line;
        for (int f = 0; f < fields; ++f) {
            if (f > 0) line += ',';
            if (fieldCount == 5 && (f == 0 || f >= 4)) {  // point number and description: free texts
                static const std::string texts[] = {
                    "17", "CP1", "", " ", "TREE", "EDGE OF ROAD", "A,B", "x\ty", std::string("NUL\0IN", 6)};
                line += texts[random() % 9];
                continue;
            }
            if (random() % 12 == 0) {
                line += numberText(random);
                continue;
            }
            if (f == (fieldCount == 5 ? 3 : 2) && random() % 3 == 0) line += '-';
            const int whole = random() % 10 ? 6 + static_cast<int>(random() % 2) : static_cast<int>(random() % 18);
            for (int k = 0; k < whole; ++k) line += static_cast<char>('0' + random() % 10);
            if (random() % 8) {
                line += '.';
                const int decimals =
                    random() % 10 ? 2 + static_cast<int>(random() % 2) : static_cast<int>(random() % 10);
                for (int k = 0; k < decimals; ++k) line += static_cast<char>('0' + random() % 10);
            }
        }
        const char* const breaks[] = {"\n", "\n", "\n", "\r\n", "\r\r\n", "\r", " \n"};
        content += line + breaks[random() % 7];
    }
    if (random() % 3 == 0) content += "412000.5,5318000.25,3";  // a last line without a break
    return content;
}

class NextPointLineExactness : public ::testing::TestWithParam<int> {};

TEST_P(NextPointLineExactness, TakesAndCutsAsReadDataLineAndParsePointLine) {
    const int fieldCount = GetParam();
    const std::filesystem::path path = makeScratchFolder("skerrow-point-") / "points.csv";
    std::strcpy(g_inputPath, path.string().c_str());
    std::mt19937_64 random(200 + fieldCount);
    g_fieldCount = static_cast<short>(fieldCount);
    for (int file = 0; file < 120; ++file) {
        std::ofstream(path, std::ios::binary) << pointFile(random, fieldCount);
        g_skipHeader = static_cast<short>(file % 3 == 0);
        g_swapXY = static_cast<short>(file % 2);
        const int limit = file % 4 == 0 ? 80 : 128;

        // The lines as the copying reader takes and cuts them.
        struct Taken {
            LineOutcome outcome;
            long long lineNumber;
            bool cut;
            int commas;
            std::string x, y, z;
            double xValue, yValue;
            float elevation;
        };
        std::vector<Taken> expected;
        ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
        for (LineOutcome outcome = LineOutcome::Data; outcome == LineOutcome::Data;) {
            outcome = readDataLine(g_reader, limit);
            Taken taken{outcome, g_reader.lineNumber, false, 0, "", "", "", 0.0, 0.0, 0.0f};
            std::memcpy(g_lineBuf, g_reader.line, sizeof g_lineBuf);
            for (const char* c = g_lineBuf; outcome == LineOutcome::Data && *c; ++c) taken.commas += *c == ',';
            if (outcome == LineOutcome::Data && (taken.cut = parsePointLine())) {
                taken.x = g_xText;
                taken.y = g_yText;
                taken.xValue = g_x;
                taken.yValue = g_y;
                if (fieldCount != 2) {
                    // The elevation text ends where the writer cuts the description off.
                    taken.z = g_zText;
                    if (fieldCount == 5) taken.z = taken.z.substr(0, taken.z.find(','));
                    taken.elevation = g_elevation;
                }
            }
            expected.push_back(taken);
        }
        closeReader(g_reader);

        ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
        for (size_t i = 0; i < expected.size(); ++i) {
            PointFields point;
            bool cut = false;
            const LineOutcome outcome = nextPointLine(g_reader, limit, pointLayout(), &point, &cut);
            const Taken& want = expected[i];
            ASSERT_EQ(outcome, want.outcome) << "file " << file << " line " << i;
            ASSERT_EQ(g_reader.lineNumber, want.lineNumber) << "file " << file << " line " << i;
            if (outcome != LineOutcome::Data) break;
            ASSERT_EQ(cut, want.cut) << "file " << file << " line " << want.lineNumber;
            if (!cut) continue;
            ASSERT_EQ(point.commas, want.commas) << "file " << file << " line " << want.lineNumber;
            ASSERT_EQ(std::string(point.xText, point.xLength), want.x)
                << "file " << file << " line " << want.lineNumber;
            ASSERT_EQ(std::string(point.yText, point.yLength), want.y)
                << "file " << file << " line " << want.lineNumber;
            ASSERT_TRUE(sameBits(point.x, want.xValue)) << "file " << file << " line " << want.lineNumber;
            ASSERT_TRUE(sameBits(point.y, want.yValue)) << "file " << file << " line " << want.lineNumber;
            if (fieldCount == 2) continue;
            ASSERT_EQ(std::string(point.zText, point.zLength), want.z)
                << "file " << file << " line " << want.lineNumber;
            ASSERT_TRUE(sameBits(point.elevation, want.elevation)) << "file " << file << " line " << want.lineNumber;
        }
        closeReader(g_reader);
    }
    std::filesystem::remove_all(path.parent_path());
}

INSTANTIATE_TEST_SUITE_P(Layouts, NextPointLineExactness, ::testing::Values(2, 3, 5));

}  // namespace
