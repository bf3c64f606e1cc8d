// Large files are thinned by the line count the open found: above 480000 lines every
// second line is drawn, above 1120000 every third, above 1440000 every fourth.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/plotFixture.h"

namespace {

// Data line k (from 0) falls in stripe k % 12 of the plot: stripe b spans Y offsets 38b to
// 38b + 32 (rows 542 - 38b to 574 - 38b at scale 1), so each stripe shows which residues of
// k were drawn. Within a stripe the lines walk a grid of 451 x 17 pixels.
const int kStripes = 12;
const int kStripePixels = 451 * 17;

std::string thinningFile(int lines) {
    std::string content;
    content.reserve(static_cast<size_t>(lines) * 11);
    char line[32];
    for (int k = 0; k < lines; ++k) {
        int j = k / kStripes;
        int length = std::snprintf(line, sizeof line, "%d,%d\n", 1000 + 2 * (j % 451),
                                   1000 + 38 * (k % kStripes) + 2 * ((j / 451) % 17));
        content.append(line, static_cast<size_t>(length));
    }
    return content;
}

}  // namespace

struct ThinningCase {
    int lines;
    int every;  // one drawn line in every this many
};

class ThinningTest : public PlotTest, public ::testing::WithParamInterface<ThinningCase> {};

TEST_P(ThinningTest, DrawsTheFirstLineAndEveryNthAfterIt) {
    const ThinningCase& c = GetParam();
    openPoints(thinningFile(c.lines));
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    ASSERT_EQ(g_lineCount, c.lines);
    ASSERT_EQ(g_scale, 1.0f);
    for (int b = 0; b < kStripes; ++b) {
        RECT stripe = {28, 574 - 38 * b - 32, 933, 574 - 38 * b + 1};
        int expected = b % c.every == 0 ? kStripePixels : 0;
        EXPECT_EQ(count(stripe, RGB(154, 154, 154)), expected) << "lines with k % 12 == " << b;
    }
    std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[4].text, "Total # Points: " + std::to_string(c.lines));
}

INSTANTIATE_TEST_SUITE_P(LineCounts, ThinningTest,
                         ::testing::Values(ThinningCase{480000, 1}, ThinningCase{480001, 2}, ThinningCase{1120000, 2},
                                           ThinningCase{1120001, 3}, ThinningCase{1440000, 3},
                                           ThinningCase{1440001, 4}),
                         [](const ::testing::TestParamInfo<ThinningCase>& info) {
                             return "Lines" + std::to_string(info.param.lines);
                         });

// A header line and the lines after it: the thinning step follows the count of lines
// "Swap Fields" showed, which holds the header when the previous Open read its first line
// as data, and the data lines drawn are counted from the first line after the header.
struct HeaderThinningCase {
    int dataLines;
    bool previousSkipped;  // the Open before this one skipped a header
    int workers;
    int every;
};

class HeaderThinningTest : public PlotTest, public ::testing::WithParamInterface<HeaderThinningCase> {
protected:
    void TearDown() override {
        unsetenv("SKERROW_THREADS");
        PlotTest::TearDown();
    }
};

TEST_P(HeaderThinningTest, StepFromTheCountSwapFieldsShowed) {
    const HeaderThinningCase& c = GetParam();
    setenv("SKERROW_THREADS", std::to_string(c.workers).c_str(), 1);
    if (c.previousSkipped) {
        openFile(file("small.csv", "X,Y\n1000,1000\n2000,2000\n"), false, true);
        td::checkDone();
        ASSERT_EQ(g_skipHeader, 1);
    } else {
        td::expectModal([](td::Modal& m) { m.answer(IDOK); });  // the note of the first Open
    }
    const long long shown = c.dataLines + (c.previousSkipped ? 0 : 1);
    const std::string input = file("header.csv", "Easting,Northing\n" + thinningFile(c.dataLines));
    td::expectModal([&](td::Modal& m) { m.choose(input); });
    td::expectModal([shown](td::Modal& m) {
        EXPECT_EQ(m.itemText(IDC_LINECOUNT), std::to_string(shown));
        m.click(IDC_SKIPHEADER);
        m.click(IDOK);
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(g_lineCount, shown);
    ASSERT_EQ(g_scale, 1.0f);
    for (int b = 0; b < kStripes; ++b) {
        RECT stripe = {28, 574 - 38 * b - 32, 933, 574 - 38 * b + 1};
        int expected = b % c.every == 0 ? kStripePixels : 0;
        EXPECT_EQ(count(stripe, RGB(154, 154, 154)), expected) << "data lines with k % 12 == " << b;
    }
    std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[4].text, "Total # Points: " + std::to_string(c.dataLines)) << "the points, not the lines";
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, HeaderThinningTest,
    ::testing::Values(HeaderThinningCase{479999, false, 1, 1}, HeaderThinningCase{480000, false, 1, 2},
                      HeaderThinningCase{480000, false, 2, 2}, HeaderThinningCase{480000, true, 1, 1},
                      HeaderThinningCase{480000, true, 2, 1}, HeaderThinningCase{480001, true, 2, 2},
                      HeaderThinningCase{1440000, false, 1, 4}, HeaderThinningCase{1440000, false, 2, 4},
                      HeaderThinningCase{1440000, true, 1, 3}, HeaderThinningCase{1440000, true, 2, 3}),
    [](const ::testing::TestParamInfo<HeaderThinningCase>& info) {
        return "Data" + std::to_string(info.param.dataLines) + (info.param.previousSkipped ? "AfterASkip" : "New") +
               "On" + std::to_string(info.param.workers);
    });
