// Dragging a rectangle or a circle over the plot: the inverting outline, the 14-pixel
// rule, the circle that must fit in the frame, the selection record the release leaves,
// and the capture and cursor confinement that last exactly as long as the drag.
#include <string>
#include <vector>

#include "app/areaSelection.h"
#include "support/plotFixture.h"

namespace {

// 900 x 450 units at scale 1: frame (25, 118) to (936, 578); the point 1450,1200 is at (480, 374).
const char kPlan[] = "1000,1000\n1900,1450\n1450,1200\n";

}  // namespace

class SelectionTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        if (HasFatalFailure()) return;
        openPoints(kPlan);
        ASSERT_EQ(g_viewState, ViewState::Drawn);
        ASSERT_EQ(g_scale, 1.0f);
        ASSERT_EQ(g_plotLeft, 25);
        ASSERT_EQ(g_plotTop, 118);
        ASSERT_EQ(g_plotRight, 936);
        ASSERT_EQ(g_plotBottom, 578);
    }

    void useCircle() { td::command(window, IDM_CIRCLE); }

    void expectDragOver() {
        EXPECT_EQ(td::captureWindow(), nullptr);
        EXPECT_FALSE(td::cursorClipped(nullptr));
        EXPECT_EQ(g_outlineShown, 0);
    }
};

// Rectangles: the box, its world bounds, and whether the write sequence starts.
struct RectangleCase {
    const char* name;
    POINT from, to;
    short left, top, right, bottom;
    int minX, maxX, minY, maxY;
    bool writes;
};

class RectangleTest : public SelectionTest, public ::testing::WithParamInterface<RectangleCase> {};

