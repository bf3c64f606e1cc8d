// Stock cursors and icons, the shown cursor, mouse capture, cursor confinement, tracking
// the pointer's leaving and the client-to-screen mapping.
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QWidget>

#include <algorithm>

#include "desktop.h"
#include "layer.h"
#include "topLevel.h"

// A stock cursor or icon; LoadCursorA and LoadIconA hand out pointers to these.
struct HICON__ {
    int id;
    bool cursor;
};

namespace {

constexpr int kArrowId = 32512;
constexpr int kWaitId = 32514;
constexpr int kApplicationIconId = 32512;

HICON__ s_arrow = {kArrowId, true};
HICON__ s_wait = {kWaitId, true};
HICON__ s_applicationIcon = {kApplicationIconId, false};

HCURSOR s_current = &s_arrow;  // the class cursor of every window the program makes
HWND s_capture = nullptr;
bool s_clipped = false;
RECT s_clip = {0, 0, 0, 0};

Qt::CursorShape shapeOf(HCURSOR cursor) {
    if (!cursor) return Qt::BlankCursor;
    return cursor->id == kWaitId ? Qt::WaitCursor : Qt::ArrowCursor;
}

}  // namespace

namespace layer {

int currentCursorId() { return s_current ? s_current->id : 0; }

bool cursorClip(RECT* rect) {
    if (s_clipped && rect) *rect = s_clip;
    return s_clipped;
}

HWND captureWindow() {
    if (s_capture && !isWindow(s_capture)) s_capture = nullptr;
    return s_capture;
}

// Windows keeps the cursor inside the clip rectangle, right and bottom edges excluded.
QPoint clampToClip(QPoint global) {
    if (!s_clipped) return global;
    int x = std::max<int>(s_clip.left, std::min<int>(global.x(), std::max(s_clip.left, s_clip.right - 1)));
    int y = std::max<int>(s_clip.top, std::min<int>(global.y(), std::max(s_clip.top, s_clip.bottom - 1)));
    return QPoint(x, y);
}

void pointerLeft(HWND hwnd) {
    TopLevel* window = topLevel(hwnd);
    if (!window) return;
    window->pointerOver = false;
    if (!window->trackingLeave) return;
    // One message per request: the program asks again when the pointer is back.
    window->trackingLeave = false;
    PostMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
}

}  // namespace layer

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
    if (instance || !IS_INTRESOURCE(cursorName)) layer::unsupported("LoadCursorA: a cursor of the program's own");
    switch (LOWORD(cursorName)) {
    case kArrowId: return &s_arrow;
    case kWaitId: return &s_wait;
    default: layer::unsupported("LoadCursorA: stock cursor " + std::to_string(LOWORD(cursorName)));
    }
}

HICON LoadIconA(HINSTANCE instance, LPCSTR iconName) {
    if (instance || !IS_INTRESOURCE(iconName) || LOWORD(iconName) != kApplicationIconId)
        layer::unsupported("LoadIconA: an icon other than IDI_APPLICATION");
    return &s_applicationIcon;
}

HCURSOR SetCursor(HCURSOR cursor) {
    if (cursor && !cursor->cursor) layer::unsupported("SetCursor: an icon handle");
    HCURSOR previous = s_current;
    s_current = cursor;
    for (HWND hwnd : layer::topLevelWindows()) layer::topLevel(hwnd)->client->setCursor(shapeOf(cursor));
    // The program sets the hourglass and then works without returning to its loop: let Qt
    // pass the change on now. Input stays queued in Qt, so no message can arrive here.
    if (layer::desktop().showsWindows() && cursor != previous)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return previous;
}

HWND SetCapture(HWND hwnd) {
    HWND previous = layer::captureWindow();
    // Qt already grabs the mouse for the widget a button went down on, which is where the
    // program captures it; the record makes positions outside the client area count.
    s_capture = layer::isWindow(hwnd) ? hwnd : nullptr;
    return previous;
}

BOOL ReleaseCapture(void) {
    s_capture = nullptr;
    return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
    if (!rect) {
        s_clipped = false;
        return TRUE;
    }
    s_clip.left = std::min(rect->left, rect->right);
    s_clip.right = std::max(rect->left, rect->right);
    s_clip.top = std::min(rect->top, rect->bottom);
    s_clip.bottom = std::max(rect->top, rect->bottom);
    s_clipped = true;
    if (layer::desktop().movesPointer()) {
        QPoint position = QCursor::pos();
        QPoint inside = layer::clampToClip(position);
        if (inside != position) QCursor::setPos(inside);
    }
    return TRUE;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT eventTrack) {
    if (!eventTrack || eventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) {
        layer::setLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD flags = eventTrack->dwFlags;
    if (flags != TME_LEAVE && flags != (TME_LEAVE | TME_CANCEL))
        layer::unsupported("TrackMouseEvent: flags other than TME_LEAVE, with or without TME_CANCEL");
    HWND hwnd = eventTrack->hwndTrack;
    if (!layer::isWindow(hwnd)) {
        layer::setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    layer::TopLevel* window = layer::topLevel(hwnd);
    if (!window) layer::unsupported("TrackMouseEvent: a dialog or control");
    if (flags & TME_CANCEL) {
        window->trackingLeave = false;
        return TRUE;
    }
    // Asked while the pointer is elsewhere, Windows posts the message at once.
    window->trackingLeave = true;
    if (!window->pointerOver) layer::pointerLeft(hwnd);
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    if (!point || !layer::isWindow(hwnd)) return FALSE;
    layer::TopLevel* window = layer::topLevel(hwnd);
    QWidget* client = window ? window->client : hwnd->widget.data();
    QPoint global = client->mapToGlobal(QPoint(point->x, point->y));
    point->x = global.x();
    point->y = global.y();
    return TRUE;
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    rect->left = left;
    rect->top = top;
    rect->right = right;
    rect->bottom = bottom;
    return TRUE;
}
