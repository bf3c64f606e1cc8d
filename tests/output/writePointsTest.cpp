// What the writer puts in the output file, byte for byte, for each form, conversion and
// area, driven through "Select All Pts." or a finished selection, the write options
// dialogs and the save dialog.
#include "outputTest.h"

namespace {

WriteChoice as(int form, const char* tabs = nullptr) {
    WriteChoice choice;
    choice.form = form;
    choice.tabs = tabs;
    return choice;
}

WriteChoice converted(int conversion, const char* factor = nullptr, bool elevationsOnly = false,
                      int form = IDC_FORM_COMMA, const char* tabs = nullptr) {
    WriteChoice choice = as(form, tabs);
    choice.conversion = conversion;
    choice.factor = factor;
    choice.elevationsOnly = elevationsOnly;
    return choice;
}

struct WriteCase {
    const char* name;
    const char* points;
    bool swap;
    bool skipHeader;
    Area area;
    WriteChoice choice;
    const char* expected;
    int count;
};

// Test names in ctest show the row's name, not its bytes.
void PrintTo(const WriteCase& row, std::ostream* out) { *out << row.name; }

const char kThree[] = "1000.5,2000.25,15.0\n1100,2100,16\n";

class WriteCaseTest : public OutputTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteCaseTest, WritesExactlyTheseBytes) {
    const WriteCase& c = GetParam();
    std::string input = openPoints(c.points, c.swap, c.skipHeader);
    EXPECT_EQ(writeAndRead(c.area, c.choice, c.count), c.expected);
    EXPECT_EQ(read(input), c.points);  // the point file is only read
}

