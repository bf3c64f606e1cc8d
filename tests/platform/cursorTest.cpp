// Mouse input as messages, capture, cursor confinement and the stock cursors.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "testdriver.h"
#include "windowTestWindow.h"

namespace {

struct Mouse {
    UINT message;
    WPARAM keys;
    int x, y;  // lParam's words read as signed 16-bit values
    bool operator==(const Mouse& other) const {
        return message == other.message && keys == other.keys && x == other.x && y == other.y;
    }
};

std::ostream& operator<<(std::ostream& out, const Mouse& m) {
    return out << "{" << m.message << ", " << m.keys << ", " << m.x << ", " << m.y << "}";
}

std::vector<Mouse> mouseReceived() {
    std::vector<Mouse> mouse;
    for (const ReceivedMessage& r : g_received)
        if (r.message == WM_MOUSEMOVE || r.message == WM_LBUTTONDOWN || r.message == WM_LBUTTONUP)
            mouse.push_back(
                {r.message, r.wParam, static_cast<short>(LOWORD(r.lParam)), static_cast<short>(HIWORD(r.lParam))});
    return mouse;
}

class CursorTest : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        g_received.clear();
    }
};

}  // namespace

TEST_F(CursorTest, ButtonAndMovesArriveInClientCoordinates) {
    td::hover(window, 5, 6);
    td::press(window, 100, 200);
    td::move(window, 120, 210);
    td::release(window, 130, 220);
    EXPECT_EQ(mouseReceived(), (std::vector<Mouse>{{WM_MOUSEMOVE, 0, 5, 6},
                                                   {WM_LBUTTONDOWN, MK_LBUTTON, 100, 200},
                                                   {WM_MOUSEMOVE, MK_LBUTTON, 120, 210},
                                                   {WM_LBUTTONUP, 0, 130, 220}}));
    POINT last = td::lastMousePosition(window);
    EXPECT_EQ(last.x, 130);
    EXPECT_EQ(last.y, 220);
}

TEST_F(CursorTest, OutsideTheClientAreaOnlyACaptureGetsTheMouse) {
    td::press(window, 10, 10);
    td::move(window, -20, 700);  // not captured: Windows gives this to another window
    td::release(window, -25, 705);
    EXPECT_EQ(mouseReceived(), (std::vector<Mouse>{{WM_LBUTTONDOWN, MK_LBUTTON, 10, 10}}));

    g_received.clear();
    td::press(window, 10, 10);
    EXPECT_EQ(SetCapture(window), nullptr);
    EXPECT_EQ(td::captureWindow(), window);
    td::move(window, -20, 700);
    td::release(window, -25, -3);
    EXPECT_EQ(mouseReceived(), (std::vector<Mouse>{{WM_LBUTTONDOWN, MK_LBUTTON, 10, 10},
                                                   {WM_MOUSEMOVE, MK_LBUTTON, -20, 700},
                                                   {WM_LBUTTONUP, 0, -25, -3}}));
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(td::captureWindow(), nullptr);
}

TEST_F(CursorTest, ClipCursorClampsEveryPositionIntoItsRectangle) {
    // The plot frame of a fitted file, (26,119)-(936,578) in client coordinates.
    POINT topLeft = {26, 119}, bottomRight = {936, 578};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    RECT frame;
    SetRect(&frame, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    EXPECT_EQ(frame.left, 29);
    EXPECT_EQ(frame.top, 165);
    ASSERT_TRUE(ClipCursor(&frame));
    RECT clip;
    ASSERT_TRUE(td::cursorClipped(&clip));
    EXPECT_EQ(clip.left, frame.left);
    EXPECT_EQ(clip.bottom, frame.bottom);

    td::press(window, 5, 50);       // over the panel: held at the frame's corner
    td::move(window, 940, 300);     // past the right edge: the last column inside
    td::move(window, 500, 680);     // past the bottom edge
    td::release(window, 400, 300);  // inside: unchanged
    EXPECT_EQ(mouseReceived(), (std::vector<Mouse>{{WM_LBUTTONDOWN, MK_LBUTTON, 26, 119},
                                                   {WM_MOUSEMOVE, MK_LBUTTON, 935, 300},
                                                   {WM_MOUSEMOVE, MK_LBUTTON, 500, 577},
                                                   {WM_LBUTTONUP, 0, 400, 300}}));

    ASSERT_TRUE(ClipCursor(NULL));
    EXPECT_FALSE(td::cursorClipped(&clip));
    g_received.clear();
    td::hover(window, 5, 50);
    EXPECT_EQ(mouseReceived(), (std::vector<Mouse>{{WM_MOUSEMOVE, 0, 5, 50}}));
}

TEST_F(CursorTest, SetCursorShowsTheStockCursorAndReturnsThePrevious) {
    HCURSOR arrow = LoadCursorA(NULL, IDC_ARROW);
    HCURSOR wait = LoadCursorA(NULL, IDC_WAIT);
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(arrow, wait);
    EXPECT_EQ(LoadCursorA(NULL, IDC_WAIT), wait);
    EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    EXPECT_EQ(SetCursor(wait), arrow);
    EXPECT_EQ(td::currentCursor(), IDC_WAIT);
    EXPECT_EQ(SetCursor(arrow), wait);
    EXPECT_EQ(td::currentCursor(), IDC_ARROW);
}
