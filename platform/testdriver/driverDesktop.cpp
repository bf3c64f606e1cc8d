// The driver's desktop: nothing is shown and the real pointer is never moved; a modal
// window is shown without its loop and answered by the test; an empty queue runs the
// test's next step, and with none left ends the loop, so that no test can wait forever.
#include "driverDesktop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "desktop.h"
#include "layer.h"
#include "modal.h"

namespace td::internal {
namespace {

constexpr int kNoStepLeft = -99;  // the quit code of a loop the test has no step left for

std::function<bool()> g_idleHook;

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

    void reportMisuse(const std::string& what) override { ADD_FAILURE() << what; }
};

DriverDesktop g_desktop;

}  // namespace

void installDesktop() { layer::setDesktop(&g_desktop); }

void setIdleHook(std::function<bool()> hook) { g_idleHook = std::move(hook); }

}  // namespace td::internal
