// The test driver's window half: user actions on a top-level window (menu commands, the
// close box, the mouse, keys, dropped files) sent through Qt to the real layer, and what
// the window shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <vector>

#include "driverDesktop.h"
#include "keyboard.h"
#include "layer.h"
#include "testdriver.h"
#include "topLevel.h"

namespace {

layer::TopLevel* windowFor(HWND window, const char* action) {
    layer::TopLevel* topLevel = layer::topLevel(window);
    if (!topLevel) ADD_FAILURE() << "td::" << action << ": not a live top-level window";
    return topLevel;
}

QAction* itemFor(HWND window, int id, const char* action) {
    layer::TopLevel* topLevel = windowFor(window, action);
    if (!topLevel) return nullptr;
    QAction* item = layer::menuAction(window->menu, id);
    if (!item) ADD_FAILURE() << "td::" << action << ": the menu has no item " << id;
    return item;
}

// A mouse event as Qt delivers it to the client widget: position in client coordinates,
// global position through the widget's place on the screen.
void sendMouse(HWND window, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held,
               const char* action) {
    layer::TopLevel* topLevel = windowFor(window, action);
    if (!topLevel) return;
    QPointF local(x, y);
    QPointF global = topLevel->client->mapToGlobal(local);
    QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
    QApplication::sendEvent(topLevel->client, &event);
    td::pump();
}

// Key events as Qt delivers them to the window with the keyboard focus: to its focus
// widget, or to the window itself when no widget has the focus. The key goes down, repeats
// as many times, and comes up.
void sendKey(HWND window, UINT virtualKey, int repeats, const char* action) {
    layer::TopLevel* topLevel = windowFor(window, action);
    if (!topLevel) return;
    int qtKey = 0;
    bool keypad = false;
    if (!layer::qtKeyOf(virtualKey, &qtKey, &keypad)) {
        ADD_FAILURE() << "td::" << action << ": no key gives the virtual-key code " << virtualKey;
        return;
    }
    QWidget* target = topLevel->frame->focusWidget() ? topLevel->frame->focusWidget() : topLevel->frame;
    Qt::KeyboardModifiers modifiers = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    for (int i = 0; i <= repeats; ++i) {
        // The keyboard's repeats are further presses that Qt marks as auto-repeated.
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, QString(), i > 0);
        QApplication::sendEvent(target, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers);
    QApplication::sendEvent(target, &release);
    td::pump();
}

}  // namespace

namespace td {

void command(HWND window, int id) {
    QAction* item = itemFor(window, id, "command");
    if (item && item->isEnabled()) item->trigger();
    pump();
}

void closeBox(HWND window) {
    layer::TopLevel* topLevel = windowFor(window, "closeBox");
    if (!topLevel) return;
    QCloseEvent event;
    QApplication::sendEvent(topLevel->frame, &event);
    pump();
}

void press(HWND window, int x, int y) {
    sendMouse(window, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton, "press");
}

void move(HWND window, int x, int y) {
    sendMouse(window, QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton, "move");
}

void release(HWND window, int x, int y) {
    sendMouse(window, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton, "release");
}

void hover(HWND window, int x, int y) {
    sendMouse(window, QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton, "hover");
}

void drag(HWND window, POINT from, POINT to, int steps) {
    press(window, from.x, from.y);
    for (int step = 1; step <= steps; ++step)
        move(window, from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps);
    release(window, to.x, to.y);
}

void click(HWND window, int x, int y) {
    press(window, x, y);
    release(window, x, y);
}

void rightPress(HWND window, int x, int y) {
    sendMouse(window, QEvent::MouseButtonPress, x, y, Qt::RightButton, Qt::RightButton, "rightPress");
}

void rightMove(HWND window, int x, int y) {
    sendMouse(window, QEvent::MouseMove, x, y, Qt::NoButton, Qt::RightButton, "rightMove");
}

void rightRelease(HWND window, int x, int y) {
    sendMouse(window, QEvent::MouseButtonRelease, x, y, Qt::RightButton, Qt::NoButton, "rightRelease");
}

void rightDrag(HWND window, POINT from, POINT to, int steps) {
    rightPress(window, from.x, from.y);
    for (int step = 1; step <= steps; ++step)
        rightMove(window, from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps);
    rightRelease(window, to.x, to.y);
}

void leave(HWND window) {
    layer::TopLevel* topLevel = windowFor(window, "leave");
    if (!topLevel) return;
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(topLevel->client, &event);
    pump();
}

void key(HWND window, UINT virtualKey) { sendKey(window, virtualKey, 0, "key"); }

void holdKey(HWND window, UINT virtualKey, int repeats) { sendKey(window, virtualKey, repeats, "holdKey"); }

void dropFiles(HWND window, const std::vector<std::string>& paths, POINT point) {
    layer::TopLevel* topLevel = windowFor(window, "dropFiles");
    if (!topLevel) return;
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
    data.setUrls(urls);
    // Where the drop lands on the frame, which takes drops for the whole window.
    QPoint at = topLevel->client->mapTo(topLevel->frame, QPoint(point.x, point.y));
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;  // as a file manager offers them
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(topLevel->frame, &enter);
    // Qt delivers the drop only where the drag was accepted.
    if (enter.isAccepted()) {
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(topLevel->frame, &drop);
    }
    pump();
}

void pump() {
    if (internal::runningPeekAction()) {
        QCoreApplication::processEvents();
        return;
    }
    // WM_QUIT is kept for a GetMessageA to find, behind whatever else is dispatched.
    std::vector<MSG> quits;
    for (;;) {
        QCoreApplication::processEvents();
        MSG msg;
        if (!layer::takeMessage(&msg)) break;
        if (msg.message == WM_QUIT)
            quits.push_back(msg);
        else
            DispatchMessageA(&msg);
    }
    for (const MSG& quit : quits) layer::post(quit);
}

int runMessageLoop(const std::vector<std::function<void()>>& steps) { return runMessageLoop("", steps); }

int runMessageLoop(const std::string& commandLine, const std::vector<std::function<void()>>& steps) {
    size_t next = 0;
    internal::setIdleHook([&steps, &next]() {
        if (next >= steps.size()) return false;
        steps[next++]();
        return true;
    });
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    int result = WinMain(GetModuleHandleA(NULL), NULL, line.data(), SW_SHOWNORMAL);
    internal::setIdleHook(nullptr);
    return result;
}

COLORREF pixel(HWND window, int x, int y) {
    layer::TopLevel* topLevel = windowFor(window, "pixel");
    if (!topLevel) return CLR_INVALID;
    const QImage& image = window->backBuffer;
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return CLR_INVALID;
    return layer::toColorref(image.pixel(x, y));
}

int clientWidth(HWND window) { return windowFor(window, "clientWidth") ? window->backBuffer.width() : 0; }

int clientHeight(HWND window) { return windowFor(window, "clientHeight") ? window->backBuffer.height() : 0; }

int countPixels(HWND window, RECT area, COLORREF color) {
    if (!windowFor(window, "countPixels")) return 0;
    const QImage& image = window->backBuffer;
    QRgb wanted = layer::toRgb(color);
    int count = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, image.height()); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, image.width()); ++x)
            if ((row[x] | 0xff000000u) == wanted) ++count;
    }
    return count;
}

