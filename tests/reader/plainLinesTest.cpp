// The plain-line walk against the line-at-a-time reader it stands in for: whole files
// walked in runs of plain lines, with nextPointLine taking whatever a run leaves, against
// nextPointLine alone.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "points/appState.h"
#include "reader/lineReader.h"
#include "reader/plainLines.h"
#include "reader/pointFields.h"
#include "support/markWidths.h"
#include "support/plainLinePoint.h"
#include "support/scratchFolder.h"
#include "support/testReader.h"

namespace {

// What a reader made of one line: the outcome, and for data lines the cut and the fields.
struct Seen {
    LineOutcome outcome;
    long long lineNumber;
    bool cut;
    int commas;
    std::string x, y, z;
    double xValue, yValue, zValue;
    float elevation;
};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

// Plain lines and every near miss: other comma counts, blanks, signs, exponents, stray and
// doubled carriage returns, empty lines, lines around 63, 64, 79 and 80 characters; some
// files are larger than the read block, so that runs meet its end.
std::string walkFile(std::mt19937_64& random, int fieldCount) {
    std::string content;
    const int lines = random() % 5 == 0 ? 12000 + static_cast<int>(random() % 4000) : static_cast<int>(random() % 40);
    const int oddOnes = static_cast<int>(random() % 6);  // how often a line is unusual, in 32nds
    for (int i = 0; i < lines; ++i) {
        std::string line;
        if (static_cast<int>(random() % 32) >= oddOnes) {
            line = std::to_string(400000 + random() % 9000) + "." + std::to_string(random() % 100) + "," +
                   std::to_string(5300000 + random() % 9000) + "." + std::to_string(random() % 1000);
            if (fieldCount == 3)
                line += "," + std::string(random() % 8 ? "" : "-") + std::to_string(random() % 2000) + ".5";
        } else {
            static const char alphabet[] = "0123456789,.-+/e :\r\t";
            const int lengths[] = {0, 1, 3, 12, 40, 62, 63, 64, 65, 78, 79, 80, 81, 127, 128};
            const int length = lengths[random() % 15];
            for (int k = 0; k < length; ++k) line += random() % 3 ? '7' : alphabet[random() % (sizeof alphabet - 1)];
        }
        const char* const breaks[] = {"\n", "\n", "\n", "\r\n", "\r\r\n", "\r"};
        content += line + breaks[random() % 6];
    }
    if (random() % 3 == 0) content += "412000.5,5318000.25,3";  // a last line without a break
    return content;
}

Seen seenOf(LineOutcome outcome, bool cut, const PointFields& point) {
    Seen seen{outcome, g_reader.lineNumber, cut, 0, "", "", "", 0.0, 0.0, 0.0, 0.0f};
    if (outcome != LineOutcome::Data || !cut) return seen;
    seen.commas = point.commas;
    seen.x.assign(point.xText, point.xLength);
    seen.y.assign(point.yText, point.yLength);
    seen.z.assign(point.zText, point.zLength);
    seen.xValue = point.x;
    seen.yValue = point.y;
    seen.zValue = point.zValue;
    seen.elevation = point.elevation;
    return seen;
}

// What nextPointLine reads from the file, one line at a time, to its end or bad line;
// empty when the file does not open.
std::vector<Seen> readOneByOne(int limit) {
    std::vector<Seen> seen;
    if (!openReader(g_reader, g_inputPath, headerChoice())) return seen;
    for (;;) {
        PointFields point;
        bool cut = false;
        const LineOutcome outcome = nextPointLine(g_reader, limit, pointLayout(), &point, &cut);
        seen.push_back(seenOf(outcome, cut, point));
        if (outcome != LineOutcome::Data) break;
    }
    closeReader(g_reader);
    return seen;
}

// The layout's field count, and the width of the marks the walk runs with.
class TakePlainLines : public ::testing::TestWithParam<std::tuple<int, int>> {
protected:
    void SetUp() override {
        if (std::get<1>(GetParam()) > widestMarkWidth()) GTEST_SKIP() << "this processor has no marks this wide";
    }
    MarkWidthScope width{std::get<1>(GetParam())};
};

TEST_P(TakePlainLines, TakeWhatNextPointLineTakesAndLeaveTheRest) {
    const int fieldCount = std::get<0>(GetParam());
    const std::filesystem::path path = makeScratchFolder("skerrow-plain-") / "points.csv";
    std::strcpy(g_inputPath, path.string().c_str());
    std::mt19937_64 random(300 + fieldCount);
    g_fieldCount = static_cast<short>(fieldCount);
    for (int file = 0; file < 150; ++file) {
        std::ofstream(path, std::ios::binary) << walkFile(random, fieldCount);
        g_skipHeader = static_cast<short>(file % 3 == 0);
        g_swapXY = static_cast<short>(file % 2);
        const int limit = file % 4 == 0 ? 128 : 80;

        const std::vector<Seen> expected = readOneByOne(limit);
        ASSERT_FALSE(expected.empty());

        // Runs that now and then refuse a line, which must then come from nextPointLine.
        ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
        size_t at = 0;
        for (;;) {
            const size_t runStart = at;
            long long taken = 0;
            withPlainForm(pointLayout(), [&](auto form) {
                taken = takePlainLines(g_reader, limit, form, [&](const PlainLine& line) {
                    if (random() % 50 == 0) return false;
                    const PointFields point = plainLinePoint(line, pointLayout());
                    EXPECT_EQ(std::string(line.text, line.length).find_first_not_of("0123456789,.-"),
                              std::string::npos);
                    Seen seen = seenOf(LineOutcome::Data, true, point);
                    if (at >= expected.size()) {
                        ADD_FAILURE() << "file " << file << ": a line past the end";
                        return false;
                    }
                    const Seen& want = expected[at++];
                    EXPECT_EQ(want.outcome, LineOutcome::Data) << "file " << file << " line " << want.lineNumber;
                    EXPECT_TRUE(want.cut) << "file " << file << " line " << want.lineNumber;
                    EXPECT_EQ(want.commas, fieldCount - 1) << "file " << file << " line " << want.lineNumber;
                    EXPECT_EQ(seen.x, want.x) << "file " << file << " line " << want.lineNumber;
                    EXPECT_EQ(seen.y, want.y) << "file " << file << " line " << want.lineNumber;
                    EXPECT_EQ(seen.z, want.z) << "file " << file << " line " << want.lineNumber;
                    EXPECT_TRUE(sameBits(seen.xValue, want.xValue)) << "file " << file << " line " << want.lineNumber;
                    EXPECT_TRUE(sameBits(seen.yValue, want.yValue)) << "file " << file << " line " << want.lineNumber;
                    EXPECT_TRUE(sameBits(seen.zValue, want.zValue)) << "file " << file << " line " << want.lineNumber;
                    EXPECT_TRUE(sameBits(seen.elevation, want.elevation))
                        << "file " << file << " line " << want.lineNumber;
                    return true;
                });
            });
            ASSERT_FALSE(HasFailure()) << "file " << file;
            ASSERT_EQ(static_cast<size_t>(taken), at - runStart) << "file " << file;
            if (taken > 0) {
                ASSERT_EQ(g_reader.lineNumber, expected[at - 1].lineNumber) << "file " << file;
            }

            PointFields point;
            bool cut = false;
            const LineOutcome outcome = nextPointLine(g_reader, limit, pointLayout(), &point, &cut);
            ASSERT_LT(at, expected.size()) << "file " << file;
            const Seen seen = seenOf(outcome, cut, point);
            const Seen& want = expected[at++];
            ASSERT_EQ(seen.outcome, want.outcome) << "file " << file << " step " << at;
            ASSERT_EQ(seen.lineNumber, want.lineNumber) << "file " << file << " step " << at;
            ASSERT_EQ(seen.cut, want.cut) << "file " << file << " line " << want.lineNumber;
            ASSERT_EQ(seen.x, want.x) << "file " << file << " line " << want.lineNumber;
            if (outcome != LineOutcome::Data) break;
        }
        ASSERT_EQ(at, expected.size()) << "file " << file;
        closeReader(g_reader);
    }
    std::filesystem::remove_all(path.parent_path());
}

// Thinned reading, as the drawing does it: lines passed over in runs must be the ones
// nextDataLine reads as data, those handed over the plain ones nextPointLine cuts, and
// wherever the walk stops the one-line readers must go on from the same line.
TEST_P(TakePlainLines, PassOverWhatNextDataLineReadsAsData) {
    const int fieldCount = std::get<0>(GetParam());
    const std::filesystem::path path = makeScratchFolder("skerrow-passing-") / "points.csv";
    std::strcpy(g_inputPath, path.string().c_str());
    std::mt19937_64 random(500 + fieldCount);
    g_fieldCount = static_cast<short>(fieldCount);
    for (int file = 0; file < 150; ++file) {
        std::ofstream(path, std::ios::binary) << walkFile(random, fieldCount);
        g_skipHeader = static_cast<short>(file % 3 == 0);
        g_swapXY = static_cast<short>(file % 2);
        const int limit = file % 4 == 0 ? 128 : file % 4 == 1 ? 24 : 80;  // 24: many lines over it
        const int step = static_cast<int>(random() % 5);

        const std::vector<Seen> expected = readOneByOne(limit);
        ASSERT_FALSE(expected.empty());

        ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
        size_t at = 0;
        int passOver = static_cast<int>(random() % 3);
        for (;;) {
            const size_t runStart = at;
            int pending = passOver;  // lines the walk passes over before it hands one over
            // Lines passed over must be data lines.
            auto passed = [&](int lines) {
                for (int k = 0; k < lines; ++k, ++at) {
                    if (at >= expected.size() || expected[at].outcome != LineOutcome::Data) {
                        ADD_FAILURE() << "file " << file << ": passed over a line that is no data, step " << at;
                        return;
                    }
                }
            };
            long long taken = 0;
            withPlainForm(pointLayout(), [&](auto form) {
                taken = takePlainLinesPassing(g_reader, limit, form, &passOver, [&](const PlainLine& line) {
                    if (random() % 50 == 0) return -1;
                    passed(pending);
                    const Seen seen = seenOf(LineOutcome::Data, true, plainLinePoint(line, pointLayout()));
                    if (at >= expected.size()) {
                        ADD_FAILURE() << "file " << file << ": a line past the end";
                        return -1;
                    }
                    const Seen& want = expected[at++];
                    EXPECT_EQ(want.outcome, LineOutcome::Data) << "file " << file << " line " << want.lineNumber;
                    EXPECT_TRUE(want.cut) << "file " << file << " line " << want.lineNumber;
                    EXPECT_EQ(seen.x, want.x) << "file " << file << " line " << want.lineNumber;
                    EXPECT_TRUE(sameBits(seen.zValue, want.zValue)) << "file " << file << " line " << want.lineNumber;
                    pending = step;
                    return step;
                });
            });
            ASSERT_GE(pending, passOver) << "file " << file;
            passed(pending - passOver);
            ASSERT_FALSE(HasFailure()) << "file " << file;
            ASSERT_EQ(static_cast<size_t>(taken), at - runStart) << "file " << file;
            if (taken > 0) {
                ASSERT_EQ(g_reader.lineNumber, expected[at - 1].lineNumber) << "file " << file;
            }

            ASSERT_LT(at, expected.size()) << "file " << file;
            const Seen& want = expected[at++];
            if (passOver > 0) {
                const char* text;
                size_t length;
                const LineOutcome outcome = nextDataLine(g_reader, limit, &text, &length);
                ASSERT_EQ(outcome, want.outcome) << "file " << file << " step " << at;
                ASSERT_EQ(g_reader.lineNumber, want.lineNumber) << "file " << file << " step " << at;
                if (outcome != LineOutcome::Data) break;
                --passOver;
            } else {
                PointFields point;
                bool cut = false;
                const LineOutcome outcome = nextPointLine(g_reader, limit, pointLayout(), &point, &cut);
                const Seen seen = seenOf(outcome, cut, point);
                ASSERT_EQ(seen.outcome, want.outcome) << "file " << file << " step " << at;
                ASSERT_EQ(seen.lineNumber, want.lineNumber) << "file " << file << " step " << at;
                ASSERT_EQ(seen.x, want.x) << "file " << file << " line " << want.lineNumber;
                if (outcome != LineOutcome::Data) break;
                passOver = step;
            }
        }
        ASSERT_EQ(at, expected.size()) << "file " << file;
        closeReader(g_reader);
    }
    std::filesystem::remove_all(path.parent_path());
}

INSTANTIATE_TEST_SUITE_P(Layouts, TakePlainLines,
                         ::testing::Combine(::testing::Values(2, 3), ::testing::Values(16, 32, 64)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                             return std::to_string(std::get<0>(info.param)) + "FieldsWidth" +
                                    std::to_string(std::get<1>(info.param));
                         });

}  // namespace
