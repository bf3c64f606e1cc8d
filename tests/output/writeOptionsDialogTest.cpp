// The " Write File As" and " Conversion" dialogs: their faces at every showing, what OK
// stores, what Cancel and the close box leave, the tab count rules and the typed factor.
#include <cstring>

#include "outputTest.h"

namespace {

const char kPoints[] = "1000.5,2000.25,15.0\n1100,2100,16\n";

void expectWriteFileAsFace(td::Modal& m) {
    EXPECT_EQ(m.caption(), " Write File As");
    EXPECT_TRUE(m.isChecked(IDC_FORM_COMMA));
    EXPECT_FALSE(m.isChecked(IDC_FORM_SPACE));
    EXPECT_FALSE(m.isChecked(IDC_FORM_TAB));
    EXPECT_EQ(m.itemText(IDC_TABCOUNT), "1");
    EXPECT_FALSE(m.isChecked(IDC_MODIFYVALUES));
}

void expectConversionFace(td::Modal& m) {
    EXPECT_EQ(m.caption(), " Conversion");
    EXPECT_FALSE(m.isChecked(IDC_CONV_M2FT));
    EXPECT_FALSE(m.isChecked(IDC_CONV_FT2M));
    EXPECT_TRUE(m.isChecked(IDC_CONV_FACTOR));
    EXPECT_EQ(m.itemText(IDC_FACTOR), "Enter #");
    EXPECT_FALSE(m.isChecked(IDC_ELEVATIONSONLY));
}

enum class Way { Button, CloseBox, Escape };

void cancelBy(td::Modal& m, Way way) {
    if (way == Way::Button) m.click(IDCANCEL);
    if (way == Way::CloseBox) m.closeBox();
    if (way == Way::Escape) m.pressEscape();
}

bool onlyFileIn(const std::filesystem::path& dir) {
    return std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()) == 1;
}

// What the writer found in the write options when its save dialog came up.
struct SeenOptions {
    bool seen = false;
    FileType fileType = FileType::Comma;
    short tabCount = 0, elevationsOnly = 0;
    Conversion conversion = Conversion::None;
    float factor = 0;
};

void cancelSaveNoting(SeenOptions* seen) {
    td::expectModal([seen](td::Modal& m) {
        ASSERT_EQ(m.kind(), td::ModalKind::SaveFile);
        seen->seen = true;
        seen->fileType = g_fileType;
        seen->tabCount = g_tabCount;
        seen->conversion = g_conversion;
        seen->elevationsOnly = g_elevationsOnly;
        seen->factor = g_factor;
        m.cancel();
    });
}

}  // namespace

class WriteOptionsTest : public OutputTest {
protected:
    void SetUp() override {
        OutputTest::SetUp();
        input = openPoints(kPoints);
    }
    void redraw() {
        td::command(window, IDM_REDRAW);
        ASSERT_EQ(g_viewState, ViewState::Drawn);
    }
    std::string input;
};

TEST_F(WriteOptionsTest, UntouchedWriteFileAsGivesCommaFormOneTabAndNoConversion) {
    td::expectModal([](td::Modal& m) {
        expectWriteFileAsFace(m);
        m.click(IDOK);
    });
    SeenOptions seen;
    cancelSaveNoting(&seen);
    td::command(window, IDM_SELECTALL);

    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.fileType, FileType::Comma);
    EXPECT_EQ(seen.tabCount, 1);
    EXPECT_EQ(seen.conversion, Conversion::None);
    for (const std::string& entry : td::modalLog()) EXPECT_EQ(entry.find(" Conversion"), std::string::npos);
}

TEST_F(WriteOptionsTest, EveryShowingStartsFromTheSameFace) {
    // A first showing with everything changed, then cancelled...
    td::expectModal([](td::Modal& m) {
        expectWriteFileAsFace(m);
        m.click(IDC_FORM_TAB);
        m.type(IDC_TABCOUNT, "4");
        m.click(IDC_MODIFYVALUES);
        m.click(IDOK);
    });
    td::expectModal([](td::Modal& m) {
        expectConversionFace(m);
        m.click(IDC_CONV_FT2M);
        m.type(IDC_FACTOR, "2.5");
        m.click(IDC_ELEVATIONSONLY);
        m.click(IDCANCEL);
    });
    td::command(window, IDM_SELECTALL);
    redraw();

    // ...leaves nothing behind in the next one.
    td::expectModal([](td::Modal& m) {
        expectWriteFileAsFace(m);
        m.click(IDC_MODIFYVALUES);
        m.click(IDOK);
    });
    td::expectModal([](td::Modal& m) {
        expectConversionFace(m);
        m.click(IDCANCEL);
    });
    td::command(window, IDM_SELECTALL);
    EXPECT_TRUE(onlyFileIn(dir));
}

