// The driver's desktop: nothing is shown and the real pointer is never moved; a modal
// window is shown without its loop and answered by the test; an empty queue runs the
// test's next step, and with none left ends the loop, so that no test can wait forever.
// PeekMessageA never runs a step: it runs the actions a test scheduled for that call.
#include "driverDesktop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <map>
#include <vector>

#include "desktop.h"
#include "layer.h"
#include "modal.h"
#include "testdriver.h"

namespace td::internal {
namespace {

constexpr int kNoStepLeft = -99;  // the quit code of a loop the test has no step left for

std::function<bool()> g_idleHook;
int g_peekCalls = 0;
std::multimap<int, std::function<void()>> g_peekActions;  // by the PeekMessageA call they run at
bool g_inPeekAction = false;

class DriverDesktop : public layer::Desktop {
public:
    bool showsWindows() const override { return false; }
    bool movesPointer() const override { return false; }

    void runModal(layer::ModalWindow& window, const std::function<void()>&) override {
        // Shown, so that its controls take the focus as on a screen, but no loop runs.
        if (QWidget* widget = window.widget()) widget->show();
        answerModal(window);
    }

    void waitForMessage() override {
        // Input that Qt still holds becomes messages first; only then is the queue idle.
        QCoreApplication::processEvents();
        if (layer::hasMessages()) return;
        bool ranStep = g_idleHook && g_idleHook();
        if (!ranStep) PostQuitMessage(kNoStepLeft);
    }

    void peek() override {
        int call = ++g_peekCalls;
        std::vector<std::function<void()>> due;
        auto range = g_peekActions.equal_range(call);
        for (auto it = range.first; it != range.second; ++it) due.push_back(std::move(it->second));
        g_peekActions.erase(range.first, range.second);
        bool wasInAction = g_inPeekAction;
        g_inPeekAction = true;
        for (const std::function<void()>& action : due) action();
        g_inPeekAction = wasInAction;
        QCoreApplication::processEvents();
    }

    void reportMisuse(const std::string& what) override { ADD_FAILURE() << what; }
};

DriverDesktop g_desktop;

}  // namespace

void installDesktop() { layer::setDesktop(&g_desktop); }

void setIdleHook(std::function<bool()> hook) { g_idleHook = std::move(hook); }

bool runningPeekAction() { return g_inPeekAction; }

void checkPeekActionsDone() {
    for (const auto& [call, action] : g_peekActions)
        ADD_FAILURE() << "td::atPeek: PeekMessageA call " << call << " never came (" << g_peekCalls << " so far)";
    g_peekActions.clear();
}

}  // namespace td::internal

namespace td {

void atPeek(int n, std::function<void()> action) {
    if (n < 1) {
        ADD_FAILURE() << "td::atPeek: n is " << n << "; the next PeekMessageA call is 1";
        return;
    }
    internal::g_peekActions.emplace(internal::g_peekCalls + n, std::move(action));
}

int peekCalls() { return internal::g_peekCalls; }

}  // namespace td
