// Modal dialog boxes built from the resource script's templates: DialogBoxParamA and
// EndDialog, with the dialog manager's keyboard rules and the automatic buttons.
#include <windows.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <set>

#include "dialogData.h"
#include "dialogFont.h"
#include "layer.h"
#include "modal.h"
#include "resourceScript.h"

namespace layer {
namespace {

const WORD kButtonClicked = 0;     // BN_CLICKED
const WORD kEditChanged = 0x0300;  // EN_CHANGE

std::set<HWND> g_dialogs;

DialogData& dataOf(HWND dialog) { return *static_cast<DialogData*>(dialog->data); }

void sendCommand(HWND dialog, int id, WORD code, HWND control) {
    if (!isDialog(dialog) || dialog->ended) return;
    sendToDialog(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HWND controlOfWidget(HWND dialog, const QWidget* widget) {
    for (HWND control : dataOf(dialog).controls)
        if (widget && control->widget == widget) return control;
    return nullptr;
}

bool isPushButton(HWND control) {
    ControlKind kind = controlSource(control).kind;
    return kind == ControlKind::PushButton || kind == ControlKind::DefPushButton;
}

// An automatic radio button checks itself and unchecks the automatic radio buttons of its
// group: the controls from the nearest WS_GROUP control at or before it up to the next one.
size_t indexOf(const std::vector<HWND>& controls, HWND control) {
    return static_cast<size_t>(std::find(controls.begin(), controls.end(), control) - controls.begin());
}

// The group of the control at index at: [first, last) in template order.
void groupOf(const std::vector<HWND>& controls, size_t at, size_t* first, size_t* last) {
    *first = at;
    while (*first > 0 && !(controls[*first]->style & WS_GROUP)) --*first;
    *last = at + 1;
    while (*last < controls.size() && !(controls[*last]->style & WS_GROUP)) ++*last;
}

bool isAutoRadio(HWND control) { return controlSource(control).kind == ControlKind::AutoRadioButton; }

void checkAutoRadio(HWND dialog, HWND clicked) {
    const std::vector<HWND>& controls = dataOf(dialog).controls;
    size_t at = indexOf(controls, clicked), first, last;
    groupOf(controls, at, &first, &last);
    for (size_t i = first; i < last; ++i)
        if (isAutoRadio(controls[i])) setButtonChecked(controls[i], i == at);
}

bool canTakeFocus(HWND control) {
    return control->widget->isEnabled() && !control->widget->isHidden() &&
           control->widget->focusPolicy() != Qt::NoFocus;
}

void focusControl(HWND control);

// Tab and Shift+Tab as the dialog manager moves them: to the next or previous control with
// WS_TABSTOP, wrapping; a group of automatic radio buttons is one stop, entered at its
// checked button.
void moveTabFocus(HWND dialog, bool forward) {
    const std::vector<HWND>& controls = dataOf(dialog).controls;
    const size_t n = controls.size();
    if (n == 0) return;
    HWND from = controlOfWidget(dialog, dialog->widget->focusWidget());
    size_t at = from ? indexOf(controls, from) : (forward ? n - 1 : 0);
    size_t fromFirst = n, fromLast = n;
    if (from && isAutoRadio(from)) groupOf(controls, at, &fromFirst, &fromLast);
    for (size_t step = 1; step <= n; ++step) {
        size_t i = forward ? (at + step) % n : (at + n - step % n) % n;
        HWND candidate = controls[i];
        if (!(candidate->style & WS_TABSTOP) || !canTakeFocus(candidate)) continue;
        if (isAutoRadio(candidate)) {
            if (i >= fromFirst && i < fromLast) continue;  // still the group we are leaving
            size_t first, last;
            groupOf(controls, i, &first, &last);
            for (size_t j = first; j < last; ++j)
                if (isAutoRadio(controls[j]) && canTakeFocus(controls[j]) &&
                    IsDlgButtonChecked(dialog, controls[j]->id) == BST_CHECKED)
                    candidate = controls[j];
        }
        focusControl(candidate);
        return;
    }
}

// The arrow keys move within the focused control's group, wrapping; an automatic radio
// button that receives the focus this way is checked and reports the click.
void moveGroupFocus(HWND dialog, HWND from, bool forward) {
    const std::vector<HWND>& controls = dataOf(dialog).controls;
    size_t at = indexOf(controls, from), first, last;
    groupOf(controls, at, &first, &last);
    const size_t size = last - first;
    for (size_t step = 1; step < size; ++step) {
        size_t offset = forward ? (at - first + step) % size : (at - first + size - step) % size;
        HWND candidate = controls[first + offset];
        if (!canTakeFocus(candidate)) continue;
        focusControl(candidate);
        if (isAutoRadio(candidate) && IsDlgButtonChecked(dialog, candidate->id) != BST_CHECKED) {
            checkAutoRadio(dialog, candidate);
            sendCommand(dialog, candidate->id, kButtonClicked, candidate);
        }
        return;
    }
}

// Enter: a push button with the focus is pressed; otherwise the default push button
// (if enabled), or IDOK when the dialog has none.
void pressDefault(HWND dialog) {
    HWND focus = controlOfWidget(dialog, dialog->widget->focusWidget());
    if (focus && isPushButton(focus)) {
        sendCommand(dialog, focus->id, kButtonClicked, focus);
        return;
    }
    for (HWND control : dataOf(dialog).controls)
        if (controlSource(control).kind == ControlKind::DefPushButton) {
            if (control->widget->isEnabled()) sendCommand(dialog, control->id, kButtonClicked, control);
            return;
        }
    sendCommand(dialog, IDOK, kButtonClicked, dialogItem(dialog, IDOK));
}

// Esc arrives as IDCANCEL; the close box too, unless the Cancel button is disabled.
void cancelByKey(HWND dialog) { sendCommand(dialog, IDCANCEL, kButtonClicked, dialogItem(dialog, IDCANCEL)); }

void cancelByCloseBox(HWND dialog) {
    HWND cancel = dialogItem(dialog, IDCANCEL);
    if (!cancel || cancel->widget->isEnabled()) sendCommand(dialog, IDCANCEL, kButtonClicked, cancel);
}

class DialogWindow : public QDialog {
public:
    DialogWindow(HWND hwnd, QWidget* parent) : QDialog(parent), hwnd_(hwnd) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            pressDefault(hwnd_);
        } else if (plain && event->key() == Qt::Key_Escape) {
            cancelByKey(hwnd_);
        } else {
            event->ignore();
        }
    }
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        cancelByCloseBox(hwnd_);
    }
    // Every other way Qt would reject the dialog goes through the procedure as well.
    void reject() override { cancelByKey(hwnd_); }
    bool focusNextPrevChild(bool next) override {
        moveTabFocus(hwnd_, next);
        return true;
    }

private:
    HWND hwnd_;
};

// A Windows button control answers a click anywhere in its rectangle; Qt's radio buttons
// and check boxes only on the indicator and the text.
template <typename Button>
class WholeRectButton : public Button {
public:
    WholeRectButton(const QString& text, QWidget* parent) : Button(text, parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// An automatic radio button. Qt's own exclusivity would make all of a dialog's radio
// buttons one group; they are grouped as Windows groups them (checkAutoRadio) instead, and
// Qt's is kept off by a button group that is not exclusive (createDialog). The button stays
// auto-exclusive as Qt sees it, which is what announces it as a radio button to assistive
// technology: Qt calls a checkable button that is not auto-exclusive a check box.
class DialogRadioButton final : public WholeRectButton<QRadioButton> {
public:
    using WholeRectButton<QRadioButton>::WholeRectButton;

protected:
    // A state set neither by a click nor by the layer: assistive technology's toggle
    // action. Windows takes an action on a radio button as a click (BM_CLICK), and so does
    // this: once Qt is done with the change, the button is checked in its group and the
    // procedure gets BN_CLICKED.
    void checkStateSet() override {
        WholeRectButton<QRadioButton>::checkStateSet();
        if (layerSetsCheck()) return;
        QMetaObject::invokeMethod(
            this, [this] { emit clicked(isChecked()); }, Qt::QueuedConnection);
    }
};

QWidget* createControlWidget(const ControlTemplate& source, QWidget* parent) {
    QString text = fromBytes(source.text.c_str());
    DWORD tabStop = source.style & WS_TABSTOP;
    switch (source.kind) {
    case ControlKind::GroupBox: {
        // The dialog manager never gives the focus to a group box or a static text,
        // whatever their WS_TABSTOP says.
        auto* box = new QGroupBox(text, parent);
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    }
    case ControlKind::AutoRadioButton: {
        auto* radio = new DialogRadioButton(text, parent);
        radio->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        return radio;
    }
    case ControlKind::AutoCheckBox: {
        auto* check = new WholeRectButton<QCheckBox>(text, parent);
        check->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        return check;
    }
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);  // Enter is handled by the dialog, as Windows does
        button->setDefault(source.kind == ControlKind::DefPushButton);
        button->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        return button;
    }
    case ControlKind::LeftText:
    case ControlKind::CenterText:
    case ControlKind::RightText: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        Qt::Alignment horizontal = source.kind == ControlKind::LeftText     ? Qt::AlignLeft
                                   : source.kind == ControlKind::CenterText ? Qt::AlignHCenter
                                                                            : Qt::AlignRight;
        label->setAlignment(horizontal | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        return label;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(source.style & WS_BORDER);
        edit->setAlignment((source.style & ES_CENTER)  ? Qt::AlignHCenter
                           : (source.style & ES_RIGHT) ? Qt::AlignRight
                                                       : Qt::AlignLeft);
        edit->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        if (source.style & ES_NUMBER) {
            // Windows refuses every typed character but a digit; control keys still work.
            edit->installEventFilter(new EventFilter(edit, [](QObject*, QEvent* event) {
                if (event->type() != QEvent::KeyPress) return false;
                QString typed = static_cast<QKeyEvent*>(event)->text();
                if (typed.isEmpty() || !typed.at(0).isPrint()) return false;
                for (QChar c : typed)
                    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return true;
                return false;
            }));
        }
        return edit;
    }
    }
    return nullptr;
}

void connectControl(HWND dialog, HWND control) {
    const ControlTemplate& source = controlSource(control);
    if (source.kind != ControlKind::Edit) {
        // Buttons leave the arrow keys to the dialog manager, which moves within the group.
        control->widget->installEventFilter(
            new EventFilter(control->widget, [dialog, control](QObject*, QEvent* event) {
                if (event->type() != QEvent::KeyPress) return false;
                int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Right || key == Qt::Key_Down) {
                    moveGroupFocus(dialog, control, true);
                    return true;
                }
                if (key == Qt::Key_Left || key == Qt::Key_Up) {
                    moveGroupFocus(dialog, control, false);
                    return true;
                }
                return false;
            }));
    }
    switch (source.kind) {
    case ControlKind::AutoRadioButton:
        QObject::connect(static_cast<QAbstractButton*>(control->widget.data()), &QAbstractButton::clicked,
                         [dialog, control] {
                             checkAutoRadio(dialog, control);
                             sendCommand(dialog, control->id, kButtonClicked, control);
                         });
        break;
    case ControlKind::AutoCheckBox:
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
        QObject::connect(static_cast<QAbstractButton*>(control->widget.data()), &QAbstractButton::clicked,
                         [dialog, control] { sendCommand(dialog, control->id, kButtonClicked, control); });
        break;
    case ControlKind::Edit:
        QObject::connect(static_cast<QLineEdit*>(control->widget.data()), &QLineEdit::textChanged,
                         [dialog, control] { sendCommand(dialog, control->id, kEditChanged, control); });
        break;
    default: break;
    }
}

