// The writer's runs of plain lines against the one-line reading: generated point files,
// mostly plain lines with elevations in and around the no-data band and every near miss
// the run must leave to the general reading (blanks, signs, exponents, stray carriage
// returns), written through the dialogs in each form, conversion and area, and compared
// byte for byte with the lines parsePointLine's fields give.
#include <cmath>
#include <random>

#include "output/outputLine.h"
#include "outputTest.h"
#include "support/markWidths.h"
#include "support/outputLineReference.h"
#include "support/pointLineReference.h"

namespace {

struct PlainCase {
    const char* name;
    int fieldCount;
    bool swap;
    Area area;
    WriteChoice choice;
    Conversion conversion;  // what the choice sets g_conversion to
    float factor;
    int lines;  // more than the output block holds in the large cases
};

void PrintTo(const PlainCase& row, std::ostream* out) { *out << row.name; }

// Elevation texts: in the band, at its edges, near misses of its first digits, and forms
// only the general reading takes.
const char* const kElevations[] = {"123.456",   "32765.9",  "32766",     "32767.99",  "32768",    "32765.8",  "3276",
                                   "32766.000", "032766.5", "-32766",    ".5",        "-0.5",     "3.2766e4", "1e3",
                                   "+32766",    " 32766",   "32767.998", "32767.999", "0x10",     "-.5e1",    "1.2.3",
                                   "12-5",      "327660",   "32767",     "0",         "-32767.5", "9"};

std::string coordinate(std::mt19937_64& random, int base) {
    switch (random() % 12) {
    case 0: return "-" + std::to_string(base + random() % 9000) + ".7";
    case 1: return " " + std::to_string(base + random() % 9000);
    case 2: return "+" + std::to_string(base + random() % 9000) + ".25";
    case 3: return "0" + std::to_string(base + random() % 9000);
    // Long fractions: lines of up to 70 characters, some whole in a 64-character chunk.
    case 4: return std::to_string(base + random() % 9000) + "." + std::string(1 + random() % 20, '3');
    default: return std::to_string(base + random() % 9000) + "." + std::to_string(random() % 1000);
    }
}

std::string pointFile(std::mt19937_64& random, int fieldCount, int lines) {
    std::string content;
    for (int i = 0; i < lines; ++i) {
        std::string line = coordinate(random, 400000) + "," + coordinate(random, 5300000);
        if (fieldCount == 3) {
            line += ",";
            line += random() % 3 ? std::to_string(random() % 3000) + "." + std::to_string(random() % 1000)
                                 : kElevations[random() % (sizeof kElevations / sizeof kElevations[0])];
        }
        // A letter before the break is part of the last field; only a carriage return
        // belongs to the break.
        const char* const breaks[] = {"\n", "\n", "\n", "\n", "\r\n", "\r\r\n", "a\n"};
        content += line + breaks[random() % (sizeof breaks / sizeof breaks[0])];
    }
    return content;
}

// The output the one-line reading gives: each line cut by parsePointLine, tested on g_x,
// g_y and g_elevation, and written from its field texts.
std::string expectedOutput(const std::string& content, const PlainCase& c, int* count) {
    std::string output;
    *count = 0;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::strcpy(g_lineBuf, line.c_str());
        EXPECT_TRUE(parsePointLine()) << line;
        if (c.fieldCount == 3 && g_elevation > 32765.9 && g_elevation < 32768.0f) continue;
        if (c.area.kind == Area::Rectangle &&
            !(c.area.a <= g_x && g_x <= c.area.b && c.area.c <= g_y && g_y <= c.area.d))
            continue;
        if (c.area.kind == Area::Circle && std::hypot(std::fabs(g_x - c.area.a), std::fabs(g_y - c.area.b)) > c.area.c)
            continue;
        const FieldGap gap = fieldGap();
        const std::string gapText(gap.text, gap.length);
        output += c.conversion != Conversion::None ? formatConvertLine(gapText) : formatCopyLine(gapText);
        ++*count;
    }
    return output;
}

class PlainLineWriting : public OutputTest, public ::testing::WithParamInterface<PlainCase> {};