TEST_P(RectangleTest, ReleaseFillsTheRecordAndWritesOnlyAbove14Pixels) {
    const RectangleCase& c = GetParam();
    std::vector<COLORREF> before = td::snapshot(window);
    size_t modals = modalsSeen();
    if (c.writes) cancelWriteFileAs();
    td::drag(window, c.from, c.to);

    EXPECT_EQ(g_selLeft, c.left);
    EXPECT_EQ(g_selTop, c.top);
    EXPECT_EQ(g_selRight, c.right);
    EXPECT_EQ(g_selBottom, c.bottom);
    EXPECT_EQ(g_selMinX, c.minX);
    EXPECT_EQ(g_selMaxX, c.maxX);
    EXPECT_EQ(g_selMinY, c.minY);
    EXPECT_EQ(g_selMaxY, c.maxY);
    expectDragOver();
    if (c.writes) {
        EXPECT_EQ(modalsSeen(), modals + 1);
        EXPECT_EQ(g_viewState, ViewState::Fitted);  // the cancelled write leaves the window black
    } else {
        EXPECT_EQ(modalsSeen(), modals);
        EXPECT_EQ(g_viewState, ViewState::Drawn);
        EXPECT_TRUE(td::snapshot(window) == before) << "the outline was not erased exactly";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, RectangleTest,
    ::testing::Values(
        RectangleCase{"Square15", {100, 200}, {115, 215}, 100, 200, 115, 215, 1070, 1085, 1358, 1373, true},
        RectangleCase{"BottomRightToTopLeft", {115, 215}, {100, 200}, 100, 200, 115, 215, 1070, 1085, 1358, 1373, true},
        RectangleCase{"Width14", {100, 200}, {114, 300}, 100, 200, 114, 300, 1070, 1084, 1273, 1373, false},
        RectangleCase{"Height14", {300, 200}, {100, 214}, 100, 200, 300, 214, 1070, 1270, 1359, 1373, false},
        RectangleCase{"Click", {480, 374}, {480, 374}, 480, 374, 480, 374, 1450, 1450, 1199, 1199, false}),
    [](const ::testing::TestParamInfo<RectangleCase>& info) { return std::string(info.param.name); });

TEST_F(SelectionTest, RectangleOutlineInvertsAndIsErasedByTheNextMove) {
    td::press(window, 400, 374);
    EXPECT_EQ(td::captureWindow(), window);
    td::move(window, 560, 450);
    // The top edge runs through the grey point, which turns into its inverse.
    EXPECT_EQ(rgb(at(480, 374)), "101,101,101");
    EXPECT_EQ(rgb(at(500, 450)), "255,255,255");
    EXPECT_EQ(rgb(at(400, 420)), "255,255,255");
    EXPECT_EQ(rgb(at(560, 420)), "255,255,255");
    EXPECT_EQ(rgb(at(500, 420)), "0,0,0");

    td::move(window, 520, 300);
    EXPECT_EQ(rgb(at(480, 374)), "101,101,101");  // still on the new outline's bottom edge
    EXPECT_EQ(rgb(at(500, 450)), "0,0,0");
    EXPECT_EQ(rgb(at(560, 420)), "0,0,0");
    EXPECT_EQ(rgb(at(520, 340)), "255,255,255");

    td::move(window, 460, 420);
    EXPECT_EQ(rgb(at(480, 374)), "154,154,154");  // no edge over the point now: restored

    cancelWriteFileAs();
    td::release(window, 460, 420);
    EXPECT_EQ(g_selMinX, 1000 + 400 - 30);
    expectDragOver();
}

// Circles: a radius from the centre to the mouse, drawn only when it fits in the frame.
struct CircleCase {
    const char* name;
    POINT centre, rim;
    bool fits;
    bool writes;
};

class CircleTest : public SelectionTest, public ::testing::WithParamInterface<CircleCase> {};

TEST_P(CircleTest, OutlineShowsOnlyWhenItFitsAndWritesFromRadius8) {
    const CircleCase& c = GetParam();
    useCircle();
    std::vector<COLORREF> before = td::snapshot(window);
    size_t modals = modalsSeen();
    td::press(window, c.centre.x, c.centre.y);
    td::move(window, c.rim.x, c.rim.y);
    EXPECT_EQ(g_circleFits, c.fits ? 1 : 0);
    EXPECT_EQ(g_outlineShown, c.fits ? 1 : 0);
    EXPECT_EQ(td::snapshot(window) != before, c.fits) << "outline on screen";

    if (c.writes) cancelWriteFileAs();
    td::release(window, c.rim.x, c.rim.y);
    expectDragOver();
    EXPECT_EQ(modalsSeen(), modals + (c.writes ? 1 : 0));
    if (!c.writes) {
        EXPECT_TRUE(td::snapshot(window) == before);
    }
}

INSTANTIATE_TEST_SUITE_P(Circles, CircleTest,
                         ::testing::Values(CircleCase{"Radius8", {300, 300}, {308, 300}, true, true},
                                           CircleCase{"Radius8Diagonal", {300, 300}, {306, 306}, true, true},
                                           CircleCase{"Radius7", {300, 300}, {305, 305}, true, false},
                                           CircleCase{"LeftOnTheFrame", {100, 300}, {100, 375}, true, true},
                                           CircleCase{"LeftBeyondTheFrame", {100, 300}, {100, 376}, false, false},
                                           CircleCase{"TopOnTheFrame", {300, 150}, {332, 150}, true, true},
                                           CircleCase{"TopBeyondTheFrame", {300, 150}, {333, 150}, false, false},
                                           CircleCase{"RightJustInside", {900, 300}, {900, 335}, true, true},
                                           CircleCase{"RightOnTheFrame", {900, 300}, {900, 336}, false, false},
                                           CircleCase{"BottomJustInside", {300, 550}, {327, 550}, true, true},
                                           CircleCase{"BottomOnTheFrame", {300, 550}, {328, 550}, false, false},
                                           // The confined cursor stops at the frame's top-left corner.
                                           CircleCase{"BeyondTheWindow", {300, 300}, {-32000, -32000}, false, false}),
                         [](const ::testing::TestParamInfo<CircleCase>& info) { return std::string(info.param.name); });

TEST_F(SelectionTest, FarMousePositionNeverMakesAFittingCircle) {
    // A move message from far outside (sent, not from the confined cursor): a radius kept
    // in 16 bits would wrap to a negative one that passes every fit test.
    useCircle();
    std::vector<COLORREF> before = td::snapshot(window);
    td::press(window, 300, 300);
    PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-32000, -32000));
    td::pump();
    EXPECT_EQ(g_circleFits, 0);
    EXPECT_EQ(g_outlineShown, 0);
    EXPECT_TRUE(td::snapshot(window) == before);
    size_t modals = modalsSeen();
    td::release(window, 300, 300);
    EXPECT_EQ(modalsSeen(), modals);
    expectDragOver();
}

TEST_F(SelectionTest, CircleRecordHasItsBoxCentreAndRadius) {
    useCircle();
    cancelWriteFileAs();
    td::drag(window, {300, 300}, {308, 300});
    EXPECT_EQ(g_selLeft, 292);
    EXPECT_EQ(g_selRight, 308);
    EXPECT_EQ(g_selTop, 292);
    EXPECT_EQ(g_selBottom, 308);
    EXPECT_EQ(g_selMinX, 1262);
    EXPECT_EQ(g_selMaxX, 1278);
    EXPECT_EQ(g_selMinY, 1265);
    EXPECT_EQ(g_selMaxY, 1281);
    EXPECT_EQ(g_circleRadius, 8);
    EXPECT_EQ(g_circleCenterX, 1275);
    EXPECT_EQ(g_circleCenterY, 1268);
}

