// The one hook between the layer and what it runs on: every modal window, every wait of
// the loop and every move of the real pointer goes through the desktop installed.
#include <commdlg.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <QCursor>

#include <string>
#include <vector>

#include "platform/src/desktop.h"
#include "platform/src/modal.h"
#include "resource.h"
#include "testdriver.h"
#include "windowTestWindow.h"

namespace {

// Passes everything on to the driver's desktop, recording what it was asked; it may claim
// to move the real pointer.
class RecordingDesktop : public layer::Desktop {
public:
    explicit RecordingDesktop(layer::Desktop& inner) : inner_(inner) {}

    bool showsWindows() const override { return inner_.showsWindows(); }
    bool movesPointer() const override { return movesPointer_; }
    void runModal(layer::ModalWindow& window, const std::function<void()>& runOnScreen) override {
        calls.push_back("modal " + window.caption());
        inner_.runModal(window, runOnScreen);
    }
    void waitForMessage() override {
        calls.push_back("wait");
        inner_.waitForMessage();
    }
    void reportMisuse(const std::string& what) override { inner_.reportMisuse(what); }

    std::vector<std::string> calls;
    bool movesPointer_ = false;

private:
    layer::Desktop& inner_;
};

class DesktopTest : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        layer::setDesktop(&recording);
    }
    void TearDown() override {
        layer::setDesktop(&driver);
        td::checkDone();
        TestWindow::TearDown();
    }

    layer::Desktop& driver = layer::desktop();
    RecordingDesktop recording{driver};
};

INT_PTR CALLBACK endOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) EndDialog(dialog, LOWORD(wParam));
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

}  // namespace

TEST_F(DesktopTest, EveryModalWindowAndEveryWaitGoesThroughTheDesktop) {
    td::expectMessage("Box", "text");
    MessageBoxA(window, "text", "Box", MB_OK);
    td::expectModal([](td::Modal& m) { m.click(IDCANCEL); });
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), window, endOnCommand, 0),
              IDCANCEL);
    char name[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    td::expectModal([](td::Modal& m) { m.cancel(); });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    // Nothing is queued: the wait is the desktop's, which here ends the loop.
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ(static_cast<int>(msg.wParam), -99);
    EXPECT_EQ(recording.calls, (std::vector<std::string>{"modal Box", "modal Swap Fields", "modal Open", "wait"}));
}

TEST_F(DesktopTest, TheRealPointerIsMovedOnlyWhenTheDesktopMovesIt) {
    POINT topLeft = {100, 100};
    ClientToScreen(window, &topLeft);
    RECT clip;
    SetRect(&clip, topLeft.x, topLeft.y, topLeft.x + 50, topLeft.y + 50);
    QCursor::setPos(0, 0);
    ASSERT_EQ(QCursor::pos(), QPoint(0, 0));
    ClipCursor(&clip);
    EXPECT_EQ(QCursor::pos(), QPoint(0, 0));
    ClipCursor(NULL);

    recording.movesPointer_ = true;
    ClipCursor(&clip);
    EXPECT_EQ(QCursor::pos(), QPoint(topLeft.x, topLeft.y));
}
