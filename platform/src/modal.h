// Modal windows of the layer (dialogs, message boxes, file dialogs), run by the desktop
// (desktop.h): on a screen each runs its own Qt loop until a person answers it.
//
// The test driver's desktop runs no loop: once a window is set up it is handed to the
// driver, whose handler acts on it through the td::Modal interface. Whatever the handler
// leaves open is then closed as by Cancel/Esc, so that nothing can hang.
#ifndef SKERROW_PLATFORM_MODAL_H
#define SKERROW_PLATFORM_MODAL_H

#include <windows.h>

#include <QObject>

#include <functional>
#include <string>

#include "../testdriver/testdriver.h"

class QWidget;
class QEvent;

namespace layer {

// A modal window as the driver sees it. Each kind overrides what it offers; anything
// else reports a misuse through the driver and does nothing.
class ModalWindow : public td::Modal {
public:
    virtual bool isOpen() const = 0;  // still waiting for an answer
    // The Qt window built before the window runs, which the driver shows without its loop
    // (a dialog's); nullptr for the message box and file dialogs, which build theirs only
    // to run on a screen.
    virtual QWidget* widget() const { return nullptr; }

    std::string text() const override;
    UINT style() const override;
    void answer(int id) override;
    int templateId() const override;
    std::string itemText(int id) const override;
    bool isChecked(int id) const override;
    bool isEnabled(int id) const override;
    bool hasFocus(int id) const override;
    RECT itemRect(int id) const override;
    void click(int id) override;
    void type(int id, const std::string& text) override;
    void pressEnter() override;
    void pressEscape() override;
    void pressKey(td::Key key) override;
    void closeBox() override;
    std::string filter() const override;
    std::string defaultExtension() const override;
    DWORD flags() const override;
    void choose(const std::string& path) override;
    void cancel() override;

protected:
    // Reports a call that this kind of window does not support, or one made after the
    // window closed.
    void misuse(const std::string& what) const;
    // True when the window is open; otherwise reports the action as a misuse.
    bool openFor(const char* action) const;
};

// Runs a modal window that is set up until it is answered, through the desktop:
// runOnScreen runs its Qt loop on a screen.
void runModal(ModalWindow& window, const std::function<void()>& runOnScreen);
// A modal window is running (a dialog, message box or file dialog, nested or not).
bool modalWindowOpen();

// MessageBoxA with an explicit Qt parent, for boxes a window without a handle of its own
// (the file dialog) shows; nullptr shows the box over the owner's widget. owner is what
// the driver is told.
int messageBox(HWND owner, QWidget* parent, LPCSTR text, LPCSTR caption, UINT type);

// Once a modal window has closed, on a screen: activates the owner's window and gives it
// the keyboard focus, as Windows activates the owner of a dialog that ends. The X server
// would otherwise hand the focus to the root window.
void activateOwner(QWidget* owner);

// The Qt widget that shows a window handle of the layer, or nullptr.
QWidget* widgetOf(HWND hwnd);

// An event filter that runs a function; the function returns true to swallow the event.
class EventFilter : public QObject {
public:
    EventFilter(QObject* parent, std::function<bool(QObject*, QEvent*)> filter);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QObject*, QEvent*)> filter_;
};

// Bytes of the program's narrow strings are Latin-1 on the way in and out, so that
// every byte survives a round trip through a widget.
QString fromBytes(const char* text);
std::string toBytes(const QString& text);

}  // namespace layer

#endif
