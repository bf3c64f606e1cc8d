// The driver's handling of modal windows: handlers answer in order, mismatches and
// leftovers are failures, and every modal window is logged.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "dialogProbe.h"
#include "resource.h"
#include "testdriver.h"

namespace {

using DriverModalTest = probe::DialogTest;

// The failures a statement causes, for statements expected to cause more than one.
std::vector<std::string> failuresOf(const std::function<void()>& statement) {
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        statement();
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i) messages.push_back(results.GetTestPartResult(i).message());
    return messages;
}

bool anyContains(const std::vector<std::string>& messages, const std::string& part) {
    for (const std::string& m : messages)
        if (m.find(part) != std::string::npos) return true;
    return false;
}

TEST_F(DriverModalTest, HandlersAnswerInQueueOrderAlsoWhenNested) {
    // The dialog's OK shows a message box while the dialog's own handler still runs.
    probe::rules() = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            int answer = MessageBoxA(hwnd, "Sure?", "Notice", MB_YESNO);
            EndDialog(hwnd, answer);
        }
        return message == WM_INITDIALOG || message == WM_COMMAND;
    };
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.caption(), "Swap Fields");
        m.click(IDOK);
    });
    td::expectMessage("Notice", "Sure?", IDYES);
    td::expectMessage("Second", "After");
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), NULL, probe::procedure, 0);
    EXPECT_EQ(result, IDYES);
    EXPECT_EQ(MessageBoxA(NULL, "After", "Second", MB_OK), IDOK);

    const std::vector<std::string>& log = td::modalLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], "Swap Fields: ");
    EXPECT_EQ(log[log.size() - 2], "Notice: Sure?");
    EXPECT_EQ(log[log.size() - 1], "Second: After");
}

TEST_F(DriverModalTest, ExpectMessageFailsOnAnotherCaptionOrText) {
    td::expectMessage("Error", "Invalid entry");
    EXPECT_NONFATAL_FAILURE(MessageBoxA(NULL, "Invalid entry", "Sorry", MB_OK), "Sorry");
    td::expectMessage("Error", "Invalid entry");
    EXPECT_NONFATAL_FAILURE(MessageBoxA(NULL, "Invalid entry ", "Error", MB_OK), "Invalid entry ");
}

TEST_F(DriverModalTest, ExpectMessageMetByADialogFailsAndLeavesItToBeCancelled) {
    INT_PTR result = 0;
    td::expectMessage("Swap Fields", "");
    std::vector<std::string> failures = failuresOf([&] {
        result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), NULL, probe::procedure, 0);
    });
    EXPECT_TRUE(anyContains(failures, "expected the message box \"Swap Fields\""))
        << ::testing::PrintToString(failures);
    EXPECT_TRUE(anyContains(failures, "modal window left open: Swap Fields")) << ::testing::PrintToString(failures);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DriverModalTest, LeftoverHandlersFailCheckDoneOnceEach) {
    td::expectMessage("Never", "shown");
    td::expectModal([](td::Modal&) {});
    std::vector<std::string> failures = failuresOf([] { td::checkDone(); });
    EXPECT_EQ(failures.size(), 2u);
    EXPECT_TRUE(anyContains(failures, "never appeared"));
    EXPECT_TRUE(failuresOf([] { td::checkDone(); }).empty());  // the queue is empty now
}

TEST_F(DriverModalTest, DialogActionsOnAMessageBoxAreReported) {
    td::expectModal([](td::Modal& m) {
        m.click(IDOK);
        m.answer(IDOK);
    });
    EXPECT_NONFATAL_FAILURE(MessageBoxA(NULL, "x", "Box", MB_OK),
                            "click(1) is not possible on the message box \"Box\"");
}

TEST_F(DriverModalTest, FileActionsOnADialogAreReported) {
    probe::show(IDD_CONVERSION, [](td::Modal& m) {
        EXPECT_NONFATAL_FAILURE(m.choose("/tmp/x.csv"), "is not possible on the dialog \" Conversion\"");
        EXPECT_NONFATAL_FAILURE(m.answer(IDYES), "answer(6)");
        EXPECT_EQ(m.text(), "");
        m.click(IDCANCEL);
    });
}

TEST_F(DriverModalTest, LogShowsDialogsWithEmptyText) {
    size_t before = td::modalLog().size();
    probe::show(IDD_CONVERSION, [](td::Modal& m) { m.click(IDCANCEL); });
    ASSERT_EQ(td::modalLog().size(), before + 1);
    EXPECT_EQ(td::modalLog().back(), " Conversion: ");
}

}  // namespace
