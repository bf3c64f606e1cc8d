// Picking beyond the drag: a polygon placed click by click, its inverting outline taken
// off exactly however it ends, the ways it closes and what it selects; the points
// outside; the closer look dragged with the right button and the way back; and the
// pointer's coordinates in the panel.
#include <functional>
#include <string>
#include <vector>

#include "app/areaSelection.h"
#include "plot/plotGeometry.h"
#include "plot/plotView.h"
#include "support/plotFixture.h"

namespace {

// 900 x 450 units at scale 1: frame (25, 118) to (936, 578); the point 1450,1200 is at
// (480, 374). A corner at client (x, y) selects X 970 + x and Y 1573 - y.
const char kPlan[] = "1000,1000\n1900,1450\n1450,1200\n";

const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

}  // namespace

class PickingTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        if (HasFatalFailure()) return;
        openPoints(kPlan);
        ASSERT_EQ(g_viewState, ViewState::Drawn);
        ASSERT_EQ(g_plotLeft, 25);
        ASSERT_EQ(g_plotBottom, 578);
        drawn = td::snapshot(window);
    }

    void usePolygon() { td::command(window, IDM_POLYGON); }

    void clickAll(const std::vector<POINT>& points) {
        for (const POINT& p : points) td::click(window, p.x, p.y);
    }

    bool unchanged() { return td::snapshot(window) == drawn; }

    std::vector<COLORREF> drawn;  // the plot as the Open drew it
};

TEST_F(PickingTest, PolygonEdgesAndRubberLineInvertAndTakingThemBackRestoresEveryPixel) {
    usePolygon();
    td::click(window, 100, 200);
    td::hover(window, 300, 200);
    EXPECT_EQ(at(200, 200), kWhite) << "the rubber line to the pointer";
    EXPECT_EQ(at(300, 200), kBlack) << "a line leaves its end undrawn";
    td::click(window, 300, 200);
    td::hover(window, 300, 400);
    EXPECT_EQ(at(200, 200), kWhite) << "the placed edge stays";
    EXPECT_EQ(at(300, 300), kWhite);
    td::click(window, 300, 374);
    // An edge across the grey point inverts it.
    td::hover(window, 560, 374);
    td::click(window, 560, 374);
    td::hover(window, 100, 300);
    EXPECT_EQ(rgb(at(480, 374)), "101,101,101");
    EXPECT_EQ(g_placing.count, 4);

    td::key(window, VK_BACK);  // (560, 374) goes, and the edge to it
    EXPECT_EQ(g_placing.count, 3);
    EXPECT_EQ(rgb(at(480, 374)), "154,154,154");
    EXPECT_EQ(at(300, 300), kWhite);
    td::key(window, VK_ESCAPE);
    EXPECT_EQ(g_placing.count, 0);
    td::leave(window);  // and the pointer's coordinates with it
    EXPECT_TRUE(unchanged()) << "the outline was not taken off exactly";

    // Backspace down to the last vertex drops a self-crossing polygon too.
    clickAll({{100, 200}, {300, 400}, {300, 200}, {100, 400}});
    td::hover(window, 200, 250);
    for (int i = 0; i < 4; ++i) td::key(window, VK_BACK);
    EXPECT_EQ(g_placing.count, 0);
    td::leave(window);
    EXPECT_TRUE(unchanged());
    td::key(window, VK_BACK);  // nothing being placed: nothing happens
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(td::captureWindow(), nullptr);
}

