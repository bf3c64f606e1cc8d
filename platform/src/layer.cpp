// The layer's process-wide state: the Qt application, the thread's message queue and
// the refresh of windows whose back buffer changed.
#include "layer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "desktop.h"
#include "topLevel.h"

namespace {

QApplication* s_application = nullptr;
std::deque<MSG> s_queue;
std::vector<HWND> s_dirty;

// The default desktop: a screen, and a person who answers modal windows there.
class ScreenDesktop : public layer::Desktop {
public:
    bool showsWindows() const override { return true; }
    bool movesPointer() const override { return true; }
    void runModal(layer::ModalWindow&, const std::function<void()>& runOnScreen) override { runOnScreen(); }
    void waitForMessage() override {
        while (s_queue.empty()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            layer::refreshChangedWindows();
        }
    }
    void peek() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
    void reportMisuse(const std::string& what) override {
        // Only the driver acts on the model of a modal window; nothing on a screen gets here.
        std::fprintf(stderr, "Skerrow platform layer: %s\n", what.c_str());
    }
};

ScreenDesktop s_screen;
layer::Desktop* s_desktop = &s_screen;

}  // namespace

namespace layer {

void unsupported(const std::string& what) {
    std::fprintf(stderr, "Skerrow platform layer: %s is not implemented\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

void start(int& argc, char** argv) {
    if (s_application) return;
    // A write past a file-size limit, or into a pipe without a reader, fails with an error
    // (EFBIG, EPIPE) that WriteFile reports, as Windows reports it; the signals would end
    // the process instead.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    s_application = new QApplication(argc, argv);
    // QApplication takes the user's locale for everything; point files and the numbers
    // written always use the decimal point, whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    // Windows close only through WM_CLOSE and DestroyWindow; Qt must not end anything itself.
    QApplication::setQuitOnLastWindowClosed(false);
}

Desktop& desktop() { return *s_desktop; }

void setDesktop(Desktop* desktop) { s_desktop = desktop ? desktop : &s_screen; }

void post(const MSG& msg) { s_queue.push_back(msg); }

bool takeMessage(MSG* msg) {
    if (s_queue.empty()) return false;
    *msg = s_queue.front();
    s_queue.pop_front();
    return true;
}

bool peekMessage(MSG* msg) {
    if (s_queue.empty()) return false;
    *msg = s_queue.front();
    return true;
}

bool hasMessages() { return !s_queue.empty(); }

void waitForMessages() {
    if (!s_application) unsupported("GetMessageA: a message loop before the layer was started");
    refreshChangedWindows();
    desktop().waitForMessage();
}

void letEventsIn() {
    if (!s_application) unsupported("PeekMessageA: a message loop before the layer was started");
    // The updates asked for here are painted by the events handled next.
    refreshChangedWindows();
    desktop().peek();
}

// One update() per changed window, just before the program waits.
void refreshChangedWindows() {
    std::vector<HWND> dirty;
    dirty.swap(s_dirty);
    if (!desktop().showsWindows()) return;  // nothing is shown; the driver reads the back buffer itself
    for (HWND hwnd : dirty)
        if (TopLevel* window = topLevel(hwnd)) window->client->update();
}

void invalidate(HWND hwnd) {
    // The window drawn in last is the one most often drawn in again.
    if (!s_dirty.empty() && s_dirty.back() == hwnd) return;
    if (std::find(s_dirty.begin(), s_dirty.end(), hwnd) != s_dirty.end()) return;
    // On a screen, the first change also asks for a refresh from whichever event loop runs
    // next, so that a modal dialog's own loop shows what was drawn before it opened.
    if (s_dirty.empty() && desktop().showsWindows() && s_application)
        QMetaObject::invokeMethod(s_application, &refreshChangedWindows, Qt::QueuedConnection);
    s_dirty.push_back(hwnd);
}

}  // namespace layer