TEST_P(PlainLineWriting, WritesWhatTheOneLineReadingWrites) {
    const PlainCase& c = GetParam();
    std::mt19937_64 random(c.lines + c.fieldCount * 7 + static_cast<int>(c.conversion));
    const std::string content = pointFile(random, c.fieldCount, c.lines);
    const std::string input = openPoints(content, c.swap);
    ASSERT_EQ(g_fieldCount, c.fieldCount);

    // The options as the dialogs will set them, for the expected lines.
    g_fileType = static_cast<FileType>(c.choice.form - IDC_FORM_COMMA + 1);
    g_tabCount = static_cast<short>(c.choice.tabs ? std::atoi(c.choice.tabs) : 1);
    g_conversion = c.conversion;
    g_factor = c.factor;
    g_elevationsOnly = c.choice.elevationsOnly ? 1 : 0;
    int count = 0;
    const std::string expected = expectedOutput(content, c, &count);
    ASSERT_GT(count, 0);

    for (int width : markWidths()) {
        SCOPED_TRACE("marks " + std::to_string(width) + " wide");
        MarkWidthScope scope(width);
        if (width != markWidths().front()) td::command(window, IDM_REDRAW);  // the plot again, for another write
        const std::string written = writeAndRead(c.area, c.choice, count, "out-" + std::to_string(width) + ".txt");
        ASSERT_EQ(written.size(), expected.size());
        ASSERT_TRUE(written == expected) << "first difference at byte "
                                         << std::mismatch(written.begin(), written.end(), expected.begin()).first -
                                                written.begin();
    }
    EXPECT_EQ(read(input), content);
}

WriteChoice form(int id, const char* tabs = nullptr) {
    WriteChoice choice;
    choice.form = id;
    choice.tabs = tabs;
    return choice;
}

WriteChoice conversion(int id, const char* factor = nullptr, bool elevationsOnly = false) {
    WriteChoice choice;
    choice.conversion = id;
    choice.factor = factor;
    choice.elevationsOnly = elevationsOnly;
    return choice;
}

const Area kRect = Area::rect(402000, 406000, 5302000, 5306000);
const Area kCircle = Area::circle(404500, 5304500, 3000);

const PlainCase kCases[] = {
    {"CopyAllComma", 3, false, Area::all(), form(IDC_FORM_COMMA), Conversion::None, 0.0f, 3000},
    {"CopyAllCommaLarge", 3, false, Area::all(), form(IDC_FORM_COMMA), Conversion::None, 0.0f, 90000},
    {"CopyAllSpace", 3, false, Area::all(), form(IDC_FORM_SPACE), Conversion::None, 0.0f, 3000},
    {"CopyAllOneTab", 3, false, Area::all(), form(IDC_FORM_TAB), Conversion::None, 0.0f, 3000},
    {"CopyAllThreeTabs", 3, false, Area::all(), form(IDC_FORM_TAB, "3"), Conversion::None, 0.0f, 3000},
    {"CopyAllSwapped", 3, true, Area::all(), form(IDC_FORM_COMMA), Conversion::None, 0.0f, 3000},
    {"CopyRectangle", 3, false, kRect, form(IDC_FORM_COMMA), Conversion::None, 0.0f, 20000},
    {"CopyRectangleSwapped", 3, true, Area::rect(5302000, 5306000, 402000, 406000), form(IDC_FORM_SPACE),
     Conversion::None, 0.0f, 20000},
    {"CopyCircle", 3, false, kCircle, form(IDC_FORM_COMMA), Conversion::None, 0.0f, 20000},
    {"CopyTwoFields", 2, false, Area::all(), form(IDC_FORM_COMMA), Conversion::None, 0.0f, 3000},
    {"CopyTwoFieldsRectangle", 2, false, kRect, form(IDC_FORM_TAB, "2"), Conversion::None, 0.0f, 20000},
    {"MetresToFeetLarge", 3, false, Area::all(), conversion(IDC_CONV_M2FT), Conversion::MetresToFeet, 0.0f, 40000},
    {"FeetToMetresRectangle", 3, false, kRect, conversion(IDC_CONV_FT2M), Conversion::FeetToMetres, 0.0f, 20000},
    {"FactorSwapped", 3, true, Area::all(), conversion(IDC_CONV_FACTOR, "1.1"), Conversion::Factor, 1.1f, 3000},
    {"ElevationsOnly", 3, false, Area::all(), conversion(IDC_CONV_M2FT, nullptr, true), Conversion::MetresToFeet, 0.0f,
     3000},
    {"TwoFieldsMetresToFeet", 2, false, Area::all(), conversion(IDC_CONV_M2FT), Conversion::MetresToFeet, 0.0f, 3000},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlainLineWriting, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PlainCase>& info) { return std::string(info.param.name); });

}  // namespace