TEST_F(PickingTest, ClosingByTheFirstVertexSelectsTheCornersByTheRectanglesConversion) {
    usePolygon();
    clickAll({{100, 200}, {300, 200}, {310, 400}, {5, 640}});  // the last outside the frame: at its corner
    EXPECT_EQ(g_placing.vertices[3].x, 25);
    EXPECT_EQ(g_placing.vertices[3].y, 578);
    cancelWriteFileAs();
    const size_t modals = modalsSeen();
    td::click(window, 103, 204);  // 5 pixels from the first vertex
    EXPECT_EQ(modalsSeen(), modals + 1);
    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_EQ(g_placing.count, 0);
    ASSERT_EQ(g_selPolygon.count, 4);
    EXPECT_EQ(std::vector<int>(g_selPolygon.xs, g_selPolygon.xs + 4), (std::vector<int>{1070, 1270, 1280, 995}));
    EXPECT_EQ(std::vector<int>(g_selPolygon.ys, g_selPolygon.ys + 4), (std::vector<int>{1373, 1373, 1173, 995}));
    EXPECT_EQ(td::captureWindow(), nullptr);
    EXPECT_FALSE(td::cursorClipped(nullptr));
}

// Each way of closing: with three vertices it writes; with two it does nothing (and the
// right button does not zoom); a click 6 pixels from the first vertex is one more vertex.
struct CloseCase {
    const char* name;
    int vertices;
    int how;  // 0 Enter, 1 the right button, 2 a click 5 pixels from the first vertex, 3 one 6 away
    bool writes;
};

