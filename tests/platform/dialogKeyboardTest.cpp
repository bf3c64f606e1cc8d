// Moving through a dialog with the keyboard as the dialog manager does: Tab visits the
// tab stops and enters a radio group at its checked button; the arrow keys move within
// a group and check the automatic radio button they reach.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogProbe.h"
#include "resource.h"

namespace {

using probe::DialogTest;

// Probe template 900: radio group A (11, 12), group B (21, 22) running on over the edits
// 31 and 32, the button 41, OK and Cancel.
INT_PTR checkA2OnInit(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        CheckRadioButton(hwnd, 11, 12, 12);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
        EndDialog(hwnd, LOWORD(wParam));
    return TRUE;
}

TEST_F(DialogTest, TabStopsOnceInEachRadioGroupAtItsCheckedButton) {
    probe::rules() = checkA2OnInit;
    probe::show(probe::kProbe, [](td::Modal& m) {
        EXPECT_TRUE(m.hasFocus(11));  // the first tab stop, as the dialog opens

        m.pressKey(td::Key::Tab);  // out of group A, into B, which has nothing checked
        EXPECT_TRUE(m.hasFocus(21));
        m.pressKey(td::Key::Tab);
        EXPECT_TRUE(m.hasFocus(31));
        m.pressKey(td::Key::ShiftTab);  // back into B from its far end
        EXPECT_TRUE(m.hasFocus(22));
        m.pressKey(td::Key::ShiftTab);  // into A at its checked button, not at its last
        EXPECT_TRUE(m.hasFocus(12));
        m.pressKey(td::Key::ShiftTab);  // wraps round to the last tab stop
        EXPECT_TRUE(m.hasFocus(IDCANCEL));
        m.pressKey(td::Key::Tab);  // wraps round into A, again at its checked button
        EXPECT_TRUE(m.hasFocus(12));

        // Moving the focus with Tab checks nothing.
        EXPECT_FALSE(m.isChecked(11));
        EXPECT_TRUE(m.isChecked(12));
        EXPECT_FALSE(m.isChecked(21));
        EXPECT_FALSE(m.isChecked(22));
        m.pressEscape();
    });
    for (const probe::Command& c : probe::commands()) EXPECT_NE(c.id, 21) << "Tab must not click a radio button";
}

TEST_F(DialogTest, ArrowKeysCheckTheRadioButtonTheyReachAndReportIt) {
    probe::rules() = checkA2OnInit;
    probe::show(probe::kProbe, [](td::Modal& m) {
        m.click(12);
        probe::messages().clear();

        m.pressKey(td::Key::Up);
        EXPECT_TRUE(m.hasFocus(11));
        EXPECT_TRUE(m.isChecked(11));
        EXPECT_FALSE(m.isChecked(12));
        m.pressKey(td::Key::Up);  // wraps within the group
        EXPECT_TRUE(m.hasFocus(12));
        EXPECT_TRUE(m.isChecked(12));
        m.pressKey(td::Key::Right);
        EXPECT_TRUE(m.hasFocus(11));
        // Group B is untouched by moves in group A.
        EXPECT_FALSE(m.isChecked(21));
        EXPECT_FALSE(m.isChecked(22));
        m.pressEscape();
    });
    std::vector<int> clicked;
    for (const probe::Command& c : probe::commands())
        if (c.id != IDCANCEL) clicked.push_back(c.id);
    EXPECT_EQ(clicked, (std::vector<int>{11, 12, 11}));
}

TEST_F(DialogTest, TabPassesOverGroupBoxesAndStaticsWhateverTheirStyle) {
    // Swap Fields: statics, then a group box with WS_TABSTOP around the Yes/No group.
    probe::show(IDD_SWAPFIELDS, [](td::Modal& m) {
        EXPECT_TRUE(m.hasFocus(IDC_SWAP_YES));  // the first tab stop that can take the focus
        std::vector<int> visited;
        for (int i = 0; i < 5; ++i) {
            m.pressKey(td::Key::Tab);
            int focused = 0;
            for (int id : {IDC_SWAP_YES, IDC_SWAP_NO, IDC_SKIPHEADER, IDOK, IDCANCEL})
                if (m.hasFocus(id)) focused = id;
            visited.push_back(focused);  // 0: something else, such as the group box
        }
        EXPECT_EQ(visited, (std::vector<int>{IDC_SKIPHEADER, IDOK, IDCANCEL, IDC_SWAP_YES, IDC_SKIPHEADER}));
        m.pressEscape();
    });
}

TEST_F(DialogTest, SpaceOnTheFocusedButtonPressesIt) {
    INT_PTR result = probe::show(probe::kProbe, [](td::Modal& m) {
        m.pressKey(td::Key::ShiftTab);  // from the first tab stop back to Cancel
        EXPECT_TRUE(m.hasFocus(IDCANCEL));
        m.pressKey(td::Key::ShiftTab);
        EXPECT_TRUE(m.hasFocus(IDOK));
        m.pressKey(td::Key::Space);
    });
    EXPECT_EQ(result, IDOK);
}

}  // namespace
