// Where points land: the forward mapping onto the even-pixel grid, the frame that bounds
// it, the header line, and redraws of a file that changed after it was opened.
#include <string>

#include "support/plotFixture.h"

namespace {

const COLORREF kGrey = RGB(154, 154, 154);
const COLORREF kLowest = RGB(0, 0, 50);
const COLORREF kHighest = RGB(254, 254, 254);
const COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

using PlotMappingTest = PlotTest;

TEST_F(PlotMappingTest, ExtentOf1000By500PutsTheCornersAt30_574And928_126) {
    openPoints("1000,1000,10\n2000,1500,20\n");
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    ASSERT_EQ(g_plotLeft, 26);
    ASSERT_EQ(g_plotTop, 119);
    ASSERT_EQ(g_plotRight, 936);
    ASSERT_EQ(g_plotBottom, 578);

    EXPECT_EQ(rgb(at(30, 574)), rgb(kLowest));
    EXPECT_EQ(rgb(at(928, 126)), rgb(kHighest));
    // One pixel each, nothing else inside the frame.
    EXPECT_EQ(count(inside(), kBlack), insideArea() - 2);
    EXPECT_EQ(rgb(at(31, 574)), rgb(kBlack));
    EXPECT_EQ(rgb(at(30, 575)), rgb(kBlack));
    EXPECT_EQ(rgb(at(929, 126)), rgb(kBlack));
}

TEST_F(PlotMappingTest, OddHalfRangeOf10By7PutsTheLargestYAboveTheFrame) {
    // Elevations 0..240: the largest-Y point would be orange (index 120), the centre one white.
    openPoints("100,100,0\n110,107,120\n105,103,240\n");
    ASSERT_EQ(g_scale, 90.0f);
    ASSERT_EQ(g_plotTop, 73);
    ASSERT_EQ(g_plotBottom, 713);

    EXPECT_EQ(rgb(at(30, 620)), rgb(kLowest));
    EXPECT_EQ(rgb(at(480, 350)), rgb(kHighest));
    // Row -10 is above the frame: the point is not drawn anywhere.
    EXPECT_EQ(count({0, 0, td::clientWidth(window), td::clientHeight(window)}, RGB(255, 144, 0)), 0);
}

TEST_F(PlotMappingTest, PixelsDifferingInTheLowestBitShareOnePixelAndTheLaterLineWins) {
    // 900 x 450 units at scale 1: columns 32 and 33, rows 375 and 374 all fall on (32, 374).
    openPoints("1000,1000,0\n1900,1450,240\n1002,1200,120\n1003,1201,40\n");
    ASSERT_EQ(g_scale, 1.0f);
    EXPECT_EQ(rgb(at(32, 374)), rgb(RGB(0, 255, 255)));
    EXPECT_EQ(rgb(at(33, 374)), rgb(kBlack));
    EXPECT_EQ(rgb(at(32, 375)), rgb(kBlack));
    EXPECT_EQ(rgb(at(33, 375)), rgb(kBlack));
    EXPECT_EQ(count(inside(), RGB(255, 144, 0)), 0);
}

// A point moved onto a frame edge after the open is left off; one a grid step inside is drawn.
struct EdgeCase {
    const char* name;
    const char* extent;  // the second corner; the first is 1000,1000
    const char* point;
    int column, row;
    bool drawn;
};

class FrameEdgeTest : public PlotTest, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(FrameEdgeTest, PointOnTheEdgeIsNotDrawn) {
    const EdgeCase& c = GetParam();
    std::string corners = std::string("1000,1000\n") + c.extent + "\n";
    openPoints(corners);
    COLORREF before = at(c.column, c.row);
    changeAndRedraw(corners + c.point + "\n");
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    if (c.drawn)
        EXPECT_EQ(rgb(at(c.column, c.row)), rgb(kGrey));
    else
        EXPECT_EQ(rgb(at(c.column, c.row)), rgb(before));
}

INSTANTIATE_TEST_SUITE_P(Edges, FrameEdgeTest,
                         ::testing::Values(
                             // 1000 x 500 units: frame (26, 119) to (936, 578), scale just below 0.9
                             EdgeCase{"OnLeft", "2000,1500", "995,1250", 26, 350, false},
                             EdgeCase{"InsideLeft", "2000,1500", "997,1250", 28, 350, true},
                             EdgeCase{"OnRight", "2000,1500", "2007,1250", 936, 350, false},
                             EdgeCase{"InsideRight", "2000,1500", "2005,1250", 934, 350, true},
                             EdgeCase{"OnBottom", "2000,1500", "1500,996", 480, 578, false},
                             EdgeCase{"InsideBottom", "2000,1500", "1500,998", 480, 576, true},
                             // 900 x 450 units: frame (25, 118) to (936, 578), scale 1
                             EdgeCase{"OnTop", "1900,1450", "1450,1457", 480, 118, false},
                             EdgeCase{"InsideTop", "1900,1450", "1450,1455", 480, 120, true}),
                         [](const ::testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });

// The header line (here a point that would land at 480, 374) is drawn only when read as data.
struct HeaderCase {
    bool skipHeader;
    const char* countText;
    bool headerDrawn;
};

class HeaderTest : public PlotTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderTest, CountAndHeaderPixelFollowTheChoice) {
    const HeaderCase& c = GetParam();
    openPoints("1450,1200\n1000,1000\n1900,1450\n1300,1100\n", c.skipHeader);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(rgb(at(480, 374)), rgb(c.headerDrawn ? kGrey : kBlack));
    EXPECT_EQ(rgb(at(330, 474)), rgb(kGrey));  // 1300,1100 in either case
    std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[4].text, c.countText);
}