std::vector<COLORREF> snapshot(HWND window) {
    std::vector<COLORREF> pixels;
    if (!windowFor(window, "snapshot")) return pixels;
    const QImage& image = window->backBuffer;
    pixels.reserve(static_cast<size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) pixels.push_back(layer::toColorref(row[x]));
    }
    return pixels;
}

bool savePng(HWND window, const std::string& path) {
    if (!windowFor(window, "savePng")) return false;
    return window->backBuffer.save(QString::fromStdString(path), "PNG");
}

std::vector<DrawnText> drawnTexts(HWND window) {
    std::vector<DrawnText> texts;
    layer::TopLevel* topLevel = windowFor(window, "drawnTexts");
    if (!topLevel) return texts;
    for (const layer::DrawnText& drawn : topLevel->texts)
        texts.push_back(DrawnText{drawn.text, drawn.x, drawn.y, drawn.align, drawn.color, drawn.face, drawn.height,
                                  drawn.weight, drawn.italic, drawn.bounds});
    return texts;
}

std::string windowCaption(HWND window) {
    layer::TopLevel* topLevel = windowFor(window, "windowCaption");
    return topLevel ? topLevel->frame->windowTitle().toLatin1().toStdString() : std::string();
}

RECT windowRect(HWND window) {
    RECT rect = {0, 0, 0, 0};
    layer::TopLevel* topLevel = windowFor(window, "windowRect");
    if (!topLevel) return rect;
    // The content's place on the screen, widened by the frame Windows draws around it.
    QRect content = topLevel->frame->geometry();
    rect.left = content.left() - layer::kBorderWidth;
    rect.top = content.top() - layer::kCaptionHeight;
    rect.right = content.left() + content.width() + layer::kBorderWidth;
    rect.bottom = content.top() + content.height() + layer::kBorderWidth;
    return rect;
}

bool isResizable(HWND window) {
    layer::TopLevel* topLevel = windowFor(window, "isResizable");
    return topLevel && topLevel->frame->minimumSize() != topLevel->frame->maximumSize();
}

bool hasMinimizeBox(HWND window) {
    layer::TopLevel* topLevel = windowFor(window, "hasMinimizeBox");
    return topLevel && (topLevel->frame->windowFlags() & Qt::WindowMinimizeButtonHint);
}

bool hasMaximizeBox(HWND window) {
    layer::TopLevel* topLevel = windowFor(window, "hasMaximizeBox");
    return topLevel && (topLevel->frame->windowFlags() & Qt::WindowMaximizeButtonHint);
}

std::vector<std::string> menuBarTexts(HWND window) {
    std::vector<std::string> texts;
    layer::TopLevel* topLevel = windowFor(window, "menuBarTexts");
    if (!topLevel || !topLevel->menuBar) return texts;
    for (QAction* entry : topLevel->menuBar->actions()) texts.push_back(entry->text().toLatin1().toStdString());
    return texts;
}

std::string menuItemText(HWND window, int id) {
    QAction* item = itemFor(window, id, "menuItemText");
    return item ? item->text().toLatin1().toStdString() : std::string();
}

bool menuChecked(HWND window, int id) {
    QAction* item = itemFor(window, id, "menuChecked");
    return item && item->isChecked();
}

bool menuGrayed(HWND window, int id) {
    QAction* item = itemFor(window, id, "menuGrayed");
    return item && !item->isEnabled();
}

LPCSTR currentCursor() { return MAKEINTRESOURCEA(layer::currentCursorId()); }

HWND captureWindow() { return layer::captureWindow(); }

bool cursorClipped(RECT* screenRect) { return layer::cursorClip(screenRect); }

POINT lastMousePosition(HWND window) {
    layer::TopLevel* topLevel = windowFor(window, "lastMousePosition");
    return topLevel ? topLevel->lastMouse : POINT{0, 0};
}

bool windowExists(HWND window) { return layer::isWindow(window); }

}  // namespace td
