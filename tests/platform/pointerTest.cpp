// The right button, clicks, the keys and buttons reported in wParam, and the pointer
// leaving the client area (TrackMouseEvent and WM_MOUSELEAVE).
#include <gtest/gtest.h>
#include <windows.h>

#include <QApplication>
#include <QMouseEvent>

#include <vector>

#include "platform/src/topLevel.h"
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

bool isPointerMessage(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
           message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_MOUSELEAVE;
}

std::vector<Mouse> pointerReceived() {
    std::vector<Mouse> mouse;
    for (const ReceivedMessage& r : g_received)
        if (isPointerMessage(r.message))
            mouse.push_back(
                {r.message, r.wParam, static_cast<short>(LOWORD(r.lParam)), static_cast<short>(HIWORD(r.lParam))});
    return mouse;
}

const Mouse kLeave = {WM_MOUSELEAVE, 0, 0, 0};

class PointerTest : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        g_received.clear();
    }
    BOOL trackLeave(DWORD flags = TME_LEAVE) {
        TRACKMOUSEEVENT track = {sizeof track, flags, window, HOVER_DEFAULT};
        return TrackMouseEvent(&track);
    }
    // A mouse event as Qt would deliver it with buttons and keys the driver does not offer.
    void sendToClient(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held,
                      Qt::KeyboardModifiers modifiers) {
        QWidget* client = layer::topLevel(window)->client;
        QMouseEvent event(type, QPointF(x, y), client->mapToGlobal(QPointF(x, y)), button, held, modifiers);
        QApplication::sendEvent(client, &event);
        td::pump();
    }
};

}  // namespace

TEST_F(PointerTest, RightButtonArrivesLikeTheLeftOne) {
    td::rightPress(window, 100, 200);
    td::rightMove(window, 120, 210);
    td::rightRelease(window, 130, 220);
    td::click(window, 40, 50);
    td::rightDrag(window, {10, 10}, {50, 30}, 2);
    EXPECT_EQ(pointerReceived(), (std::vector<Mouse>{{WM_RBUTTONDOWN, MK_RBUTTON, 100, 200},
                                                     {WM_MOUSEMOVE, MK_RBUTTON, 120, 210},
                                                     {WM_RBUTTONUP, 0, 130, 220},
                                                     {WM_LBUTTONDOWN, MK_LBUTTON, 40, 50},
                                                     {WM_LBUTTONUP, 0, 40, 50},
                                                     {WM_RBUTTONDOWN, MK_RBUTTON, 10, 10},
                                                     {WM_MOUSEMOVE, MK_RBUTTON, 30, 20},
                                                     {WM_MOUSEMOVE, MK_RBUTTON, 50, 30},
                                                     {WM_RBUTTONUP, 0, 50, 30}}));
    POINT last = td::lastMousePosition(window);
    EXPECT_EQ(last.x, 50);
    EXPECT_EQ(last.y, 30);
}

