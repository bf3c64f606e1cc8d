// Fuzz targets that drive the real program: the layer in test mode, the main window, and
// one answer function for every modal window (message boxes, dialogs, file dialogs). A
// report of the layer (a misuse, a window left open) is a finding.
#ifndef SKERROW_FUZZ_FUZZAPP_H
#define SKERROW_FUZZ_FUZZAPP_H

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/mainWindow.h"
#include "desktop.h"
#include "fuzzSupport.h"
#include "layer.h"
#include "modal.h"

namespace fuzz {

struct Shown {
    std::string caption, text;
};

inline std::function<void(layer::ModalWindow&)>& modalAnswer() {
    static std::function<void(layer::ModalWindow&)> answer;
    return answer;
}

// Message boxes shown since the last clear.
inline std::vector<Shown>& shownMessages() {
    static std::vector<Shown> shown;
    return shown;
}

// The fuzz targets' desktop: nothing shown, the pointer never moved, every modal window
// answered by modalAnswer() (and one it leaves open is a finding), an empty queue ending
// any loop, and a misuse of the layer a finding.
class FuzzDesktop : public layer::Desktop {
public:
    bool showsWindows() const override { return false; }
    bool movesPointer() const override { return false; }
    void runModal(layer::ModalWindow& window, const std::function<void()>&) override {
        if (window.kind() == td::ModalKind::MessageBox) shownMessages().push_back({window.caption(), window.text()});
        FUZZ_CHECK(static_cast<bool>(modalAnswer()), "an answer is set");
        modalAnswer()(window);
        if (window.isOpen()) {
            std::fprintf(stderr, "left open: %s\n", window.caption().c_str());
            std::abort();
        }
    }
    void waitForMessage() override { PostQuitMessage(0); }
    void peek() override {}
    void reportMisuse(const std::string& what) override {
        std::fprintf(stderr, "layer report: %s\n", what.c_str());
        std::abort();
    }
};

// Starts the layer headless with the fuzz desktop and creates the main window, once per
// process.
inline HWND startApp(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static FuzzDesktop desktop;
    layer::setDesktop(&desktop);
    layer::start(*argc, *argv);
    HWND window = createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL);
    FUZZ_CHECK(window != NULL, "the main window is created");
    return window;
}

}  // namespace fuzz

#endif
