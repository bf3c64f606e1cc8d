// Reading and setting the controls of a dialog: GetDlgItem, the button check states and
// the item texts and numbers.
#include <windows.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "dialogData.h"
#include "modal.h"

namespace layer {

bool isCheckable(HWND control) {
    ControlKind kind = controlSource(control).kind;
    return kind == ControlKind::AutoRadioButton || kind == ControlKind::AutoCheckBox;
}

bool isButtonChecked(HWND control) {
    auto* button = qobject_cast<QAbstractButton*>(control->widget.data());
    return isCheckable(control) && button && button->isChecked();
}

namespace {
bool g_layerSetsCheck = false;
}

void setButtonChecked(HWND control, bool checked) {
    auto* button = qobject_cast<QAbstractButton*>(control->widget.data());
    if (!isCheckable(control) || !button) return;
    bool outer = g_layerSetsCheck;
    g_layerSetsCheck = true;
    button->setChecked(checked);
    g_layerSetsCheck = outer;
}

bool layerSetsCheck() { return g_layerSetsCheck; }

QString controlText(HWND control) {
    QWidget* widget = control->widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
    return QString();
}

void setControlText(HWND control, const QString& text) {
    QWidget* widget = control->widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
}

namespace {

// GetDlgItemInt's reading: blanks, an optional minus sign when signed, digits, blanks;
// anything else, or a value out of range, is no number.
bool readInteger(const std::string& text, bool isSigned, UINT* value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (isSigned && i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    size_t digits = i;
    unsigned long long magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
        if (magnitude > 0xFFFFFFFFull) return false;
        ++i;
    }
    if (i == digits) return false;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    if (isSigned) {
        long long signedValue = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
        if (signedValue < INT_MIN || signedValue > INT_MAX) return false;
        *value = static_cast<UINT>(static_cast<int>(signedValue));
    } else {
        *value = static_cast<UINT>(magnitude);
    }
    return true;
}

}  // namespace
}  // namespace layer

using namespace layer;

HWND GetDlgItem(HWND dialog, int id) { return dialogItem(dialog, id); }

BOOL CheckRadioButton(HWND dialog, int idFirst, int idLast, int idCheck) {
    if (!isDialog(dialog)) return FALSE;
    for (HWND control : static_cast<DialogData*>(dialog->data)->controls)
        if (control->id >= idFirst && control->id <= idLast) setButtonChecked(control, control->id == idCheck);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND control = dialogItem(dialog, id);
    return control && isButtonChecked(control) ? BST_CHECKED : BST_UNCHECKED;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    char text[16];
    if (isSigned)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    else
        std::snprintf(text, sizeof text, "%u", value);
    return SetDlgItemTextA(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    HWND control = dialogItem(dialog, id);
    if (!control) return 0;
    UINT value = 0;
    if (!readInteger(toBytes(controlText(control)), isSigned, &value)) return 0;
    if (translated) *translated = TRUE;
    return value;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND control = dialogItem(dialog, id);
    if (!control) return FALSE;
    setControlText(control, fromBytes(text));
    return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount) {
    if (!text || maxCount <= 0) return 0;
    text[0] = '\0';
    HWND control = dialogItem(dialog, id);
    if (!control) return 0;
    std::string bytes = toBytes(controlText(control));
    size_t count = std::min(bytes.size(), static_cast<size_t>(maxCount - 1));
    std::memcpy(text, bytes.data(), count);
    text[count] = '\0';
    return static_cast<UINT>(count);
}
