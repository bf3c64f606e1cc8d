// Line reading on real files: openReader, readLine and readDataLine, and the number readers.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "points/appState.h"
#include "reader/lineReader.h"
#include "reader/valueReaders.h"
#include "support/testReader.h"
#include "support/valueReadings.h"

namespace {

// The scratch files of this process, removed when it ends.
struct ScratchFiles {
    std::vector<std::filesystem::path> paths;
    ~ScratchFiles() {
        std::error_code ignored;
        for (const std::filesystem::path& path : paths) std::filesystem::remove(path, ignored);
    }
};
ScratchFiles g_scratchFiles;

// Puts content into a scratch file and makes it g_inputPath.
void useFile(const std::string& content) {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name)
        if (c == '/') c = '_';
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("skerrow-lines-" + name + ".csv");
    std::ofstream(path, std::ios::binary) << content;
    g_scratchFiles.paths.push_back(path);
    std::strcpy(g_inputPath, path.string().c_str());
}

std::string chars(int count, char c = '7') { return std::string(count, c); }

// ---- readLine ----

struct ReadLineCase {
    const char* name;
    std::string content;
    int limit;
    std::string text;  // what the first read stores
    bool eof, fail;
};

class ReadLine : public ::testing::TestWithParam<ReadLineCase> {};

TEST_P(ReadLine, StoresLineAndSetsStreamState) {
    const ReadLineCase& c = GetParam();
    useFile(c.content);
    g_skipHeader = 0;
    ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
    readLine(g_reader, c.limit);
    EXPECT_EQ(std::string(g_reader.line), c.text);
    EXPECT_EQ(g_reader.atEnd, c.eof);
    EXPECT_EQ(g_reader.failed, c.fail);
    closeReader(g_reader);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadLine,
    ::testing::Values(ReadLineCase{"Plain", "100,200\n300,400\n", 128, "100,200", false, false},
                      ReadLineCase{"Exactly79With80", chars(79) + "\n1,2\n", 80, chars(79), false, false},
                      ReadLineCase{"Over79With80", chars(80) + "\n1,2\n", 80, chars(79), false, true},
                      ReadLineCase{"Exactly79CrLfWith80", chars(79) + "\r\n1,2\r\n", 80, chars(79), false, false},
                      ReadLineCase{"Exactly127With128", chars(127) + "\n", 128, chars(127), false, false},
                      ReadLineCase{"Over127With128", chars(128) + "\n", 128, chars(127), false, true},
                      ReadLineCase{"LimitAbove128IsCapped", chars(200) + "\n", 500, chars(127), false, true},
                      ReadLineCase{"CrLfStripped", "1,2\r\n3,4\r\n", 128, "1,2", false, false},
                      ReadLineCase{"NoBreakAtEnd", "1,2", 128, "1,2", true, false},
                      ReadLineCase{"FullBufferThenEnd", chars(79), 80, chars(79), true, false},
                      ReadLineCase{"CrAtEnd", "1,2\r", 128, "1,2", true, false},
                      ReadLineCase{"LoneCrKept", "1\r2,3\n", 128, "1\r2,3", false, false},
                      ReadLineCase{"EmptyLine", "\n1,2\n", 128, "", false, false},
                      ReadLineCase{"EmptyFile", "", 128, "", true, true}),
    [](const ::testing::TestParamInfo<ReadLineCase>& info) { return std::string(info.param.name); });

TEST(ReadLineSequence, FailedStreamYieldsEmptyLinesAndEndSetsFail) {
    useFile(chars(90) + "\n1,2\n");
    g_skipHeader = 0;
    ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
    readLine(g_reader, 80);
    EXPECT_TRUE(g_reader.failed);
    readLine(g_reader, 128);
    EXPECT_STREQ(g_reader.line, "") << "every read after a failure stores nothing";

    useFile("1,2\r\n3,4\r\n");
    ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
    readLine(g_reader, 128);
    readLine(g_reader, 128);
    EXPECT_STREQ(g_reader.line, "3,4");
    EXPECT_FALSE(g_reader.atEnd);
    readLine(g_reader, 128);
    EXPECT_STREQ(g_reader.line, "");
    EXPECT_TRUE(g_reader.atEnd);
    EXPECT_TRUE(g_reader.failed) << "an empty read at the end of the file fails";
    closeReader(g_reader);
}

TEST(StartPass, SkipsHeaderOnlyWhenAsked) {
    useFile("X,Y\n100,200\n");
    g_skipHeader = 1;
    ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
    EXPECT_EQ(g_reader.lineNumber, 1);
    EXPECT_EQ(readDataLine(g_reader, 128), LineOutcome::Data);
    EXPECT_STREQ(g_reader.line, "100,200");
    EXPECT_EQ(g_reader.lineNumber, 2);

    g_skipHeader = 0;
    ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice())) << "a second pass reopens the stream";
    EXPECT_EQ(g_reader.lineNumber, 0);
    EXPECT_EQ(readDataLine(g_reader, 128), LineOutcome::Data);
    EXPECT_STREQ(g_reader.line, "X,Y");

    std::strcpy(g_inputPath, "/nonexistent/skerrow/none.csv");
    EXPECT_FALSE(openReader(g_reader, g_inputPath, headerChoice()));
    closeReader(g_reader);
}

// ---- readDataLine ----

