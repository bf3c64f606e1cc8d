// Every way "&Open" rejects a file, each reached from a real file through the real command.
#include <string>

#include "openSteps.h"
#include "resource.h"
#include "support/appFixture.h"

using namespace openSteps;

namespace {

const char* const kNotPointFile = "This is not a valid point file.\n    Check file and try again.";
const char* const kUneven = "This file has uneven fields.\n  Check file and try again.";
const char* const kFieldCount = "This only works on files with 2, 3 or 5 fields.\n        Check file and try again.";
const char* const kHeaderOrZero =
    "This file either has a header line or there       \n"
    "are X - Y fields equal to zero.  Erase any\n"
    "lines with zero XY values or check the\n"
    "\"Ignore 1st line\"  box when opening file.";
const char* const kInvalid = "Invalid or missing data in file.  ";

std::string longLine(int length) {
    std::string line = "100,200,";
    line.resize(length, '5');
    return line;
}

struct RejectCase {
    const char* name;
    std::string content;
    bool reachesSwapFields;  // the counting pass accepts it, the parsing pass rejects it
    std::string text;
};

class OpenRejects : public AppTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(OpenRejects, ShowsItsMessageAndLeavesNothingSelectable) {
    const RejectCase& c = GetParam();
    std::string point = file("points.csv", c.content);
    expectNote();
    expectChoose(point);
    if (c.reachesSwapFields) expectSwapOk();
    expectError(window, c.text);
    td::command(window, IDM_OPEN);
    td::checkDone();
    expectNothingSelectable(window);
    EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    EXPECT_EQ(g_fileChosen, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenRejects,
    ::testing::Values(
        RejectCase{"NoComma", "1000;2000\n3000;4000\n", false, kNotPointFile},
        RejectCase{"EmptyFile", "", false, kNotPointFile},
        RejectCase{"OnlyBlankLines", "\n  \n\n", false, kNotPointFile},
        RejectCase{"UnevenTotal", "100,200\n300,400,5\n500,600\n", false, kUneven},
        RejectCase{"UnevenLastLine", "100,200,5\n300,400,6\n500,600\n", false, kUneven},
        RejectCase{"HeaderWithOtherCommas", "X,Y,Z,Desc\n100,200,5\n300,400,6\n", false, kUneven},
        RejectCase{"FourFields", "1,100,200,5\n2,300,400,6\n", false, kFieldCount},
        RejectCase{"SixFields", "1,100,200,5,A,B\n2,300,400,6,C,D\n", false, kFieldCount},
        RejectCase{"HeaderNotSkipped", "Point,X,Y,Z,Desc\n1,100,200,5,A\n2,300,400,6,B\n", true, kHeaderOrZero},
        RejectCase{"ZeroX", "100,200\n0.5,300\n", true, kHeaderOrZero},
        RejectCase{"ZeroY", "100,200\n300,-0.9\n", true, kHeaderOrZero},
        RejectCase{"OnePoint", "100,200,5\n", true, kInvalid},
        RejectCase{"SameWholeX", "100.1,200\n100.9,300\n", true, kInvalid},
        RejectCase{"SameY", "100,200\n300,200.7\n", true, kInvalid},
        // Lines no pass can read whole, named by their line in the file.
        RejectCase{"LongFirstLine", longLine(128) + "\n100,300\n", false,
                   "Line 1 of this file is longer than 127 characters.\n    Check file and try again."},
        RejectCase{"LongLaterLine", "100,200\n" + longLine(80) + "\n300,400\n", false,
                   "Line 2 of this file is longer than 79 characters.\n    Check file and try again."},
        RejectCase{"LongLaterLineCrLf", "100,200\r\n300,400\r\n" + longLine(80) + "\r\n", false,
                   "Line 3 of this file is longer than 79 characters.\n    Check file and try again."},
        RejectCase{"BlankLineAmongPoints", "100,200\n\n300,400\n", false,
                   "Line 2 of this file is blank, and more lines follow it.\n    Check file and try again."},
        RejectCase{"BlankFirstLine", "\n100,200\n300,400\n", false,
                   "Line 1 of this file is blank, and more lines follow it.\n    Check file and try again."},
        // 2 + (1 + 3 + 2) commas over 4 lines passes the total test; line 2 is short.
        RejectCase{"ShortLineBalanced", "100,200,5\n300,400\n500,600,7,8\n700,800,9\n", true,
                   "Line 2 of this file has fewer fields than the first line.\n    Check file and try again."},
        RejectCase{"XBeyond32Bits", "100,200\n3000000000,400\n", true,
                   "Line 2 of this file has an X or Y value out of range.\n    Check file and try again."},
        RejectCase{"YBeyond64Bits", "100,-99999999999999999999999\n300,400\n", true,
                   "Line 1 of this file has an X or Y value out of range.\n    Check file and try again."},
        RejectCase{"ExtentBeyond32Bits", "-2000000000,200\n2000000000,400\n", true,
                   "The X - Y extent of this file is too large.\n    Check file and try again."}),
    [](const ::testing::TestParamInfo<RejectCase>& info) { return std::string(info.param.name); });

using OpenMessages = AppTest;

TEST_F(OpenMessages, NoteOnlyUntilAFileIsChosen) {
    std::string good = file("good.csv", "100,200\n300,400\n");
    // Cancel on the very first Open: the next Open shows the note again.
    expectNote();
    td::expectModal([](td::Modal& m) { m.cancel(); });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_fileChosen, 0);
    expectNothingSelectable(window);

    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.caption(), "Note:");
        EXPECT_EQ(m.style(), 0u) << "a plain OK box";
        EXPECT_EQ(m.owner(), window);
        m.answer(IDOK);
    });
    expectChoose(good);
    expectSwapOk();
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_NE(g_viewState, ViewState::Empty);

    // Once a file was chosen, Open clears the window instead and a cancel leaves it black.
    td::expectModal([](td::Modal& m) { m.cancel(); });
    td::command(window, IDM_OPEN);
    td::checkDone();
    expectNothingSelectable(window);
    RECT client = {0, 0, td::clientWidth(window), td::clientHeight(window)};
    EXPECT_EQ(td::countPixels(window, client, RGB(0, 0, 0)), client.right * client.bottom);
}

