// The one hook between the layer and what it runs on: every modal window, every wait of
// the loop and every move of the real pointer goes through the desktop installed.
#include <commdlg.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>

#include <string>
#include <vector>

#include "platform/src/desktop.h"
#include "platform/src/modal.h"
#include "platform/src/topLevel.h"
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
    void peek() override {
        calls.push_back("peek");
        inner_.peek();
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

// The screen's desktop, for what PeekMessageA does there; nothing in these tests waits.
class ScreenPeekTest : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        g_received.clear();
        layer::setDesktop(nullptr);
    }
    void TearDown() override {
        layer::setDesktop(&driver);
        TestWindow::TearDown();
    }

    layer::Desktop& driver = layer::desktop();
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
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_FALSE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ(static_cast<int>(msg.wParam), -99);
    EXPECT_EQ(recording.calls,
              (std::vector<std::string>{"modal Box", "modal Swap Fields", "modal Open", "peek", "wait"}));
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

TEST_F(ScreenPeekTest, PeekMessageLetsQtHandleWhatItHoldsAndDispatchesNothing) {
    // Since the program last looked: a pixel drawn, a menu item chosen and a click, all
    // still held by Qt.
    QWidget* client = layer::topLevel(window)->client;
    int paints = 0;
    client->installEventFilter(new layer::EventFilter(client, [&paints](QObject*, QEvent* event) {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }));
    HDC dc = GetDC(window);
    SetPixel(dc, 5, 5, RGB(255, 0, 0));
    ReleaseDC(window, dc);
    QMetaObject::invokeMethod(layer::menuAction(GetMenu(window), IDM_REDRAW), &QAction::trigger, Qt::QueuedConnection);
    QPointF at(7, 8);
    QCoreApplication::postEvent(client, new QMouseEvent(QEvent::MouseButtonPress, at, client->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
    EXPECT_GT(paints, 0);                                    // the window shows what was drawn
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));  // the same message, taken now
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(LOWORD(msg.wParam), IDM_REDRAW);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(msg.lParam, MAKELPARAM(7, 8));
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    // Queued for the program, never run inside the peek.
    EXPECT_TRUE(g_received.empty());
}
