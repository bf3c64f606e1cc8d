// The thread's message loop: posting, getting and dispatching messages, and the default
// window procedure.
#include <QCursor>

#include "layer.h"

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) return -1;
    if (hwnd) layer::unsupported("GetMessageA: messages of one window only");
    if (filterMin != 0 || filterMax != 0) layer::unsupported("GetMessageA: a message filter");
    while (!layer::takeMessage(msg)) layer::waitForMessages();
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (!msg) return FALSE;
    if (hwnd) layer::unsupported("PeekMessageA: messages of one window only");
    if (filterMin != 0 || filterMax != 0) layer::unsupported("PeekMessageA: a message filter");
    if (removeMsg != PM_REMOVE && removeMsg != PM_NOREMOVE)
        layer::unsupported("PeekMessageA: flags other than PM_REMOVE and PM_NOREMOVE");
    // Returns at once, like GetMessageA without the wait: what arrived meanwhile is queued
    // behind what was there, and nothing is dispatched here.
    layer::letEventsIn();
    return (removeMsg == PM_REMOVE ? layer::takeMessage(msg) : layer::peekMessage(msg)) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    // Nonzero for a key message, whether or not it makes a character, as on Windows; the
    // layer makes none (no WM_CHAR): the program reads keys as WM_KEYDOWN.
    return msg && msg->message == WM_KEYDOWN ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd || !layer::isWindow(msg->hwnd)) return 0;
    HWND hwnd = msg->hwnd;
    if (hwnd->kind == HWND__::TopLevel && hwnd->wndProc)
        return hwnd->wndProc(hwnd, msg->message, msg->wParam, msg->lParam);
    if (hwnd->kind == HWND__::Dialog && hwnd->dlgProc)
        return hwnd->dlgProc(hwnd, msg->message, msg->wParam, msg->lParam);
    return 0;
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    if (message == WM_CLOSE) DestroyWindow(hwnd);
    return 0;
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !layer::isWindow(hwnd)) return FALSE;  // ERROR_INVALID_WINDOW_HANDLE
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.pt.x = QCursor::pos().x();
    msg.pt.y = QCursor::pos().y();
    layer::post(msg);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    MSG msg = {};
    msg.message = WM_QUIT;
    msg.wParam = static_cast<WPARAM>(static_cast<INT_PTR>(exitCode));
    layer::post(msg);
}
