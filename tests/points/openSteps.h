// Answers for the modal windows of "&Open", and the state every failed Open must leave.
#ifndef SKERROW_TESTS_POINTS_OPENSTEPS_H
#define SKERROW_TESTS_POINTS_OPENSTEPS_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "points/appState.h"
#include "resource.h"
#include "support/openFiles.h"
#include "testdriver.h"

namespace openSteps {

inline const char* const kNote =
    "This program doesn't automatically repaint the screen.\n"
    "Click Redraw on the menu if you lose any screen points.\n\n"
    "Select AreaType and drag area around points to write.   ";

inline void expectNote() { td::expectMessage("Note:", kNote); }

inline void expectChoose(const std::string& path) {
    td::expectModal([path](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::OpenFile);
        m.choose(path);
    });
}

inline void expectSwapOk(bool swap = false, bool skipHeader = false) {
    td::expectModal([swap, skipHeader](td::Modal& m) {
        EXPECT_EQ(m.templateId(), IDD_SWAPFIELDS);
        if (swap) m.click(IDC_SWAP_YES);
        if (skipHeader) m.click(IDC_SKIPHEADER);
        m.click(IDOK);
    });
}

// An "Error" box owned by window, exclamation icon and OK button.
inline void expectError(HWND window, const std::string& text) {
    td::expectModal([window, text](td::Modal& m) {
        EXPECT_EQ(m.kind(), td::ModalKind::MessageBox);
        EXPECT_EQ(m.caption(), "Error");
        EXPECT_EQ(m.text(), text);
        EXPECT_EQ(m.style(), 0x30u);
        EXPECT_EQ(m.owner(), window);
        m.answer(IDOK);
    });
}

// Nothing plotted and nothing selectable, the stream closed.
inline void expectNothingSelectable(HWND window) {
    EXPECT_EQ(g_viewState, ViewState::Empty);
    EXPECT_EQ(g_selectAll, 0);
    EXPECT_FALSE(heldOpen(g_inputPath));
    EXPECT_TRUE(td::menuGrayed(window, IDM_SELECTALL));
    EXPECT_TRUE(td::menuGrayed(window, IDM_MOVEALL));
}

}  // namespace openSteps

#endif
