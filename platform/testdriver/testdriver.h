// Test driver for the platform layer: tests act as a user would on the real layer,
// headless (QT_QPA_PLATFORM=offscreen). Linked only into tests, with GoogleTest.
//
// Modal windows (dialogs, message boxes, file dialogs) are answered by handlers queued
// beforehand with expectModal()/expectMessage(); each modal window that appears takes the
// next handler. A modal window with no handler left, or one its handler leaves open, is a
// test failure naming its caption and text, and is then closed as by Cancel/Esc so that no
// test can hang. Handlers still queued when the test ends are failures too (checkDone()).
#ifndef SKERROW_TESTDRIVER_H
#define SKERROW_TESTDRIVER_H

#include <commdlg.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace td {

// Starts the layer once per process in test mode. Call from the test main before
// RUN_ALL_TESTS (the driver's gtest main, skerrow_test_main, does it).
void startLayer(int& argc, char** argv);

enum class ModalKind { Dialog, MessageBox, OpenFile, SaveFile };
enum class Key { Tab, ShiftTab, Left, Right, Up, Down, Space };

// A modal window as the user sees it, handed to the handler that answers it.
class Modal {
public:
    virtual ~Modal() = default;
    virtual ModalKind kind() const = 0;
    virtual std::string caption() const = 0;  // dialog or message box caption, file dialog title
    virtual HWND owner() const = 0;

    // Message boxes
    virtual std::string text() const = 0;  // the message text, exactly as passed
    virtual UINT style() const = 0;        // MB_ flags
    virtual void answer(int id) = 0;       // IDOK, IDYES or IDNO (IDCANCEL for the close box)

    // Dialogs (ids as in the template)
    virtual int templateId() const = 0;
    virtual std::string itemText(int id) const = 0;
    virtual bool isChecked(int id) const = 0;
    virtual bool isEnabled(int id) const = 0;
    virtual bool hasFocus(int id) const = 0;
    virtual RECT itemRect(int id) const = 0;                 // pixels, relative to the dialog's client area
    virtual void click(int id) = 0;                          // button, radio or check box, as a mouse click
    virtual void type(int id, const std::string& text) = 0;  // select all in the edit and type text key by key
    virtual void pressEnter() = 0;                           // the default button
    virtual void pressEscape() = 0;                          // arrives as IDCANCEL
    virtual void pressKey(Key key) = 0;                      // to the control with the focus
    virtual void closeBox() = 0;                             // arrives as IDCANCEL

    // File dialogs
    virtual std::string filter() const = 0;  // the filter pairs joined with '|', e.g. "Point Files (*.csv)|*.csv"
    virtual std::string defaultExtension() const = 0;
    virtual DWORD flags() const = 0;
    virtual void choose(const std::string& path) = 0;  // typed into the name box, then Open/Save pressed
    virtual void cancel() = 0;
};

using Handler = std::function<void(Modal&)>;

// Queue the answer to the next modal window.
void expectModal(Handler handler);
// Queue the answer to the next modal window, which must be a message box with exactly
// this caption and text; it is answered with the given button.
void expectMessage(const std::string& caption, const std::string& text, int answer = IDOK);
// Answers every modal window that comes when no handler is queued, for tests that run
// the same commands on inputs whose modal windows they do not know beforehand; an empty
// handler ends it. The modal log records them as ever.
void answerEveryModal(Handler handler);
// Fails the current test for every handler still queued, and for every td::atPeek action
// whose PeekMessageA call never came, and clears both.
void checkDone();
// Modal windows met so far in this process, as "caption: text" (text empty for dialogs).
const std::vector<std::string>& modalLog();