TEST_F(PointerTest, RightButtonOutsideTheClientAreaNeedsTheCaptureAndIsClipped) {
    td::rightPress(window, 10, 10);
    td::rightMove(window, -20, 700);
    td::rightRelease(window, -25, 705);
    EXPECT_EQ(pointerReceived(), (std::vector<Mouse>{{WM_RBUTTONDOWN, MK_RBUTTON, 10, 10}}));

    g_received.clear();
    td::rightPress(window, 10, 10);
    SetCapture(window);
    td::rightMove(window, -20, 700);
    POINT topLeft = {26, 119}, bottomRight = {936, 578};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    RECT frame;
    SetRect(&frame, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    ClipCursor(&frame);
    td::rightMove(window, 940, 300);
    td::rightRelease(window, 5, 50);
    EXPECT_EQ(pointerReceived(), (std::vector<Mouse>{{WM_RBUTTONDOWN, MK_RBUTTON, 10, 10},
                                                     {WM_MOUSEMOVE, MK_RBUTTON, -20, 700},
                                                     {WM_MOUSEMOVE, MK_RBUTTON, 935, 300},
                                                     {WM_RBUTTONUP, 0, 26, 119}}));
}

TEST_F(PointerTest, WParamHoldsEveryButtonAndKeyDown) {
    // The right button goes down while the left is held, with Shift, then Ctrl.
    sendToClient(QEvent::MouseButtonPress, 5, 5, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    sendToClient(QEvent::MouseButtonPress, 5, 5, Qt::RightButton, Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier);
    sendToClient(QEvent::MouseMove, 6, 7, Qt::NoButton, Qt::LeftButton | Qt::RightButton | Qt::MiddleButton,
                 Qt::ControlModifier);
    sendToClient(QEvent::MouseButtonRelease, 6, 7, Qt::LeftButton, Qt::RightButton, Qt::NoModifier);
    EXPECT_EQ(pointerReceived(),
              (std::vector<Mouse>{{WM_LBUTTONDOWN, MK_LBUTTON, 5, 5},
                                  {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, 5, 5},
                                  {WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_CONTROL, 6, 7},
                                  {WM_LBUTTONUP, MK_RBUTTON, 6, 7}}));
}

TEST_F(PointerTest, LeavingPostsOneMouseLeavePerRequest) {
    td::hover(window, 200, 200);
    EXPECT_TRUE(trackLeave());
    td::hover(window, 210, 200);
    td::leave(window);
    td::leave(window);  // not asked for again: nothing
    td::hover(window, 220, 200);
    EXPECT_TRUE(trackLeave());
    td::leave(window);
    EXPECT_EQ(
        pointerReceived(),
        (std::vector<Mouse>{
            {WM_MOUSEMOVE, 0, 200, 200}, {WM_MOUSEMOVE, 0, 210, 200}, kLeave, {WM_MOUSEMOVE, 0, 220, 200}, kLeave}));
}

TEST_F(PointerTest, TrackingAskedForWhileThePointerIsElsewhereLeavesAtOnce) {
    // No input has put the pointer over the window yet.
    EXPECT_TRUE(trackLeave());
    td::pump();
    EXPECT_EQ(pointerReceived(), (std::vector<Mouse>{kLeave}));
    td::leave(window);
    EXPECT_EQ(pointerReceived().size(), 1u);

    // A captured move outside the client area takes the pointer off it too.
    g_received.clear();
    td::press(window, 10, 10);
    SetCapture(window);
    td::move(window, -5, 10);
    EXPECT_TRUE(trackLeave());
    td::pump();
    EXPECT_EQ(pointerReceived().back(), kLeave);
}

TEST_F(PointerTest, CancelledTrackingPostsNothing) {
    td::hover(window, 200, 200);
    EXPECT_TRUE(trackLeave());
    EXPECT_TRUE(trackLeave(TME_LEAVE | TME_CANCEL));
    td::leave(window);
    EXPECT_EQ(pointerReceived(), (std::vector<Mouse>{{WM_MOUSEMOVE, 0, 200, 200}}));
}

TEST_F(PointerTest, TrackMouseEventRefusesABadSizeOrWindow) {
    TRACKMOUSEEVENT track = {sizeof track - 1, TME_LEAVE, window, HOVER_DEFAULT};
    EXPECT_FALSE(TrackMouseEvent(&track));
    EXPECT_EQ(GetLastError(), 87u);  // ERROR_INVALID_PARAMETER
    track.cbSize = sizeof track;
    track.hwndTrack = nullptr;
    EXPECT_FALSE(TrackMouseEvent(&track));
    EXPECT_EQ(GetLastError(), 1400u);  // ERROR_INVALID_WINDOW_HANDLE
    track.hwndTrack = window;
    track.dwFlags = TME_HOVER;
    EXPECT_DEATH(TrackMouseEvent(&track), "TrackMouseEvent: flags other than TME_LEAVE");
}