TEST_F(SelectionTest, CircleThatLeavesTheFrameVanishesAndComesBackWithTheLastRadius) {
    useCircle();
    std::vector<COLORREF> before = td::snapshot(window);
    td::press(window, 100, 300);
    td::move(window, 150, 300);
    EXPECT_EQ(rgb(at(50, 300)), "255,255,255");
    td::move(window, 200, 300);  // radius 100 reaches past the left edge
    EXPECT_TRUE(td::snapshot(window) == before);
    td::move(window, 130, 300);  // radius 30 fits again
    EXPECT_EQ(rgb(at(70, 300)), "255,255,255");
    EXPECT_EQ(rgb(at(100, 270)), "255,255,255");
    EXPECT_EQ(rgb(at(50, 300)), "0,0,0");

    // Released further out: the selection is the circle last drawn.
    cancelWriteFileAs();
    td::release(window, 180, 300);
    EXPECT_EQ(g_circleRadius, 30);
    EXPECT_EQ(g_selLeft, 70);
    EXPECT_EQ(g_selRight, 130);
    EXPECT_EQ(g_circleCenterX, 1075);
    expectDragOver();
}

TEST_F(SelectionTest, CircleReleasedWhileVanishedWritesNothing) {
    useCircle();
    std::vector<COLORREF> before = td::snapshot(window);
    size_t modals = modalsSeen();
    td::press(window, 100, 300);
    td::move(window, 150, 300);
    td::move(window, 200, 300);
    td::release(window, 200, 300);
    EXPECT_EQ(modalsSeen(), modals);
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_TRUE(td::snapshot(window) == before);
    expectDragOver();
}

// A press outside the frame (over the panel, or beside it) starts at the nearest frame point.
struct PressCase {
    POINT at;
    short x, y;
};

class PressTest : public SelectionTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(PressTest, StartIsClampedIntoTheFrame) {
    const PressCase& c = GetParam();
    td::press(window, c.at.x, c.at.y);
    EXPECT_EQ(g_dragStart.x, c.x);
    EXPECT_EQ(g_dragStart.y, c.y);
    td::release(window, c.x, c.y);
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    expectDragOver();
}

INSTANTIATE_TEST_SUITE_P(Presses, PressTest,
                         ::testing::Values(PressCase{{480, 10}, 480, 118}, PressCase{{5, 5}, 25, 118},
                                           PressCase{{5, 600}, 25, 578}, PressCase{{940, 300}, 936, 300},
                                           PressCase{{300, 300}, 300, 300}));

TEST_F(SelectionTest, PressOverThePanelDragsFromTheFrameEdge) {
    cancelWriteFileAs();
    td::drag(window, {480, 10}, {500, 200});
    EXPECT_EQ(g_selTop, 118);
    EXPECT_EQ(g_selLeft, 480);
    EXPECT_EQ(g_selMaxY, 1000 + 573 - 200 + 82);
}

TEST_F(SelectionTest, CursorIsConfinedToTheFrameAndCapturedOnlyDuringTheDrag) {
    POINT topLeft = {25, 118}, bottomRight = {936, 578};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    EXPECT_FALSE(td::cursorClipped(nullptr));

    td::press(window, 300, 300);
    RECT clip;
    ASSERT_TRUE(td::cursorClipped(&clip));
    EXPECT_EQ(clip.left, topLeft.x);
    EXPECT_EQ(clip.top, topLeft.y);
    EXPECT_EQ(clip.right, bottomRight.x);
    EXPECT_EQ(clip.bottom, bottomRight.y);
    EXPECT_EQ(td::captureWindow(), window);
    td::move(window, 400, 400);
    EXPECT_TRUE(td::cursorClipped(nullptr));
    EXPECT_EQ(td::captureWindow(), window);

    cancelWriteFileAs();
    td::release(window, 400, 400);
    expectDragOver();
}

TEST_F(SelectionTest, DraggingWorksOnTheBlackWindowAfterACancelledWrite) {
    cancelWriteFileAs();
    td::drag(window, {100, 200}, {200, 300});
    ASSERT_EQ(g_viewState, ViewState::Fitted);
    cancelWriteFileAs();
    td::drag(window, {200, 300}, {300, 400});
    EXPECT_EQ(g_selMinX, 1170);
    EXPECT_EQ(g_viewState, ViewState::Fitted);
}

