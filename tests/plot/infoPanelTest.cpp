// The information panel and the frame as the layer received them, and a survey-sized
// file drawn whole.
#include <string>
#include <vector>

#include "support/plotFixture.h"

namespace {

struct PanelText {
    std::string text;
    int x, y;
    UINT align;
    int height;
    bool italic;
};

void expectPanel(const std::vector<td::DrawnText>& drawn, const std::vector<PanelText>& expected) {
    ASSERT_EQ(drawn.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(drawn[i].text, expected[i].text);
        EXPECT_EQ(drawn[i].x, expected[i].x);
        EXPECT_EQ(drawn[i].y, expected[i].y);
        EXPECT_EQ(drawn[i].align, expected[i].align);
        EXPECT_EQ(drawn[i].color, RGB(255, 255, 255));
        EXPECT_EQ(drawn[i].face, "Times New Roman");
        EXPECT_EQ(drawn[i].height, expected[i].height);
        EXPECT_EQ(drawn[i].weight, 700);
        EXPECT_EQ(drawn[i].italic, expected[i].italic);
    }
}

std::vector<PanelText> panel(const std::string& name, const std::string& minZ, const std::string& maxZ,
                             const std::string& count, int top, int bottom) {
    return {{"Select Points", 480, top - 8, TA_CENTER | TA_BASELINE, 30, true},
            {"Filename: " + name, 4, 6, TA_LEFT | TA_TOP, 18, false},
            {"Min. El: " + minZ, 5, bottom + 4, TA_LEFT | TA_TOP, 18, false},
            {"Max. El: " + maxZ, 145, bottom + 4, TA_LEFT | TA_TOP, 18, false},
            {"Total # Points: " + count, 765, bottom + 4, TA_LEFT | TA_TOP, 18, false}};
}

}  // namespace

struct PanelCase {
    const char* name;
    const char* fileName;
    const char* content;
    const char* shownName;
    const char* minZ;
    const char* maxZ;
    const char* count;
};

class InfoPanelTest : public PlotTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(InfoPanelTest, FiveTextsWithTheirFontsAndPlaces) {
    const PanelCase& c = GetParam();
    openPoints(c.content, false, c.fileName);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    std::vector<td::DrawnText> drawn = td::drawnTexts(window);
    expectPanel(drawn, panel(c.shownName, c.minZ, c.maxZ, c.count, g_plotTop, g_plotBottom));
    // Each text really reached the window in white, near its reference point.
    for (size_t i = 0; i < drawn.size(); ++i) {
        SCOPED_TRACE(drawn[i].text);
        EXPECT_GT(td::countPixels(window, drawn[i].bounds, RGB(255, 255, 255)), 0);
        if (i == 0) {
            EXPECT_LT(drawn[i].bounds.top, drawn[i].y);
            EXPECT_NEAR((drawn[i].bounds.left + drawn[i].bounds.right) / 2, 480, 3);
        } else {
            EXPECT_GE(drawn[i].bounds.left, drawn[i].x - 1);
            EXPECT_GE(drawn[i].bounds.top, drawn[i].y);
            EXPECT_LE(drawn[i].bounds.bottom, drawn[i].y + 18);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, InfoPanelTest,
    ::testing::Values(PanelCase{"ThreeFields", "Survey.CSV", "1000,1000,12.34\n2000,1500,56.78\n1500,1200,20\n",
                                "survey.csv", "12.3", "56.8", "3"},
                      PanelCase{"TwoFields", "PLAN.csv", "1000,1000\n2000,1500\n", "plan.csv", "0.0", "0.0", "2"},
                      PanelCase{"FiveFieldsNegative", "Site 7.csv", "1,1000,1000,-3.25,A\n2,2000,1500,7.5,B\n",
                                "site 7.csv", "-3.2", "7.5", "2"}),
    [](const ::testing::TestParamInfo<PanelCase>& info) { return std::string(info.param.name); });

TEST_F(PlotTest, FrameIsAThreePixelRedEdgeCentredOnTheFrameLines) {
    openPoints("1000,1000\n2000,1500\n");  // frame (26, 119) to (936, 578)
    const COLORREF red = RGB(255, 0, 0);
    const int midRow = 350, midColumn = 700;
    // Across the left and right edges: left-1..left+1 and right-2..right.
    EXPECT_EQ(count({0, midRow, td::clientWidth(window), midRow + 1}, red), 6);
    for (int x : {25, 26, 27, 934, 935, 936}) EXPECT_EQ(rgb(at(x, midRow)), "255,0,0") << "column " << x;
    for (int x : {24, 28, 933, 937}) EXPECT_EQ(rgb(at(x, midRow)), "0,0,0") << "column " << x;
    // Across the top and bottom edges.
    EXPECT_EQ(count({midColumn, 0, midColumn + 1, td::clientHeight(window)}, red), 6);
    for (int y : {118, 119, 120, 576, 577, 578}) EXPECT_EQ(rgb(at(midColumn, y)), "255,0,0") << "row " << y;
    for (int y : {117, 121, 575, 579}) EXPECT_EQ(rgb(at(midColumn, y)), "0,0,0") << "row " << y;
    // The inside holds the two points and nothing else.
    EXPECT_EQ(count(inside(), RGB(0, 0, 0)), insideArea() - 2);
}

TEST_F(PlotTest, RedrawEndsDrawnWithTheSelectItemsEnabledAndTheArrowCursor) {
    openPoints("1000,1000\n2000,1500\n");
    td::command(window, IDM_REDRAW);
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_FALSE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_FALSE(td::menuGrayed(window, IDM_MOVEALL));
    EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    EXPECT_EQ(td::drawnTexts(window).size(), 5u);
}

TEST_F(PlotTest, SurveyOf100000PointsIsDrawnWhole) {
    // A grid of 451 x 222 points at scale 1 (900 x 450 units) with elevations 100..340, so
    // that point i lands on its own pixel with ramp index i % 241.
    const int points = 100000;
    std::string content;
    content.reserve(points * 20);
    char line[64];
    for (int i = 0; i < points - 1; ++i) {
        std::snprintf(line, sizeof line, "%d.25,%d.75,%d.0\n", 1000 + 2 * (i % 451), 1000 + 2 * (i / 451),
                      100 + i % 241);
        content += line;
    }
    content += "1900,1450,100\n";  // the far corner
    openPoints(content, false, "survey.csv");
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    ASSERT_EQ(g_plotLeft, 25);
    ASSERT_EQ(g_plotTop, 118);
    ASSERT_EQ(g_plotRight, 936);
    ASSERT_EQ(g_plotBottom, 578);

    expectPanel(td::drawnTexts(window), panel("survey.csv", "100.0", "340.0", "100000", 118, 578));
    EXPECT_EQ(count({0, 350, td::clientWidth(window), 351}, RGB(255, 0, 0)), 6);
    EXPECT_EQ(count(inside(), RGB(0, 0, 0)), insideArea() - points);
    for (const Band& band : kBands) {
        for (int i = band.k; i < points - 1; i += 241 * 97) {
            int x = 30 + 2 * (i % 451), y = 574 - 2 * (i / 451);
            EXPECT_EQ(rgb(at(x, y)), rgb(band.colour)) << "point " << i << " index " << band.k;
        }
    }
    EXPECT_EQ(rgb(at(930, 124)), rgb(RGB(0, 0, 50)));
}
