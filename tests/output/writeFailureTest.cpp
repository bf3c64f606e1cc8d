// The writer where things go wrong: the point file chosen as output under any name,
// Cancel in the save dialog, outputs that cannot be written, a point file that changed
// since it was opened, and numbers too large for a fixed line.
#include <unistd.h>

#include <iomanip>
#include <sstream>

#include "outputTest.h"

namespace {

namespace fs = std::filesystem;

const char kPoints[] = "1000.5,2000.25,15.0\n1100,2100,16\n";
const char kWritten[] = "1000.5,2000.25,15.0\r\n1100,2100,16\r\n";
const char kWarning[] = "Can't SAVE AS input file name.\n      Select different file.";

// A name with the form's extension for the device that is always full (the save dialog
// would add ".csv" to "/dev/full").
std::string fullDevice(const fs::path& dir) {
    fs::create_symlink("/dev/full", dir / "full.csv");
    return (dir / "full.csv").string();
}

void expectWarning() { td::expectMessage("WARNING !", kWarning); }

// An "Error" message box that names the file.
void expectErrorNaming(const std::string& path) {
    td::expectModal([path](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::MessageBox);
        EXPECT_EQ(m.caption(), "Error");
        EXPECT_NE(m.text().find(path), std::string::npos) << m.text();
        EXPECT_EQ(m.style() & MB_ICONEXCLAMATION, static_cast<UINT>(MB_ICONEXCLAMATION));
        m.answer(IDOK);
    });
}

}  // namespace

class WriteFailureTest : public OutputTest {
protected:
    void SetUp() override {
        OutputTest::SetUp();
        input = openPoints(kPoints);
    }
    // The ending every write reaches, whatever happened.
    void expectEnded() {
        EXPECT_EQ(g_viewState, ViewState::Fitted);
        EXPECT_EQ(g_selectAll, 0);
        EXPECT_EQ(g_elevationsOnly, 0);
        EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
        EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
        EXPECT_EQ(td::currentCursor(), IDC_ARROW);
    }
    size_t filesInDir() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    std::string input;
};

// Other names of the point file: each is refused with the warning before anything is
// created or emptied, and the dialog comes again.
struct SpellingCase {
    const char* name;
    std::string (*spell)(const fs::path& dir);
};

// Test names in ctest show the row's name, not its bytes.
void PrintTo(const SpellingCase& row, std::ostream* out) { *out << row.name; }

class InputSpellingTest : public WriteFailureTest, public ::testing::WithParamInterface<SpellingCase> {};

TEST_P(InputSpellingTest, IsRefusedAndLeftWhole) {
    std::string other = GetParam().spell(dir);
    std::string out = path("out.csv");
    answerWriteFileAs(WriteChoice());
    answerSaveReplacing(other);
    expectWarning();
    answerSave(out);
    expectSaved(2, out);
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(read(input), kPoints);
    EXPECT_EQ(read(other), kPoints);
    EXPECT_EQ(read(out), kWritten);
    expectEnded();
}

INSTANTIATE_TEST_SUITE_P(
    Names, InputSpellingTest,
    ::testing::Values(SpellingCase{"SameText", [](const fs::path& dir) { return (dir / "points.csv").string(); }},
                      SpellingCase{"DotSegment",
                                   [](const fs::path& dir) { return (dir / "." / "points.csv").string(); }},
                      SpellingCase{"ParentSegment",
                                   [](const fs::path& dir) {
                                       fs::create_directory(dir / "sub");
                                       return (dir / "sub" / ".." / "points.csv").string();
                                   }},
                      SpellingCase{"FolderLink",
                                   [](const fs::path& dir) {
                                       fs::create_directory_symlink(dir, dir / "alias");
                                       return (dir / "alias" / "points.csv").string();
                                   }},
                      SpellingCase{"SymbolicLink",
                                   [](const fs::path& dir) {
                                       fs::create_symlink(dir / "points.csv", dir / "link.csv");
                                       return (dir / "link.csv").string();
                                   }},
                      SpellingCase{"RelativeSymbolicLinkInAnotherFolder",
                                   [](const fs::path& dir) {
                                       fs::create_directory(dir / "other");
                                       fs::create_symlink("../points.csv", dir / "other" / "points.csv");
                                       return (dir / "other" / "points.csv").string();
                                   }},
                      SpellingCase{"HardLink",
                                   [](const fs::path& dir) {
                                       fs::create_hard_link(dir / "points.csv", dir / "hard.csv");
                                       return (dir / "hard.csv").string();
                                   }}),
    [](const ::testing::TestParamInfo<SpellingCase>& info) { return info.param.name; });

TEST_F(WriteFailureTest, RelativeNameOfTheInputIsRefused) {
    fs::path before = fs::current_path();
    fs::current_path(dir);
    std::string out = path("out.csv");
    answerWriteFileAs(WriteChoice());
    answerSave("points.csv");
    td::expectModal([](td::Modal& m) { m.answer(IDYES); });  // replace it?
    expectWarning();
    answerSave(out);
    expectSaved(2, out);
    td::command(window, IDM_SELECTALL);
    fs::current_path(before);

    EXPECT_EQ(read(input), kPoints);
    EXPECT_EQ(read(out), kWritten);
}