struct Step {
    LineOutcome outcome;
    int lineNumber;
    std::string text;
};

struct DataLineCase {
    const char* name;
    std::string content;
    short skipHeader;
    int limit;
    std::vector<Step> steps;  // followed by a repeat of the last outcome
};

class ReadDataLine : public ::testing::TestWithParam<DataLineCase> {};

TEST_P(ReadDataLine, WalksFileByTheSharedRule) {
    const DataLineCase& c = GetParam();
    useFile(c.content);
    g_skipHeader = c.skipHeader;
    ASSERT_TRUE(openReader(g_reader, g_inputPath, headerChoice()));
    for (size_t i = 0; i < c.steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(readDataLine(g_reader, c.limit), c.steps[i].outcome);
        EXPECT_EQ(g_reader.lineNumber, c.steps[i].lineNumber);
        EXPECT_EQ(std::string(g_reader.line), c.steps[i].text);
    }
    // END and BAD are final: no pass can loop on past them.
    const LineOutcome last = c.steps.back().outcome;
    EXPECT_EQ(readDataLine(g_reader, c.limit), last);
    EXPECT_EQ(readDataLine(g_reader, c.limit), last);
    closeReader(g_reader);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadDataLine,
    ::testing::Values(
        DataLineCase{"LineFeeds",
                     "1,2\n3,4\n",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Data, 2, "3,4"}, {LineOutcome::End, 3, ""}}},
        DataLineCase{"LastLineWithoutBreak",
                     "1,2\n3,4",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Data, 2, "3,4"}, {LineOutcome::End, 2, "3,4"}}},
        DataLineCase{"CrLf",
                     "1,2\r\n3,4\r\n",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Data, 2, "3,4"}, {LineOutcome::End, 3, ""}}},
        DataLineCase{"CrLfWithoutFinalBreak",
                     "1,2\r\n3,4",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Data, 2, "3,4"}, {LineOutcome::End, 2, "3,4"}}},
        DataLineCase{"TrailingBlankLines",
                     "1,2\n3,4\n\n \t\r\n\n",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Data, 2, "3,4"}, {LineOutcome::End, 3, ""}}},
        DataLineCase{
            "BlankLineBeforeData", "1,2\n\n3,4\n", 0, 80, {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Bad, 2, ""}}},
        DataLineCase{"SpacesLineBeforeData",
                     "1,2\n3,4\n   \n\n5,6",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Data, 2, "3,4"}, {LineOutcome::Bad, 3, ""}}},
        DataLineCase{"BlankFirstLine", "\n1,2\n", 0, 128, {{LineOutcome::Bad, 1, ""}}},
        DataLineCase{"OverLongLine",
                     "1,2\n" + chars(80) + "\n3,4\n",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Bad, 2, chars(79)}}},
        DataLineCase{"LongLineAfterBlank",
                     "1,2\n\n" + chars(90) + "\n",
                     0,
                     80,
                     {{LineOutcome::Data, 1, "1,2"}, {LineOutcome::Bad, 2, ""}}},
        DataLineCase{"HeaderSkipped", "X,Y\n1,2\n", 1, 128, {{LineOutcome::Data, 2, "1,2"}, {LineOutcome::End, 3, ""}}},
        DataLineCase{"OverLongHeaderSkip", chars(130) + "\n1,2\n", 1, 128, {{LineOutcome::Bad, 1, chars(127)}}},
        DataLineCase{"HeaderOnly", "X,Y", 1, 128, {{LineOutcome::End, 1, "X,Y"}}},
        DataLineCase{"EmptyFile", "", 0, 128, {{LineOutcome::End, 1, ""}}}),
    [](const ::testing::TestParamInfo<DataLineCase>& info) { return std::string(info.param.name); });

// ---- number reading ----

struct WholeCase {
    const char* name;
    const char* text;
    bool fits;
    long long value;
};

class WholeNumber : public ::testing::TestWithParam<WholeCase> {};

TEST_P(WholeNumber, ReadsWithOverflowDetection) {
    long long value = 12345;
    EXPECT_EQ(readWholeNumber(GetParam().text, &value), GetParam().fits);
    EXPECT_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeNumber,
                         ::testing::Values(WholeCase{"Largest", "9223372036854775807", true, LLONG_MAX},
                                           WholeCase{"AboveLargest", "9223372036854775808", false, LLONG_MAX},
                                           WholeCase{"Smallest", "-9223372036854775808", true, LLONG_MIN},
                                           WholeCase{"BelowSmallest", "-9223372036854775809", false, LLONG_MIN},
                                           WholeCase{"StopsAtLetter", "0042abc", true, 42},
                                           WholeCase{"SignApart", "- 5", true, 0}, WholeCase{"Empty", "", true, 0},
                                           WholeCase{"WhiteSpace", "\n\v\f 17", true, 17}),
                         [](const ::testing::TestParamInfo<WholeCase>& info) { return std::string(info.param.name); });

TEST(Elevation, NarrowsWithoutLeavingTheFloatRange) {
    EXPECT_EQ(readElevation("-1e300"), -HUGE_VALF);
    EXPECT_EQ(readElevation("3.4e38"), 3.4e38f);
    EXPECT_FLOAT_EQ(readElevation(" 15.25,TREE"), 15.25f);
    EXPECT_EQ(readElevation("Z"), 0.0f);
}

}  // namespace