HWND createDialog(const DialogTemplate& source, HWND owner, DLGPROC proc) {
    HWND dialog = new HWND__;
    dialog->kind = HWND__::Dialog;
    dialog->dlgProc = proc;
    dialog->parent = owner;
    dialog->style = source.style;
    auto* data = new DialogData;
    data->source = &source;
    dialog->data = data;

    DialogUnits units = dialogUnits(source);
    auto* window = new DialogWindow(dialog, widgetOf(owner));
    dialog->widget = window;
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
    if (source.style & WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (source.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    window->setWindowTitle(fromBytes(source.caption.c_str()));
    window->setFont(units.font);
    window->setFixedSize(mulDiv(source.cx, units.x, 4), mulDiv(source.cy, units.y, 8));
    // The position is relative to the owner's client area.
    POINT origin{mulDiv(source.x, units.x, 4), mulDiv(source.y, units.y, 8)};
    if (owner) ClientToScreen(owner, &origin);
    window->move(origin.x, origin.y);
    // Holds the radio buttons so that Qt's exclusivity leaves them alone.
    auto* radios = new QButtonGroup(window);
    radios->setExclusive(false);

    for (const ControlTemplate& controlSourceEntry : source.controls) {
        HWND control = new HWND__;
        control->kind = HWND__::Control;
        control->parent = dialog;
        control->id = controlSourceEntry.id;
        control->style = controlSourceEntry.style;
        control->data = const_cast<ControlTemplate*>(&controlSourceEntry);
        QWidget* widget = createControlWidget(controlSourceEntry, window);
        widget->setGeometry(mulDiv(controlSourceEntry.x, units.x, 4), mulDiv(controlSourceEntry.y, units.y, 8),
                            mulDiv(controlSourceEntry.cx, units.x, 4), mulDiv(controlSourceEntry.cy, units.y, 8));
        widget->setEnabled(!(controlSourceEntry.style & WS_DISABLED));
        widget->setVisible(controlSourceEntry.style & WS_VISIBLE);
        control->widget = widget;
        data->controls.push_back(control);
        if (controlSourceEntry.kind == ControlKind::AutoRadioButton)
            radios->addButton(static_cast<QAbstractButton*>(widget));
    }
    // Group boxes are frames behind the controls they surround.
    for (HWND control : data->controls)
        if (controlSource(control).kind == ControlKind::GroupBox) control->widget->lower();
    for (HWND control : data->controls) connectControl(dialog, control);
    g_dialogs.insert(dialog);
    return dialog;
}

void destroyDialog(HWND dialog) {
    sendToDialog(dialog, WM_DESTROY, 0, 0);
    g_dialogs.erase(dialog);
    DialogData* data = &dataOf(dialog);
    QWidget* window = dialog->widget.data();
    if (window) {
        window->hide();
        delete window;
    }
    for (HWND control : data->controls) {
        control->destroyed = true;
        delete control;
    }
    delete data;
    dialog->destroyed = true;
    delete dialog;
}

// The first control with WS_TABSTOP that can take the focus (visible, enabled, neither a
// group box nor a static text).
HWND firstTabStop(HWND dialog) {
    for (HWND control : dataOf(dialog).controls)
        if ((control->style & WS_TABSTOP) && canTakeFocus(control)) return control;
    return nullptr;
}

void focusControl(HWND control) {
    control->widget->setFocus(Qt::TabFocusReason);
    // The dialog manager selects the whole text of an edit that receives the focus.
    if (auto* edit = qobject_cast<QLineEdit*>(control->widget.data())) edit->selectAll();
}

void sendKey(QWidget* target, int key, const QString& text = QString(),
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

// What the driver acts on: the live dialog, through the same Qt events a user's mouse and
// keyboard would cause.
class DialogModal : public ModalWindow {
public:
    explicit DialogModal(HWND dialog) : dialog_(dialog) {}

    bool isOpen() const override { return !dialog_->ended; }
    QWidget* widget() const override { return dialog_->widget.data(); }
    td::ModalKind kind() const override { return td::ModalKind::Dialog; }
    std::string caption() const override { return dataOf(dialog_).source->caption; }
    HWND owner() const override { return dialog_->parent; }
    int templateId() const override { return dataOf(dialog_).source->id; }

    std::string itemText(int id) const override {
        HWND control = find(id);
        return control ? toBytes(controlText(control)) : std::string();
    }
    bool isChecked(int id) const override {
        HWND control = find(id);
        return control && isButtonChecked(control);
    }
    bool isEnabled(int id) const override {
        HWND control = find(id);
        return control && control->widget->isEnabled();
    }
    bool hasFocus(int id) const override {
        HWND control = find(id);
        return control && dialog_->widget->focusWidget() == control->widget;
    }
    RECT itemRect(int id) const override {
        HWND control = find(id);
        if (!control) return RECT{0, 0, 0, 0};
        QRect r = control->widget->geometry();
        return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }

    void click(int id) override {
        if (!openFor("click")) return;
        HWND control = find(id);
        if (!control) return;
        QWidget* widget = control->widget;
        // A control takes the focus on the button going down, as on Windows; Qt only does
        // that for events from the window system.
        if (widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus)) widget->setFocus(Qt::MouseFocusReason);
        QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QPointF global = widget->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }

    void type(int id, const std::string& text) override {
        if (!openFor("type")) return;
        HWND control = find(id);
        if (!control) return;
        auto* edit = qobject_cast<QLineEdit*>(control->widget.data());
        if (!edit) {
            misuse("type(" + std::to_string(id) + ") into a control that is no edit");
            return;
        }
        if (!edit->isEnabled()) return;
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        for (char byte : text) {
            QChar c = QChar::fromLatin1(byte);
            if (byte == '\b')
                sendKey(edit, Qt::Key_Backspace);
            else
                sendKey(edit, c.toUpper().unicode(), QString(c));
        }
    }

    void pressEnter() override {
        if (openFor("pressEnter")) sendKey(keyTarget(), Qt::Key_Return, QStringLiteral("\r"));
    }
    void pressEscape() override {
        if (openFor("pressEscape")) sendKey(keyTarget(), Qt::Key_Escape, QStringLiteral("\x1b"));
    }
    void pressKey(td::Key key) override {
        if (!openFor("pressKey")) return;
        switch (key) {
        case td::Key::Tab: sendKey(keyTarget(), Qt::Key_Tab, QStringLiteral("\t")); break;
        case td::Key::ShiftTab: sendKey(keyTarget(), Qt::Key_Backtab, QString(), Qt::ShiftModifier); break;
        case td::Key::Left: sendKey(keyTarget(), Qt::Key_Left); break;
        case td::Key::Right: sendKey(keyTarget(), Qt::Key_Right); break;
        case td::Key::Up: sendKey(keyTarget(), Qt::Key_Up); break;
        case td::Key::Down: sendKey(keyTarget(), Qt::Key_Down); break;
        case td::Key::Space: sendKey(keyTarget(), Qt::Key_Space, QStringLiteral(" ")); break;
        }
    }
    void closeBox() override {
        if (openFor("closeBox")) dialog_->widget->close();
    }

private:
    HWND find(int id) const {
        HWND control = dialogItem(dialog_, id);
        if (!control) misuse("a control with id " + std::to_string(id));
        return control;
    }
    QWidget* keyTarget() const {
        QWidget* focus = dialog_->widget->focusWidget();
        return focus ? focus : dialog_->widget.data();
    }

    HWND dialog_;
};

}  // namespace

bool isDialog(HWND hwnd) { return hwnd && g_dialogs.count(hwnd) != 0; }

HWND dialogItem(HWND dialog, int id) {
    if (!isDialog(dialog)) return nullptr;
    for (HWND control : dataOf(dialog).controls)
        if (control->id == id) return control;
    return nullptr;
}

INT_PTR sendToDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return dialog->dlgProc(dialog, message, wParam, lParam);
}

}  // namespace layer

