// What assistive technology is told about the controls of the layer's dialogs, through
// QAccessible as a screen reader asks: the role of each kind of button, its name, its
// checked state, and the action that presses it.
#include <gtest/gtest.h>
#include <windows.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCoreApplication>

#include "dialogProbe.h"
#include "platform/src/layer.h"
#include "resource.h"

namespace {

using probe::DialogTest;

QAccessibleInterface* accessible(int id) {
    HWND control = GetDlgItem(probe::dialog(), id);
    EXPECT_NE(control, nullptr) << id;
    return control ? QAccessible::queryAccessibleInterface(control->widget.data()) : nullptr;
}

QAccessible::Role roleOf(int id) {
    QAccessibleInterface* item = accessible(id);
    return item ? item->role() : QAccessible::NoRole;
}

// Template 902: a group of radio buttons with mnemonics, a check box and a button.
void loadMnemonicTemplate() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    layer::loadScript(
        "902 DIALOG 20, 30, 160, 100\n"
        "STYLE 0x40L | 0x80L | 0x80000000L | 0x00C00000L | 0x00080000L\n"
        "CAPTION \"Mnemonics\"\n"
        "FONT 8, \"MS Sans Serif\"\n"
        "BEGIN\n"
        "  AUTORADIOBUTTON \"&Metres\", 11, 5, 5, 60, 12, 0x00020000L | 0x00010000L\n"
        "  AUTORADIOBUTTON \"Feet && &inches\", 12, 5, 20, 60, 12\n"
        "  AUTOCHECKBOX \"&Header\", 21, 5, 40, 60, 12, 0x00020000L | 0x00010000L\n"
        "  DEFPUSHBUTTON \"OK\", 1, 30, 80, 40, 14, 0x00020000L | 0x00010000L\n"
        "END\n");
}

}  // namespace

TEST_F(DialogTest, RadioButtonsAreAnnouncedAsRadioButtons) {
    probe::show(IDD_WRITEFILEAS, [](td::Modal& m) {
        for (int id : {IDC_FORM_COMMA, IDC_FORM_SPACE, IDC_FORM_TAB})
            EXPECT_EQ(roleOf(id), QAccessible::RadioButton) << id;
        EXPECT_EQ(roleOf(IDC_MODIFYVALUES), QAccessible::CheckBox);
        EXPECT_EQ(roleOf(IDOK), QAccessible::Button);
        EXPECT_EQ(roleOf(IDCANCEL), QAccessible::Button);
        m.click(IDCANCEL);
    });
    probe::show(IDD_SWAPFIELDS, [](td::Modal& m) {
        EXPECT_EQ(roleOf(IDC_SWAP_YES), QAccessible::RadioButton);
        EXPECT_EQ(roleOf(IDC_SWAP_NO), QAccessible::RadioButton);
        EXPECT_EQ(roleOf(IDC_SKIPHEADER), QAccessible::CheckBox);
        m.click(IDCANCEL);
    });
}

TEST_F(DialogTest, ARadioButtonTellsItsNameAndWhetherItIsChecked) {
    probe::show(IDD_SWAPFIELDS, [](td::Modal& m) {
        QAccessibleInterface* yes = accessible(IDC_SWAP_YES);
        QAccessibleInterface* no = accessible(IDC_SWAP_NO);
        ASSERT_NE(yes, nullptr);
        ASSERT_NE(no, nullptr);
        EXPECT_EQ(yes->text(QAccessible::Name), QStringLiteral("Yes"));
        EXPECT_TRUE(yes->state().checkable);
        EXPECT_FALSE(yes->state().checked);
        m.click(IDC_SWAP_YES);
        EXPECT_TRUE(yes->state().checked);
        EXPECT_FALSE(no->state().checked);
        CheckRadioButton(probe::dialog(), IDC_SWAP_YES, IDC_SWAP_NO, IDC_SWAP_NO);
        EXPECT_FALSE(yes->state().checked);
        EXPECT_TRUE(no->state().checked);
        m.click(IDCANCEL);
    });
}

TEST_F(DialogTest, ARadioButtonsActionChecksItAsAClickWould) {
    probe::show(probe::kProbe, [](td::Modal& m) {
        QAccessibleInterface* a2 = accessible(12);
        ASSERT_NE(a2, nullptr);
        QAccessibleActionInterface* actions = a2->actionInterface();
        ASSERT_NE(actions, nullptr);
        ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        probe::messages().clear();
        CheckRadioButton(probe::dialog(), 11, 12, 11);
        actions->doAction(QAccessibleActionInterface::toggleAction());
        QCoreApplication::processEvents();  // the dialog's loop takes the action, as Windows takes BM_CLICK
        EXPECT_TRUE(m.isChecked(12));
        EXPECT_FALSE(m.isChecked(11));  // its group's other button
        ASSERT_EQ(probe::commands().size(), 1u);
        EXPECT_EQ(probe::commands()[0].id, 12);
        EXPECT_EQ(probe::commands()[0].code, 0);  // BN_CLICKED
        m.click(IDCANCEL);
    });
}

TEST_F(DialogTest, NamesLeaveOutTheMnemonicMarks) {
    loadMnemonicTemplate();
    probe::show(902, [](td::Modal& m) {
        QAccessibleInterface* metres = accessible(11);
        QAccessibleInterface* feet = accessible(12);
        ASSERT_NE(metres, nullptr);
        ASSERT_NE(feet, nullptr);
        EXPECT_EQ(metres->text(QAccessible::Name), QStringLiteral("Metres"));
        EXPECT_EQ(feet->text(QAccessible::Name), QStringLiteral("Feet & inches"));
        EXPECT_EQ(roleOf(21), QAccessible::CheckBox);
        m.pressEscape();
    });
}
