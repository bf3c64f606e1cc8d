// What a successful "&Open" leaves in the application state: ranges, counts and the fit.
#include <cfloat>
#include <string>

#include "openSteps.h"
#include "resource.h"
#include "support/appFixture.h"
#include "support/openFiles.h"

using namespace openSteps;

namespace {

// ---- the plot fit ----

struct FitCase {
    const char* name;
    int rangeX, rangeY;
    float scale;
    int left, right, top, bottom;
};

class PlotFit : public AppTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(PlotFit, FramesTheExtent) {
    const FitCase& c = GetParam();
    // The corners plus a point inside, with decimals that the whole-number reading drops.
    std::string content = "1000.9,2000.9\n" + std::to_string(1000 + c.rangeX) + ".5," +
                          std::to_string(2000 + c.rangeY) + ".2\n1001,2001\n";
    openFile(file("fit.csv", content));
    td::checkDone();
    EXPECT_EQ(g_rangeX, c.rangeX);
    EXPECT_EQ(g_rangeY, c.rangeY);
    EXPECT_EQ(g_scale, c.scale);
    EXPECT_EQ(g_plotCenterX, 480);
    EXPECT_EQ(g_plotCenterY, 350);
    EXPECT_EQ(g_plotLeft, c.left);
    EXPECT_EQ(g_plotRight, c.right);
    EXPECT_EQ(g_plotTop, c.top);
    EXPECT_EQ(g_plotBottom, c.bottom);
}

INSTANTIATE_TEST_SUITE_P(Extents, PlotFit,
                         ::testing::Values(FitCase{"Wide900x450", 900, 450, 1.0f, 25, 936, 118, 578},
                                           FitCase{"Wide1000x500", 1000, 500, 0.9f, 26, 936, 119, 578},
                                           FitCase{"Tall600x700", 600, 700, 0.9f, 206, 756, 29, 668},
                                           FitCase{"TenBySeven", 10, 7, 90.0f, 25, 936, 73, 713},
                                           FitCase{"Small7x3", 7, 3, 900.0f / 7.0f, 90, 1000, 215, 610}),
                         [](const ::testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

// ---- ranges and counts ----

struct RangeCase {
    const char* name;
    std::string content;
    bool skipHeader;
    short fields;
    int minX, maxX, minY, maxY;
    float minZ, maxZ, rangeZ;
    int points;
};

class OpenRanges : public AppTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(OpenRanges, GathersTrueRanges) {
    const RangeCase& c = GetParam();
    openFile(file("Survey Points.csv", c.content), false, c.skipHeader);
    td::checkDone();
    EXPECT_NE(g_viewState, ViewState::Empty);
    EXPECT_FALSE(heldOpen(g_inputPath));
    EXPECT_EQ(g_fieldCount, c.fields);
    EXPECT_EQ(g_minX, c.minX);
    EXPECT_EQ(g_maxX, c.maxX);
    EXPECT_EQ(g_minY, c.minY);
    EXPECT_EQ(g_maxY, c.maxY);
    EXPECT_EQ(g_rangeX, c.maxX - c.minX);
    EXPECT_EQ(g_rangeY, c.maxY - c.minY);
    EXPECT_FLOAT_EQ(g_minZ, c.minZ);
    EXPECT_FLOAT_EQ(g_maxZ, c.maxZ);
    EXPECT_FLOAT_EQ(g_rangeZ, c.rangeZ);
    EXPECT_EQ(g_pointCount, c.points);
    // The counting pass of a first Open reads a header line as a line.
    EXPECT_EQ(g_lineCount, c.points + (c.skipHeader ? 1 : 0));
    EXPECT_STREQ(g_fileTitle, "Survey Points.csv");
    EXPECT_EQ(g_selectAll, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenRanges,
    ::testing::Values(
        RangeCase{"ThreeFieldsHeader", "X,Y,Z\n5000.4,7000.6,101.5\n5200,7100,99.25\n5100,6900,120\n", true, 3, 5000,
                  5200, 6900, 7100, 99.25f, 120.0f, 20.75f, 3},
        RangeCase{"FiveFieldsHeader",
                  "Point,X,Y,Z,Desc\n1,2000,3000,10.5,TREE\n2,2500,3300,12.0,FENCE\n3,2100,3100,8.75,POST\n", true, 5,
                  2000, 2500, 3000, 3300, 8.75f, 12.0f, 3.25f, 3},
        RangeCase{"TwoFieldsNoElevation", "100,200\n300,400\n", false, 2, 100, 300, 200, 400, 0.0f, 0.0f, 0.0f, 2},
        RangeCase{"AllNegative", "-100,-200,-5\n-300,-400,-7.5\n-250,-350,-6\n", false, 3, -300, -100, -400, -200,
                  -7.5f, -5.0f, 2.5f, 3},
        RangeCase{"HighElevations", "1,1,20000000\n2,2,30000000\n", false, 3, 1, 2, 1, 2, 2.0e7f, 3.0e7f, 1.0e7f, 2},
        RangeCase{"NoDataBand", "1,1,32766.5\n2,2,32765.5\n3,3,32767.5\n4,4,32766\n5,5,32767\n", false, 3, 1, 5, 1, 5,
                  32765.5f, 32767.5f, 2.0f, 5},
        RangeCase{"OnlyNoData", "1,1,32766.5\n2,2,32766.5\n", false, 3, 1, 2, 1, 2, 0.0f, 0.0f, 0.0f, 2},
        RangeCase{"LastLineWithoutBreak", "100,200,1\n300,400,2\n900,800,3", false, 3, 100, 900, 200, 800, 1.0f, 3.0f,
                  2.0f, 3},
        RangeCase{"CrLf", "100,200,1\r\n300,400,2\r\n900,800,3\r\n", false, 3, 100, 900, 200, 800, 1.0f, 3.0f, 2.0f, 3},
        RangeCase{"CrLfWithoutFinalBreak", "100,200,1\r\n300,400,2\r\n900,800,3", false, 3, 100, 900, 200, 800, 1.0f,
                  3.0f, 2.0f, 3},
        RangeCase{"TrailingBlankLines", "100,200\n300,400\n\n  \n\r\n", false, 2, 100, 300, 200, 400, 0.0f, 0.0f, 0.0f,
                  2},
        RangeCase{"LastLineStartsWithSpace", "100,200\n300,400\n 900,800\n", false, 2, 100, 900, 200, 800, 0.0f, 0.0f,
                  0.0f, 3}),
    [](const ::testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

using OpenResults = AppTest;

// Lines of exactly 79 characters before a CRLF are whole lines.
TEST_F(OpenResults, CrLfLinesOf79Characters) {
    std::string line2 = "300,400,1.";
    line2.resize(79, '1');
    openFile(file("long.csv", "100,200,5\r\n" + line2 + "\r\n500,600,7\r\n"));
    td::checkDone();
    EXPECT_NE(g_viewState, ViewState::Empty);
    EXPECT_EQ(g_pointCount, 3);
}

TEST_F(OpenResults, MenuAndCursorAfterSuccessThenFailure) {
    openFile(file("good.csv", "100,200\n300,400\n"));
    td::checkDone();
    EXPECT_NE(g_viewState, ViewState::Empty);
    EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    EXPECT_FALSE(td::menuGrayed(window, IDM_SELECTALL)) << "the plot drawn after the open enables them";
    EXPECT_FALSE(td::menuGrayed(window, IDM_MOVEALL));

    // A later failure grays both items again, whatever the plot had enabled.
    expectChoose(file("bad.csv", "100;200\n"));
    expectError(window, "This is not a valid point file.\n    Check file and try again.");
    td::command(window, IDM_OPEN);
    td::checkDone();
    expectNothingSelectable(window);
}

TEST_F(OpenResults, LongFileNameKeptWhole) {
    std::string name = std::string(90, 'n') + ".csv";
    openFile(file(name, "100,200\n300,400\n"));
    td::checkDone();
    EXPECT_EQ(std::string(g_fileTitle), name);
    EXPECT_EQ(std::string(g_inputPath), path(name));
}

// The point count follows the choice just made, not the count taken under the last one.
TEST_F(OpenResults, PointCountUnderNewHeaderChoice) {
    openFile(file("plain.csv", "100,200\n300,400\n"));
    td::checkDone();
    ASSERT_EQ(g_skipHeader, 0);
    std::string withHeader = file("header.csv", "Easting,Northing\n100,200\n300,400\n500,600\n");
    expectChoose(withHeader);
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.itemText(IDC_LINECOUNT), "4") << "the counting pass read the header as a line";
        m.click(IDC_SKIPHEADER);
        m.click(IDOK);
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_pointCount, 3);
    EXPECT_EQ(g_lineCount, 4) << "the count Swap Fields showed";
    EXPECT_EQ(g_maxX, 500);
}

// A failed Open after a good one: the old fit stays, nothing is selectable.
TEST_F(OpenResults, FailureAfterSuccessKeepsOldFit) {
    openFile(file("good.csv", "100,200\n1000,650\n"));
    td::checkDone();
    const int left = g_plotLeft, bottom = g_plotBottom;
    const float scale = g_scale;
    expectChoose(file("zero.csv", "100,200\n0,300\n"));
    expectSwapOk();
    expectError(window,
                "This file either has a header line or there       \n"
                "are X - Y fields equal to zero.  Erase any\n"
                "lines with zero XY values or check the\n"
                "\"Ignore 1st line\"  box when opening file.");
    td::command(window, IDM_OPEN);
    td::checkDone();
    expectNothingSelectable(window);
    EXPECT_EQ(g_plotLeft, left);
    EXPECT_EQ(g_plotBottom, bottom);
    EXPECT_EQ(g_scale, scale);
    // Redraw has nothing to show in view state 0.
    td::command(window, IDM_REDRAW);
    EXPECT_EQ(g_viewState, ViewState::Empty);
}

}  // namespace
