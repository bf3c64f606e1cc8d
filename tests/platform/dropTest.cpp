// Files dropped on the main window: only once DragAcceptFiles lets it take them; then
// WM_DROPFILES with an HDROP that answers DragQueryFileA and DragQueryPoint until
// DragFinish.
#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/src/topLevel.h"
#include "testdriver.h"
#include "windowTestWindow.h"

namespace {

class DropTest : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        g_received.clear();
    }
    // The HDROPs of the WM_DROPFILES received.
    static std::vector<HDROP> drops() {
        std::vector<HDROP> found;
        for (const ReceivedMessage& r : g_received)
            if (r.message == WM_DROPFILES) found.push_back(reinterpret_cast<HDROP>(r.wParam));
        return found;
    }
    static std::string fileName(HDROP drop, UINT i) {
        UINT length = DragQueryFileA(drop, i, NULL, 0);
        std::string name(length + 1, '\0');
        EXPECT_EQ(DragQueryFileA(drop, i, name.data(), length + 1), length);
        name.resize(length);
        return name;
    }
};

}  // namespace

TEST_F(DropTest, AWindowTakesFilesOnlyWhileItAcceptsThem) {
    td::dropFiles(window, {"/tmp/a.csv"}, {100, 100});
    EXPECT_TRUE(drops().empty());
    DragAcceptFiles(window, TRUE);
    td::dropFiles(window, {"/tmp/a.csv"}, {100, 100});
    ASSERT_EQ(drops().size(), 1u);
    DragFinish(drops()[0]);
    DragAcceptFiles(window, FALSE);
    td::dropFiles(window, {"/tmp/b.csv"}, {100, 100});
    EXPECT_EQ(drops().size(), 1u);
}

TEST_F(DropTest, TheHandleNamesEveryFileAndFolderAndWhereTheyLanded) {
    std::string folder = std::filesystem::temp_directory_path().string();
    DragAcceptFiles(window, TRUE);
    td::dropFiles(window, {"/home/ann/Survey Data/site 4.csv", "/tmp/b.csv", folder + "/"}, {120, 340});
    ASSERT_EQ(drops().size(), 1u);
    HDROP drop = drops()[0];
    EXPECT_EQ(g_received.back().lParam, 0);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0), 3u);
    EXPECT_EQ(DragQueryFileA(drop, 0, NULL, 0), 32u);
    EXPECT_EQ(fileName(drop, 0), "/home/ann/Survey Data/site 4.csv");
    EXPECT_EQ(fileName(drop, 1), "/tmp/b.csv");
    EXPECT_EQ(fileName(drop, 2), folder);  // no separator at the end, as Windows names folders
    EXPECT_EQ(DragQueryFileA(drop, 3, NULL, 0), 0u);

    // A short buffer gets the start of the name, terminated; the answer is what was copied.
    char shortBuffer[6] = "xxxxx";
    EXPECT_EQ(DragQueryFileA(drop, 1, shortBuffer, sizeof shortBuffer), 5u);
    EXPECT_STREQ(shortBuffer, "/tmp/");
    EXPECT_EQ(DragQueryFileA(drop, 1, shortBuffer, 0), 0u);
    EXPECT_STREQ(shortBuffer, "/tmp/");

    POINT at = {0, 0};
    EXPECT_TRUE(DragQueryPoint(drop, &at));
    EXPECT_EQ(at.x, 120);
    EXPECT_EQ(at.y, 340);
    DragFinish(drop);
    // The handle is gone.
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0), 0u);
    EXPECT_FALSE(DragQueryPoint(drop, &at));
}

TEST_F(DropTest, ADropOnTheMenuBarIsOutsideTheClientArea) {
    DragAcceptFiles(window, TRUE);
    td::dropFiles(window, {"/tmp/a.csv"}, {40, -10});
    ASSERT_EQ(drops().size(), 1u);
    POINT at = {0, 0};
    EXPECT_FALSE(DragQueryPoint(drops()[0], &at));
    EXPECT_EQ(at.x, 40);
    EXPECT_EQ(at.y, -10);
    DragFinish(drops()[0]);
}

TEST_F(DropTest, OnlyLocalFilesAreTakenAndTheSourceKeepsThem) {
    DragAcceptFiles(window, TRUE);
    QWidget* frame = layer::topLevel(window)->frame;
    QMimeData remote;
    remote.setUrls({QUrl::fromLocalFile("/tmp/a.csv"), QUrl("https://example.org/b.csv")});
    QDragEnterEvent refused(QPoint(50, 80), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &refused);
    EXPECT_FALSE(refused.isAccepted());
    QMimeData text;
    text.setText("/tmp/a.csv");
    QDragEnterEvent plainText(QPoint(50, 80), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &plainText);
    EXPECT_FALSE(plainText.isAccepted());

    QMimeData local;
    local.setUrls({QUrl::fromLocalFile("/tmp/a.csv")});
    QDragEnterEvent offeredToMove(QPoint(50, 80), Qt::CopyAction | Qt::MoveAction, &local, Qt::LeftButton,
                                  Qt::NoModifier);
    offeredToMove.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(frame, &offeredToMove);
    EXPECT_TRUE(offeredToMove.isAccepted());
    EXPECT_EQ(offeredToMove.dropAction(), Qt::CopyAction);
    QDragEnterEvent onlyToMove(QPoint(50, 80), Qt::MoveAction, &local, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &onlyToMove);
    EXPECT_FALSE(onlyToMove.isAccepted());
    td::pump();
    EXPECT_TRUE(drops().empty());
}

TEST_F(DropTest, NothingIsTakenWhileAModalWindowIsOpen) {
    DragAcceptFiles(window, TRUE);
    td::expectModal([this](td::Modal& m) {
        td::dropFiles(window, {"/tmp/a.csv"}, {100, 100});
        m.answer(IDOK);
    });
    MessageBoxA(window, "Busy", "Note:", MB_OK);
    td::pump();
    EXPECT_TRUE(drops().empty());
    // Once it has closed, the window takes files again.
    td::dropFiles(window, {"/tmp/a.csv"}, {100, 100});
    ASSERT_EQ(drops().size(), 1u);
    DragFinish(drops()[0]);
}