const WriteCase kForms[] = {
    {"CopyComma", kThree, false, false, Area::all(), as(IDC_FORM_COMMA), "1000.5,2000.25,15.0\r\n1100,2100,16\r\n", 2},
    {"CopySpace", kThree, false, false, Area::all(), as(IDC_FORM_SPACE), "1000.5 2000.25 15.0\r\n1100 2100 16\r\n", 2},
    {"CopyTabThree", kThree, false, false, Area::all(), as(IDC_FORM_TAB, "3"),
     "1000.5\t\t\t2000.25\t\t\t15.0\r\n1100\t\t\t2100\t\t\t16\r\n", 2},
    {"CopyTabPresetOne", kThree, false, false, Area::all(), as(IDC_FORM_TAB),
     "1000.5\t2000.25\t15.0\r\n1100\t2100\t16\r\n", 2},
    {"CopyTabZeroGivesOne", kThree, false, false, Area::all(), as(IDC_FORM_TAB, "0"),
     "1000.5\t2000.25\t15.0\r\n1100\t2100\t16\r\n", 2},
    {"CopyTabEmptiedGivesOne", kThree, false, false, Area::all(), as(IDC_FORM_TAB, "\b"),
     "1000.5\t2000.25\t15.0\r\n1100\t2100\t16\r\n", 2},
    {"CopyTabNineGivesFive", kThree, false, false, Area::all(), as(IDC_FORM_TAB, "9"),
     "1000.5\t\t\t\t\t2000.25\t\t\t\t\t15.0\r\n1100\t\t\t\t\t2100\t\t\t\t\t16\r\n", 2},
    // 65541 is 5 once cut to 16 bits, 32768 a negative number: both are clamped first.
    {"CopyTabBeyondSixteenBits", kThree, false, false, Area::all(), as(IDC_FORM_TAB, "65541"),
     "1000.5\t\t\t\t\t2000.25\t\t\t\t\t15.0\r\n1100\t\t\t\t\t2100\t\t\t\t\t16\r\n", 2},
    {"CopyTabNegativeWhenNarrowed", kThree, false, false, Area::all(), as(IDC_FORM_TAB, "32768"),
     "1000.5\t\t\t\t\t2000.25\t\t\t\t\t15.0\r\n1100\t\t\t\t\t2100\t\t\t\t\t16\r\n", 2},
    {"SpaceFormIgnoresTabCount", kThree, false, false, Area::all(), as(IDC_FORM_SPACE, "3"),
     "1000.5 2000.25 15.0\r\n1100 2100 16\r\n", 2},
    {"TwoFieldCopy", "1000.5,2000.25\n1100,2100\n", false, false, Area::all(), as(IDC_FORM_COMMA),
     "1000.5,2000.25\r\n1100,2100\r\n", 2},
    {"FiveFieldDropsNumberAndDescription", "7,1000.9,2000.1,15.25,TREE\n8,1100,2100,16,POST\n", false, false,
     Area::all(), as(IDC_FORM_COMMA), "1000.9,2000.1,15.25\r\n1100,2100,16\r\n", 2},
    {"FiveFieldSwapped", "7,1000.9,2000.1,15.25,TREE\n8,1100,2100,16,POST\n", true, false, Area::all(),
     as(IDC_FORM_COMMA), "2000.1,1000.9,15.25\r\n2100,1100,16\r\n", 2},
    {"FiveFieldLongDescription",
     "7,1000.9,2000.1,15.25,OAK TREE 40 CM TRUNK LEANING NORTH-EAST CHECK AGAIN IN SPRING BEFORE LEAVES FIELD BOOK 12\n"
     "8,1100,2100,16,POST\n",
     false, false, Area::all(), as(IDC_FORM_SPACE), "1000.9 2000.1 15.25\r\n1100 2100 16\r\n", 2},
    {"ThreeFieldSwappedSpace", kThree, true, false, Area::all(), as(IDC_FORM_SPACE),
     "2000.25 1000.5 15.0\r\n2100 1100 16\r\n", 2},
    {"BlanksInsideFieldsStay", "1000, 2000, 15\n1100, 2100, 16\n", false, false, Area::all(), as(IDC_FORM_COMMA),
     "1000, 2000, 15\r\n1100, 2100, 16\r\n", 2},
    {"WindowsLineEndsNotDoubled", "1000.5,2000.25,15.0\r\n1100,2100,16\r\n", false, false, Area::all(),
     as(IDC_FORM_COMMA), "1000.5,2000.25,15.0\r\n1100,2100,16\r\n", 2},
    {"HeaderSkipped", "X,Y,Z\n1000.5,2000.25,15.0\n1100,2100,16\n", false, true, Area::all(), as(IDC_FORM_COMMA),
     "1000.5,2000.25,15.0\r\n1100,2100,16\r\n", 2},
    {"LastLineWithoutBreakIsWritten", "1000.5,2000.25,15.0\n1100,2100,16", false, false, Area::all(),
     as(IDC_FORM_COMMA), "1000.5,2000.25,15.0\r\n1100,2100,16\r\n", 2},
};
INSTANTIATE_TEST_SUITE_P(Forms, WriteCaseTest, ::testing::ValuesIn(kForms),
                         [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

const WriteCase kAreas[] = {
    // Bounds hold the whole-number values: 1000.99 is 1000, 999.99 is 999, 1999.9 is 1999.
    {"RectangleBoundsOnWholeNumbers",
     "999.99,2050,1\n1000.99,2050,2\n1200.7,2050,3\n1201,2050,4\n1100,1999.9,5\n1100,2100.9,6\n1100,2101,7\n", false,
     false, Area::rect(1000, 1200, 2000, 2100), as(IDC_FORM_COMMA),
     "1000.99,2050,2\r\n1200.7,2050,3\r\n1100,2100.9,6\r\n", 3},
    {"RectangleNegativeCoordinates", "-12.7,-20.5,1\n-13.2,-20.5,2\n-1.5,-30,3\n-5,-19,4\n", false, false,
     Area::rect(-12, -1, -25, -20), as(IDC_FORM_COMMA), "-12.7,-20.5,1\r\n", 1},
    {"RectangleTestsFileUnitsBeforeConversion", "1000.5,2000.5,10\n1100,2100,20\n", false, false,
     Area::rect(1000, 1000, 2000, 2000), converted(IDC_CONV_FACTOR, "2"), "2001,4001,20\r\n", 1},
    {"RectangleSwappedFile", "2050,1000.5,1\n2060,1300,2\n", true, false, Area::rect(1000, 1200, 2000, 2100),
     as(IDC_FORM_COMMA), "1000.5,2050,1\r\n", 1},
    {"CircleRimIsInside", "106,108,1\n107,108,2\n100,100,3\n90,100,4\n89.9,100,5\n110.9,100,6\n", false, false,
     Area::circle(100, 100, 10), as(IDC_FORM_COMMA), "106,108,1\r\n100,100,3\r\n90,100,4\r\n110.9,100,6\r\n", 4},
    // Distances beyond 16 bits: 40000 and 65541 would wrap to 25536 and 5.
    {"CircleLargeCoordinates", "125000,100000,1\n140000,100000,2\n165541,100000,3\n100000,70000,4\n", false, false,
     Area::circle(100000, 100000, 30000), as(IDC_FORM_COMMA), "125000,100000,1\r\n100000,70000,4\r\n", 2},
    {"EmptySelection", kThree, false, false, Area::rect(5000, 6000, 5000, 6000), as(IDC_FORM_COMMA), "", 0},
    {"EmptyCircle", kThree, false, false, Area::circle(5000, 5000, 20), as(IDC_FORM_TAB, "2"), "", 0},
};
INSTANTIATE_TEST_SUITE_P(Areas, WriteCaseTest, ::testing::ValuesIn(kAreas),
                         [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

const WriteCase kNoData[] = {
    // 32765.9 is skipped too: in single precision it lies just above the bound.
    {"ElevationBandSkipped",
     "1000,2000,32766\n1001,2001,32767\n1002,2002,32767.99\n1003,2003,32765.9\n1004,2004,32768\n"
     "1005,2005,32765.8\n1006,2006,15\n",
     false, false, Area::all(), as(IDC_FORM_COMMA), "1004,2004,32768\r\n1005,2005,32765.8\r\n1006,2006,15\r\n", 3},
    {"ElevationBandSkippedInFiveFields", "1,1000,2000,32766.5,A\n2,1001,2001,12,B\n", false, false, Area::all(),
     as(IDC_FORM_COMMA), "1001,2001,12\r\n", 1},
    {"ElevationBandSkippedInArea", "1000,2000,32767\n1001,2001,12\n", false, false, Area::rect(900, 1100, 1900, 2100),
     as(IDC_FORM_COMMA), "1001,2001,12\r\n", 1},
    {"TwoFieldFilesHaveNoBand", "32766,32767\n32767,32766.5\n", false, false, Area::all(), as(IDC_FORM_COMMA),
     "32766,32767\r\n32767,32766.5\r\n", 2},
};
INSTANTIATE_TEST_SUITE_P(NoData, WriteCaseTest, ::testing::ValuesIn(kNoData),
                         [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

const WriteCase kConversions[] = {
    {"MetresToFeet", "10,100,100\n30.48,1000,12345.678\n", false, false, Area::all(), converted(IDC_CONV_M2FT),
     "32.81,328.08,328.084\r\n100,3280.84,40504.191\r\n", 2},
    {"MetresToFeetIgnoresPresetFactorText", "10,100,100\n30.48,1000,12345.678\n", false, false, Area::all(),
     converted(IDC_CONV_M2FT, nullptr), "32.81,328.08,328.084\r\n100,3280.84,40504.191\r\n", 2},
    {"FeetToMetres", "100,1234.5678,10\n200,2000,20\n", false, false, Area::all(), converted(IDC_CONV_FT2M),
     "30.48,376.3,3.048\r\n60.96,609.6,6.096\r\n", 2},
    {"FactorInSinglePrecision", "1000000,2000000,10\n1000001,2000010,20\n", false, false, Area::all(),
     converted(IDC_CONV_FACTOR, "1.1"), "1100000.02,2200000.05,11\r\n1100001.12,2200011.05,22\r\n", 2},
    {"FactorReadFromSixCharacters", "1000,2000,10\n1100,2100,20\n", false, false, Area::all(),
     converted(IDC_CONV_FACTOR, "1.23456"), "1234.5,2469,12.345\r\n1357.95,2592.45,24.69\r\n", 2},
    {"ElevationsOnly", "1234.5678,2000.126,100\n1300,2100,10\n", false, false, Area::all(),
     converted(IDC_CONV_M2FT, nullptr, true), "1234.57,2000.13,328.084\r\n1300,2100,32.808\r\n", 2},
    {"ElevationsOnlyWithFactor", "1234.5678,2000.126,100\n1300,2100,10\n", false, false, Area::all(),
     converted(IDC_CONV_FACTOR, "2", true), "1234.57,2000.13,200\r\n1300,2100,20\r\n", 2},
    {"MinusZero", "100,200,-0.001\n200,300,5\n", false, false, Area::all(), converted(IDC_CONV_FT2M),
     "30.48,60.96,-0\r\n60.96,91.44,1.524\r\n", 2},
    {"TwoFieldConverted", "10,100\n20,200\n", false, false, Area::all(), converted(IDC_CONV_M2FT),
     "32.81,328.08\r\n65.62,656.17\r\n", 2},
    {"FiveFieldConvertedSwapped", "1,10,100,100,A\n2,20,200,5,B\n", true, false, Area::all(), converted(IDC_CONV_M2FT),
     "328.08,32.81,328.084\r\n656.17,65.62,16.404\r\n", 2},
    {"ConvertedTabForm", "10,100,100\n20,200,5\n", false, false, Area::all(),
     converted(IDC_CONV_M2FT, nullptr, false, IDC_FORM_TAB, "2"),
     "32.81\t\t328.08\t\t328.084\r\n65.62\t\t656.17\t\t16.404\r\n", 2},
    {"ConvertedSpaceForm", "10,100,100\n20,200,5\n", false, false, Area::all(),
     converted(IDC_CONV_FT2M, nullptr, false, IDC_FORM_SPACE), "3.05 30.48 30.48\r\n6.1 60.96 1.524\r\n", 2},
    {"ConvertedLastLineWithoutBreak", "10,100,100\n20,200,5", false, false, Area::all(), converted(IDC_CONV_M2FT),
     "32.81,328.08,328.084\r\n65.62,656.17,16.404\r\n", 2},
};
INSTANTIATE_TEST_SUITE_P(Conversions, WriteCaseTest, ::testing::ValuesIn(kConversions),
                         [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

}  // namespace
