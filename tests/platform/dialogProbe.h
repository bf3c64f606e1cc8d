// A dialog procedure for the layer's dialog tests: it records every message it gets and
// ends the dialog on IDOK and IDCANCEL with that id, unless a test gives it other rules.
// Also a template of its own with two radio groups, a digits-only edit and a plain edit.
#ifndef SKERROW_TESTS_PLATFORM_DIALOGPROBE_H
#define SKERROW_TESTS_PLATFORM_DIALOGPROBE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/src/resourceScript.h"
#include "testdriver.h"

namespace probe {

struct Message {
    HWND dialog;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Message>& messages() {
    static std::vector<Message> recorded;
    return recorded;
}
inline HWND& dialog() {
    static HWND current = nullptr;
    return current;
}
// Replaces the default rules; return what the procedure returns.
inline std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>& rules() {
    static std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> custom;
    return custom;
}

inline INT_PTR CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    messages().push_back({hwnd, message, wParam, lParam});
    if (message == WM_INITDIALOG) dialog() = hwnd;
    if (rules()) return rules()(hwnd, message, wParam, lParam);
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The WM_COMMAND messages received, as (id, notification code, control).
struct Command {
    int id;
    int code;
    HWND control;
};
inline std::vector<Command> commands() {
    std::vector<Command> found;
    for (const Message& m : messages())
        if (m.message == WM_COMMAND)
            found.push_back({LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HWND>(m.lParam)});
    return found;
}

// Template 900: two radio groups (11-12 and 21-22), a digits-only edit 31, a plain edit 32,
// push button 41, OK (default) and Cancel. Template 901: the same frame with a disabled
// Cancel and no default button.
const int kProbe = 900;
const int kProbeDisabledCancel = 901;

inline void loadProbeTemplates() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    const std::string frame =
        " DIALOG 20, 30, 160, 100\n"
        "STYLE 0x40L | 0x80L | 0x80000000L | 0x00C00000L | 0x00080000L\n"
        "CAPTION \"Probe\"\n"
        "FONT 8, \"MS Sans Serif\"\n";
    layer::loadScript("900" + frame +
                      "BEGIN\n"
                      "  AUTORADIOBUTTON \"A1\", 11, 5, 5, 40, 12\n"
                      "  AUTORADIOBUTTON \"A2\", 12, 5, 20, 40, 12\n"
                      "  AUTORADIOBUTTON \"B1\", 21, 60, 5, 40, 12, 0x00020000L\n"
                      "  AUTORADIOBUTTON \"B2\", 22, 60, 20, 40, 12\n"
                      "  EDITTEXT 31, 5, 40, 40, 12, 0x2000L\n"
                      "  EDITTEXT 32, 60, 40, 40, 12\n"
                      "  PUSHBUTTON \"Apply\", 41, 110, 5, 40, 14\n"
                      "  DEFPUSHBUTTON \"OK\", 1, 30, 80, 40, 14\n"
                      "  PUSHBUTTON \"Cancel\", 2, 90, 80, 40, 14\n"
                      "END\n"
                      "901" +
                      frame +
                      "BEGIN\n"
                      "  EDITTEXT 32, 60, 40, 40, 12\n"
                      "  PUSHBUTTON \"OK\", 1, 30, 80, 40, 14\n"
                      "  PUSHBUTTON \"Cancel\", 2, 90, 80, 40, 14, 0x08000000L\n"
                      "END\n");
}

// Shows a template with the probe procedure; the handler answers it.
inline INT_PTR show(int templateId, td::Handler handler, LPARAM param = 0) {
    td::expectModal(std::move(handler));
    return DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(templateId), NULL, procedure, param);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        loadProbeTemplates();
        messages().clear();
        dialog() = nullptr;
        rules() = nullptr;
    }
    void TearDown() override {
        rules() = nullptr;
        td::checkDone();
    }
};

}  // namespace probe

#endif