// Cancel, its close box and Escape in either dialog: no write, no message, and the stored
// choices keep their last values.
struct CancelCase {
    const char* name;
    bool inConversion;
    Way way;
};

// Test names in ctest show the row's name, not its bytes.
void PrintTo(const CancelCase& row, std::ostream* out) { *out << row.name; }

class CancelTest : public WriteOptionsTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelTest, EndsTheWriteAndKeepsTheStoredChoices) {
    const CancelCase& c = GetParam();
    g_fileType = FileType::Space;
    g_tabCount = 4;
    g_factor = 7.5f;
    td::expectModal([c](td::Modal& m) {
        m.click(IDC_FORM_TAB);
        m.type(IDC_TABCOUNT, "2");
        if (!c.inConversion) {
            cancelBy(m, c.way);
            return;
        }
        m.click(IDC_MODIFYVALUES);
        m.click(IDOK);
    });
    if (c.inConversion) {
        td::expectModal([c](td::Modal& m) {
            ASSERT_EQ(m.templateId(), IDD_CONVERSION);
            m.type(IDC_FACTOR, "3");
            m.click(IDC_ELEVATIONSONLY);
            cancelBy(m, c.way);
        });
    }
    td::command(window, IDM_SELECTALL);

    EXPECT_EQ(messagesWithCaption("Save As"), 0) << "the writer never ran";
    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_EQ(g_factor, 7.5f);
    EXPECT_EQ(g_conversion, Conversion::None);
    EXPECT_EQ(g_elevationsOnly, 0);
    if (c.inConversion) {
        EXPECT_EQ(g_fileType, FileType::Tab);  // " Write File As" had its OK
        EXPECT_EQ(g_tabCount, 2);
    } else {
        EXPECT_EQ(g_fileType, FileType::Space);
        EXPECT_EQ(g_tabCount, 4);
        EXPECT_EQ(messagesWithCaption(" Conversion"), 0);
    }
    EXPECT_EQ(messagesWithCaption("Error"), 0);
    EXPECT_TRUE(onlyFileIn(dir));
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelTest,
                         ::testing::Values(CancelCase{"WriteFileAsButton", false, Way::Button},
                                           CancelCase{"WriteFileAsCloseBox", false, Way::CloseBox},
                                           CancelCase{"WriteFileAsEscape", false, Way::Escape},
                                           CancelCase{"ConversionButton", true, Way::Button},
                                           CancelCase{"ConversionCloseBox", true, Way::CloseBox},
                                           CancelCase{"ConversionEscape", true, Way::Escape}),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.name; });

// The tab count as typed and as stored, for whichever form.
struct TabCase {
    const char* name;
    int form;
    const char* typed;
    FileType fileType;
    short stored;
};

void PrintTo(const TabCase& row, std::ostream* out) { *out << row.name; }

class TabCountTest : public WriteOptionsTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabCountTest, StoresAtMostFive) {
    const TabCase& c = GetParam();
    WriteChoice choice;
    choice.form = c.form;
    choice.tabs = c.typed;
    answerWriteFileAs(choice);
    SeenOptions seen;
    cancelSaveNoting(&seen);
    td::command(window, IDM_SELECTALL);

    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.fileType, c.fileType);
    EXPECT_EQ(seen.tabCount, c.stored);
    EXPECT_EQ(g_tabCount, c.stored);  // kept after the write
}

INSTANTIATE_TEST_SUITE_P(Counts, TabCountTest,
                         ::testing::Values(TabCase{"Nine", IDC_FORM_TAB, "9", FileType::Tab, 5},
                                           TabCase{"Five", IDC_FORM_TAB, "5", FileType::Tab, 5},
                                           TabCase{"Zero", IDC_FORM_TAB, "0", FileType::Tab, 0},
                                           TabCase{"Emptied", IDC_FORM_TAB, "\b", FileType::Tab, 0},
                                           TabCase{"Three", IDC_FORM_TAB, "3", FileType::Tab, 3},
                                           TabCase{"StoredForSpace", IDC_FORM_SPACE, "3", FileType::Space, 3},
                                           TabCase{"StoredForComma", IDC_FORM_COMMA, "2", FileType::Comma, 2},
                                           TabCase{"WrapsToFiveIn16Bits", IDC_FORM_TAB, "65541", FileType::Tab, 5},
                                           TabCase{"NegativeIn16Bits", IDC_FORM_TAB, "40000", FileType::Tab, 5},
                                           TabCase{"Beyond32Bits", IDC_FORM_TAB, "4294967301", FileType::Tab, 5},
                                           TabCase{"LettersAreNotTyped", IDC_FORM_TAB, "x2", FileType::Tab, 2}),
                         [](const ::testing::TestParamInfo<TabCase>& info) { return info.param.name; });

