// The resource script parser: the program's own menu and dialogs as the layer reads them,
// the script syntax it accepts, and the statements it refuses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/src/resourceScript.h"
#include "resource.h"

using layer::ControlKind;

namespace {

// ---- menu 101 ----

struct MenuRow {
    std::string path;  // bar entry text, then "/" and the item text
    int id;
    bool grayed;
};

std::vector<MenuRow> flatten(const std::vector<layer::MenuEntry>& entries, const std::string& prefix = "") {
    std::vector<MenuRow> rows;
    for (const layer::MenuEntry& entry : entries) {
        std::string path = prefix + (entry.separator ? "-" : entry.text);
        rows.push_back({path, entry.id, entry.grayed});
        std::vector<MenuRow> children = flatten(entry.children, path + "/");
        rows.insert(rows.end(), children.begin(), children.end());
    }
    return rows;
}

TEST(ResourceScriptMenu, MainMenuHasItsEntriesInOrder) {
    const layer::MenuTemplate& menu = layer::menuTemplate(IDR_MAINMENU);
    std::vector<MenuRow> expected = {
        {"&File", 0, false},
        {"&File/&Open", IDM_OPEN, false},
        {"&File/E&xit", IDM_EXIT, false},
        {"&AreaType", 0, false},
        {"&AreaType/&Rectangle", IDM_RECTANGLE, false},
        {"&AreaType/&Circle", IDM_CIRCLE, false},
        {"&AreaType/&Polygon", IDM_POLYGON, false},
        {"&AreaType/-", 0, false},
        {"&AreaType/Points &Outside", IDM_OUTSIDE, false},
        {"&Redraw", IDM_REDRAW, false},
        {"&Select All", 0, false},
        {"&Select All/Select All Pts.", IDM_SELECTALL, true},
        {"&Select All/-", 0, false},
        {"&Select All/Move All Pts.", IDM_MOVEALL, true},
        {"&Whole File", IDM_WHOLEFILE, true},
    };
    std::vector<MenuRow> actual = flatten(menu.bar);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].path, expected[i].path) << i;
        EXPECT_EQ(actual[i].id, expected[i].id) << expected[i].path;
        EXPECT_EQ(actual[i].grayed, expected[i].grayed) << expected[i].path;
    }
    ASSERT_EQ(menu.bar.size(), 5u);
    EXPECT_TRUE(menu.bar[0].popup);
    EXPECT_FALSE(menu.bar[2].popup);  // "&Redraw" is a command on the bar itself
    EXPECT_TRUE(menu.bar[3].children[1].separator);
    for (const MenuRow& row : actual) EXPECT_EQ(row.path.find("CHECKED"), std::string::npos);
}

// ---- dialogs 102, 103, 104 ----

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kRadio = BS_AUTORADIOBUTTON | WS_TABSTOP | kChild;
const DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP | kChild;
const DWORD kGroup = BS_GROUPBOX | WS_TABSTOP | kChild;
const DWORD kOk = BS_DEFPUSHBUTTON | WS_TABSTOP | kChild;
const DWORD kCancel = BS_PUSHBUTTON | WS_TABSTOP | kChild;
const DWORD kLeft = SS_LEFT | WS_GROUP | kChild;
const DWORD kCenter = SS_CENTER | WS_GROUP | kChild;

struct DialogCase {
    int id;
    std::string caption;
    int cx, cy;
    std::vector<layer::ControlTemplate> controls;
};

std::ostream& operator<<(std::ostream& out, const DialogCase& c) { return out << "dialog " << c.id; }

class ResourceScriptDialog : public ::testing::TestWithParam<DialogCase> {};

