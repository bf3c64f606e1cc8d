// PeekMessageA in the driver: it returns at once, never starts the test's next step, and
// runs the actions a test scheduled for a given call, whose input stays queued for the
// program, as for a long pass that watches for Esc.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "resource.h"
#include "testdriver.h"
#include "windowTestWindow.h"

namespace {

class PeekTest : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        g_received.clear();
    }
    void TearDown() override {
        td::checkDone();
        TestWindow::TearDown();
    }
};

}  // namespace

TEST_F(PeekTest, TakesOrLooksAtTheOldestMessageAndReturnsAtOnce) {
    MSG msg = {};
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    PostMessageA(window, WM_COMMAND, 11, 0);
    PostMessageA(window, WM_COMMAND, 12, 0);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, 11u);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 11u);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 12u);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    // WM_QUIT is a message like the others here; PeekMessageA's answer is still TRUE.
    PostQuitMessage(4);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_TRUE(g_received.empty());  // nothing was dispatched
}

TEST_F(PeekTest, EscPressedInTheMiddleOfAPassIsTakenThere) {
    td::atPeek(10, [&] { td::key(window, VK_ESCAPE); });
    int stoppedAt = 0;
    for (int row = 1; row <= 100 && !stoppedAt; ++row) {
        MSG msg;
        if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE) && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            stoppedAt = row;
    }
    EXPECT_EQ(stoppedAt, 10);
    EXPECT_TRUE(g_received.empty());  // the key was the pass's to take, not dispatched within
}

TEST_F(PeekTest, AMenuCommandChosenDuringAPeekIsQueuedNotRun) {
    td::atPeek(1, [&] { td::command(window, IDM_OPEN); });
    td::atPeek(2, [&] {
        td::click(window, 30, 40);
        td::atPeek(1, [&] { td::key(window, VK_RETURN); });  // the call after this one
    });
    std::vector<UINT> taken;
    for (int call = 0; call < 3; ++call) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) taken.push_back(msg.message);
    }
    EXPECT_EQ(taken, (std::vector<UINT>{WM_COMMAND, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN}));
    EXPECT_TRUE(g_received.empty());
    // Outside a peek the driver dispatches as before.
    td::command(window, IDM_OPEN);
    EXPECT_EQ(countReceived(WM_COMMAND), 1);
}

TEST_F(PeekTest, CountsTheCallsAndReportsActionsWhoseCallNeverCame) {
    int before = td::peekCalls();
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);
    PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);
    EXPECT_EQ(td::peekCalls(), before + 2);
    bool ran = false;
    td::atPeek(2, [&] { ran = true; });
    PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);
    EXPECT_NONFATAL_FAILURE(td::checkDone(), "never came");
    PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);
    EXPECT_FALSE(ran);  // dropped by checkDone
    EXPECT_NONFATAL_FAILURE(td::atPeek(0, [] {}), "the next PeekMessageA call is 1");
}

TEST(PeekLoopTest, APassThatPeeksNeverStartsTheNextStep) {
    int stepsRun = 0;
    std::vector<BOOL> peeked;
    int result = td::runMessageLoop({[&] {
                                         ++stepsRun;
                                         // A pass inside one step, with nothing queued.
                                         for (int i = 0; i < 3; ++i) {
                                             MSG msg;
                                             peeked.push_back(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
                                         }
                                         EXPECT_EQ(stepsRun, 1);
                                     },
                                     [&] { ++stepsRun; }});
    EXPECT_EQ(stepsRun, 2);
    EXPECT_EQ(peeked, (std::vector<BOOL>{FALSE, FALSE, FALSE}));
    EXPECT_EQ(result, -99);
}

TEST(PeekLoopTest, UnsupportedFormsAbort) {
    MSG msg;
    EXPECT_DEATH(PeekMessageA(&msg, NULL, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE), "PeekMessageA: a message filter");
    EXPECT_DEATH(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE | 2 /* PM_NOYIELD */), "PeekMessageA: flags other than");
}
