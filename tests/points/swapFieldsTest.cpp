// The "Swap Fields" dialog of "&Open": what it shows and what each answer does.
#include <string>

#include "openSteps.h"
#include "resource.h"
#include "support/appFixture.h"
#include "support/openFiles.h"

using namespace openSteps;

namespace {

using SwapFields = AppTest;

TEST_F(SwapFields, ShowsCountsWithNoCheckedAndHeaderClear) {
    expectNote();
    expectChoose(file("five.csv", "1,100,200,5,A\n2,300,400,6,B\n3,500,600,7,C\n"));
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::Dialog);
        EXPECT_EQ(m.templateId(), IDD_SWAPFIELDS);
        EXPECT_EQ(m.caption(), "Swap Fields");
        EXPECT_EQ(m.owner(), window);
        EXPECT_EQ(m.itemText(IDC_LINECOUNT), "3");
        EXPECT_EQ(m.itemText(IDC_FIELDCOUNT), "5");
        EXPECT_TRUE(m.isChecked(IDC_SWAP_NO));
        EXPECT_FALSE(m.isChecked(IDC_SWAP_YES));
        EXPECT_FALSE(m.isChecked(IDC_SKIPHEADER));
        EXPECT_FALSE(heldOpen(g_inputPath)) << "no reader stays open across the dialog";
        m.click(IDOK);
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_swapXY, 0);
    EXPECT_EQ(g_skipHeader, 0);
    EXPECT_NE(g_viewState, ViewState::Empty);
}

struct Choice {
    const char* name;
    bool swap, skipHeader;
    int minX, maxX, minY, maxY, points;
};

class SwapFieldsOk : public AppTest, public ::testing::WithParamInterface<Choice> {};

// The first line is a valid point, so both header choices open the file.
TEST_P(SwapFieldsOk, ChoicesReadTheFile) {
    const Choice& c = GetParam();
    openFile(file("points.csv", "10,20,1\n300,700,2\n500,900,3\n"), c.swap, c.skipHeader);
    td::checkDone();
    EXPECT_EQ(g_swapXY, c.swap ? 1 : 0);
    EXPECT_EQ(g_skipHeader, c.skipHeader ? 1 : 0);
    EXPECT_EQ(g_minX, c.minX);
    EXPECT_EQ(g_maxX, c.maxX);
    EXPECT_EQ(g_minY, c.minY);
    EXPECT_EQ(g_maxY, c.maxY);
    EXPECT_EQ(g_pointCount, c.points);
    EXPECT_NE(g_viewState, ViewState::Empty);
}

INSTANTIATE_TEST_SUITE_P(Answers, SwapFieldsOk,
                         ::testing::Values(Choice{"Plain", false, false, 10, 500, 20, 900, 3},
                                           Choice{"Swapped", true, false, 20, 900, 10, 500, 3},
                                           Choice{"HeaderSkipped", false, true, 300, 500, 700, 900, 2},
                                           Choice{"SwappedAndSkipped", true, true, 700, 900, 300, 500, 2}),
                         [](const ::testing::TestParamInfo<Choice>& info) { return std::string(info.param.name); });

enum class CancelWay { Button, Escape, CloseBox };

class SwapFieldsCancel : public AppTest, public ::testing::WithParamInterface<CancelWay> {};

TEST_P(SwapFieldsCancel, EndsOpenAndKeepsEarlierChoices) {
    openFile(file("first.csv", "X,Y\n100,200\n300,400\n"), true, true);
    td::checkDone();
    ASSERT_EQ(g_swapXY, 1);
    ASSERT_EQ(g_skipHeader, 1);

    CancelWay way = GetParam();
    expectChoose(file("second.csv", "100,200\n300,400\n500,600\n"));
    td::expectModal([way](td::Modal& m) {
        // The choices are asked afresh, whatever the last answer was.
        EXPECT_TRUE(m.isChecked(IDC_SWAP_NO));
        EXPECT_FALSE(m.isChecked(IDC_SKIPHEADER));
        m.click(IDC_SKIPHEADER);
        m.click(IDC_SWAP_NO);
        if (way == CancelWay::Button) m.click(IDCANCEL);
        if (way == CancelWay::Escape) m.pressEscape();
        if (way == CancelWay::CloseBox) m.closeBox();
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_swapXY, 1);
    EXPECT_EQ(g_skipHeader, 1);
    expectNothingSelectable(window);
    EXPECT_EQ(td::modalLog().size(), 5u) << "no message after a cancel";
}

INSTANTIATE_TEST_SUITE_P(Ways, SwapFieldsCancel,
                         ::testing::Values(CancelWay::Button, CancelWay::Escape, CancelWay::CloseBox),
                         [](const ::testing::TestParamInfo<CancelWay>& info) {
                             if (info.param == CancelWay::Button) return std::string("Button");
                             return std::string(info.param == CancelWay::Escape ? "Escape" : "CloseBox");
                         });

// The counting pass runs under the previous answer, so the line count shown includes the
// header after a clear box and leaves out a first line after a checked one.
TEST_F(SwapFields, LineCountFollowsThePreviousHeaderChoice) {
    std::string withHeader = file("header.csv", "X,Y\n100,200\n300,400\n500,600\n");
    std::string plain = file("plain.csv", "100,200\n300,400\n500,600\n");

    expectNote();
    expectChoose(withHeader);
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.itemText(IDC_LINECOUNT), "4");
        EXPECT_EQ(m.itemText(IDC_FIELDCOUNT), "2");
        m.click(IDC_SKIPHEADER);
        m.click(IDOK);
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_pointCount, 3);

    expectChoose(plain);
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.itemText(IDC_LINECOUNT), "2");
        m.click(IDOK);  // header box left clear this time
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_skipHeader, 0);
    EXPECT_EQ(g_pointCount, 3) << "counted under the choice just made";
    EXPECT_EQ(g_lineCount, 2) << "the count Swap Fields showed, under the previous choice";
    EXPECT_EQ(g_minX, 100);
}

}  // namespace
