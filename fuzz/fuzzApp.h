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

// Starts the layer headless in test mode and creates the main window, once per process.
inline HWND startApp(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    layer::start(*argc, *argv, true);
    layer::setModalDriver(
        [](layer::ModalWindow& window) {
            if (window.kind() == td::ModalKind::MessageBox)
                shownMessages().push_back({window.caption(), window.text()});
            FUZZ_CHECK(static_cast<bool>(modalAnswer()), "an answer is set");
            modalAnswer()(window);
            if (window.isOpen()) {
                std::fprintf(stderr, "left open: %s\n", window.caption().c_str());
                std::abort();
            }
        },
        [](const std::string& what) {
            std::fprintf(stderr, "layer report: %s\n", what.c_str());
            std::abort();
        });
    HWND window = createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL);
    FUZZ_CHECK(window != NULL, "the main window is created");
    return window;
}

}  // namespace fuzz

#endif