TEST_P(ResourceScriptDialog, HasItsFrameAndControlsAsWritten) {
    const DialogCase& expected = GetParam();
    const layer::DialogTemplate& dialog = layer::dialogTemplate(expected.id);
    EXPECT_EQ(dialog.caption, expected.caption);
    EXPECT_EQ(dialog.fontSize, 8);
    EXPECT_EQ(dialog.fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog.x, 250);
    EXPECT_EQ(dialog.y, 100);
    EXPECT_EQ(dialog.cx, expected.cx);
    EXPECT_EQ(dialog.cy, expected.cy);
    EXPECT_EQ(dialog.style, static_cast<DWORD>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    ASSERT_EQ(dialog.controls.size(), expected.controls.size());
    for (size_t i = 0; i < expected.controls.size(); ++i) {
        const layer::ControlTemplate& a = dialog.controls[i];
        const layer::ControlTemplate& e = expected.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + e.text + "\"");
        EXPECT_EQ(a.kind, e.kind);
        EXPECT_EQ(a.id, e.id);
        EXPECT_EQ(a.text, e.text);
        EXPECT_EQ(a.x, e.x);
        EXPECT_EQ(a.y, e.y);
        EXPECT_EQ(a.cx, e.cx);
        EXPECT_EQ(a.cy, e.cy);
        EXPECT_EQ(a.style, e.style) << std::hex << a.style << " vs " << e.style;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Program, ResourceScriptDialog,
    ::testing::Values(
        DialogCase{
            IDD_WRITEFILEAS,
            " Write File As",
            140,
            120,
            {
                {ControlKind::GroupBox, "Select File Type", -1, 9, 5, 120, 72, kGroup},
                {ControlKind::AutoRadioButton, "Comma Separated File  (*.csv)", IDC_FORM_COMMA, 16, 15, 110, 14,
                 kRadio},
                {ControlKind::AutoRadioButton, "Space Separated File  (*.txt)", IDC_FORM_SPACE, 16, 29, 110, 14,
                 kRadio},
                {ControlKind::AutoRadioButton, "Tab Separated File  (*.tsv)", IDC_FORM_TAB, 16, 43, 110, 14, kRadio},
                {ControlKind::LeftText, "No. of tabs <5 max>.", -1, 29, 60, 80, 14, kLeft},
                {ControlKind::Edit, "", IDC_TABCOUNT, 98, 59, 10, 11,
                 ES_CENTER | ES_NUMBER | WS_BORDER | WS_TABSTOP | kChild},
                {ControlKind::AutoCheckBox, " Modify Values? ", IDC_MODIFYVALUES, 38, 80, 90, 14, kCheck},
                {ControlKind::DefPushButton, "OK", IDOK, 15, 100, 50, 14, kOk},
                {ControlKind::PushButton, "Cancel", IDCANCEL, 75, 100, 50, 14, kCancel},
            }},
        DialogCase{IDD_SWAPFIELDS,
                   "Swap Fields",
                   140,
                   110,
                   {
                       {ControlKind::LeftText, "Number of Lines = ", -1, 15, 7, 70, 10, kLeft},
                       {ControlKind::CenterText, "00000000", IDC_LINECOUNT, 80, 7, 40, 10, kCenter},
                       {ControlKind::LeftText, "Number of Fields = ", -1, 25, 20, 70, 10, kLeft},
                       {ControlKind::CenterText, "0", IDC_FIELDCOUNT, 90, 20, 20, 10, kCenter},
                       {ControlKind::GroupBox, "Do you want to Swap X - Y Fields?", -1, 10, 35, 120, 30, kGroup},
                       {ControlKind::AutoRadioButton, "Yes", IDC_SWAP_YES, 30, 48, 50, 14, kRadio},
                       {ControlKind::AutoRadioButton, "No", IDC_SWAP_NO, 80, 48, 35, 14, kRadio},
                       {ControlKind::AutoCheckBox, " Ignore 1st line header?", IDC_SKIPHEADER, 25, 70, 90, 15, kCheck},
                       {ControlKind::DefPushButton, "OK", IDOK, 15, 90, 50, 14, kOk},
                       {ControlKind::PushButton, "Cancel", IDCANCEL, 75, 90, 50, 14, kCancel},
                   }},
        DialogCase{
            IDD_CONVERSION,
            " Conversion",
            140,
            100,
            {
                {ControlKind::GroupBox, "Select Conversion", -1, 9, 5, 120, 72, kGroup},
                {ControlKind::AutoRadioButton, "Meters ------>> Feet", IDC_CONV_M2FT, 30, 15, 80, 14, kRadio},
                {ControlKind::AutoRadioButton, "Feet ------>> Meters", IDC_CONV_FT2M, 30, 28, 80, 14, kRadio},
                {ControlKind::AutoRadioButton, "Enter factor--->>", IDC_CONV_FACTOR, 16, 41, 64, 14, kRadio},
                {ControlKind::Edit, "", IDC_FACTOR, 85, 43, 30, 11, ES_CENTER | WS_BORDER | WS_TABSTOP | kChild},
                {ControlKind::AutoCheckBox, " Modify Elevations Only", IDC_ELEVATIONSONLY, 22, 58, 100, 15, kCheck},
                {ControlKind::DefPushButton, "OK", IDOK, 15, 80, 50, 14, kOk},
                {ControlKind::PushButton, "Cancel", IDCANCEL, 75, 80, 50, 14, kCancel},
            }}));

// ---- syntax ----

struct Parsed {
    std::vector<layer::MenuTemplate> menus;
    std::vector<layer::DialogTemplate> dialogs;
};

Parsed parse(const std::string& text) {
    Parsed parsed;
    layer::parseScript(text, parsed.menus, parsed.dialogs);
    return parsed;
}

// One control written with a given id expression; the id read back.
struct NumberRow {
    std::string written;
    int value;
};

class ResourceScriptNumber : public ::testing::TestWithParam<NumberRow> {};

TEST_P(ResourceScriptNumber, IdExpressionEvaluates) {
    Parsed parsed =
        parse("7 DIALOG 0, 0, 10, 10\nBEGIN\n PUSHBUTTON \"x\", " + GetParam().written + ", 1, 2, 3, 4\nEND\n");
    ASSERT_EQ(parsed.dialogs.size(), 1u);
    ASSERT_EQ(parsed.dialogs[0].controls.size(), 1u);
    EXPECT_EQ(parsed.dialogs[0].controls[0].id, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Forms, ResourceScriptNumber,
                         ::testing::Values(NumberRow{"42", 42}, NumberRow{"0x2A", 42}, NumberRow{"0x2aL", 42},
                                           NumberRow{"42L", 42}, NumberRow{"42UL", 42}, NumberRow{"(-1)", -1},
                                           NumberRow{"-1", -1}, NumberRow{"40 + 2", 42}, NumberRow{"0x20 | 0x0A", 42},
                                           NumberRow{"(0x40 | 2) & 0x2F", 2}, NumberRow{"((6))", 6},
                                           NumberRow{"50 - 8", 42}, NumberRow{"~0 & 0xFF", 255},
                                           NumberRow{"NOT 0 & 7", 7}));

struct StringRow {
    std::string written;  // between the quotes
    std::string value;
};

class ResourceScriptString : public ::testing::TestWithParam<StringRow> {};

TEST_P(ResourceScriptString, CaptionIsUnescaped) {
    Parsed parsed = parse("7 DIALOG 0, 0, 10, 10\nCAPTION \"" + GetParam().written + "\"\nBEGIN\nEND\n");
    ASSERT_EQ(parsed.dialogs.size(), 1u);
    EXPECT_EQ(parsed.dialogs[0].caption, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Escapes, ResourceScriptString,
                         ::testing::Values(StringRow{"plain", "plain"}, StringRow{"  blanks  kept ", "  blanks  kept "},
                                           StringRow{"say \"\"hi\"\"", "say \"hi\""}, StringRow{"a\\tb\\nc", "a\tb\nc"},
                                           StringRow{"back\\\\slash", "back\\slash"}, StringRow{"q\\\"", "q\""},
                                           StringRow{"\\x41\\101\\60", "AA0"}, StringRow{"", ""},
                                           StringRow{"\\xe9t\\xe9", "\xe9t\xe9"}));

// A control's style: the statement's defaults, with what is written OR-ed in or taken out.
struct StyleRow {
    std::string statement;  // up to the id and rectangle
    std::string style;      // written after the rectangle, or empty
    ControlKind kind;
    DWORD expected;
};

class ResourceScriptStyle : public ::testing::TestWithParam<StyleRow> {};

TEST_P(ResourceScriptStyle, DefaultsCombineWithWhatIsWritten) {
    const StyleRow& row = GetParam();
    std::string line = row.statement + " 9, 1, 2, 3, 4" + (row.style.empty() ? "" : ", " + row.style);
    Parsed parsed = parse("7 DIALOG 0, 0, 10, 10\nBEGIN\n" + line + "\nEND\n");
    ASSERT_EQ(parsed.dialogs.size(), 1u);
    ASSERT_EQ(parsed.dialogs[0].controls.size(), 1u);
    EXPECT_EQ(parsed.dialogs[0].controls[0].kind, row.kind);
    EXPECT_EQ(parsed.dialogs[0].controls[0].style, row.expected) << std::hex << parsed.dialogs[0].controls[0].style;
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ResourceScriptStyle,
    ::testing::Values(
        StyleRow{"GROUPBOX \"g\",", "", ControlKind::GroupBox, BS_GROUPBOX | kChild},
        StyleRow{"AUTORADIOBUTTON \"r\",", "", ControlKind::AutoRadioButton, kRadio},
        StyleRow{"AUTOCHECKBOX \"c\",", "", ControlKind::AutoCheckBox, kCheck},
        StyleRow{"PUSHBUTTON \"p\",", "", ControlKind::PushButton, BS_PUSHBUTTON | WS_TABSTOP | kChild},
        StyleRow{"DEFPUSHBUTTON \"d\",", "", ControlKind::DefPushButton, kOk},
        StyleRow{"LTEXT \"l\",", "", ControlKind::LeftText, kLeft},
        StyleRow{"CTEXT \"c\",", "", ControlKind::CenterText, kCenter},
        StyleRow{"RTEXT \"r\",", "", ControlKind::RightText, SS_RIGHT | WS_GROUP | kChild},
        StyleRow{"EDITTEXT", "", ControlKind::Edit, ES_LEFT | WS_BORDER | WS_TABSTOP | kChild},
        StyleRow{"EDITTEXT", "0x2000L | 0x1L", ControlKind::Edit,
                 ES_NUMBER | ES_CENTER | WS_BORDER | WS_TABSTOP | kChild},
        StyleRow{"AUTORADIOBUTTON \"r\",", "0x00020000L", ControlKind::AutoRadioButton, kRadio | WS_GROUP},
        StyleRow{"PUSHBUTTON \"p\",", "NOT 0x00010000L", ControlKind::PushButton, BS_PUSHBUTTON | kChild},
        StyleRow{"EDITTEXT", "NOT 0x00800000L | 0x08000000L", ControlKind::Edit, WS_TABSTOP | WS_DISABLED | kChild},
        StyleRow{"LTEXT \"l\",", "NOT 0x10000000L", ControlKind::LeftText, SS_LEFT | WS_GROUP | WS_CHILD},
        StyleRow{"CTEXT \"c\",", "0x00020000L, 0", ControlKind::CenterText, kCenter}));

TEST(ResourceScriptSyntax, BracesLowerCaseCommentsAndMenuOptions) {
    Parsed parsed = parse(
        "// a comment\n"
        "#pragma code_page(1252)\n"
        "5 menu discardable\n"
        "{\n"
        "  popup \"&P\" {\n"
        "    menuitem \"&A\", 11, checked grayed\n"
        "    menuitem \"&B\", 12, GRAYED, CHECKED /* both */\n"
        "    menuitem separator\n"
        "  }\n"
        "  MENUITEM \"&C\", 0x0D\n"
        "}\n"
        "6 DIALOG 1, 2, 3, 4\n"
        "CAPTION \"No style\"\n"
        "{\n"
        "}\n");
    ASSERT_EQ(parsed.menus.size(), 1u);
    const layer::MenuTemplate& menu = parsed.menus[0];
    EXPECT_EQ(menu.id, 5);
    ASSERT_EQ(menu.bar.size(), 2u);
    ASSERT_EQ(menu.bar[0].children.size(), 3u);
    EXPECT_TRUE(menu.bar[0].children[0].checked);
    EXPECT_TRUE(menu.bar[0].children[0].grayed);
    EXPECT_TRUE(menu.bar[0].children[1].checked);
    EXPECT_TRUE(menu.bar[0].children[1].grayed);
    EXPECT_TRUE(menu.bar[0].children[2].separator);
    EXPECT_EQ(menu.bar[1].id, 13);
    EXPECT_FALSE(menu.bar[1].checked);
    ASSERT_EQ(parsed.dialogs.size(), 1u);
    // Without STYLE: popup, border and system menu; CAPTION adds the caption bar.
    EXPECT_EQ(parsed.dialogs[0].style, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION));
    EXPECT_EQ(parsed.dialogs[0].fontSize, 0);
}

// ---- refusals ----

struct RefusalRow {
    std::string name;
    std::string script;
    std::string message;  // regular expression the abort message must match
};

std::ostream& operator<<(std::ostream& out, const RefusalRow& row) { return out << row.name; }

class ResourceScriptRefusal : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(ResourceScriptRefusal, AbortsNamingTheConstruct) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::vector<layer::MenuTemplate> menus;
    std::vector<layer::DialogTemplate> dialogs;
    EXPECT_DEATH(layer::parseScript(GetParam().script, menus, dialogs), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Unknown, ResourceScriptRefusal,
    ::testing::Values(
        RefusalRow{"ResourceType", "1 ACCELERATORS\nBEGIN\nEND\n",
                   "line 1: resource type ACCELERATORS is not implemented"},
        RefusalRow{"Control", "1 DIALOG 0, 0, 9, 9\nBEGIN\n CONTROL \"x\", 5, \"Button\", 0, 1, 2, 3, 4\nEND\n",
                   "line 3: dialog control CONTROL"},
        RefusalRow{"DialogStatement", "1 DIALOG 0, 0, 9, 9\nEXSTYLE 0x8L\nBEGIN\nEND\n", "dialog statement EXSTYLE"},
        RefusalRow{"MenuOption", "1 MENU\nBEGIN\n MENUITEM \"x\", 5, INACTIVE\nEND\n", "menu option INACTIVE"},
        RefusalRow{"MenuStatement", "1 MENU\nBEGIN\n SUBMENU \"x\"\nEND\n", "menu statement SUBMENU"},
        RefusalRow{"NamedResource", "MAINMENU MENU\nBEGIN\nEND\n", "named resource MAINMENU"},
        RefusalRow{"MissingComma", "1 MENU\nBEGIN\n MENUITEM \"x\" 5\nEND\n", "',' expected before 5"},
        RefusalRow{"UnterminatedString", "1 DIALOG 0, 0, 9, 9\nCAPTION \"open\nBEGIN\nEND\n", "unterminated string"},
        RefusalRow{"ExtendedStyle", "1 DIALOG 0, 0, 9, 9\nBEGIN\n EDITTEXT 5, 1, 2, 3, 4, 0, 0x200L\nEND\n",
                   "extended control style"},
        RefusalRow{"MissingEnd", "1 DIALOG 0, 0, 9, 9\nBEGIN\n EDITTEXT 5, 1, 2, 3, 4\n",
                   "dialog control the end of the script"},
        RefusalRow{"StrayCharacter", "1 MENU\nBEGIN\n MENUITEM \"x\", 5 ; \nEND\n", "unexpected character ';'"}),
    [](const ::testing::TestParamInfo<RefusalRow>& info) { return info.param.name; });

TEST(ResourceScriptLookup, AbsentTemplateAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(layer::dialogTemplate(4242), "dialog resource 4242 is not implemented");
    EXPECT_DEATH(layer::menuTemplate(4242), "menu resource 4242 is not implemented");
}

}  // namespace
