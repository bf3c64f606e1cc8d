// Running the layer's modal windows through the desktop, and small helpers the modal
// windows share.
#include "modal.h"

#include <QWidget>

#include "desktop.h"
#include "dialogData.h"
#include "layer.h"

namespace layer {
namespace {

const char* kindName(td::ModalKind kind) {
    switch (kind) {
    case td::ModalKind::Dialog: return "dialog";
    case td::ModalKind::MessageBox: return "message box";
    case td::ModalKind::OpenFile: return "open-file dialog";
    case td::ModalKind::SaveFile: return "save-file dialog";
    }
    return "modal window";
}

int g_modalDepth = 0;  // modal windows running, nested ones counted each

}  // namespace

void runModal(ModalWindow& window, const std::function<void()>& runOnScreen) {
    ++g_modalDepth;
    desktop().runModal(window, runOnScreen);
    --g_modalDepth;
}

bool modalWindowOpen() { return g_modalDepth > 0; }

void ModalWindow::misuse(const std::string& what) const {
    desktop().reportMisuse(what + " is not possible on the " + kindName(kind()) + " \"" + caption() + "\"");
}

bool ModalWindow::openFor(const char* action) const {
    if (isOpen()) return true;
    misuse(std::string(action) + " after it closed");
    return false;
}

std::string ModalWindow::text() const { return std::string(); }
UINT ModalWindow::style() const { return 0; }
void ModalWindow::answer(int id) { misuse("answer(" + std::to_string(id) + ")"); }
int ModalWindow::templateId() const { return 0; }
std::string ModalWindow::itemText(int id) const {
    misuse("itemText(" + std::to_string(id) + ")");
    return std::string();
}
bool ModalWindow::isChecked(int id) const {
    misuse("isChecked(" + std::to_string(id) + ")");
    return false;
}
bool ModalWindow::isEnabled(int id) const {
    misuse("isEnabled(" + std::to_string(id) + ")");
    return false;
}
bool ModalWindow::hasFocus(int id) const {
    misuse("hasFocus(" + std::to_string(id) + ")");
    return false;
}
RECT ModalWindow::itemRect(int id) const {
    misuse("itemRect(" + std::to_string(id) + ")");
    return RECT{0, 0, 0, 0};
}
void ModalWindow::click(int id) { misuse("click(" + std::to_string(id) + ")"); }
void ModalWindow::type(int id, const std::string&) { misuse("type(" + std::to_string(id) + ")"); }
void ModalWindow::pressEnter() { misuse("pressEnter()"); }
void ModalWindow::pressEscape() { misuse("pressEscape()"); }
void ModalWindow::pressKey(td::Key) { misuse("pressKey()"); }
void ModalWindow::closeBox() { misuse("closeBox()"); }
std::string ModalWindow::filter() const { return std::string(); }
std::string ModalWindow::defaultExtension() const { return std::string(); }
DWORD ModalWindow::flags() const { return 0; }
void ModalWindow::choose(const std::string& path) { misuse("choose(\"" + path + "\")"); }
void ModalWindow::cancel() { misuse("cancel()"); }

void activateOwner(QWidget* owner) {
    if (!owner || !desktop().showsWindows()) return;
    QWidget* window = owner->window();
    if (!window->isVisible()) return;
    window->activateWindow();
}

QWidget* widgetOf(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (isDialog(hwnd) || isWindow(hwnd)) return hwnd->widget.data();
    return nullptr;
}

EventFilter::EventFilter(QObject* parent, std::function<bool(QObject*, QEvent*)> filter)
    : QObject(parent), filter_(std::move(filter)) {}

bool EventFilter::eventFilter(QObject* watched, QEvent* event) { return filter_(watched, event); }

QString fromBytes(const char* text) { return text ? QString::fromLatin1(text) : QString(); }

std::string toBytes(const QString& text) {
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace layer
