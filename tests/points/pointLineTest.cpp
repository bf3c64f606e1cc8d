// Line reading and parsing on real files: readLine, readDataLine and parsePointLine.
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
#include "points/numberReading.h"
#include "points/pointLine.h"

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
    ASSERT_TRUE(startPass());
    readLine(c.limit);
    EXPECT_EQ(std::string(g_lineBuf), c.text);
    EXPECT_EQ(g_input.eof(), c.eof);
    EXPECT_EQ(g_input.fail(), c.fail);
    g_input.close();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadLine,
    ::testing::Values(
        ReadLineCase{"Plain", "100,200\n300,400\n", 128, "100,200", false, false},
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
    ASSERT_TRUE(startPass());
    readLine(80);
    EXPECT_TRUE(g_input.fail());
    readLine(128);
    EXPECT_STREQ(g_lineBuf, "") << "every read after a failure stores nothing";

    useFile("1,2\r\n3,4\r\n");
    ASSERT_TRUE(startPass());
    readLine(128);
    readLine(128);
    EXPECT_STREQ(g_lineBuf, "3,4");
    EXPECT_FALSE(g_input.eof());
    readLine(128);
    EXPECT_STREQ(g_lineBuf, "");
    EXPECT_TRUE(g_input.eof());
    EXPECT_TRUE(g_input.fail()) << "an empty read at the end of the file fails";
    g_input.close();
}

TEST(StartPass, SkipsHeaderOnlyWhenAsked) {
    useFile("X,Y\n100,200\n");
    g_skipHeader = 1;
    ASSERT_TRUE(startPass());
    EXPECT_EQ(g_lineNumber, 1);
    EXPECT_EQ(readDataLine(128), LINE_DATA);
    EXPECT_STREQ(g_lineBuf, "100,200");
    EXPECT_EQ(g_lineNumber, 2);

    g_skipHeader = 0;
    ASSERT_TRUE(startPass()) << "a second pass reopens the stream";
    EXPECT_EQ(g_lineNumber, 0);
    EXPECT_EQ(readDataLine(128), LINE_DATA);
    EXPECT_STREQ(g_lineBuf, "X,Y");

    std::strcpy(g_inputPath, "/nonexistent/skerrow/none.csv");
    EXPECT_FALSE(startPass());
    g_input.close();
}

// ---- readDataLine ----

struct Step {
    short outcome;
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
    ASSERT_TRUE(startPass());
    for (size_t i = 0; i < c.steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(readDataLine(c.limit), c.steps[i].outcome);
        EXPECT_EQ(g_lineNumber, c.steps[i].lineNumber);
        EXPECT_EQ(std::string(g_lineBuf), c.steps[i].text);
    }
    // END and BAD are final: no pass can loop on past them.
    short last = c.steps.back().outcome;
    EXPECT_EQ(readDataLine(c.limit), last);
    EXPECT_EQ(readDataLine(c.limit), last);
    g_input.close();
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadDataLine,
    ::testing::Values(
        DataLineCase{"LineFeeds", "1,2\n3,4\n", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_DATA, 2, "3,4"}, {LINE_END, 3, ""}}},
        DataLineCase{"LastLineWithoutBreak", "1,2\n3,4", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_DATA, 2, "3,4"}, {LINE_END, 2, "3,4"}}},
        DataLineCase{"CrLf", "1,2\r\n3,4\r\n", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_DATA, 2, "3,4"}, {LINE_END, 3, ""}}},
        DataLineCase{"CrLfWithoutFinalBreak", "1,2\r\n3,4", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_DATA, 2, "3,4"}, {LINE_END, 2, "3,4"}}},
        DataLineCase{"TrailingBlankLines", "1,2\n3,4\n\n \t\r\n\n", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_DATA, 2, "3,4"}, {LINE_END, 3, ""}}},
        DataLineCase{"BlankLineBeforeData", "1,2\n\n3,4\n", 0, 80, {{LINE_DATA, 1, "1,2"}, {LINE_BAD, 2, ""}}},
        DataLineCase{"SpacesLineBeforeData", "1,2\n3,4\n   \n\n5,6", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_DATA, 2, "3,4"}, {LINE_BAD, 3, ""}}},
        DataLineCase{"BlankFirstLine", "\n1,2\n", 0, 128, {{LINE_BAD, 1, ""}}},
        DataLineCase{"OverLongLine", "1,2\n" + chars(80) + "\n3,4\n", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_BAD, 2, chars(79)}}},
        DataLineCase{"LongLineAfterBlank", "1,2\n\n" + chars(90) + "\n", 0, 80,
                     {{LINE_DATA, 1, "1,2"}, {LINE_BAD, 2, ""}}},
        DataLineCase{"HeaderSkipped", "X,Y\n1,2\n", 1, 128, {{LINE_DATA, 2, "1,2"}, {LINE_END, 3, ""}}},
        DataLineCase{"OverLongHeaderSkip", chars(130) + "\n1,2\n", 1, 128, {{LINE_BAD, 1, chars(127)}}},
        DataLineCase{"HeaderOnly", "X,Y", 1, 128, {{LINE_END, 1, "X,Y"}}},
        DataLineCase{"EmptyFile", "", 0, 128, {{LINE_END, 1, ""}}}),
    [](const ::testing::TestParamInfo<DataLineCase>& info) { return std::string(info.param.name); });

// ---- parsePointLine ----

