// The test driver's half of the layer's desktop (platform/src/desktop.h): headless, modal
// windows answered by the handlers a test queued, the loop's idle time given to the test's
// steps. Internal to the driver.
#ifndef SKERROW_TESTDRIVER_DRIVERDESKTOP_H
#define SKERROW_TESTDRIVER_DRIVERDESKTOP_H

#include <functional>

namespace layer {
class ModalWindow;
}

namespace td::internal {

// Installs the driver's desktop in the layer; td::startLayer calls it before the layer starts.
void installDesktop();
// Runs the next queued handler on a modal window that is ready (driverModal.cpp).
void answerModal(layer::ModalWindow& window);
// What GetMessageA does when the queue is empty: run the hook (runMessageLoop's next step);
// with none, or when it returns false, the loop gets WM_QUIT with code -99.
void setIdleHook(std::function<bool()> hook);
// An action td::atPeek scheduled is running inside a PeekMessageA call: what the driver's
// user actions post stays queued for the program.
bool runningPeekAction();
// Fails the current test for every td::atPeek action whose call never came, and drops them.
void checkPeekActionsDone();

}  // namespace td::internal

#endif
