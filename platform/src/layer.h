// Internals shared by the files of the platform layer. Not seen by the program.
#ifndef SKERROW_PLATFORM_LAYER_H
#define SKERROW_PLATFORM_LAYER_H

#include <windows.h>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

struct HMENU__;

// A window of the layer: the main window (a registered class), a dialog, or a dialog control.
struct HWND__ {
    enum Kind { TopLevel, Dialog, Control } kind = TopLevel;
    QPointer<QWidget> widget;   // the Qt widget that shows it
    WNDPROC wndProc = nullptr;  // TopLevel
    DLGPROC dlgProc = nullptr;  // Dialog
    HWND parent = nullptr;      // Control: its dialog; Dialog: its owner
    int id = 0;                 // Control id
    DWORD style = 0;
    HMENU menu = nullptr;  // TopLevel with a class menu
    QImage backBuffer;     // TopLevel: the client area, QImage::Format_RGB32
    bool destroyed = false;
    bool ended = false;    // Dialog: EndDialog was called
    INT_PTR result = 0;    // Dialog: the EndDialog value
    void* data = nullptr;  // owned by the file that created the window
};

namespace layer {

// Prints "Skerrow platform layer: <what> is not implemented" to stderr and aborts.
[[noreturn]] void unsupported(const std::string& what);

// Starts Qt once (QApplication). entry.cpp calls it; so does the test driver, after it
// installed its desktop (desktop.h).
void start(int& argc, char** argv);

// The thread's message queue (posted messages, and input turned into messages).
void post(const MSG& msg);
bool takeMessage(MSG* msg);  // pops the oldest message; false when the queue is empty
bool peekMessage(MSG* msg);  // copies the oldest message and leaves it; false when there is none
bool hasMessages();
// Called by GetMessageA when the queue is empty: brings changed windows to the screen, then
// lets the desktop wait until a message is queued.
void waitForMessages();
// Called by PeekMessageA before it looks at the queue: brings changed windows to the screen
// and lets the desktop act without waiting.
void letEventsIn();
// Brings each window whose back buffer changed up to date on the screen (when the desktop
// shows windows), one update() per window.
void refreshChangedWindows();

// The thread's last error, as GetLastError reports it (kernel.cpp).
void setLastError(DWORD error);

// Is this a live window handle of the layer?
bool isWindow(HWND hwnd);
// The top-level window's back buffer changed: bring the screen up to date when the
// program next waits for messages.
void invalidate(HWND hwnd);

// The current stock cursor id (IDC_ARROW or IDC_WAIT as an integer resource id).
int currentCursorId();
// ClipCursor state in screen coordinates; false when the cursor is free.
bool cursorClip(RECT* rect);
HWND captureWindow();

}  // namespace layer

#endif
