// Message boxes: exact texts and captions, and the button each answer gives back.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "testdriver.h"

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override { td::checkDone(); }
};

struct AnswerRow {
    std::string name;
    UINT type;
    int answer;
    int result;
};

std::ostream& operator<<(std::ostream& out, const AnswerRow& row) { return out << row.name; }

class MessageBoxAnswer : public MessageBoxTest, public ::testing::WithParamInterface<AnswerRow> {};

TEST_P(MessageBoxAnswer, ReturnsTheButtonPressed) {
    const AnswerRow& row = GetParam();
    const char* text = "This file can't be reduced\n        or already has been.";
    HWND owner = reinterpret_cast<HWND>(0x1234);  // only passed through to the driver
    td::expectModal([&](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::MessageBox);
        EXPECT_EQ(m.caption(), "Sorry");
        EXPECT_EQ(m.text(), text);
        EXPECT_EQ(m.style(), row.type);
        EXPECT_EQ(m.owner(), owner);
        m.answer(row.answer);
    });
    EXPECT_EQ(MessageBoxA(owner, text, "Sorry", row.type), row.result);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MessageBoxAnswer,
    ::testing::Values(AnswerRow{"OkBox", MB_OK, IDOK, IDOK},
                      AnswerRow{"ExclamationOkBox", MB_OK | MB_ICONEXCLAMATION, IDOK, IDOK},
                      AnswerRow{"CloseBoxOfAnOkBoxGivesOk", MB_OK | MB_ICONEXCLAMATION, IDCANCEL, IDOK},
                      AnswerRow{"Yes", MB_YESNO, IDYES, IDYES}, AnswerRow{"No", MB_YESNO, IDNO, IDNO},
                      AnswerRow{"YesWithIcon", MB_YESNO | MB_ICONEXCLAMATION, IDYES, IDYES}),
    [](const ::testing::TestParamInfo<AnswerRow>& info) { return info.param.name; });

TEST_F(MessageBoxTest, TextKeepsBlanksAndLineFeedsExactly) {
    const std::string text =
        "This program doesn't automatically repaint the screen.\nClick Redraw on the menu if you lose any screen "
        "points.\n\nSelect AreaType and drag area around points to write.   ";
    td::expectMessage("Note:", text);
    EXPECT_EQ(MessageBoxA(NULL, text.c_str(), "Note:", MB_OK), IDOK);
}

TEST_F(MessageBoxTest, NullCaptionIsError) {
    td::expectMessage("Error", "Invalid entry");
    EXPECT_EQ(MessageBoxA(NULL, "Invalid entry", NULL, MB_OK | MB_ICONEXCLAMATION), IDOK);
}

TEST_F(MessageBoxTest, YesNoBoxHasNoWorkingCloseBox) {
    int result = 0;
    td::expectModal([](td::Modal& m) { m.answer(IDCANCEL); });
    EXPECT_NONFATAL_FAILURE(result = MessageBoxA(NULL, "Go on?", "Notice", MB_YESNO), "modal window left open: Notice");
    EXPECT_EQ(result, IDNO);
}

TEST_F(MessageBoxTest, AButtonTheBoxLacksLeavesItOpen) {
    int result = 0;
    td::expectModal([](td::Modal& m) { m.answer(IDYES); });
    EXPECT_NONFATAL_FAILURE(result = MessageBoxA(NULL, "Done", "File Saved", MB_OK),
                            "modal window left open: File Saved");
    EXPECT_EQ(result, IDOK);
}

TEST_F(MessageBoxTest, UnexpectedBoxIsAFailureAndGivesTheSafeAnswer) {
    int result = 0;
    EXPECT_NONFATAL_FAILURE(result = MessageBoxA(NULL, "Proceed?", "Notice", MB_YESNO),
                            "unexpected modal window: Notice Proceed?");
    EXPECT_EQ(result, IDNO);
    EXPECT_NONFATAL_FAILURE(result = MessageBoxA(NULL, "Saved.", "File Saved", MB_OK),
                            "unexpected modal window: File Saved Saved.");
    EXPECT_EQ(result, IDOK);
}

TEST_F(MessageBoxTest, UnsupportedTypeAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(MessageBoxA(NULL, "x", "y", 0x00000001L /* MB_OKCANCEL */), "MessageBoxA type 1 is not implemented");
    EXPECT_DEATH(MessageBoxA(NULL, "x", "y", 0x00000010L /* MB_ICONHAND */), "MessageBoxA type 16 is not implemented");
}

}  // namespace
