// MessageBoxA: an OK box or a Yes/No box, with or without the exclamation icon.
#include <windows.h>

#include <QEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include "layer.h"
#include "modal.h"

namespace layer {
namespace {

const UINT kButtonsMask = 0x0000000F;
const UINT kIconMask = 0x000000F0;

// The box as the driver answers it, and the answer a box on the screen gave.
class MessageModal : public ModalWindow {
public:
    MessageModal(HWND owner, std::string text, std::string caption, UINT type)
        : owner_(owner), text_(std::move(text)), caption_(std::move(caption)), type_(type) {}

    bool isOpen() const override { return result_ == 0; }
    td::ModalKind kind() const override { return td::ModalKind::MessageBox; }
    std::string caption() const override { return caption_; }
    HWND owner() const override { return owner_; }
    std::string text() const override { return text_; }
    UINT style() const override { return type_; }

    void answer(int id) override {
        if (!openFor("answer")) return;
        if ((type_ & kButtonsMask) == MB_YESNO) {
            // A Yes/No box has no working close box and ignores Esc.
            if (id == IDYES || id == IDNO) result_ = id;
        } else if (id == IDOK || id == IDCANCEL) {
            result_ = IDOK;  // the close box of an OK box gives IDOK
        }
        // Any other id is no button of this box: it stays open.
    }

    void setResult(int id) { result_ = id; }
    // The answer, or what the box gives when it is closed unanswered.
    int result() const {
        if (result_) return result_;
        return (type_ & kButtonsMask) == MB_YESNO ? IDNO : IDOK;
    }

private:
    HWND owner_;
    std::string text_, caption_;
    UINT type_;
    int result_ = 0;
};

int showBox(QWidget* parent, const QString& text, const QString& caption, UINT type) {
    bool yesNo = (type & kButtonsMask) == MB_YESNO;
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon((type & kIconMask) == MB_ICONEXCLAMATION ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (yesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        box.addButton(QMessageBox::No);
        box.setDefaultButton(yes);
        box.setWindowFlag(Qt::CustomizeWindowHint, true);
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        box.installEventFilter(new EventFilter(&box, [](QObject*, QEvent* event) {
            if (event->type() == QEvent::Close) {
                event->ignore();
                return true;
            }
            return event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        }));
    } else {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
    }
    box.exec();
    box.hide();
    activateOwner(parent);
    if (!yesNo) return IDOK;
    return box.clickedButton() == box.button(QMessageBox::Yes) ? IDYES : IDNO;
}

}  // namespace

int messageBox(HWND owner, QWidget* parent, LPCSTR text, LPCSTR caption, UINT type) {
    UINT buttons = type & kButtonsMask;
    UINT icon = type & kIconMask;
    if ((buttons != MB_OK && buttons != MB_YESNO) || (icon != 0 && icon != MB_ICONEXCLAMATION) ||
        (type & ~(kButtonsMask | kIconMask)))
        unsupported("MessageBoxA type " + std::to_string(type));
    std::string textBytes = text ? text : "";
    std::string captionBytes = caption ? caption : "Error";  // Windows' caption for NULL
    MessageModal modal(owner, textBytes, captionBytes, type);
    runModal(modal, [&] {
        QWidget* shownOver = parent ? parent : widgetOf(owner);
        modal.setResult(showBox(shownOver, fromBytes(textBytes.c_str()), fromBytes(captionBytes.c_str()), type));
    });
    return modal.result();
}

}  // namespace layer

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    // The owner's widget is looked up only for a box on a screen: the driver is handed the
    // owner as passed, whatever it is.
    return layer::messageBox(owner, nullptr, text, caption, type);
}