TEST_F(OpenMessages, FileDialogAsksForPointFiles) {
    expectNote();
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::OpenFile);
        EXPECT_EQ(m.filter(), "Point Files (*.csv)|*.csv");
        EXPECT_EQ(m.defaultExtension(), "csv");
        EXPECT_EQ(m.flags(), 0x81004u);
        EXPECT_EQ(m.owner(), window);
        m.cancel();
    });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_STREQ(g_inputPath, "");
}

TEST_F(OpenMessages, MissingFileIsNotAPointFile) {
    expectNote();
    td::expectModal([&](td::Modal& m) {
        // Chosen, then gone before it is read.
        std::string gone = file("gone.csv", "100,200\n300,400\n");
        m.choose(gone);
        std::filesystem::remove(gone);
    });
    expectError(window, kNotPointFile);
    td::command(window, IDM_OPEN);
    td::checkDone();
    expectNothingSelectable(window);
}

// A header longer than any line may be: with the header skipped by the previous choice
// the counting pass cannot read it whole.
TEST_F(OpenMessages, OverLongHeaderSkippedByEarlierChoice) {
    openFile(file("first.csv", "X,Y\n100,200\n300,400\n"), false, true);
    td::checkDone();
    ASSERT_EQ(g_skipHeader, 1);
    expectChoose(file("second.csv", std::string(130, 'H') + "\n100,200\n300,400\n"));
    expectError(window, "Line 1 of this file is longer than 127 characters.\n    Check file and try again.");
    td::command(window, IDM_OPEN);
    td::checkDone();
    expectNothingSelectable(window);
}

// A file accepted by the counting pass under one choice and left without points under
// the other.
TEST_F(OpenMessages, HeaderOnlyFileWithHeaderSkipped) {
    expectNote();
    expectChoose(file("header.csv", "X,Y\n"));
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.itemText(IDC_LINECOUNT), "1");
        m.click(IDC_SKIPHEADER);
        m.click(IDOK);
    });
    expectError(window, kInvalid);
    td::command(window, IDM_OPEN);
    td::checkDone();
    expectNothingSelectable(window);
}

}  // namespace
