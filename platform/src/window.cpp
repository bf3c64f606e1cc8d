// Window classes and top-level windows: a fixed-size Qt window whose content is the menu
// bar above a client widget that shows the back buffer, turning mouse input, keys and the
// close box into posted messages, as Windows would post them.
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "desktop.h"
#include "drop.h"
#include "keyboard.h"
#include "layer.h"
#include "modal.h"
#include "topLevel.h"

namespace {

struct WindowClass {
    WNDCLASSEXA wc;
    int menuId = 0;  // 0: no class menu
};

std::map<std::string, WindowClass> s_classes;
ATOM s_nextAtom = 0xC000;  // Windows numbers registered classes from here
// Never destroyed, so that the handles they hold stay reachable until the process ends
// (a leak checker sees no window lost at exit).
std::vector<HWND>& s_liveWindows = *new std::vector<HWND>;
std::vector<HWND>& s_destroyedWindows =
    *new std::vector<HWND>;  // handles stay allocated so stale ones can be told apart

constexpr DWORD kSupportedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// The outer window: a menu bar over the client widget; its close box only asks. Keys that
// reach it (the window has the keyboard focus; menu mnemonics were taken by the menu bar
// before) are posted; so are files dropped anywhere on it once DragAcceptFiles let it
// accept them.
class FrameWidget : public QWidget {
public:
    explicit FrameWidget(HWND hwnd) : hwnd_(hwnd) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (layer::postKeyDown(hwnd_, *event))
            event->accept();
        else
            QWidget::keyPressEvent(event);
    }
    void dragEnterEvent(QDragEnterEvent* event) override { acceptDrag(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { acceptDrag(event); }
    void dropEvent(QDropEvent* event) override {
        if (!acceptsDrop(event)) {
            event->ignore();
            return;
        }
        // The files are copied in the drop's sense: the source keeps them.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        layer::TopLevel* window = layer::topLevel(hwnd_);
        QPoint inClient = window->client->mapFrom(this, event->position().toPoint());
        layer::postDrop(hwnd_, event->mimeData(), inClient, window->client->rect().contains(inClient));
    }
    void closeEvent(QCloseEvent* event) override {
        // The close box and the system menu's Close post WM_CLOSE; the window procedure
        // decides, and DestroyWindow is what removes the window.
        event->ignore();
        if (layer::isWindow(hwnd_)) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    }

private:
    // While a modal window is open no drop is taken, as Windows keeps input from a window a
    // dialog has disabled: the layer's own count of modal windows decides, whatever route
    // the drag took.
    bool acceptsDrop(const QDropEvent* event) const {
        return acceptDrops() && !layer::modalWindowOpen() && layer::topLevel(hwnd_) &&
               (event->possibleActions() & Qt::CopyAction) && layer::isFileDrop(event->mimeData());
    }
    void acceptDrag(QDragMoveEvent* event) {
        if (!acceptsDrop(event)) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

    HWND hwnd_;
};

class ClientWidget : public QWidget {
public:
    ClientWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd) {
        setMouseTracking(true);  // moves without a button arrive too, with wParam 0
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        // The window's keyboard focus: the menu bar gives it back here when its keyboard
        // navigation ends. Without a widget to give it to, the menu bar would keep it and
        // read plain letters as mnemonics, as Windows does only in menu mode.
        setFocusPolicy(Qt::StrongFocus);
        setFocus(Qt::OtherFocusReason);
    }

protected:
    // Keys go on to the frame, which posts them; Tab is a key like any other, as the
    // client area has no controls to move the focus between.
    bool focusNextPrevChild(bool) override { return false; }
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.drawImage(event->rect(), hwnd_->backBuffer, event->rect());
    }
    // A second press in quick succession arrives from Qt as a double click; without
    // CS_DBLCLKS Windows posts it as another press.
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) translate(WM_LBUTTONDOWN, event);
        if (event->button() == Qt::RightButton) translate(WM_RBUTTONDOWN, event);
    }
    void mouseMoveEvent(QMouseEvent* event) override { translate(WM_MOUSEMOVE, event); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) translate(WM_LBUTTONUP, event);
        if (event->button() == Qt::RightButton) translate(WM_RBUTTONUP, event);
    }
    void enterEvent(QEnterEvent*) override {
        if (layer::TopLevel* window = layer::topLevel(hwnd_)) window->pointerOver = true;
    }
    void leaveEvent(QEvent*) override { layer::pointerLeft(hwnd_); }

