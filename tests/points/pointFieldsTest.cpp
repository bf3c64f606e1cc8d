// The passes' in-place line handling against the copying forms it stands in for:
// nextDataLine against readDataLine over whole files, and cutPointFields against
// parsePointLine over single lines. Every outcome, byte and bit compared.
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
#include "points/pointFields.h"
#include "points/pointLine.h"
#include "support/scratchFolder.h"

namespace {

// ---- nextDataLine against readDataLine ----

struct Step {
    short outcome;
    std::string text;
    int lineNumber;
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
    if (!startPass()) return steps;
    for (int i = 0; i < 400000; ++i) {
        Step step;
        if (inPlace) {
            const char* line = nullptr;
            size_t length = 0;
            step.outcome = nextDataLine(limit, &line, &length);
            if (step.outcome == LINE_DATA) step.text.assign(line, length);
        } else {
            step.outcome = readDataLine(limit);
            if (step.outcome == LINE_DATA) step.text = g_lineBuf;
        }
        step.lineNumber = g_lineNumber;
        steps.push_back(step);
        if (step.outcome != LINE_DATA && steps.size() >= 3 && steps[steps.size() - 3].outcome != LINE_DATA) break;
    }
    g_input.close();
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
    char buffer[sizeof g_lineBuf + LINE_TAIL_ROOM];
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
        const bool cut = cutPointFields(buffer, line.size(), &point);
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

}  // namespace
