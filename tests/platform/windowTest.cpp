// Window classes, the top-level window's geometry and life, and the message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "testdriver.h"
#include "windowTestWindow.h"

using WindowTest = TestWindow;

TEST(WindowClassTest, RegistersANameOnceAndRefusesNoName) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = recordingWindowProc;
    wc.lpszClassName = "skerrowOnce";
    EXPECT_NE(RegisterClassExA(&wc), 0);
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    wc.lpszClassName = nullptr;
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    EXPECT_EQ(CreateWindowExA(0, "skerrowNeverRegistered", "x", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 960, 740,
                              NULL, NULL, NULL, NULL),
              nullptr);
}

TEST(WindowCreationTest, WmCreateArrivesBeforeCreateWindowReturnsWithTheMenuInPlace) {
    g_received.clear();
    registerTestClass(true);
    HWND window = CreateWindowExA(0, testClassName(true), "Test window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0,
                                  960, 740, NULL, NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(g_received.empty());
    EXPECT_EQ(g_received.front().message, static_cast<UINT>(WM_CREATE));
    EXPECT_TRUE(g_received.front().menuKnown);
    EXPECT_EQ(countReceived(WM_CREATE), 1);
    DestroyWindow(window);
}

TEST_F(WindowTest, HasTheFixedGeometryOfTheMainWindow) {
    RECT frame = td::windowRect(window);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, 960);
    EXPECT_EQ(frame.bottom, 740);
    EXPECT_EQ(td::clientWidth(window), 954);
    EXPECT_EQ(td::clientHeight(window), 691);
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, 954);
    EXPECT_EQ(client.bottom, 691);
    POINT corner = {0, 0};
    ASSERT_TRUE(ClientToScreen(window, &corner));
    EXPECT_EQ(corner.x, 3);
    EXPECT_EQ(corner.y, 46);
    EXPECT_FALSE(td::isResizable(window));
    EXPECT_FALSE(td::hasMinimizeBox(window));
    EXPECT_FALSE(td::hasMaximizeBox(window));
    EXPECT_EQ(td::windowCaption(window), "Test window");
}

TEST_F(WindowTest, ClientAreaStartsInTheClassBrush) {
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(0, 0, 0)), 954 * 691);
}

TEST_F(WindowTest, CloseBoxOnlyPostsWmClose) {
    td::closeBox(window);
    EXPECT_EQ(countReceived(WM_CLOSE), 1);
    EXPECT_TRUE(td::windowExists(window));
    EXPECT_EQ(countReceived(WM_DESTROY), 0);
}

TEST_F(WindowTest, DefaultProcedureDestroysOnCloseAndSendsWmDestroy) {
    g_closeDestroys = true;
    td::closeBox(window);
    EXPECT_FALSE(td::windowExists(window));
    EXPECT_EQ(countReceived(WM_DESTROY), 1);
    ASSERT_GE(g_received.size(), 2u);
    EXPECT_EQ(g_received[g_received.size() - 2].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(g_received.back().message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_FALSE(PostMessageA(window, WM_CLOSE, 0, 0));
}

TEST_F(WindowTest, PostedMessagesArriveInOrderWhenDispatched) {
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, 11, 0));
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, 12, 0));
    EXPECT_EQ(countReceived(WM_COMMAND), 0);  // posting does not deliver
    td::pump();
    ASSERT_EQ(countReceived(WM_COMMAND), 2);
    EXPECT_EQ(g_received[g_received.size() - 2].wParam, 11u);
    EXPECT_EQ(g_received.back().wParam, 12u);
}

TEST(MessageLoopTest, GetMessageEndsWithTheQuitCode) {
    PostQuitMessage(42);
    MSG msg = {};
    EXPECT_EQ(GetMessageA(&msg, NULL, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(static_cast<int>(msg.wParam), 42);
}

TEST(MessageLoopTest, PumpLeavesTheQuitMessageForTheLoop) {
    PostQuitMessage(3);
    td::pump();
    MSG msg = {};
    EXPECT_EQ(GetMessageA(&msg, NULL, 0, 0), FALSE);
    EXPECT_EQ(static_cast<int>(msg.wParam), 3);
}

TEST(MessageLoopTest, WinMainReturnsTheCodeOfTheQuitMessage) {
    int stepsRun = 0;
    int result = td::runMessageLoop({[&] { ++stepsRun; },
                                     [&] {
                                         ++stepsRun;
                                         PostQuitMessage(7);
                                     }});
    EXPECT_EQ(stepsRun, 2);
    EXPECT_EQ(result, 7);
}

TEST(MessageLoopTest, AnIdleLoopWithoutStepsEndsWithMinus99) { EXPECT_EQ(td::runMessageLoop({}), -99); }

// The caption, as the program sets it and reads it back: Latin-1 bytes whole, cut to the
// caller's buffer with its terminator.
TEST_F(WindowTest, CaptionIsSetAndReadBack) {
    char text[64];
    ASSERT_TRUE(SetWindowTextA(window, "Skerrow - Writing 45 % (Esc stops) \xE9"));
    EXPECT_EQ(GetWindowTextA(window, text, sizeof text), 36);
    EXPECT_STREQ(text, "Skerrow - Writing 45 % (Esc stops) \xE9");
    EXPECT_EQ(GetWindowTextA(window, text, 8), 7);
    EXPECT_STREQ(text, "Skerrow");
    EXPECT_EQ(GetWindowTextA(window, text, 0), 0);
    EXPECT_FALSE(SetWindowTextA(nullptr, "x"));
}
