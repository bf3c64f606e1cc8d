// "Move All Pts.": the question, the shifted and trimmed output, and the refusal of files
// that are already small.
#include "outputTest.h"

namespace {

const char kQuestion[] =
    "This option will move all points to make       \nX - Y minimum values equal to 1.xx and \n"
    "remove un-needed decimal places. This\nis just a way to  reduce your file size if\n"
    "you don't care about losing all of the\n        original coordinates.\n\n      DO YOU WANT TO CONTINUE?";

void answerQuestion(int answer) {
    td::expectModal([answer](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::MessageBox);
        EXPECT_EQ(m.caption(), "Notice");
        EXPECT_EQ(m.text(), kQuestion);
        EXPECT_EQ(m.style(), static_cast<UINT>(MB_YESNO));  // Yes and No, no icon
        m.answer(answer);
    });
}

struct MoveCase {
    const char* name;
    const char* points;
    bool swap;
    bool refused;  // "Sorry": both whole minima below 2
    const char* expected;
    int count;
};

// Test names in ctest show the row's name, not its bytes.
void PrintTo(const MoveCase& row, std::ostream* out) { *out << row.name; }

class MoveCaseTest : public OutputTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveCaseTest, WritesShiftedTrimmedCommaLines) {
    const MoveCase& c = GetParam();
    std::string input = openPoints(c.points, c.swap);
    std::string out = path("moved.csv");
    if (c.refused) {
        td::expectMessage("Sorry", "This file can't be reduced\n        or already has been.");
    } else {
        answerQuestion(IDYES);
        answerSave(out);
        expectSaved(c.count, out);
    }
    td::command(window, IDM_MOVEALL);

    if (c.refused) {
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_EQ(g_viewState, ViewState::Drawn);
    } else {
        EXPECT_EQ(read(out), c.expected);
        EXPECT_EQ(g_viewState, ViewState::Fitted);
        EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
        EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
        EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    }
    EXPECT_EQ(read(input), c.points);
}

const char kSurvey[] =
    "500123.45,4100200.5,12.5\n500100.456,4100000.004,15.000\n500100,4100000,15.2\n500100.999,4100001.996,-3.25\n";

INSTANTIATE_TEST_SUITE_P(
    Files, MoveCaseTest,
    ::testing::Values(
        // Minima 500100 and 4100000: shifts 500099 and 4099999. Rounding can carry.
        MoveCase{"ThreeFields", kSurvey, false, false, "24.45,201.5,12.5\r\n1.46,1,15\r\n1,1,15.2\r\n2,3,-3.25\r\n", 4},
        MoveCase{"FiveFieldsGiveThree", "1,500123.45,4100200.5,12.5,TREE\n2,500100,4100000,15.2,POST\n", false, false,
                 "24.45,201.5,12.5\r\n1,1,15.2\r\n", 2},
        MoveCase{"TwoFields", "500123.45,4100200.5\n500100,4100000\n", false, false, "24.45,201.5\r\n1,1\r\n", 2},
        MoveCase{"Swapped", "4100200.5,500123.45,12.5\n4100000,500100,15.2\n", true, false,
                 "24.45,201.5,12.5\r\n1,1,15.2\r\n", 2},
        MoveCase{"NoDataDropped", "500123.45,4100200.5,32766.5\n500100,4100000,15.2\n500110,4100010,32768\n", false,
                 false, "1,1,15.2\r\n11,11,32768\r\n", 2},
        MoveCase{"NegativeMinimumMovesUp", "-500.3,2000,5\n-400,2100,6\n", false, false, "0.7,1,5\r\n101,101,6\r\n", 2},
        MoveCase{"ElevationsTrimmedNotMoved", "500100,4100000,0.0004\n500200,4100100,1234.5678\n", false, false,
                 "1,1,0\r\n101,101,1234.568\r\n", 2},
        MoveCase{"LastLineWithoutBreak", "500123.45,4100200.5,12.5\n500100,4100000,15.2", false, false,
                 "24.45,201.5,12.5\r\n1,1,15.2\r\n", 2},
        MoveCase{"BothMinimaBelowTwo", "1.5,1.2,3\n20,30,4\n", false, true, "", 0},
        MoveCase{"XMinimumAtTwo", "2.5,1.2,3\n20,30,4\n", false, false, "1.5,1.2,3\r\n19,30,4\r\n", 2},
        MoveCase{"YMinimumAtTwo", "1.5,2,3\n20,30,4\n", false, false, "1.5,1,3\r\n20,29,4\r\n", 2}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return info.param.name; });

}  // namespace

class MoveTest : public OutputTest {};

TEST_F(MoveTest, SaveDialogAsksForACommaFileWhateverTheLastForm) {
    std::string input = openPoints(kSurvey);
    // A tab form write of a small area first...
    WriteChoice tabs;
    tabs.form = IDC_FORM_TAB;
    tabs.tabs = "3";
    EXPECT_EQ(writeAndRead(Area::rect(500120, 500130, 4100190, 4100210), tabs, 1, "area.tsv"),
              "500123.45\t\t\t4100200.5\t\t\t12.5\r\n");
    td::command(window, IDM_REDRAW);

    // ...leaves the move with one comma per gap and every point.
    std::string out = path("moved.csv");
    answerQuestion(IDYES);
    HWND owner = window;
    td::expectModal([out, owner](td::Modal& m) {
        ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
        EXPECT_EQ(m.owner(), owner);
        EXPECT_EQ(m.filter(), "CSV Files (*.csv)|*.csv");
        EXPECT_EQ(m.defaultExtension(), "csv");
        EXPECT_EQ(m.flags(), static_cast<DWORD>(0x80806));
        m.choose(out);
    });
    expectSaved(4, out);
    td::command(window, IDM_MOVEALL);
    EXPECT_EQ(read(out), "24.45,201.5,12.5\r\n1.46,1,15\r\n1,1,15.2\r\n2,3,-3.25\r\n");
}

TEST_F(MoveTest, AnsweringNoWritesNothing) {
    openPoints(kSurvey);
    answerQuestion(IDNO);
    td::command(window, IDM_MOVEALL);

    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_FALSE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_FALSE(td::menuGrayed(window, IDM_MOVEALL));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    EXPECT_EQ(td::modalLog().back().rfind("Notice:", 0), 0u);  // nothing after the question
}

TEST_F(MoveTest, AMovedFileCannotBeMovedAgain) {
    openPoints(kSurvey);
    std::string out = path("moved.csv");
    answerQuestion(IDYES);
    answerSave(out);
    expectSaved(4, out);
    td::command(window, IDM_MOVEALL);

    td::expectModal([out](td::Modal& m) { m.choose(out); });
    td::expectModal([](td::Modal& m) { m.click(IDOK); });
    td::command(window, IDM_OPEN);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(g_minX, 1);
    EXPECT_EQ(g_minY, 1);
    td::expectMessage("Sorry", "This file can't be reduced\n        or already has been.");
    td::command(window, IDM_MOVEALL);
}
