// The layer's process-wide state: the Qt application, the thread's message queue and
// the refresh of windows whose back buffer changed.
#include "layer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "topLevel.h"

namespace {

QApplication* s_application = nullptr;
bool s_testMode = false;
std::deque<MSG> s_queue;
std::function<bool()> s_idleHook;
std::vector<HWND> s_dirty;

// Real mode: one update() per changed window, just before the program waits.
void refreshChangedWindows() {
    std::vector<HWND> dirty;
    dirty.swap(s_dirty);
    if (s_testMode) return;  // nothing is shown; the driver reads the back buffer itself
    for (HWND hwnd : dirty)
        if (layer::TopLevel* window = layer::topLevel(hwnd)) window->client->update();
}

}  // namespace

namespace layer {

void unsupported(const std::string& what) {
    std::fprintf(stderr, "Skerrow platform layer: %s is not implemented\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void start(int& argc, char** argv, bool testMode) {
    if (s_application) return;
    s_testMode = testMode;
    // Tests are headless whatever the environment says about displays.
    if (testMode && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    s_application = new QApplication(argc, argv);
    // QApplication takes the user's locale for everything; point files and the numbers
    // written always use the decimal point, whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    // Windows close only through WM_CLOSE and DestroyWindow; Qt must not end anything itself.
    QApplication::setQuitOnLastWindowClosed(false);
}

bool testMode() { return s_testMode; }

void post(const MSG& msg) { s_queue.push_back(msg); }

bool takeMessage(MSG* msg) {
    if (s_queue.empty()) return false;
    *msg = s_queue.front();
    s_queue.pop_front();
    return true;
}

void waitForMessages() {
    if (!s_application) unsupported("GetMessageA: a message loop before the layer was started");
    refreshChangedWindows();
    if (s_testMode) {
        // Input that Qt still holds becomes messages first; only then is the queue idle.
        QCoreApplication::processEvents();
        if (!s_queue.empty()) return;
        bool ranStep = s_idleHook && s_idleHook();
        if (!ranStep) {
            MSG quit = {};
            quit.message = WM_QUIT;
            quit.wParam = static_cast<WPARAM>(-99);
            post(quit);
        }
        return;
    }
    while (s_queue.empty()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        refreshChangedWindows();
    }
}

void setIdleHook(std::function<bool()> hook) { s_idleHook = std::move(hook); }

void invalidate(HWND hwnd) {
    // The window drawn in last is the one most often drawn in again.
    if (!s_dirty.empty() && s_dirty.back() == hwnd) return;
    if (std::find(s_dirty.begin(), s_dirty.end(), hwnd) != s_dirty.end()) return;
    // Real mode: the first change also asks for a refresh from whichever event loop runs
    // next, so that a modal dialog's own loop shows what was drawn before it opened.
    if (s_dirty.empty() && !s_testMode && s_application)
        QMetaObject::invokeMethod(s_application, &refreshChangedWindows, Qt::QueuedConnection);
    s_dirty.push_back(hwnd);
}

}  // namespace layer
