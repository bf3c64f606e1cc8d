// The reference reading of one point line, pinned to the layouts' examples: every reader
// of the program is held to it, so it must itself be right.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "points/appState.h"
#include "support/pointLineReference.h"

namespace {

std::string chars(int count, char c = '7') { return std::string(count, c); }

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
    ::testing::Values(ParseCase{"TwoFields", 2, 0, "100,200", true, 100, 200, -1.0f, "100", "200"},
                      ParseCase{"TwoFieldsSwapped", 2, 1, "100,200", true, 200, 100, -1.0f, "200", "100"},
                      ParseCase{"ThreeFields", 3, 0, "1000.7,2000.2,15.5", true, 1000, 2000, 15.5f, "1000.7", "2000.2"},
                      ParseCase{"ThreeFieldsSwapped", 3, 1, "1,2,3.5", true, 2, 1, 3.5f, "2", "1"},
                      ParseCase{"SpacesAfterCommas", 3, 0, "1000, 2000, 15", true, 1000, 2000, 15.0f, "1000", " 2000"},
                      ParseCase{"FiveFieldsTree", 5, 0, "7,1000.9,2000.1,15.25,TREE", true, 1000, 2000, 15.25f,
                                "1000.9", "2000.1"},
                      ParseCase{"FiveFieldsSwapped", 5, 1, "7,1000.9,2000.1,15.25,TREE", true, 2000, 1000, 15.25f,
                                "2000.1", "1000.9"},
                      ParseCase{"NegativeDecimals", 2, 0, "-12.5,1234.98", true, -12, 1234, -1.0f, "-12.5", "1234.98"},
                      ParseCase{"SignsAndWhiteSpace", 2, 0, "  +42,\t-7", true, 42, -7, -1.0f, "  +42", "\t-7"},
                      ParseCase{"HeaderReadsZero", 3, 0, "X,Y,Z", true, 0, 0, 0.0f, "X", "Y"},
                      ParseCase{"BeyondInt64", 2, 0, "99999999999999999999999,5", true, static_cast<double>(LLONG_MAX),
                                5, -1.0f, "99999999999999999999999", "5"},
                      ParseCase{"BelowInt64", 2, 0, "5,-99999999999999999999999", true, 5,
                                static_cast<double>(LLONG_MIN), -1.0f, "5", "-99999999999999999999999"},
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

}  // namespace
