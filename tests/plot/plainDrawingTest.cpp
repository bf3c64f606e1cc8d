// The drawing's runs of plain lines against the general reading: a generated file is
// opened and drawn, then the same file with a blank after every line (which no run takes,
// and which reads to the same values) is opened and drawn under the same name; the open's
// ranges and counts and every pixel of the window must agree. The redraw cases then
// rewrite the file behind the program's back with lines a drawing must stop at, read past
// or draw outside the frame, and compare the redraws the same way.
#include <algorithm>
#include <random>
#include <vector>

#include "support/markWidths.h"
#include "support/plotFixture.h"

namespace {

struct DrawingCase {
    const char* name;
    int fieldCount;
    bool swap;
    int lines;  // above 480000 every second line is drawn, above 1440000 every fourth
};

void PrintTo(const DrawingCase& row, std::ostream* out) { *out << row.name; }

// A coordinate: mostly the plain kind, now and then one only the general reading takes
// (a plus sign, a leading blank or zero, an exponent, ten digits or more).
std::string coordinate(std::mt19937_64& random, long long base) {
    const std::string digits = std::to_string(base + static_cast<long long>(random() % 900000));
    switch (random() % 24) {
    case 0: return "+" + digits + ".25";
    case 1: return " " + digits;
    case 2: return "0" + digits + ".5";
    case 4: return digits + "e0";
    default: return digits + "." + std::to_string(random() % 1000);
    }
}

// Forms the short reading leaves, and heights in the no-data band, which the elevation
// range leaves out.
const char* const kElevations[] = {"32766.5", "3.2766e4", "1e3", " 12.5", "-0.5", ".75", "1.2.3", "12-5", "0x1A"};

std::string elevation(std::mt19937_64& random) {
    if (random() % 6 == 0) return kElevations[random() % (sizeof kElevations / sizeof kElevations[0])];
    return (random() % 10 ? "" : "-") + std::to_string(random() % 2500) + "." + std::to_string(random() % 1000);
}

const char* lineBreak(std::mt19937_64& random) {
    const char* const breaks[] = {"\n", "\n", "\n", "\n", "\r\n"};
    return breaks[random() % 5];
}

// A file every line of which the open accepts. The extent reaches well beyond the frame's
// pixels, so that which line is drawn last on a pixel shows in its colour.
std::vector<std::string> openableLines(std::mt19937_64& random, const DrawingCase& c) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(c.lines));
    const long long yBase = c.lines % 2 ? 5300000 : 1234567890;  // ten-digit northings too
    for (int i = 0; i < c.lines; ++i) {
        std::string line = coordinate(random, 400000) + "," + coordinate(random, yBase);
        if (c.fieldCount == 3) line += "," + elevation(random);
        lines.push_back(line + lineBreak(random));
    }
    return lines;
}

// Lines a changed file may hold: more fields, a zero or negative X or Y, elevations
// beyond the opened range and at the edges of the no-data band, all of which are drawn or
// read past; and in its last tenth lines without enough
// fields, empty and blank lines, one too long to read and one with a NUL, at which a
// drawing may stop.
std::vector<std::string> changedLines(std::mt19937_64& random, const DrawingCase& c, int count) {
    std::vector<std::string> lines = openableLines(random, {c.name, c.fieldCount, c.swap, count});
    const std::string drawnOrPassed[] = {
        "0,5301000,12.5",         "401000,0,1.5",        "401000,5301000,12,7", "401000,5301000,123456789012345678",
        "401000,5301000,-9e9",    "-401000,5301000,1.5", "401000,-5301000,1.5", "401000,5301000,32765.9",
        "401000,5301000,32767.99"};
    const char withNul[] =
        "4010\0"
        "00,5301000,1";
    const std::string mayStop[] = {"401000", "401000,5301000",      "",
                                   "\t",     std::string(130, '4'), std::string(withNul, sizeof withNul - 1)};
    for (size_t i = 0; i < lines.size(); ++i) {
        if (random() % 40 != 0) continue;
        const std::string& line = i < lines.size() * 9 / 10
                                      ? drawnOrPassed[random() % (sizeof drawnOrPassed / sizeof drawnOrPassed[0])]
                                      : mayStop[random() % (sizeof mayStop / sizeof mayStop[0])];
        lines[i] = line + lineBreak(random);
    }
    return lines;
}

