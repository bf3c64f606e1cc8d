// The colour of each drawn point: the twelve-band elevation ramp with its single-precision
// index, the grey of files without an elevation range, and the no-data elevations.
#include <cstdio>
#include <string>
#include <vector>

#include "support/plotFixture.h"

using PlotColourTest = PlotTest;

TEST_F(PlotColourTest, EveryBandEndHasItsColour) {
    // Elevations 100..340 make index k the elevation 100 + k. At scale 1 (900 x 450 units)
    // X = 1000 + 4i lands on column 30 + 4i, Y = 1200 on row 374.
    std::string content = "1000,1000,100\n1900,1450,340\n";
    for (size_t i = 0; i < sizeof kBands / sizeof kBands[0]; ++i)
        content += std::to_string(1000 + 4 * i) + ",1200," + std::to_string(100 + kBands[i].k) + "\n";
    openPoints(content);
    ASSERT_EQ(g_scale, 1.0f);
    for (size_t i = 0; i < sizeof kBands / sizeof kBands[0]; ++i)
        EXPECT_EQ(rgb(at(30 + 4 * static_cast<int>(i), 374)), rgb(kBands[i].colour)) << "index " << kBands[i].k;
}

TEST_F(PlotColourTest, IndexIsRoundedToSinglePrecisionBeforeTruncation) {
    // Elevations 0..2.4: in double precision 0.05, 0.40, 1.21 and 2.21 would give indices
    // 4, 39, 120 and 220; rounded to single precision first they give 5, 40, 121 and 221.
    openPoints("1000,1000,0\n1900,1450,2.4\n1100,1200,0.05\n1200,1200,0.40\n1300,1200,1.21\n1400,1200,2.21\n");
    EXPECT_EQ(rgb(at(130, 374)), rgb(RGB(0, 0, 100)));
    EXPECT_EQ(rgb(at(230, 374)), rgb(RGB(0, 255, 255)));
    EXPECT_EQ(rgb(at(330, 374)), rgb(RGB(255, 137, 0)));
    EXPECT_EQ(rgb(at(430, 374)), rgb(RGB(159, 159, 159)));
}

// Files without an elevation range draw every point grey.
struct GreyCase {
    const char* name;
    const char* content;
};

class GreyTest : public PlotTest, public ::testing::WithParamInterface<GreyCase> {};

TEST_P(GreyTest, EveryPointIsGrey) {
    openPoints(GetParam().content);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    const int columns[] = {30, 480, 930};
    const int rows[] = {574, 374, 124};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rgb(at(columns[i], rows[i])), "154,154,154") << "point " << i;
    EXPECT_EQ(count(inside(), RGB(154, 154, 154)), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Files, GreyTest,
    ::testing::Values(GreyCase{"TwoFields", "1000,1000\n1450,1200\n1900,1450\n"},
                      GreyCase{"EqualElevations", "1000,1000,55.5\n1450,1200,55.5\n1900,1450,55.5\n"},
                      GreyCase{"FiveFields", "1,1000,1000,7,A\n2,1450,1200,7,B\n3,1900,1450,7,C\n"}),
    [](const ::testing::TestParamInfo<GreyCase>& info) { return std::string(info.param.name); });

TEST_F(PlotColourTest, ElevationsJustBelow32768AreNotDrawn) {
    struct Row {
        const char* z;
        bool drawn;
    };
    const Row rows[] = {{"32765.8", true}, {"32765.9", false},   {"32766", false},
                        {"32767", false},  {"32767.999", false}, {"32768", true}};
    std::string content = "1000,1000,0\n1900,1450,40000\n";
    for (int i = 0; i < 6; ++i) content += std::to_string(1100 + 100 * i) + ",1200," + rows[i].z + "\n";
    openPoints(content);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    for (int i = 0; i < 6; ++i) {
        COLORREF c = at(130 + 100 * i, 374);
        EXPECT_EQ(c != RGB(0, 0, 0), rows[i].drawn) << "elevation " << rows[i].z << " drew " << rgb(c);
    }
}

TEST_F(PlotColourTest, TwoFieldFilesHaveNoNoDataTest) {
    // The 3-field file ends on a no-data elevation; the 2-field file opened next has no
    // elevations, so none of its points may be taken for no-data.
    openPoints("1000,1000,1\n1900,1450,2\n1450,1200,32766.5\n", false, "heights.csv");
    ASSERT_EQ(g_fieldCount, 3);
    openFile(file("plain.csv", "1000,1000\n1900,1450\n1450,1200\n"), false, false, false);
    ASSERT_EQ(g_fieldCount, 2);
    EXPECT_EQ(count(inside(), RGB(154, 154, 154)), 3);
}