using namespace layer;

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM initParam) {
    if (!IS_INTRESOURCE(templateName)) unsupported("DialogBoxParamA with a template name");
    if (!dialogProc) unsupported("DialogBoxParamA without a dialog procedure");
    const DialogTemplate& source = dialogTemplate(static_cast<int>(reinterpret_cast<uintptr_t>(templateName)));
    HWND dialog = createDialog(source, owner, dialogProc);
    QDialog* window = static_cast<QDialog*>(dialog->widget.data());

    HWND focus = firstTabStop(dialog);
    if (sendToDialog(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), initParam)) {
        // TRUE asks for the default focus: the first tab stop, looked up again.
        focus = firstTabStop(dialog);
        if (focus) focusControl(focus);
    }
    if (!dialog->ended) {
        window->setWindowModality(Qt::ApplicationModal);  // the owner takes no input meanwhile
        DialogModal modal(dialog);
        runModal(modal, [window] { window->exec(); });
        // A dialog left open (only the driver can leave one) is closed as by Esc, and ends
        // even when its procedure ignores that.
        if (!dialog->ended) cancelByKey(dialog);
        if (!dialog->ended) {
            dialog->ended = true;
            dialog->result = IDCANCEL;
        }
    }
    INT_PTR result = dialog->result;
    destroyDialog(dialog);
    activateOwner(widgetOf(owner));
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    if (!isDialog(dialog)) return FALSE;
    if (dialog->ended) return TRUE;
    dialog->ended = true;
    dialog->result = result;
    // Ends the dialog's own loop on a screen; a dialog the driver answers is only hidden.
    if (auto* window = static_cast<QDialog*>(dialog->widget.data())) window->done(static_cast<int>(result));
    return TRUE;
}