// " Conversion" OK: what is stored, and whether the factor text is accepted.
struct ConversionCase {
    const char* name;
    int radio;
    const char* typed;  // nullptr leaves "Enter #"
    bool elevationsOnly;
    bool accepted;
    Conversion conversion;
    float factor;  // checked when the typed factor is chosen and accepted
};

void PrintTo(const ConversionCase& row, std::ostream* out) { *out << row.name; }

class ConversionTest : public WriteOptionsTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConversionTest, StoresTheChoiceOrRefusesTheFactor) {
    const ConversionCase& c = GetParam();
    g_factor = 99.0f;
    WriteChoice choice;
    choice.conversion = c.radio;
    choice.factor = c.typed;
    choice.elevationsOnly = c.elevationsOnly;
    answerWriteFileAs(choice);
    SeenOptions seen;
    if (c.accepted)
        cancelSaveNoting(&seen);
    else
        td::expectMessage("Error", "Invalid entry");
    td::command(window, IDM_SELECTALL);

    if (c.accepted) {
        ASSERT_TRUE(seen.seen) << "the writer ran";
        EXPECT_EQ(seen.conversion, c.conversion);
        EXPECT_EQ(seen.elevationsOnly, c.elevationsOnly ? 1 : 0);
        if (c.conversion == Conversion::Factor)
            EXPECT_EQ(seen.factor, c.factor);
        else
            EXPECT_EQ(seen.factor, 99.0f);  // the edit is not read
    } else {
        EXPECT_EQ(messagesWithCaption("Save As"), 0) << "the writer never ran";
        EXPECT_EQ(g_conversion, Conversion::Factor);
    }
    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_EQ(g_elevationsOnly, 0);  // the writer or the refusal ends with it cleared
    EXPECT_TRUE(onlyFileIn(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ConversionTest,
    ::testing::Values(
        ConversionCase{"Factor", IDC_CONV_FACTOR, "2.5", false, true, Conversion::Factor, 2.5f},
        ConversionCase{"FactorLeadingBlanks", IDC_CONV_FACTOR, "  2.5", false, true, Conversion::Factor, 2.5f},
        ConversionCase{"FactorExponent", IDC_CONV_FACTOR, "1e2", false, true, Conversion::Factor, 100.0f},
        ConversionCase{"FactorCutToSixCharacters", IDC_CONV_FACTOR, "1.23456", false, true, Conversion::Factor,
                       1.2345f},
        ConversionCase{"FactorCutBeforeALetter", IDC_CONV_FACTOR, "1.2345x", false, true, Conversion::Factor, 1.2345f},
        ConversionCase{"FactorNegative", IDC_CONV_FACTOR, "-0.5", true, true, Conversion::Factor, -0.5f},
        // A factor of 0 would write every value as 0.
        ConversionCase{"FactorEmptiedIsRefused", IDC_CONV_FACTOR, "\b", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorZero", IDC_CONV_FACTOR, "-0.0", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorBelowSinglePrecision", IDC_CONV_FACTOR, "1e-50", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorPresetText", IDC_CONV_FACTOR, nullptr, false, false, Conversion::Factor, 0},
        ConversionCase{"FactorThenLetter", IDC_CONV_FACTOR, "2.5a", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorThenBlank", IDC_CONV_FACTOR, "2.5 ", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorOnlyBlanks", IDC_CONV_FACTOR, "  ", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorNan", IDC_CONV_FACTOR, "nan", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorInfinity", IDC_CONV_FACTOR, "-inf", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorBeyondSinglePrecision", IDC_CONV_FACTOR, "1e39", false, false, Conversion::Factor, 0},
        ConversionCase{"FactorLargestInSinglePrecision", IDC_CONV_FACTOR, "3e38", false, true, Conversion::Factor,
                       3e38f},
        ConversionCase{"MetresToFeetIgnoresTheEdit", IDC_CONV_M2FT, nullptr, false, true, Conversion::MetresToFeet, 0},
        ConversionCase{"MetresToFeetElevationsOnly", IDC_CONV_M2FT, "junk", true, true, Conversion::MetresToFeet, 0},
        ConversionCase{"FeetToMetres", IDC_CONV_FT2M, nullptr, false, true, Conversion::FeetToMetres, 0}),
    [](const ::testing::TestParamInfo<ConversionCase>& info) { return info.param.name; });
