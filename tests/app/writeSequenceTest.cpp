// The write sequence and the move command as the menu drives them: which dialogs
// appear, what is left on screen and in the menu, and what each way out leaves.
#include <gtest/gtest.h>

#include "app/areaSelection.h"
#include "app/commands.h"
#include "app/mainWindow.h"
#include "points/appState.h"
#include "resource.h"
#include "support/appFixture.h"

namespace {

const char kPoints[] =
    "1000.5,2000.25,15.0\n"
    "1100,2100,16\n"
    "1200,2300,17.5\n"
    "1300,2050,18\n";

void answerWriteFileAs(bool modifyValues) {
    td::expectModal([modifyValues](td::Modal& m) {
        EXPECT_EQ(m.caption(), " Write File As");
        if (modifyValues) m.click(IDC_MODIFYVALUES);
        m.click(IDOK);
    });
}

void cancelDialog(const char* caption) {
    td::expectModal([caption](td::Modal& m) {
        EXPECT_EQ(m.caption(), caption);
        m.click(IDCANCEL);
    });
}

bool wholeWindowBlack(HWND window) {
    int w = td::clientWidth(window), h = td::clientHeight(window);
    return td::countPixels(window, {0, 0, w, h}, RGB(0, 0, 0)) == w * h;
}

}  // namespace

class WriteSequenceTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        input = file("points.csv", kPoints);
        openFile(input);
        ASSERT_EQ(g_viewState, ViewState::Drawn);
        ASSERT_FALSE(td::menuGrayed(window, IDM_SELECTALL));
    }
    std::string input;
};

TEST_F(WriteSequenceTest, CancelInWriteFileAsLeavesTheWindowBlackAndTheItemsGray) {
    cancelDialog(" Write File As");
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_EQ(td::modalLog().back(), " Write File As: ") << "the writer never ran";
    EXPECT_TRUE(wholeWindowBlack(window));
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
    EXPECT_EQ(read(input), kPoints);

    // Redraw brings the plot back and the items with it.
    td::command(window, IDM_REDRAW);
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_FALSE(wholeWindowBlack(window));
    EXPECT_FALSE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_FALSE(td::menuGrayed(window, IDM_MOVEALL));
}

TEST_F(WriteSequenceTest, CancelInConversionShowsNoMessage) {
    answerWriteFileAs(true);
    cancelDialog(" Conversion");
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_EQ(td::modalLog().size(), 5u);  // note, open, swap, write as, conversion
}

TEST_F(WriteSequenceTest, PresetFactorTextIsAnInvalidEntry) {
    answerWriteFileAs(true);
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.caption(), " Conversion");
        EXPECT_TRUE(m.isChecked(IDC_CONV_FACTOR));
        EXPECT_EQ(m.itemText(IDC_FACTOR), "Enter #");
        m.click(IDOK);
    });
    td::expectMessage("Error", "Invalid entry");
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_TRUE(wholeWindowBlack(window));
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // only the input
}

TEST_F(WriteSequenceTest, InvalidEntryInSelectAllDoesNotWidenALaterAreaWrite) {
    answerWriteFileAs(true);
    td::expectModal([](td::Modal& m) { m.click(IDOK); });  // " Conversion" with "Enter #"
    td::expectMessage("Error", "Invalid entry");
    td::command(window, IDM_SELECTALL);
    ASSERT_EQ(g_selectAll, 0);

    // An area around the second and third points only, written as it stands.
    g_areaType = AreaType::Rectangle;
    g_selMinX = 1050;
    g_selMaxX = 1250;
    g_selMinY = 2000;
    g_selMaxY = 2400;
    std::string out = path("area.csv");
    answerWriteFileAs(false);
    td::expectModal([out](td::Modal& m) { m.choose(out); });
    td::expectMessage("File Saved", "2 points written to " + out);
    runWriteSequence(window, 0, NULL);

    EXPECT_EQ(read(out), "1100,2100,16\r\n1200,2300,17.5\r\n");
}

TEST_F(WriteSequenceTest, SelectAllWithoutModifyNeverShowsConversion) {
    // A first write that asks for a conversion, cancelled there...
    answerWriteFileAs(true);
    cancelDialog(" Conversion");
    td::command(window, IDM_SELECTALL);
    td::command(window, IDM_REDRAW);

    // ...does not bring " Conversion" into the next one.
    std::string out = path("all.csv");
    answerWriteFileAs(false);
    td::expectModal([out](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::SaveFile);
        m.choose(out);
    });
    td::expectMessage("File Saved", "4 points written to " + out);
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(read(out), "1000.5,2000.25,15.0\r\n1100,2100,16\r\n1200,2300,17.5\r\n1300,2050,18\r\n");
    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
    EXPECT_EQ(read(input), kPoints);
}

TEST_F(WriteSequenceTest, MoveAskedAndDeclinedKeepsTheItemsEnabled) {
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::MessageBox);
        EXPECT_EQ(m.caption(), "Notice");
        EXPECT_EQ(m.style() & MB_YESNO, (UINT)MB_YESNO);
        m.answer(IDNO);
    });
    td::command(window, IDM_MOVEALL);

    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_TRUE(wholeWindowBlack(window));
    EXPECT_FALSE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_FALSE(td::menuGrayed(window, IDM_MOVEALL));

    // In view state 1 the move does nothing at all.
    td::command(window, IDM_MOVEALL);
    EXPECT_EQ(g_viewState, ViewState::Fitted);
}

// The move is refused only when both minima are below 2.
struct MoveCase {
    const char* name;
    const char* points;
    bool refused;
};

class MoveRefusalTest : public AppTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveRefusalTest, SorryOnlyWhenBothMinimaAreBelowTwo) {
    const MoveCase& c = GetParam();
    openFile(file("points.csv", c.points));
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    if (c.refused) {
        td::expectMessage("Sorry", "This file can't be reduced\n        or already has been.");
        td::command(window, IDM_MOVEALL);
        EXPECT_EQ(g_viewState, ViewState::Drawn);  // nothing else happens: the plot stays
        EXPECT_FALSE(wholeWindowBlack(window));
    } else {
        td::expectModal([](td::Modal& m) {
            EXPECT_EQ(m.caption(), "Notice");
            m.answer(IDNO);
        });
        td::command(window, IDM_MOVEALL);
        EXPECT_EQ(g_viewState, ViewState::Fitted);
    }
}

INSTANTIATE_TEST_SUITE_P(Minima, MoveRefusalTest,
                         ::testing::Values(MoveCase{"BothBelowTwo", "1.5,1.2,3\n20,30,4\n", true},
                                           MoveCase{"XAtTwo", "2.5,1.2,3\n20,30,4\n", false},
                                           MoveCase{"YAtTwo", "1.5,2,3\n20,30,4\n", false},
                                           MoveCase{"NegativeBoth", "-5,-7,3\n20,30,4\n", true}),
                         [](const ::testing::TestParamInfo<MoveCase>& info) { return info.param.name; });