INSTANTIATE_TEST_SUITE_P(Header, HeaderTest,
                         ::testing::Values(HeaderCase{true, "Total # Points: 3", false},
                                           HeaderCase{false, "Total # Points: 4", true}));

TEST_F(PlotMappingTest, ElevationsOutsideTheOpenedRangeTakeTheEndsOfTheRamp) {
    // Opened with elevations 100 to 340; then points below and above that range appear.
    openPoints("1000,1000,100\n1900,1450,340\n");
    changeAndRedraw("1000,1000,100\n1900,1450,340\n1100,1200,50\n1200,1200,1000\n1300,1200,-1e30\n");
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(rgb(at(130, 374)), rgb(kLowest));
    EXPECT_EQ(rgb(at(230, 374)), rgb(kHighest));
    EXPECT_EQ(rgb(at(330, 374)), rgb(kLowest));
}

TEST_F(PlotMappingTest, FileGoneSinceTheOpenDrawsPanelAndEmptyFrame) {
    std::string input = openPoints("1000,1000\n1900,1450\n1450,1200\n");
    ASSERT_EQ(rgb(at(480, 374)), rgb(kGrey));
    std::filesystem::remove(input);
    td::command(window, IDM_REDRAW);
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    EXPECT_EQ(td::drawnTexts(window).size(), 5u);
    EXPECT_EQ(rgb(at(g_plotLeft, 300)), "255,0,0");
    EXPECT_EQ(count(inside(), kBlack), insideArea());
}

// A line the pass cannot use ends the drawing: the points before it are drawn, the rest
// are not, and the command returns with the plot marked drawn.
struct BadLineCase {
    const char* name;
    std::string line;
};

class BadLineTest : public PlotTest, public ::testing::WithParamInterface<BadLineCase> {};

TEST_P(BadLineTest, DrawingStopsAtTheLine) {
    openPoints("1000,1000\n1900,1450\n1100,1200\n1200,1200\n");
    changeAndRedraw("1000,1000\n1900,1450\n1100,1200\n" + GetParam().line + "\n1200,1200\n1300,1200\n");
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    EXPECT_FALSE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_EQ(rgb(at(130, 374)), rgb(kGrey));
    EXPECT_EQ(rgb(at(230, 374)), rgb(kBlack));
    EXPECT_EQ(rgb(at(330, 374)), rgb(kBlack));
}

INSTANTIATE_TEST_SUITE_P(Lines, BadLineTest,
                         ::testing::Values(BadLineCase{"TooLongToRead", "1150," + std::string(200, '1')},
                                           BadLineCase{"NoComma", "1150"}, BadLineCase{"BlankBeforeMoreData", ""}),
                         [](const ::testing::TestParamInfo<BadLineCase>& info) {
                             return std::string(info.param.name);
                         });
