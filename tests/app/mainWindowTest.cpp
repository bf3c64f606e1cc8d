// The main window: start-up, menu states, area type, Redraw, Exit and the close box.
#include <gtest/gtest.h>

#include "app/areaSelection.h"
#include "app/mainWindow.h"
#include "points/appState.h"
#include "resource.h"
#include "support/appFixture.h"

using MainWindowTest = AppTest;

TEST_F(MainWindowTest, StartsWithTheFixedWindowAndItsMenu) {
    RECT frame = td::windowRect(window);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right - frame.left, 960);
    EXPECT_EQ(frame.bottom - frame.top, 740);
    EXPECT_FALSE(td::isResizable(window));
    EXPECT_FALSE(td::hasMinimizeBox(window));
    EXPECT_FALSE(td::hasMaximizeBox(window));
    EXPECT_EQ(td::windowCaption(window).rfind("Skerrow v1.0 (", 0), 0u);

    EXPECT_EQ(td::menuBarTexts(window),
              (std::vector<std::string>{"&File", "&AreaType", "&Redraw", "&Select All", "&Whole File"}));
    EXPECT_TRUE(td::menuChecked(window, IDM_RECTANGLE));
    EXPECT_FALSE(td::menuChecked(window, IDM_CIRCLE));
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
    for (int id : {IDM_OPEN, IDM_EXIT, IDM_REDRAW, IDM_RECTANGLE, IDM_CIRCLE})
        EXPECT_FALSE(td::menuGrayed(window, id)) << id;

    // The first paint is the class background: black.
    EXPECT_EQ(td::countPixels(window, {0, 0, td::clientWidth(window), td::clientHeight(window)}, RGB(0, 0, 0)),
              td::clientWidth(window) * td::clientHeight(window));
    EXPECT_EQ(g_viewState, ViewState::Empty);
    EXPECT_EQ(g_areaType, AreaType::Rectangle);
}

TEST_F(MainWindowTest, AreaTypeCommandsMoveTheCheckMark) {
    td::command(window, IDM_CIRCLE);
    EXPECT_EQ(g_areaType, AreaType::Circle);
    EXPECT_TRUE(td::menuChecked(window, IDM_CIRCLE));
    EXPECT_FALSE(td::menuChecked(window, IDM_RECTANGLE));

    td::command(window, IDM_CIRCLE);  // choosing it again changes nothing
    EXPECT_EQ(g_areaType, AreaType::Circle);
    EXPECT_TRUE(td::menuChecked(window, IDM_CIRCLE));

    td::command(window, IDM_RECTANGLE);
    EXPECT_EQ(g_areaType, AreaType::Rectangle);
    EXPECT_TRUE(td::menuChecked(window, IDM_RECTANGLE));
    EXPECT_FALSE(td::menuChecked(window, IDM_CIRCLE));
}

TEST_F(MainWindowTest, RedrawBeforeAnyFileDoesNothing) {
    std::vector<COLORREF> before = td::snapshot(window);
    td::command(window, IDM_REDRAW);
    EXPECT_EQ(td::snapshot(window), before);
    EXPECT_EQ(g_viewState, ViewState::Empty);
    EXPECT_TRUE(td::modalLog().empty());
}

TEST_F(MainWindowTest, UnknownCommandIsIgnored) {
    EXPECT_EQ(mainWindowProc(window, WM_COMMAND, 40999, 0), 0);
    EXPECT_EQ(mainWindowProc(window, WM_COMMAND, 0, 0), 0);
    EXPECT_TRUE(td::windowExists(window));
    EXPECT_EQ(g_viewState, ViewState::Empty);
}

TEST_F(MainWindowTest, GrayedItemsCannotBeChosen) {
    // Nothing is plotted: neither write command may start a dialog.
    td::command(window, IDM_SELECTALL);
    td::command(window, IDM_MOVEALL);
    EXPECT_TRUE(td::modalLog().empty());
}

TEST_F(MainWindowTest, ClearWindowFillsEverythingBlackAndResetsTheViewState) {
    HDC dc = GetDC(window);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all = {0, 0, td::clientWidth(window), td::clientHeight(window)};
    FillRect(dc, &all, red);
    DeleteObject(red);
    ReleaseDC(window, dc);
    g_viewState = ViewState::Drawn;

    clearWindow(window);
    EXPECT_EQ(td::countPixels(window, all, RGB(0, 0, 0)), all.right * all.bottom);
    EXPECT_EQ(g_viewState, ViewState::Empty);
}

// Exit and the close box take the same road: WM_CLOSE, the window destroyed, the quit
// message with code 0, and WinMain returns 0.
class ShutdownTest : public ::testing::TestWithParam<bool> {
protected:
    void TearDown() override { td::checkDone(); }
};

TEST_P(ShutdownTest, EndsTheProcessWithCodeZero) {
    bool byCloseBox = GetParam();
    HWND seen = NULL;
    int code = td::runMessageLoop({[&] {
        seen = g_mainWindow;
        ASSERT_NE(seen, nullptr);
        if (byCloseBox)
            td::closeBox(seen);
        else
            td::command(seen, IDM_EXIT);
    }});
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(td::windowExists(seen));
}

INSTANTIATE_TEST_SUITE_P(ExitAndCloseBox, ShutdownTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "CloseBox" : "Exit"; });
