// The window menu built from template 101: texts, initial states, CheckMenuItem and
// EnableMenuItem with their previous states, and WM_COMMAND from chosen items.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "testdriver.h"
#include "windowTestWindow.h"

using MenuTest = TestWindow;

namespace {

std::vector<WPARAM> commandsReceived() {
    std::vector<WPARAM> commands;
    for (const ReceivedMessage& received : g_received)
        if (received.message == WM_COMMAND) commands.push_back(received.wParam);
    return commands;
}

}  // namespace

TEST_F(MenuTest, ShowsTheTemplateTextsAndStates) {
    EXPECT_EQ(td::menuBarTexts(window),
              (std::vector<std::string>{"&File", "&AreaType", "&Redraw", "&Select All", "&Whole File"}));
    EXPECT_EQ(td::menuItemText(window, IDM_OPEN), "&Open");
    EXPECT_EQ(td::menuItemText(window, IDM_EXIT), "E&xit");
    EXPECT_EQ(td::menuItemText(window, IDM_REDRAW), "&Redraw");
    EXPECT_EQ(td::menuItemText(window, IDM_MOVEALL), "Move All Pts.");
    // Grayed in the template; nothing is checked there.
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
    for (int id : {IDM_OPEN, IDM_EXIT, IDM_REDRAW, IDM_RECTANGLE, IDM_CIRCLE}) {
        EXPECT_FALSE(td::menuGrayed(window, id)) << id;
        EXPECT_FALSE(td::menuChecked(window, id)) << id;
    }
}

TEST_F(MenuTest, CheckMenuItemReturnsThePreviousState) {
    HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(CheckMenuItem(menu, IDM_RECTANGLE, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_TRUE(td::menuChecked(window, IDM_RECTANGLE));
    EXPECT_EQ(CheckMenuItem(menu, IDM_RECTANGLE, MF_CHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(menu, IDM_RECTANGLE, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_FALSE(td::menuChecked(window, IDM_RECTANGLE));
    EXPECT_EQ(CheckMenuItem(menu, 39999, MF_CHECKED), static_cast<DWORD>(-1));
}

TEST_F(MenuTest, EnableMenuItemReturnsThePreviousState) {
    HMENU menu = GetMenu(window);
    EXPECT_EQ(EnableMenuItem(menu, IDM_SELECTALL, MF_ENABLED), MF_GRAYED);
    EXPECT_FALSE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_EQ(EnableMenuItem(menu, IDM_SELECTALL, MF_GRAYED), MF_ENABLED);
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_EQ(EnableMenuItem(menu, 39999, MF_GRAYED), -1);
}

TEST_F(MenuTest, ChosenItemsPostTheirCommandId) {
    td::command(window, IDM_OPEN);
    td::command(window, IDM_REDRAW);  // a command on the menu bar itself
    EXPECT_EQ(commandsReceived(), (std::vector<WPARAM>{IDM_OPEN, IDM_REDRAW}));
}

TEST_F(MenuTest, GrayedItemDeliversNothingUntilEnabled) {
    td::command(window, IDM_MOVEALL);
    EXPECT_TRUE(commandsReceived().empty());
    EnableMenuItem(GetMenu(window), IDM_MOVEALL, MF_ENABLED);
    td::command(window, IDM_MOVEALL);
    EXPECT_EQ(commandsReceived(), (std::vector<WPARAM>{IDM_MOVEALL}));
    EnableMenuItem(GetMenu(window), IDM_MOVEALL, MF_GRAYED);
    td::command(window, IDM_MOVEALL);
    EXPECT_EQ(commandsReceived().size(), 1u);
}

TEST_F(MenuTest, ChoosingAnItemLeavesItsCheckMarkAlone) {
    // Only the window procedure moves check marks, as on Windows.
    CheckMenuItem(GetMenu(window), IDM_RECTANGLE, MF_CHECKED);
    td::command(window, IDM_RECTANGLE);
    td::command(window, IDM_CIRCLE);
    EXPECT_TRUE(td::menuChecked(window, IDM_RECTANGLE));
    EXPECT_FALSE(td::menuChecked(window, IDM_CIRCLE));
    EXPECT_EQ(commandsReceived(), (std::vector<WPARAM>{IDM_RECTANGLE, IDM_CIRCLE}));
}