private:
    // The buttons held and the keys down, as Windows gives them in wParam.
    static WPARAM keyState(const QMouseEvent* event) {
        WPARAM keys = 0;
        if (event->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
        if (event->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
        if (event->buttons() & Qt::MiddleButton) keys |= MK_MBUTTON;
        if (event->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
        if (event->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
        return keys;
    }

    void translate(UINT message, QMouseEvent* event) {
        event->accept();
        layer::TopLevel* window = layer::topLevel(hwnd_);
        if (!window) return;
        QPoint global = event->globalPosition().toPoint();
        QPoint clamped = layer::clampToClip(global);
        if (clamped != global && layer::desktop().movesPointer()) QCursor::setPos(clamped);
        QPoint local = mapFromGlobal(clamped);
        // Without capture Windows gives a position outside the client area to whatever
        // window lies there, not to this one.
        bool inside = rect().contains(local);
        if (!inside && layer::captureWindow() != hwnd_) return;
        window->pointerOver = inside;
        window->lastMouse.x = local.x();
        window->lastMouse.y = local.y();
        PostMessageA(hwnd_, message, keyState(event), MAKELPARAM(local.x() & 0xffff, local.y() & 0xffff));
    }

    HWND hwnd_;
};

}  // namespace

namespace layer {

bool isWindow(HWND hwnd) {
    if (!hwnd) return false;
    if (std::find(s_liveWindows.begin(), s_liveWindows.end(), hwnd) != s_liveWindows.end()) return true;
    if (std::find(s_destroyedWindows.begin(), s_destroyedWindows.end(), hwnd) != s_destroyedWindows.end()) return false;
    // Dialogs and controls belong to the dialog half of the layer.
    return hwnd->kind != HWND__::TopLevel && !hwnd->destroyed && !hwnd->widget.isNull();
}

TopLevel* topLevel(HWND hwnd) {
    if (!hwnd || std::find(s_liveWindows.begin(), s_liveWindows.end(), hwnd) == s_liveWindows.end()) return nullptr;
    return static_cast<TopLevel*>(hwnd->data);
}

std::vector<HWND> topLevelWindows() { return s_liveWindows; }

}  // namespace layer

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || !wc->lpszClassName) return 0;
    if (IS_INTRESOURCE(wc->lpszClassName)) layer::unsupported("RegisterClassExA: a class name given as an atom");
    if (wc->style != 0) layer::unsupported("RegisterClassExA: class styles");
    if (wc->cbClsExtra != 0 || wc->cbWndExtra != 0) layer::unsupported("RegisterClassExA: extra class or window bytes");
    if (!wc->lpfnWndProc) return 0;
    std::string name = wc->lpszClassName;
    if (s_classes.count(name)) return 0;  // ERROR_CLASS_ALREADY_EXISTS
    WindowClass entry;
    entry.wc = *wc;
    entry.wc.lpszClassName = nullptr;  // the caller's string need not outlive the call
    if (wc->lpszMenuName) {
        if (!IS_INTRESOURCE(wc->lpszMenuName)) layer::unsupported("RegisterClassExA: a menu named by a string");
        entry.menuId = LOWORD(wc->lpszMenuName);
    }
    s_classes[name] = entry;
    return s_nextAtom++;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    (void)instance;
    if (exStyle != 0) layer::unsupported("CreateWindowExA: extended styles");
    if (style != kSupportedStyle)
        layer::unsupported("CreateWindowExA: a style other than overlapped, caption, system menu");
    if (parent || menu) layer::unsupported("CreateWindowExA: a parent or menu handle");
    if (param) layer::unsupported("CreateWindowExA: a creation parameter");
    if (x == CW_USEDEFAULT || y == CW_USEDEFAULT || width == CW_USEDEFAULT || height == CW_USEDEFAULT)
        layer::unsupported("CreateWindowExA: CW_USEDEFAULT");
    if (!className || IS_INTRESOURCE(className)) return nullptr;
    auto found = s_classes.find(className);
    if (found == s_classes.end()) return nullptr;  // ERROR_CANNOT_FIND_WNDCLASS
    const WindowClass& windowClass = found->second;

    int menuHeight = windowClass.menuId ? layer::kMenuBarHeight : 0;
    int clientWidth = width - 2 * layer::kBorderWidth;
    int clientHeight = height - layer::kCaptionHeight - menuHeight - layer::kBorderWidth;
    if (clientWidth <= 0 || clientHeight <= 0) layer::unsupported("CreateWindowExA: a window without client area");

    HWND hwnd = new HWND__;
    hwnd->kind = HWND__::TopLevel;
    hwnd->wndProc = windowClass.wc.lpfnWndProc;
    hwnd->style = style;
    hwnd->backBuffer = QImage(clientWidth, clientHeight, QImage::Format_RGB32);
    COLORREF background = RGB(255, 255, 255);  // no class brush: Windows would leave it unpainted
    layer::brushColor(windowClass.wc.hbrBackground, &background);
    hwnd->backBuffer.fill(layer::toRgb(background));

    auto* window = new layer::TopLevel;
    hwnd->data = window;
    window->origin = QPoint(x, y);
    window->outerWidth = width;
    window->outerHeight = height;

    auto* frame = new FrameWidget(hwnd);
    frame->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    frame->setWindowTitle(QString::fromLatin1(windowName ? windowName : ""));
    frame->setFixedSize(clientWidth, menuHeight + clientHeight);
    // Place the content so that the frame drawn around it starts at x, y.
    frame->setGeometry(x + layer::kBorderWidth, y + layer::kCaptionHeight, clientWidth, menuHeight + clientHeight);
    window->frame = frame;
    hwnd->widget = frame;

    auto* client = new ClientWidget(hwnd, frame);
    client->setGeometry(0, menuHeight, clientWidth, clientHeight);
    window->client = client;

    s_liveWindows.push_back(hwnd);
    if (windowClass.menuId) {
        hwnd->menu = layer::createMenu(layer::menuTemplate(windowClass.menuId), hwnd, frame);
        window->menuBar = layer::menuBarOf(hwnd->menu);
        window->menuBar->setGeometry(0, 0, clientWidth, menuHeight);
    }

    // The window procedure sees WM_CREATE before CreateWindowExA returns; -1 refuses the window.
    if (hwnd->wndProc(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    return hwnd;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    layer::TopLevel* window = layer::topLevel(hwnd);
    if (!window) layer::unsupported("ShowWindow: a window that is not a top-level window");
    BOOL wasVisible = window->frame->isVisible() ? TRUE : FALSE;
    switch (cmdShow) {
    case SW_HIDE: window->frame->hide(); break;
    case SW_SHOWNORMAL:
    case SW_SHOW:
        window->frame->show();
        if (layer::desktop().showsWindows()) {
            window->frame->raise();
            window->frame->activateWindow();
        }
        break;
    default: layer::unsupported("ShowWindow: show command " + std::to_string(cmdShow));
    }
    return wasVisible;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    layer::TopLevel* window = layer::topLevel(hwnd);
    if (!window) {
        if (layer::isWindow(hwnd)) layer::unsupported("SetWindowTextA: a dialog or control");
        return FALSE;
    }
    window->frame->setWindowTitle(QString::fromLatin1(text ? text : ""));
    return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int size) {
    layer::TopLevel* window = layer::topLevel(hwnd);
    if (!window) {
        if (layer::isWindow(hwnd)) layer::unsupported("GetWindowTextA: a dialog or control");
        return 0;
    }
    if (!text || size <= 0) return 0;
    const QByteArray title = window->frame->windowTitle().toLatin1();
    const int length = std::min(static_cast<int>(title.size()), size - 1);
    std::memcpy(text, title.constData(), static_cast<size_t>(length));
    text[length] = '\0';
    return length;
}

BOOL UpdateWindow(HWND hwnd) {
    layer::TopLevel* window = layer::topLevel(hwnd);
    if (!window) return FALSE;
    // The back buffer already holds the class background; showing it is the first paint.
    if (layer::desktop().showsWindows() && window->frame->isVisible()) window->client->repaint();
    return TRUE;
}

BOOL DestroyWindow(HWND hwnd) {
    if (!layer::isWindow(hwnd)) return FALSE;
    if (hwnd->kind != HWND__::TopLevel) layer::unsupported("DestroyWindow: a dialog or control");
    layer::TopLevel* window = layer::topLevel(hwnd);
    window->frame->hide();
    if (layer::captureWindow() == hwnd) ReleaseCapture();
    hwnd->wndProc(hwnd, WM_DESTROY, 0, 0);

    s_liveWindows.erase(std::find(s_liveWindows.begin(), s_liveWindows.end(), hwnd));
    s_destroyedWindows.push_back(hwnd);
    hwnd->destroyed = true;
    if (hwnd->menu) layer::destroyMenu(hwnd->menu);
    hwnd->menu = nullptr;
    delete window->frame;  // deletes the menu bar and client widget with it
    delete window;
    hwnd->data = nullptr;
    hwnd->backBuffer = QImage();
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    if (!rect || !layer::isWindow(hwnd)) return FALSE;
    QSize size = hwnd->kind == HWND__::TopLevel ? hwnd->backBuffer.size() : hwnd->widget->size();
    rect->left = 0;
    rect->top = 0;
    rect->right = size.width();
    rect->bottom = size.height();
    return TRUE;
}