// The lines joined, with a blank after each when general is set: a blank is no plain
// character, and the readings stop before it.
std::string joined(const std::vector<std::string>& lines, bool general) {
    std::string content;
    for (const std::string& line : lines) {
        const size_t breakAt = line.find_first_of("\r\n");
        content += general ? line.substr(0, breakAt) + " " + line.substr(breakAt) : line;
    }
    return content;
}

struct Drawn {
    int minX, maxX, minY, maxY, lineCount, pointCount;
    float minZ, maxZ;
    std::vector<COLORREF> pixels;
};

}  // namespace

class PlainDrawingTest : public PlotTest, public ::testing::WithParamInterface<DrawingCase> {
protected:
    Drawn drawn() {
        return {g_minX, g_maxX, g_minY, g_maxY, g_lineCount, g_pointCount, g_minZ, g_maxZ, td::snapshot(window)};
    }

    void expectSame(const Drawn& plain, const Drawn& general) {
        EXPECT_EQ(plain.minX, general.minX);
        EXPECT_EQ(plain.maxX, general.maxX);
        EXPECT_EQ(plain.minY, general.minY);
        EXPECT_EQ(plain.maxY, general.maxY);
        EXPECT_EQ(plain.lineCount, general.lineCount);
        EXPECT_EQ(plain.pointCount, general.pointCount);
        EXPECT_EQ(plain.minZ, general.minZ);
        EXPECT_EQ(plain.maxZ, general.maxZ);
        ASSERT_EQ(plain.pixels.size(), general.pixels.size());
        size_t differing = 0;
        for (size_t i = 0; i < plain.pixels.size(); ++i) differing += plain.pixels[i] != general.pixels[i];
        EXPECT_EQ(differing, 0u);
    }
};

TEST_P(PlainDrawingTest, OpenDrawsAsTheGeneralReadingDoes) {
    const DrawingCase& c = GetParam();
    std::mt19937_64 random(c.lines);
    const std::vector<std::string> lines = openableLines(random, c);
    const std::string path = file("points.csv", joined(lines, true));
    openFile(path, c.swap);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    const Drawn general = drawn();
    const int black = count(inside(), RGB(0, 0, 0));
    EXPECT_GT(black, 0);
    EXPECT_GT(insideArea() - black, std::min(c.lines, 20000) / 4) << "too few points drawn to tell";
    file("points.csv", joined(lines, false));
    for (int width : markWidths()) {
        SCOPED_TRACE("marks " + std::to_string(width) + " wide");
        MarkWidthScope scope(width);
        openFile(path, c.swap, false, false);
        ASSERT_EQ(g_viewState, ViewState::Drawn);
        expectSame(drawn(), general);
    }
}

TEST_P(PlainDrawingTest, RedrawOfAChangedFileDrawsAsTheGeneralReadingDoes) {
    const DrawingCase& c = GetParam();
    std::mt19937_64 random(c.lines + 1);
    const std::vector<std::string> lines = openableLines(random, c);
    const std::vector<std::string> changed = changedLines(random, c, c.lines);
    const std::string path = file("points.csv", joined(lines, false));
    openFile(path, c.swap);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    changeAndRedraw(joined(changed, false));
    const Drawn plain = drawn();
    file("points.csv", joined(lines, false));
    openFile(path, c.swap, false, false);
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    changeAndRedraw(joined(changed, true));
    expectSame(plain, drawn());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PlainDrawingTest,
    ::testing::Values(DrawingCase{"ThreeFields", 3, false, 3001}, DrawingCase{"ThreeFieldsSwapped", 3, true, 3000},
                      DrawingCase{"TwoFields", 2, false, 3001}, DrawingCase{"TwoFieldsSwapped", 2, true, 3001},
                      DrawingCase{"EverySecondLine", 3, false, 480001},
                      DrawingCase{"EveryFourthLineSwapped", 2, true, 1440001}),
    [](const ::testing::TestParamInfo<DrawingCase>& info) { return std::string(info.param.name); });
