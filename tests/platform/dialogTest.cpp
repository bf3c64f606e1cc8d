// Dialog boxes: built from their templates, driven by mouse and keyboard as a user would,
// ended through EndDialog, and never left hanging in test mode.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogProbe.h"
#include "resource.h"

namespace {

using probe::DialogTest;

TEST_F(DialogTest, InitDialogComesFirstWithTheFirstTabStopAndTheParameter) {
    std::vector<probe::Message> seenByHandler;
    HWND firstRadio = nullptr;
    INT_PTR result = probe::show(
        IDD_WRITEFILEAS,
        [&](td::Modal& m) {
            seenByHandler = probe::messages();
            firstRadio = GetDlgItem(probe::dialog(), IDC_FORM_COMMA);
            EXPECT_EQ(m.kind(), td::ModalKind::Dialog);
            EXPECT_EQ(m.caption(), " Write File As");
            EXPECT_EQ(m.templateId(), IDD_WRITEFILEAS);
            EXPECT_EQ(m.owner(), nullptr);
            // The group box comes first with WS_TABSTOP but never takes the focus; the first
            // radio button is the first tab stop, and TRUE asked for the focus.
            EXPECT_FALSE(m.hasFocus(IDC_STATIC));
            EXPECT_TRUE(m.hasFocus(IDC_FORM_COMMA));
            EXPECT_FALSE(m.hasFocus(IDOK));
            m.click(IDOK);
        },
        0x5eed);
    EXPECT_EQ(result, IDOK);
    ASSERT_FALSE(seenByHandler.empty());
    EXPECT_EQ(seenByHandler[0].message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(seenByHandler[0].lParam, 0x5eed);
    EXPECT_EQ(seenByHandler[0].wParam, reinterpret_cast<WPARAM>(firstRadio));
    EXPECT_NE(firstRadio, nullptr);
    // The procedure hears of the end last.
    EXPECT_EQ(probe::messages().back().message, static_cast<UINT>(WM_DESTROY));
    // The handle is gone with the dialog.
    EXPECT_EQ(GetDlgItem(probe::dialog(), IDOK), nullptr);
}

TEST_F(DialogTest, ProcedureReturningFalseKeepsTheFocusWhereItPutIt) {
    probe::rules() = [](HWND, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) EndDialog(probe::dialog(), 77);
        return message == WM_COMMAND;
    };
    INT_PTR result = probe::show(IDD_WRITEFILEAS, [](td::Modal& m) {
        EXPECT_FALSE(m.hasFocus(IDC_STATIC));
        m.pressEscape();
    });
    EXPECT_EQ(result, 77);
}

TEST_F(DialogTest, ControlsShowTheirTemplateTextsAndStartUnchecked) {
    probe::show(IDD_SWAPFIELDS, [](td::Modal& m) {
        for (const layer::ControlTemplate& control : layer::dialogTemplate(IDD_SWAPFIELDS).controls) {
            if (control.id == IDC_STATIC) continue;
            EXPECT_EQ(m.itemText(control.id), control.text) << control.id;
            EXPECT_FALSE(m.isChecked(control.id)) << control.id;
            EXPECT_TRUE(m.isEnabled(control.id)) << control.id;
        }
        m.click(IDCANCEL);
    });
}

// Pixel rectangles: dialog units at the base units of 8 point "MS Sans Serif" (6 x 13).
struct RectRow {
    int dialog;
    int control;
    RECT expected;
};

class DialogRect : public DialogTest, public ::testing::WithParamInterface<RectRow> {};

TEST_P(DialogRect, ControlSitsAtItsPixelRectangle) {
    const RectRow& row = GetParam();
    RECT actual{};
    probe::show(row.dialog, [&](td::Modal& m) {
        actual = m.itemRect(row.control);
        m.click(IDOK);
    });
    EXPECT_EQ(actual.left, row.expected.left);
    EXPECT_EQ(actual.top, row.expected.top);
    EXPECT_EQ(actual.right, row.expected.right);
    EXPECT_EQ(actual.bottom, row.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogRect,
                         ::testing::Values(
                             // 98, 59, 10, 11: 147, 95.875 -> 96, 15 wide, 17.875 -> 18 high
                             RectRow{IDD_WRITEFILEAS, IDC_TABCOUNT, {147, 96, 162, 114}},
                             // 9, 5, 120, 72: 13.5 -> 14, 8.125 -> 8, 180, 117
                             RectRow{IDD_WRITEFILEAS, IDC_STATIC, {14, 8, 194, 125}},
                             // 30, 48, 50, 14: 45, 78, 75, 22.75 -> 23
                             RectRow{IDD_SWAPFIELDS, IDC_SWAP_YES, {45, 78, 120, 101}},
                             // 85, 43, 30, 11: 127.5 -> 128, 69.875 -> 70, 45, 18
                             RectRow{IDD_CONVERSION, IDC_FACTOR, {128, 70, 173, 88}},
                             // 75, 80, 50, 14: 112.5 -> 113, 130, 75, 23
                             RectRow{IDD_CONVERSION, IDCANCEL, {113, 130, 188, 153}}));

TEST_F(DialogTest, AutoRadioButtonsUncheckTheirOwnGroupOnly) {
    probe::show(probe::kProbe, [](td::Modal& m) {
        m.click(11);
        m.click(21);
        EXPECT_TRUE(m.isChecked(11));
        EXPECT_TRUE(m.isChecked(21));
        m.click(12);
        EXPECT_FALSE(m.isChecked(11));
        EXPECT_TRUE(m.isChecked(12));
        EXPECT_TRUE(m.isChecked(21));  // another group
        m.click(22);
        EXPECT_FALSE(m.isChecked(21));
        EXPECT_TRUE(m.isChecked(22));
        EXPECT_TRUE(m.isChecked(12));
        m.click(22);  // a checked radio button stays checked
        EXPECT_TRUE(m.isChecked(22));
        m.click(IDCANCEL);
    });
    // Each click arrives as BN_CLICKED with the button's handle.
    std::vector<probe::Command> commands = probe::commands();
    ASSERT_EQ(commands.size(), 6u);
    std::vector<int> ids;
    for (const probe::Command& c : commands) {
        ids.push_back(c.id);
        EXPECT_EQ(c.code, 0);
        EXPECT_NE(c.control, nullptr);
    }
    EXPECT_EQ(ids, (std::vector<int>{11, 21, 12, 22, 22, IDCANCEL}));
}

TEST_F(DialogTest, RadioGroupOfTheProgramsDialogRunsToTheNextGroupStart) {
    probe::show(IDD_WRITEFILEAS, [](td::Modal& m) {
        EXPECT_EQ(CheckRadioButton(probe::dialog(), IDC_FORM_COMMA, IDC_FORM_TAB, IDC_FORM_COMMA), TRUE);
        EXPECT_TRUE(m.isChecked(IDC_FORM_COMMA));
        m.click(IDC_FORM_TAB);
        EXPECT_EQ(IsDlgButtonChecked(probe::dialog(), IDC_FORM_COMMA), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(IsDlgButtonChecked(probe::dialog(), IDC_FORM_SPACE), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(IsDlgButtonChecked(probe::dialog(), IDC_FORM_TAB), static_cast<UINT>(BST_CHECKED));
        m.click(IDC_MODIFYVALUES);
        EXPECT_TRUE(m.isChecked(IDC_MODIFYVALUES));
        EXPECT_TRUE(m.isChecked(IDC_FORM_TAB));
        m.click(IDC_MODIFYVALUES);  // a check box toggles
        EXPECT_FALSE(m.isChecked(IDC_MODIFYVALUES));
        m.click(IDOK);
    });
}

TEST_F(DialogTest, CheckRadioButtonSetsTheRangeWithoutCommands) {
    probe::show(probe::kProbe, [](td::Modal& m) {
        m.click(21);
        probe::messages().clear();
        CheckRadioButton(probe::dialog(), 11, 12, 12);
        EXPECT_FALSE(m.isChecked(11));
        EXPECT_TRUE(m.isChecked(12));
        EXPECT_TRUE(m.isChecked(21));  // outside the range
        EXPECT_TRUE(probe::commands().empty());
        m.click(IDCANCEL);
    });
}

// Typing into the two edits: the digits-only one refuses everything but digits.
struct TypingRow {
    int edit;
    std::string typed;
    std::string shown;
};

class DialogTyping : public DialogTest, public ::testing::WithParamInterface<TypingRow> {};

TEST_P(DialogTyping, EditShowsWhatItAccepted) {
    std::string shown;
    probe::show(probe::kProbe, [&](td::Modal& m) {
        SetDlgItemTextA(probe::dialog(), GetParam().edit, "old");  // replaced: typing selects all first
        m.type(GetParam().edit, GetParam().typed);
        shown = m.itemText(GetParam().edit);
        EXPECT_TRUE(m.hasFocus(GetParam().edit));
        m.click(IDOK);
    });
    EXPECT_EQ(shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Edits, DialogTyping,
                         ::testing::Values(TypingRow{31, "123", "123"}, TypingRow{31, "1a2", "12"},
                                           TypingRow{31, "-5", "5"}, TypingRow{31, "2.5", "25"},
                                           TypingRow{31, "x y", "old"}, TypingRow{32, "1a2", "1a2"},
                                           TypingRow{32, " Enter #", " Enter #"}, TypingRow{32, "12\b3", "13"}));

TEST_F(DialogTest, EditChangesArriveAsNotifications) {
    HWND edit = nullptr;
    probe::show(probe::kProbe, [&](td::Modal& m) {
        edit = GetDlgItem(probe::dialog(), 32);
        m.type(32, "ab");
        m.click(IDOK);
    });
    int changes = 0;
    for (const probe::Command& c : probe::commands())
        if (c.id == 32) {
            EXPECT_EQ(c.code, 0x0300);  // EN_CHANGE
            EXPECT_EQ(c.control, edit);
            ++changes;
        }
    EXPECT_GE(changes, 2);
}

// Keys and the close box: what the procedure receives and what the dialog returns.
struct KeyRow {
    std::string name;
    std::function<void(td::Modal&)> act;
    int templateId;
    INT_PTR result;
    int lastCommand;
};

std::ostream& operator<<(std::ostream& out, const KeyRow& row) { return out << row.name; }

class DialogKeys : public DialogTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(DialogKeys, EndWithTheExpectedCommand) {
    const KeyRow& row = GetParam();
    INT_PTR result = probe::show(row.templateId, row.act);
    EXPECT_EQ(result, row.result);
    std::vector<probe::Command> commands = probe::commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back().id, row.lastCommand);
    EXPECT_EQ(commands.back().code, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, DialogKeys,
    ::testing::Values(
        KeyRow{"EnterOnFreshDialogPressesDefault", [](td::Modal& m) { m.pressEnter(); }, IDD_WRITEFILEAS, IDOK, IDOK},
        KeyRow{"EnterInAnEditPressesDefault",
               [](td::Modal& m) {
                   m.type(32, "7");
                   m.pressEnter();
               },
               probe::kProbe, IDOK, IDOK},
        KeyRow{"EnterOnAFocusedButtonPressesIt",
               [](td::Modal& m) {
                   m.click(41);
                   m.pressEnter();
                   EXPECT_EQ(probe::commands().back().id, 41);
                   m.pressEscape();
               },
               probe::kProbe, IDCANCEL, IDCANCEL},
        KeyRow{"EnterWithNoDefaultButtonGivesIdOk",
               [](td::Modal& m) {
                   m.type(32, "x");
                   m.pressEnter();
               },
               probe::kProbeDisabledCancel, IDOK, IDOK},
        KeyRow{"EscapeIsCancel", [](td::Modal& m) { m.pressEscape(); }, IDD_CONVERSION, IDCANCEL, IDCANCEL},
        KeyRow{"EscapeInAnEditIsCancel",
               [](td::Modal& m) {
                   m.type(IDC_FACTOR, "2");
                   m.pressEscape();
               },
               IDD_CONVERSION, IDCANCEL, IDCANCEL},
        KeyRow{"CloseBoxIsCancel", [](td::Modal& m) { m.closeBox(); }, IDD_SWAPFIELDS, IDCANCEL, IDCANCEL},
        KeyRow{"CancelButton", [](td::Modal& m) { m.click(IDCANCEL); }, IDD_SWAPFIELDS, IDCANCEL, IDCANCEL}),
    [](const ::testing::TestParamInfo<KeyRow>& info) { return info.param.name; });

TEST_F(DialogTest, CancelCommandCarriesTheCancelButtonHandle) {
    HWND cancel = nullptr;
    probe::show(IDD_SWAPFIELDS, [&](td::Modal& m) {
        cancel = GetDlgItem(probe::dialog(), IDCANCEL);
        m.pressEscape();
    });
    ASSERT_FALSE(probe::commands().empty());
    EXPECT_NE(cancel, nullptr);
    EXPECT_EQ(probe::commands().back().control, cancel);
}

TEST_F(DialogTest, DisabledButtonsIgnoreClicksAndTheCloseBox) {
    INT_PTR result = 0;
    EXPECT_NONFATAL_FAILURE(result = probe::show(probe::kProbeDisabledCancel,
                                                 [](td::Modal& m) {
                                                     EXPECT_FALSE(m.isEnabled(IDCANCEL));
                                                     m.click(IDCANCEL);
                                                     m.closeBox();
                                                 }),
                            "modal window left open: Probe");
    // The layer then closes it as Esc would, which Windows sends whatever the button's state.
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(probe::commands().size(), 1u);
}

TEST_F(DialogTest, DialogLeftOpenIsAFailureAndIsCancelled) {
    INT_PTR result = 0;
    EXPECT_NONFATAL_FAILURE(result = probe::show(IDD_CONVERSION, [](td::Modal& m) { m.click(IDC_CONV_M2FT); }),
                            "modal window left open:  Conversion");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(probe::commands().back().id, IDCANCEL);
}

TEST_F(DialogTest, ProcedureThatIgnoresCancelIsEndedAnyway) {
    probe::rules() = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; };
    INT_PTR result = 0;
    EXPECT_NONFATAL_FAILURE(result = probe::show(IDD_SWAPFIELDS, [](td::Modal&) {}),
                            "modal window left open: Swap Fields");
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogTest, DialogWithNoHandlerIsAFailureAndIsCancelled) {
    INT_PTR result = 0;
    EXPECT_NONFATAL_FAILURE(
        result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), NULL, probe::procedure, 0),
        "unexpected modal window: Swap Fields");
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogTest, EndDialogDuringInitShowsNothing) {
    probe::rules() = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) EndDialog(hwnd, 5);
        return TRUE;
    };
    size_t before = td::modalLog().size();
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), NULL, probe::procedure, 0);
    EXPECT_EQ(result, 5);
    EXPECT_EQ(td::modalLog().size(), before);
}

TEST_F(DialogTest, ActionsAfterTheEndAreReported) {
    EXPECT_NONFATAL_FAILURE(probe::show(IDD_SWAPFIELDS,
                                        [](td::Modal& m) {
                                            m.click(IDOK);
                                            m.click(IDC_SWAP_YES);
                                        }),
                            "click after it closed");
    EXPECT_EQ(probe::commands().size(), 1u);
}

TEST_F(DialogTest, UnknownControlIdIsReported) {
    EXPECT_NONFATAL_FAILURE(probe::show(IDD_SWAPFIELDS,
                                        [](td::Modal& m) {
                                            m.click(4711);
                                            m.click(IDOK);
                                        }),
                            "a control with id 4711");
}

TEST_F(DialogTest, EndDialogOnSomethingElseFails) {
    EXPECT_EQ(EndDialog(nullptr, 1), FALSE);
    INT_PTR result = probe::show(IDD_SWAPFIELDS, [](td::Modal& m) {
        EXPECT_EQ(EndDialog(GetDlgItem(probe::dialog(), IDOK), 9), FALSE);  // a control is no dialog
        m.click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
}

}  // namespace