class PolygonCloseTest : public PickingTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(PolygonCloseTest, ClosesWithThreeVerticesOrMore) {
    const CloseCase& c = GetParam();
    usePolygon();
    const std::vector<POINT> corners = {{100, 200}, {300, 220}, {200, 400}};
    clickAll(std::vector<POINT>(corners.begin(), corners.begin() + c.vertices));
    const size_t modals = modalsSeen();
    if (c.writes) cancelWriteFileAs();
    switch (c.how) {
    case 0: td::key(window, VK_RETURN); break;
    case 1: td::rightDrag(window, {400, 300}, {600, 450}); break;
    case 2: td::click(window, 104, 197); break;
    case 3: td::click(window, 106, 200); break;
    }
    EXPECT_EQ(modalsSeen(), modals + (c.writes ? 1 : 0));
    EXPECT_FALSE(g_zoom.zoomed);
    EXPECT_EQ(g_placing.count, c.writes ? 0 : c.vertices + (c.how == 3 ? 1 : 0));
    if (c.writes) {
        EXPECT_EQ(g_selPolygon.count, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, PolygonCloseTest,
                         ::testing::Values(CloseCase{"Enter", 3, 0, true}, CloseCase{"RightButton", 3, 1, true},
                                           CloseCase{"FirstVertex", 3, 2, true}, CloseCase{"EnterWithTwo", 2, 0, false},
                                           CloseCase{"RightButtonWithTwo", 2, 1, false},
                                           CloseCase{"FirstVertexWithTwo", 2, 2, false},
                                           CloseCase{"SixPixelsAway", 3, 3, false}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

TEST_F(PickingTest, TheTwoHundredFiftiethVertexClosesThePolygon) {
    usePolygon();
    for (int i = 0; i < kMostPolygonVertices - 1; ++i) td::click(window, 100 + (i % 50) * 15, 150 + (i / 50) * 60);
    EXPECT_EQ(g_placing.count, kMostPolygonVertices - 1);
    cancelWriteFileAs();
    td::click(window, 900, 500);
    EXPECT_EQ(g_placing.count, 0);
    EXPECT_EQ(g_selPolygon.count, kMostPolygonVertices);
    EXPECT_EQ(g_selPolygon.xs[kMostPolygonVertices - 1], 970 + 900);
}

TEST_F(PickingTest, APolygonWithinFourteenPixelsClosesWithoutAWriteAndLeavesThePlot) {
    usePolygon();
    clickAll({{100, 200}, {114, 200}, {114, 260}});  // 14 wide
    td::hover(window, 150, 250);
    const size_t modals = modalsSeen();
    td::key(window, VK_RETURN);
    EXPECT_EQ(modalsSeen(), modals);
    EXPECT_EQ(g_placing.count, 0);
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    td::leave(window);
    EXPECT_TRUE(unchanged());
}

TEST_F(PickingTest, AnotherCommandTakesThePolygonOffButPointsOutsideKeepsIt) {
    usePolygon();
    clickAll({{100, 200}, {300, 200}});
    td::hover(window, 250, 300);
    td::command(window, IDM_OUTSIDE);
    EXPECT_EQ(g_placing.count, 2);
    td::command(window, IDM_RECTANGLE);
    EXPECT_EQ(g_placing.count, 0);
    td::leave(window);
    EXPECT_TRUE(unchanged());
}

// Writes through the menus and the mouse, with the file's lines as they stand.
class PickedWriteTest : public PickingTest {
protected:
    std::string writeWith(const std::function<void()>& pick) {
        const std::string output = path("picked" + std::to_string(++writes) + ".csv");
        td::expectModal([](td::Modal& m) { m.click(IDOK); });
        td::expectModal([output](td::Modal& m) { m.choose(output); });
        td::expectModal([](td::Modal& m) {
            EXPECT_EQ(m.caption(), "File Saved");
            m.answer(IDOK);
        });
        pick();
        return read(output);
    }
    int writes = 0;
};

TEST_F(PickedWriteTest, APolygonWritesThePointsInsideItOrOutsideIt) {
    usePolygon();
    // A triangle round 1450,1200: X 1410 to 1570, Y 1123 to 1273.
    const auto triangle = [this] {
        clickAll({{440, 374}, {600, 300}, {600, 450}});
        td::key(window, VK_RETURN);
    };
    EXPECT_EQ(writeWith(triangle), "1450,1200\r\n");
    td::command(window, IDM_REDRAW);
    td::command(window, IDM_OUTSIDE);
    EXPECT_TRUE(td::menuChecked(window, IDM_OUTSIDE));
    EXPECT_EQ(writeWith(triangle), "1000,1000\r\n1900,1450\r\n");
}

TEST_F(PickedWriteTest, PointsOutsideARectangleLeaveSelectAllAsItIs) {
    td::command(window, IDM_OUTSIDE);
    EXPECT_EQ(writeWith([this] { td::drag(window, {400, 300}, {600, 450}); }), "1000,1000\r\n1900,1450\r\n");
    td::command(window, IDM_REDRAW);
    EXPECT_EQ(writeWith([this] { td::command(window, IDM_SELECTALL); }), "1000,1000\r\n1900,1450\r\n1450,1200\r\n");
}

TEST_F(PickingTest, MenuItemsComeAfterTheOldOnesAndTheAreaTypesAreCheckedOneAtATime) {
    EXPECT_EQ(td::menuItemText(window, IDM_POLYGON), "&Polygon");
    EXPECT_EQ(td::menuItemText(window, IDM_OUTSIDE), "Points &Outside");
    EXPECT_EQ(td::menuItemText(window, IDM_WHOLEFILE), "&Whole File");
    EXPECT_TRUE(td::menuGrayed(window, IDM_WHOLEFILE));
    EXPECT_FALSE(td::menuChecked(window, IDM_OUTSIDE));
    usePolygon();
    EXPECT_TRUE(td::menuChecked(window, IDM_POLYGON));
    EXPECT_FALSE(td::menuChecked(window, IDM_RECTANGLE));
    EXPECT_FALSE(td::menuChecked(window, IDM_CIRCLE));
    td::command(window, IDM_CIRCLE);
    EXPECT_FALSE(td::menuChecked(window, IDM_POLYGON));
    EXPECT_TRUE(td::menuChecked(window, IDM_CIRCLE));
    td::command(window, IDM_OUTSIDE);
    EXPECT_TRUE(g_pointsOutside);
    EXPECT_TRUE(td::menuChecked(window, IDM_CIRCLE)) << "the outside is no area type";
    td::command(window, IDM_OUTSIDE);
    EXPECT_FALSE(g_pointsOutside);
    EXPECT_FALSE(td::menuChecked(window, IDM_OUTSIDE));
}

TEST_F(PickingTest, ARightDragZoomsToTheBoxByTheOpensFitAndWholeFileGoesBack) {
    td::rightDrag(window, {400, 300}, {600, 450});
    ASSERT_TRUE(g_zoom.zoomed);
    // X 1370..1570, Y 1123..1273: 200 x 150, limited by its height.
    const PlotFit fit = fitPlot(PlotExtent{1370, 1123, 1273, 200, 150});
    EXPECT_EQ(g_zoom.fit.scale, fit.scale);
    EXPECT_EQ(g_zoom.fit.left, fit.left);
    EXPECT_EQ(g_zoom.fit.top, fit.top);
    EXPECT_EQ(g_zoom.fit.right, fit.right);
    EXPECT_EQ(g_zoom.fit.bottom, fit.bottom);
    EXPECT_EQ(td::captureWindow(), nullptr);
    EXPECT_FALSE(td::menuGrayed(window, IDM_WHOLEFILE));
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    // Only 1450,1200 lies in the view, in its own colour.
    const RECT frame = {fit.left + 3, fit.top + 3, fit.right - 3, fit.bottom - 3};
    EXPECT_EQ(count(frame, RGB(154, 154, 154)), 1);
    EXPECT_EQ(count(frame, kBlack), (frame.right - frame.left) * (frame.bottom - frame.top) - 1);
    const std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[1].text, "Filename: points.csv");
    EXPECT_EQ(texts[4].text, "Total # Points: 3");
    EXPECT_EQ(texts[5].text, "Zoomed view");
    EXPECT_EQ(texts[5].x, kZoomNoteX);
    EXPECT_EQ(texts[5].y, fit.bottom + kPanelBelowFrame);
    for (size_t i = 0; i < 5; ++i) {
        const RECT a = texts[i].bounds, b = texts[5].bounds;
        EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top) << texts[i].text;
    }

    const std::vector<COLORREF> zoomed = td::snapshot(window);
    td::command(window, IDM_REDRAW);
    EXPECT_TRUE(td::snapshot(window) == zoomed) << "Redraw draws the view shown";
    td::command(window, IDM_WHOLEFILE);
    EXPECT_FALSE(g_zoom.zoomed);
    EXPECT_TRUE(td::menuGrayed(window, IDM_WHOLEFILE));
    EXPECT_TRUE(unchanged()) << "back to the whole file as the Open drew it";
    EXPECT_EQ(td::drawnTexts(window).size(), 5u);
}

TEST_F(PickingTest, ARectangleInAZoomedViewIsConvertedByTheZoomedFit) {
    td::rightDrag(window, {400, 300}, {600, 450});
    ASSERT_TRUE(g_zoom.zoomed);
    const PlotFit fit = g_zoom.fit;
    cancelWriteFileAs();
    td::drag(window, {fit.left + 5, fit.top + 20}, {fit.left + 47, fit.bottom - 5});
    EXPECT_EQ(g_selMinX, 1370);
    EXPECT_EQ(g_selMaxX, 1370 + static_cast<int>(42 / static_cast<double>(fit.scale)));
    EXPECT_EQ(g_selMinY, 1123);
    // Open starts at the whole file again.
    openFile(path("points.csv"), false, false, false);
    EXPECT_FALSE(g_zoom.zoomed);
    EXPECT_TRUE(unchanged());
}

TEST_F(PickingTest, ASmallRightDragOrOneOnAnEmptyWindowDoesNothing) {
    td::rightDrag(window, {400, 300}, {414, 450});
    EXPECT_FALSE(g_zoom.zoomed);
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(td::captureWindow(), nullptr);
    EXPECT_FALSE(td::cursorClipped(nullptr));
    clearWindow(window);
    td::rightDrag(window, {400, 300}, {600, 450});
    EXPECT_FALSE(g_zoom.zoomed);
    td::command(window, IDM_WHOLEFILE);  // grayed: nothing
    EXPECT_EQ(g_viewState, ViewState::Empty);
}

TEST_F(PickingTest, ThePointersCoordinatesShowOverTheFrameAndGoWithoutATrace) {
    td::hover(window, 480, 374);
    std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[5].text, "X: 1450   Y: 1199");
    EXPECT_EQ(texts[5].x, kPointerStripLeft);
    EXPECT_EQ(texts[5].y, 578 + kPanelBelowFrame);
    EXPECT_GT(count(texts[5].bounds, kWhite), 20);
    td::hover(window, 25, 578);  // the frame's corner is over it
    EXPECT_EQ(td::drawnTexts(window).back().text, "X: 995   Y: 995");
    td::leave(window);
    EXPECT_TRUE(unchanged());

    td::hover(window, 300, 300);
    td::hover(window, 10, 300);  // beside the frame
    EXPECT_TRUE(unchanged());
    td::hover(window, 300, 300);
    td::press(window, 300, 300);  // a button held: no coordinates
    EXPECT_TRUE(unchanged());
    td::move(window, 310, 300);
    td::release(window, 310, 300);
    EXPECT_TRUE(unchanged());
    clearWindow(window);
    g_viewState = ViewState::Fitted;  // as a write leaves it: black, nothing to show on
    td::hover(window, 300, 300);
    EXPECT_EQ(count({0, 0, td::clientWidth(window), td::clientHeight(window)}, kBlack),
              td::clientWidth(window) * td::clientHeight(window));
}

TEST_F(PlotTest, ThePointersStripAndTheZoomNoteTouchNoOtherText) {
    // The widest coordinates an extent within the int range has, on both sides of zero.
    openPoints("-1073741800,-1073741800,1.5\n1073741800,1073741800,2.5\n");
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    td::rightDrag(window, {g_plotLeft + 10, g_plotTop + 10}, {g_plotRight - 10, g_plotBottom - 10});
    ASSERT_TRUE(g_zoom.zoomed);
    td::hover(window, g_zoom.fit.left, g_zoom.fit.bottom);
    const std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[6].text.find("X: -10"), 0u) << texts[6].text;
    EXPECT_LE(texts[6].bounds.right, kPointerStripRight);
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const RECT a = texts[i].bounds, b = texts[j].bounds;
            EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top)
                << texts[i].text << " and " << texts[j].text;
        }
}