TEST_F(WriteFailureTest, WarningComesAgainUntilAnotherFileIsChosen) {
    fs::create_symlink(input, dir / "link.csv");
    std::string out = path("out.csv");
    answerWriteFileAs(WriteChoice());
    answerSaveReplacing(input);
    expectWarning();
    answerSaveReplacing(path("link.csv"));
    expectWarning();
    answerSaveReplacing(input);
    expectWarning();
    answerSave(out);
    expectSaved(2, out);
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(read(input), kPoints);
    EXPECT_EQ(read(out), kWritten);
    EXPECT_EQ(messagesWithCaption("WARNING !"), 3);
}

TEST_F(WriteFailureTest, CancelAfterTheWarningWritesNothing) {
    answerWriteFileAs(WriteChoice());
    answerSaveReplacing(input);
    expectWarning();
    td::expectModal([](td::Modal& m) {
        ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
        m.cancel();
    });
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(read(input), kPoints);
    EXPECT_EQ(filesInDir(), 1u);
    EXPECT_EQ(messagesWithCaption("File Saved"), 0);
    EXPECT_EQ(messagesWithCaption("WARNING !"), 1);
    EXPECT_EQ(g_outputPath[0], '\0');
    expectEnded();
}

TEST_F(WriteFailureTest, CancelAtTheFirstShowingEndsQuietly) {
    WriteChoice elevations;
    elevations.conversion = IDC_CONV_M2FT;
    elevations.elevationsOnly = true;
    answerWriteFileAs(elevations);
    td::expectModal([](td::Modal& m) {
        ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
        EXPECT_EQ(m.filter(), "CSV Files (*.csv)|*.csv");
        m.cancel();
    });
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(filesInDir(), 1u);
    EXPECT_EQ(messagesWithCaption("File Saved") + messagesWithCaption("Error"), 0);
    expectEnded();
}

// The save dialog record for each form.
struct FilterCase {
    const char* name;
    int form;
    const char* filter;
    const char* extension;
};

void PrintTo(const FilterCase& row, std::ostream* out) { *out << row.name; }

