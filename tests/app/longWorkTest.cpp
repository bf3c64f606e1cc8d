// Long work a user can watch and stop: while a pass runs, the window's messages keep
// flowing but commands, clicks and keys are dropped; Esc stops a write (the chosen name
// keeps its bytes) and an Open (which ends as a refused one, without a word), not the
// drawing; the caption shows the pass and its share once it runs long, and is the
// window's own again after it.
#include <filesystem>
#include <string>

#include "app/commandWatch.h"
#include "app/mainWindow.h"
#include "points/appState.h"
#include "resource.h"
#include "support/appFixture.h"
#include "support/openFiles.h"

namespace {

namespace fs = std::filesystem;

const char kPoints[] = "1000.5,2000.25,15.0\n1100,2100,16\n1200,2050,17\n";
const char kOld[] = "the points of an earlier write\r\n";

std::string caption(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class LongWorkTest : public AppTest {
protected:
    // The write of all points as copies over out, which holds earlier bytes.
    void writeAllOver(const std::string& out) {
        td::expectModal([](td::Modal& m) {
            ASSERT_EQ(m.templateId(), IDD_WRITEFILEAS);
            m.click(IDOK);
        });
        td::expectModal([out](td::Modal& m) { m.choose(out); });
        td::expectModal([](td::Modal& m) {
            EXPECT_EQ(m.caption(), "Confirm Save As");
            m.answer(IDYES);
        });
    }
};

TEST_F(LongWorkTest, EscDuringAWriteStopsItAndKeepsTheChosenFile) {
    openFile(file("points.csv", kPoints));
    ASSERT_EQ(g_viewState, ViewState::Drawn);
    const std::string own = caption(window);
    const std::string out = file("out.csv", kOld);
    writeAllOver(out);
    td::expectMessage("Stopped", "The write was stopped.\n" + out + " is as it was: nothing was written.");
    // Esc comes in the first look at the queue the write's waiting thread takes.
    td::atPeek(1, [this] { td::key(window, VK_ESCAPE); });
    td::command(window, IDM_SELECTALL);
    td::checkDone();
    EXPECT_EQ(read(out), kOld);
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find(".skerrow-"), std::string::npos) << entry.path();
    EXPECT_EQ(g_viewState, ViewState::Fitted);
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_EQ(caption(window), own);
}

TEST_F(LongWorkTest, EscDuringAnOpenEndsItWithoutAWord) {
    const std::string points = file("points.csv", kPoints);
    td::expectModal([](td::Modal& m) { m.answer(IDOK); });  // the note of the first Open
    td::expectModal([points](td::Modal& m) { m.choose(points); });
    td::atPeek(1, [this] { td::key(window, VK_ESCAPE); });
    td::command(window, IDM_OPEN);
    td::checkDone();
    EXPECT_EQ(g_viewState, ViewState::Empty);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_FALSE(heldOpen(points));
    // Redraw has nothing to draw, as after a refused Open.
    td::command(window, IDM_REDRAW);
    EXPECT_EQ(g_viewState, ViewState::Empty);
}

TEST_F(LongWorkTest, EscDuringTheDrawingIsIgnored) {
    openFile(file("points.csv", kPoints));
    const std::vector<COLORREF> drawn = td::snapshot(window);
    td::atPeek(1, [this] { td::key(window, VK_ESCAPE); });
    td::command(window, IDM_REDRAW);
    td::checkDone();
    EXPECT_EQ(g_viewState, ViewState::Drawn);
    EXPECT_EQ(td::snapshot(window), drawn);
}

// A command, a click and a key given while a pass runs reach nothing: the write goes on
// to its end, and nothing starts after it.
TEST_F(LongWorkTest, CommandsClicksAndKeysDuringAPassAreDropped) {
    openFile(file("points.csv", kPoints));
    const std::string out = file("out.csv", kOld);
    writeAllOver(out);
    td::expectMessage("File Saved", "3 points written to " + out);
    td::atPeek(1, [this] {
        td::command(window, IDM_OPEN);
        td::command(window, IDM_EXIT);
        td::click(window, (g_plotLeft + g_plotRight) / 2, (g_plotTop + g_plotBottom) / 2);
        td::key(window, VK_RETURN);
    });
    td::command(window, IDM_SELECTALL);
    td::checkDone();
    EXPECT_EQ(read(out), "1000.5,2000.25,15.0\r\n1100,2100,16\r\n1200,2050,17\r\n");
    EXPECT_TRUE(td::windowExists(window)) << "Exit reached the window";
    EXPECT_EQ(g_viewState, ViewState::Fitted);
}

TEST(ProgressCaption, NamesThePassItsShareAndTheStop) {
    EXPECT_EQ(progressCaption("Skerrow v1.0", "Writing", 45, true), "Skerrow v1.0 - Writing 45 % (Esc stops)");
    EXPECT_EQ(progressCaption("Skerrow v1.0", "Drawing", 100, false), "Skerrow v1.0 - Drawing 100 %");
}

}  // namespace
