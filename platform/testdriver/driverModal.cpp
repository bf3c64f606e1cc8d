// The modal half of the test driver: starting the layer in test mode and answering its
// modal windows with the handlers a test queued.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

#include "driverDesktop.h"
#include "layer.h"
#include "modal.h"
#include "testdriver.h"

namespace td {
namespace {

std::deque<Handler> g_handlers;
std::vector<std::string> g_log;
Handler g_everyModal;  // answers whatever comes when no handler is queued

}  // namespace

namespace internal {

void answerModal(layer::ModalWindow& window) {
    g_log.push_back(window.caption() + ": " + window.text());
    if (g_handlers.empty() && g_everyModal) {
        Handler handler = g_everyModal;
        handler(window);
        if (window.isOpen()) ADD_FAILURE() << "modal window left open: " << window.caption();
        return;
    }
    if (g_handlers.empty()) {
        ADD_FAILURE() << "unexpected modal window: " << window.caption() << " " << window.text();
        return;
    }
    // Taken off the queue first: the handler may cause further modal windows.
    Handler handler = std::move(g_handlers.front());
    g_handlers.pop_front();
    handler(window);
    if (window.isOpen()) ADD_FAILURE() << "modal window left open: " << window.caption();
}

}  // namespace internal

void startLayer(int& argc, char** argv) {
    // Tests are headless whatever the environment says about displays.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    internal::installDesktop();
    layer::start(argc, argv);
}

void expectModal(Handler handler) { g_handlers.push_back(std::move(handler)); }

void expectMessage(const std::string& caption, const std::string& text, int answer) {
    expectModal([caption, text, answer](Modal& modal) {
        EXPECT_EQ(modal.kind(), ModalKind::MessageBox) << "expected the message box \"" << caption << "\"";
        EXPECT_EQ(modal.caption(), caption);
        EXPECT_EQ(modal.text(), text);
        if (modal.kind() == ModalKind::MessageBox) modal.answer(answer);
    });
}

void answerEveryModal(Handler handler) { g_everyModal = std::move(handler); }

void checkDone() {
    for (size_t i = 0; i < g_handlers.size(); ++i)
        ADD_FAILURE() << "a modal window was expected but never appeared (" << g_handlers.size() << " handler(s) left)";
    g_handlers.clear();
    internal::checkPeekActionsDone();
}

const std::vector<std::string>& modalLog() { return g_log; }

}  // namespace td