class SaveDialogTest : public WriteFailureTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(SaveDialogTest, OffersTheFormsFilterAndExtension) {
    const FilterCase& c = GetParam();
    WriteChoice choice;
    choice.form = c.form;
    answerWriteFileAs(choice);
    HWND owner = window;
    td::expectModal([c, owner](td::Modal& m) {
        ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
        EXPECT_EQ(m.filter(), c.filter);
        EXPECT_EQ(m.defaultExtension(), c.extension);
        EXPECT_EQ(m.flags(), static_cast<DWORD>(0x80806));
        EXPECT_EQ(m.owner(), owner);
        m.cancel();
    });
    td::command(window, IDM_SELECTALL);
    EXPECT_EQ(filesInDir(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Forms, SaveDialogTest,
                         ::testing::Values(FilterCase{"Comma", IDC_FORM_COMMA, "CSV Files (*.csv)|*.csv", "csv"},
                                           FilterCase{"Space", IDC_FORM_SPACE, "TXT Files (*.txt)|*.txt", "txt"},
                                           FilterCase{"Tab", IDC_FORM_TAB, "TSV Files (*.tsv)|*.tsv", "tsv"}),
                         [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

// Outputs that cannot be created or written whole: an "Error" naming the file, never
// "File Saved".
struct SinkCase {
    const char* name;
    std::string (*prepare)(const fs::path& dir);
    bool asOrdinaryUser;  // root writes into read-only folders; act as nobody
    bool manyPoints;      // enough lines to fail while writing, not only at the close
};

void PrintTo(const SinkCase& row, std::ostream* out) { *out << row.name; }

class OutputFailureTest : public WriteFailureTest, public ::testing::WithParamInterface<SinkCase> {};

TEST_P(OutputFailureTest, IsReportedAsAnError) {
    const SinkCase& c = GetParam();
    if (c.manyPoints) {
        std::string points;
        for (int i = 1; i <= 5000; ++i)
            points += std::to_string(1000 + i) + ".125," + std::to_string(2000 + i) + ".5,15.25\n";
        input = openPoints(points, false, false, "many.csv");
    }
    std::string out = c.prepare(dir);
    bool exists = fs::exists(out);
    answerWriteFileAs(WriteChoice());
    if (exists)
        answerSaveReplacing(out);
    else
        answerSave(out);
    expectErrorNaming(out);

    bool dropped = c.asOrdinaryUser && geteuid() == 0;
    if (dropped) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    td::command(window, IDM_SELECTALL);
    if (dropped) {
        ASSERT_EQ(seteuid(0), 0);
    }

    EXPECT_EQ(messagesWithCaption("File Saved"), 0);
    expectEnded();
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, OutputFailureTest,
    ::testing::Values(SinkCase{"NoSpaceLeft", fullDevice, false, false},
                      SinkCase{"NoSpaceLeftWhileWriting", fullDevice, false, true},
                      SinkCase{"ReadOnlyFolder",
                               [](const fs::path& dir) {
                                   fs::create_directory(dir / "locked");
                                   fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                                                       fs::perms::group_read | fs::perms::group_exec |
                                                                       fs::perms::others_read | fs::perms::others_exec);
                                   return (dir / "locked" / "out.csv").string();
                               },
                               true, false},
                      SinkCase{"LinkIntoMissingFolder",
                               [](const fs::path& dir) {
                                   fs::create_symlink(dir / "gone" / "out.csv", dir / "dangling.csv");
                                   return (dir / "dangling.csv").string();
                               },
                               false, false}),
    [](const ::testing::TestParamInfo<SinkCase>& info) { return info.param.name; });

// The point file changed or vanished after it was opened: an "Error" naming it.
struct ChangeCase {
    const char* name;
    const char* content;  // nullptr: the file is removed
};

void PrintTo(const ChangeCase& row, std::ostream* out) { *out << row.name; }

class InputChangedTest : public WriteFailureTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(InputChangedTest, StopsWithAnErrorNamingThePointFile) {
    const ChangeCase& c = GetParam();
    if (c.content)
        file("points.csv", c.content);
    else
        fs::remove(input);
    std::string out = path("out.csv");
    answerWriteFileAs(WriteChoice());
    answerSave(out);
    expectErrorNaming(input);
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(messagesWithCaption("File Saved"), 0);
    if (!c.content) {
        EXPECT_FALSE(fs::exists(out));  // nothing made for a file that is gone
    }
    expectEnded();
}

INSTANTIATE_TEST_SUITE_P(
    Changes, InputChangedTest,
    ::testing::Values(ChangeCase{"Removed", nullptr},
                      ChangeCase{"LineLostItsFields", "1000.5,2000.25,15.0\n1100\n1200,2300,17\n"},
                      // Among lines that are copied as they stand.
                      ChangeCase{"LineGainedAField",
                                 "1000.5,2000.25,15.0\n1100,2100,16\n1150,2150,16,4\n1200,2300,17\n"},
                      ChangeCase{"LineLostAField", "1000.5,2000.25,15.0\n1100,2100,16\n1150,2150\n1200,2300,17\n"},
                      ChangeCase{"LineTooLong",
                                 "1000.5,2000.25,15.0\n1100,2100,16.00000000000000000000000000000000000"
                                 "0000000000000000000000000000000000000000000000000000000000000000000"
                                 "00000000000000000000000000000000000000000000\n"}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return info.param.name; });

TEST_F(WriteFailureTest, HugeConvertedValuesAreWrittenWhole) {
    // The largest X the open takes, times the largest factor that fits the edit.
    input = openPoints("2147483647.5,2000\n2000,3000\n", false, false, "huge.csv");
    WriteChoice factor;
    factor.conversion = IDC_CONV_FACTOR;
    factor.factor = "3.4e38";
    const double m = 3.4e38f;
    std::ostringstream huge;
    huge << std::fixed << std::setprecision(0) << 2147483647.5 * m << ',' << 2000 * m << "\r\n"
         << 2000 * m << ',' << 3000 * m << "\r\n";
    ASSERT_GT(huge.str().size(), 150u);

    EXPECT_EQ(writeAndRead(Area::all(), factor, 2), huge.str());
}

TEST_F(WriteFailureTest, AWriteAfterAFailedOneSucceeds) {
    answerWriteFileAs(WriteChoice());
    std::string full = fullDevice(dir);
    answerSaveReplacing(full);
    expectErrorNaming(full);
    td::command(window, IDM_SELECTALL);
    td::command(window, IDM_REDRAW);

    EXPECT_EQ(writeAndRead(Area::all(), WriteChoice(), 2), kWritten);
}

// An output name that holds a longer file, readable or write-only (which tells only when
// the tests run as an ordinary user): the new points replace it whole, with nothing of the
// old file after them.
TEST_F(WriteFailureTest, ALongerOutputIsReplacedWhole) {
    for (bool readable : {true, false}) {
        SCOPED_TRACE(readable ? "readable" : "write-only");
        if (!readable) td::command(window, IDM_REDRAW);  // the plot again, for the next write
        const std::string out = path(readable ? "old.csv" : "old-write-only.csv");
        file(readable ? "old.csv" : "old-write-only.csv", std::string(100000, 'x') + "\n");
        if (!readable) fs::permissions(out, fs::perms::owner_write);
        answerWriteFileAs(WriteChoice());
        answerSaveReplacing(out);
        expectSaved(2, out);
        td::command(window, IDM_SELECTALL);
        fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(read(out), kWritten);
    }
    expectEnded();
}