struct ParseCase {
    const char* name;
    short fieldCount, swap;
    const char* line;
    bool parsed;
    double x, y;
    float elevation;  // -1 means "left as it was"
    const char* xText;
    const char* yText;
};

class ParsePointLine : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParsePointLine, FillsScratchByLayout) {
    const ParseCase& c = GetParam();
    g_fieldCount = c.fieldCount;
    g_swapXY = c.swap;
    std::memset(g_lineBuf, '#', sizeof g_lineBuf);
    std::strcpy(g_lineBuf, c.line);
    char before[sizeof g_lineBuf];
    std::memcpy(before, g_lineBuf, sizeof g_lineBuf);
    g_x = g_y = -1.0;
    g_elevation = -1.0f;
    std::strcpy(g_xText, "unset");

    ASSERT_EQ(parsePointLine(), c.parsed);
    if (!c.parsed) {
        EXPECT_EQ(std::memcmp(before, g_lineBuf, sizeof g_lineBuf), 0) << "a short line is left alone";
        EXPECT_EQ(g_x, -1.0);
        EXPECT_STREQ(g_xText, "unset");
        return;
    }
    EXPECT_EQ(g_x, c.x);
    EXPECT_EQ(g_y, c.y);
    if (std::isinf(c.elevation))
        EXPECT_EQ(g_elevation, c.elevation);
    else
        EXPECT_FLOAT_EQ(g_elevation, c.elevation);
    EXPECT_STREQ(g_xText, c.xText);
    EXPECT_STREQ(g_yText, c.yText);
    EXPECT_EQ(g_field1, g_lineBuf);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ParsePointLine,
    ::testing::Values(
        ParseCase{"TwoFields", 2, 0, "100,200", true, 100, 200, -1.0f, "100", "200"},
        ParseCase{"TwoFieldsSwapped", 2, 1, "100,200", true, 200, 100, -1.0f, "200", "100"},
        ParseCase{"ThreeFields", 3, 0, "1000.7,2000.2,15.5", true, 1000, 2000, 15.5f, "1000.7", "2000.2"},
        ParseCase{"ThreeFieldsSwapped", 3, 1, "1,2,3.5", true, 2, 1, 3.5f, "2", "1"},
        ParseCase{"SpacesAfterCommas", 3, 0, "1000, 2000, 15", true, 1000, 2000, 15.0f, "1000", " 2000"},
        ParseCase{"FiveFieldsTree", 5, 0, "7,1000.9,2000.1,15.25,TREE", true, 1000, 2000, 15.25f, "1000.9", "2000.1"},
        ParseCase{"FiveFieldsSwapped", 5, 1, "7,1000.9,2000.1,15.25,TREE", true, 2000, 1000, 15.25f, "2000.1",
                  "1000.9"},
        ParseCase{"NegativeDecimals", 2, 0, "-12.5,1234.98", true, -12, 1234, -1.0f, "-12.5", "1234.98"},
        ParseCase{"SignsAndWhiteSpace", 2, 0, "  +42,\t-7", true, 42, -7, -1.0f, "  +42", "\t-7"},
        ParseCase{"HeaderReadsZero", 3, 0, "X,Y,Z", true, 0, 0, 0.0f, "X", "Y"},
        ParseCase{"BeyondInt64", 2, 0, "99999999999999999999999,5", true, static_cast<double>(LLONG_MAX), 5, -1.0f,
                  "99999999999999999999999", "5"},
        ParseCase{"BelowInt64", 2, 0, "5,-99999999999999999999999", true, 5, static_cast<double>(LLONG_MIN), -1.0f,
                  "5", "-99999999999999999999999"},
        ParseCase{"HugeElevation", 3, 0, "1,2,1e999", true, 1, 2, HUGE_VALF, "1", "2"},
        ParseCase{"ExtraCommasIgnored", 2, 0, "1,2,3", true, 1, 2, -1.0f, "1", "2,3"},
        ParseCase{"NoComma", 2, 0, "1000;2000", false, 0, 0, 0, "", ""},
        ParseCase{"EmptyLine", 2, 0, "", false, 0, 0, 0, "", ""},
        ParseCase{"ShortForThree", 3, 0, "1,2", false, 0, 0, 0, "", ""},
        ParseCase{"ShortForFive", 5, 0, "1,2,3,4", false, 0, 0, 0, "", ""}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParsePointLineFields, FiveFieldDescriptionStaysOnFieldFour) {
    g_fieldCount = 5;
    g_swapXY = 0;
    std::strcpy(g_lineBuf, "7,1000.9,2000.1,15.25,TREE");
    ASSERT_TRUE(parsePointLine());
    EXPECT_STREQ(g_field1, "7");
    EXPECT_STREQ(g_field2, "1000.9");
    EXPECT_STREQ(g_field3, "2000.1");
    EXPECT_STREQ(g_field4, "15.25,TREE");
    EXPECT_STREQ(g_zText, "15.25,TREE");
}

TEST(ParsePointLineFields, LongestFieldFitsScratch) {
    g_fieldCount = 2;
    g_swapXY = 0;
    std::string line = "1," + chars(125, '9');
    std::strcpy(g_lineBuf, line.c_str());
    ASSERT_TRUE(parsePointLine());
    EXPECT_EQ(std::string(g_yText), chars(125, '9'));
    EXPECT_EQ(g_y, static_cast<double>(LLONG_MAX));
}

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
