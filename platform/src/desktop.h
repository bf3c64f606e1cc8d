// What the layer's windows meet outside the program: a screen with a person at it, or the
// test driver's stand-in for both. Every place where the two differ asks the one desktop
// installed; the layer's default is the screen, and td::startLayer installs the driver's.
#ifndef SKERROW_PLATFORM_DESKTOP_H
#define SKERROW_PLATFORM_DESKTOP_H

#include <functional>
#include <string>

namespace layer {

class ModalWindow;

class Desktop {
public:
    virtual ~Desktop() = default;

    // Windows are put on a screen: raised and activated when shown, repainted from their
    // back buffers, their owners activated again after a modal window. Without a screen the
    // back buffers are what is read, and nothing is refreshed.
    virtual bool showsWindows() const = 0;
    // The real pointer is moved back into the ClipCursor rectangle.
    virtual bool movesPointer() const = 0;

    // Runs a modal window that is set up, until it is answered. runOnScreen runs the Qt
    // window's own loop, for a person to answer; window is the same window as the driver
    // acts on it.
    virtual void runModal(ModalWindow& window, const std::function<void()>& runOnScreen) = 0;

    // GetMessageA found the queue empty; returns once something is queued.
    virtual void waitForMessage() = 0;
    // PeekMessageA lets the world act without waiting: on a screen Qt handles the events it
    // holds (windows repaint, menus answer, input becomes messages); never a nested loop of
    // the program's messages.
    virtual void peek() = 0;

    // A driver action on a modal window that the window does not offer, or one made after
    // it closed.
    virtual void reportMisuse(const std::string& what) = 0;
};

// The desktop installed: the driver's in tests, the screen otherwise.
Desktop& desktop();
// Installs a desktop (not owned); nullptr puts the screen back.
void setDesktop(Desktop* desktop);

}  // namespace layer

#endif