TEST_F(PlotTest, AZoomedViewDrawsItsPlainLinesAsTheGeneralReadingDoesUpToTheFrame) {
    // A point on every whole coordinate of 300 x 200 units (3 pixels a unit), read the fast
    // way (plain lines) and again the general way (the same values with an exponent). Zoomed
    // to 200 x 150 units (4.2 pixels a unit) from X 890, the points a unit beyond the view's
    // extent fall inside the frame, within its inset; its X runs from three digits to four,
    // and some are written with a leading zero.
    std::string plain, general;
    for (int y = 0; y <= 200; ++y)
        for (int x = 0; x <= 300; ++x) {
            const std::string rest = "," + std::to_string(1000 + y) + "," + std::to_string(x % 7) + ".5\n";
            const std::string xText = (x % 5 == 0 ? "0" : "") + std::to_string(850 + x);
            plain += xText + rest;
            general += xText + "e0" + rest;
        }
    openPoints(plain);
    td::rightDrag(window, {150, 100}, {750, 550});
    ASSERT_TRUE(g_zoom.zoomed);
    ASSERT_GT(g_zoom.fit.scale, 4.0f);
    ASSERT_LT(g_zoom.fit.extent.minX, 1000);
    ASSERT_GT(g_zoom.fit.extent.minX + g_zoom.fit.extent.rangeX, 1000);
    const std::vector<COLORREF> fast = td::snapshot(window);
    changeAndRedraw(general);
    EXPECT_TRUE(td::snapshot(window) == fast);
}
