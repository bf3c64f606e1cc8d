// Shared by the app, points, plot and output tests: the main window on the real layer,
// and scratch files in a folder of the test's own.
#ifndef SKERROW_TESTS_APPFIXTURE_H
#define SKERROW_TESTS_APPFIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/mainWindow.h"
#include "resource.h"
#include "support/scratchFolder.h"
#include "testdriver.h"

// A test with the main window open, as WinMain leaves it before its message loop.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeScratchFolder("skerrow-test-");
        window = createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL);
        ASSERT_NE(window, nullptr);
        td::pump();
    }
    void TearDown() override {
        td::checkDone();
        if (td::windowExists(window)) DestroyWindow(window);
        td::pump();
        std::filesystem::remove_all(dir);
    }

    // Writes content to a file of the test's folder and returns its full path.
    std::string file(const std::string& name, const std::string& content) {
        std::string path = (dir / name).string();
        std::ofstream out(path, std::ios::binary);
        out << content;
        return path;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Opens a point file through "&Open": the note (first Open only), the file dialog and
    // Swap Fields answered with the given choices.
    void openFile(const std::string& path, bool swap = false, bool skipHeader = false, bool firstOpen = true) {
        if (firstOpen) td::expectModal([](td::Modal& m) { m.answer(IDOK); });
        td::expectModal([path](td::Modal& m) { m.choose(path); });
        td::expectModal([swap, skipHeader](td::Modal& m) {
            if (swap) m.click(IDC_SWAP_YES);
            if (skipHeader) m.click(IDC_SKIPHEADER);
            m.click(IDOK);
        });
        td::command(window, IDM_OPEN);
    }

    std::filesystem::path dir;
    HWND window = nullptr;
};

#endif