// User actions on a top-level window. Each posts what Windows would post and then
// dispatches every queued message (including those the handlers cause) before returning.
void command(HWND window, int id);        // a click on the menu item; nothing happens when it is grayed
void closeBox(HWND window);               // the caption's close box
void press(HWND window, int x, int y);    // left button down at client x, y
void move(HWND window, int x, int y);     // move with the left button held
void release(HWND window, int x, int y);  // left button up
void hover(HWND window, int x, int y);    // move with no button held
// press at from, moves in steps along the straight line, release at to.
void drag(HWND window, POINT from, POINT to, int steps = 4);
void click(HWND window, int x, int y);         // left button down and up at one point, no move between
void rightPress(HWND window, int x, int y);    // right button down at client x, y
void rightMove(HWND window, int x, int y);     // move with the right button held
void rightRelease(HWND window, int x, int y);  // right button up
// rightPress at from, rightMoves in steps along the straight line, rightRelease at to.
void rightDrag(HWND window, POINT from, POINT to, int steps = 4);
// The pointer leaves the client area (for the menu bar, the frame or another window).
void leave(HWND window);
// A key pressed and released while the window has the keyboard focus, by its virtual-key
// code: VK_RETURN, VK_BACK, VK_ESCAPE, 'A'..'Z', '0'..'9', VK_NUMPAD0, VK_F1 ... A code no
// key gives is a test failure.
void key(HWND window, UINT virtualKey);
// A key held down until the keyboard has repeated it repeats times, then let go.
void holdKey(HWND window, UINT virtualKey, int repeats);
// Local files or folders (paths as CreateFileA takes them) dragged from a file manager and
// dropped at a point in client coordinates (outside the client area, e.g. on the menu bar,
// DragQueryPoint says FALSE). A window that does not accept files takes nothing.
void dropFiles(HWND window, const std::vector<std::string>& paths, POINT point);
// Dispatches every queued message without waiting (inside a td::atPeek action it only lets
// Qt turn input into messages).
void pump();

// Runs WinMain's message loop in test mode: whenever the queue is empty, the next step
// runs (and may post messages); with no step left the loop gets WM_QUIT with code -99.
// PeekMessageA never runs a step: a long pass that peeks cannot start the next one.
int runMessageLoop(const std::vector<std::function<void()>>& steps);
// The same with lpCmdLine as the process entry would give it: the arguments after the
// program name, quoted as Windows quotes them (e.g. "\"/home/ann/Survey Data/site 4.csv\"").
int runMessageLoop(const std::string& commandLine, const std::vector<std::function<void()>>& steps);

// Runs action inside the n-th PeekMessageA call from now (1: the next one), before that
// call looks at the queue; several for one call run in the order scheduled. User actions
// in it (td::key, td::command, td::click ...) only post: nothing is dispatched inside the
// program's PeekMessageA, whose caller takes what they posted.
void atPeek(int n, std::function<void()> action);
// PeekMessageA calls so far in this process.
int peekCalls();

// What the window shows: the back buffer of the client area.
COLORREF pixel(HWND window, int x, int y);
int clientWidth(HWND window);
int clientHeight(HWND window);
// Number of pixels in the rectangle [left,right) x [top,bottom) that are exactly color.
int countPixels(HWND window, RECT area, COLORREF color);
std::vector<COLORREF> snapshot(HWND window);  // the whole back buffer, row by row
bool savePng(HWND window, const std::string& path);

// Texts drawn into the window with TextOutA since it was last filled whole (FillRect over
// the whole client area forgets them), oldest first.
struct DrawnText {
    std::string text;
    int x, y;        // reference point as passed
    UINT align;      // alignment in force
    COLORREF color;  // text colour in force
    std::string face;
    int height, weight;
    bool italic;
    RECT bounds;  // pixels the text covers in the back buffer
};
std::vector<DrawnText> drawnTexts(HWND window);

// Window, menu, cursor and capture state.
std::string windowCaption(HWND window);
RECT windowRect(HWND window);  // outer frame in screen coordinates
bool isResizable(HWND window);
bool hasMinimizeBox(HWND window);
bool hasMaximizeBox(HWND window);
std::vector<std::string> menuBarTexts(HWND window);  // "&File", "&AreaType", ...
std::string menuItemText(HWND window, int id);
bool menuChecked(HWND window, int id);
bool menuGrayed(HWND window, int id);
LPCSTR currentCursor();  // IDC_ARROW or IDC_WAIT, the stock id last set
HWND captureWindow();
bool cursorClipped(RECT* screenRect);  // true with the rectangle while ClipCursor holds one
POINT lastMousePosition(HWND window);  // client coordinates the window last received
bool windowExists(HWND window);

}  // namespace td

#endif