TEST_F(SelectionTest, MovesAndReleaseWithoutAPressInTheWindowAreIgnored) {
    // A small drag leaves its start at (100, 200); a button held from outside the window
    // must neither draw from there nor select a 200-pixel box at its release.
    td::drag(window, {100, 200}, {105, 205});
    std::vector<COLORREF> before = td::snapshot(window);
    size_t modals = modalsSeen();
    td::move(window, 300, 400);
    EXPECT_TRUE(td::snapshot(window) == before);
    EXPECT_EQ(g_outlineShown, 0);
    td::release(window, 300, 400);
    EXPECT_EQ(modalsSeen(), modals);
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(g_selRight, 105);
    EXPECT_TRUE(td::snapshot(window) == before);
    expectDragOver();
}

TEST_F(SelectionTest, AHoverDrawsNothing) {
    std::vector<COLORREF> before = td::snapshot(window);
    td::press(window, 100, 200);
    td::hover(window, 300, 400);
    EXPECT_TRUE(td::snapshot(window) == before);
    td::release(window, 100, 200);
    expectDragOver();
}

// Scale just below 0.9 (1000 x 500 units, frame (26, 119) to (936, 578)): the rectangle is
// measured from 5 pixels inside the left edge, the circle centre from the edge itself.
class ScaleNineTenthsTest : public PlotTest {
protected:
    void SetUp() override {
        PlotTest::SetUp();
        if (HasFatalFailure()) return;
        openPoints("1000,1000\n2000,1500\n");
        ASSERT_EQ(g_plotLeft, 26);
        ASSERT_EQ(g_scale, 0.9f);
    }
};

TEST_F(ScaleNineTenthsTest, RectangleFromFivePixelsInsideStartsAtTheSmallestX) {
    cancelWriteFileAs();
    td::drag(window, {31, 200}, {131, 300});
    EXPECT_EQ(g_selMinX, 1000);
    EXPECT_EQ(g_selMaxX, 1111);  // 100 / 0.9 = 111.1
    EXPECT_EQ(g_selMinY, 1303);  // (578 - 5 - 300) / 0.9 = 303.3
    EXPECT_EQ(g_selMaxY, 1414);
}

TEST_F(ScaleNineTenthsTest, CircleCentredOnThatColumnIsFiveUnitsFurther) {
    td::command(window, IDM_CIRCLE);
    td::drag(window, {31, 300}, {36, 300});  // radius 5: just fits, too small to write
    EXPECT_EQ(g_circleCenterX, 1005);        // (31 - 26) / 0.9 = 5.6
    EXPECT_EQ(g_circleCenterY, 1500 - 201);  // (300 - 119) / 0.9 = 201.1
    EXPECT_EQ(g_circleRadius, 5);            // 5 / 0.9 = 5.6
    EXPECT_EQ(g_selMinX, 995);               // (26 - 31) / 0.9 = -5.6, toward zero
    EXPECT_EQ(g_viewState, ViewState::Drawn);
}

TEST_F(PlotTest, PressBeforeAnyFileIsIgnored) {
    td::press(window, 300, 300);
    EXPECT_FALSE(td::cursorClipped(nullptr));
    EXPECT_EQ(td::captureWindow(), nullptr);
    td::move(window, 400, 400);
    td::release(window, 400, 400);
    EXPECT_EQ(td::countPixels(window, {0, 0, td::clientWidth(window), td::clientHeight(window)}, RGB(0, 0, 0)),
              td::clientWidth(window) * td::clientHeight(window));
}

TEST_F(PlotTest, CircleOverAWideSurveySelectsThePointInsideIt) {
    // 50 000 000 x 25 000 000 units: a radius of 20 pixels is over a million units, far
    // beyond 16 bits. The centre point lies within a few pixels of (480, 350).
    openPoints("1000,1000,1\n50001000,25001000,2\n25001000,12501000,3\n");
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    td::command(window, IDM_CIRCLE);
    std::string output = path("picked.csv");
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.caption(), " Write File As");
        m.click(IDOK);
    });
    td::expectModal([output](td::Modal& m) {
        ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
        m.choose(output);
    });
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.caption(), "File Saved");
        m.answer(IDOK);
    });
    td::drag(window, {480, 350}, {500, 350});
    EXPECT_GT(g_circleRadius, 1000000);
    std::string written = read(output);
    EXPECT_NE(written.find("25001000,12501000,3"), std::string::npos) << written;
    EXPECT_EQ(written.find("50001000"), std::string::npos) << written;
    EXPECT_EQ(written.find("1000,1000,1"), std::string::npos) << written;
}
