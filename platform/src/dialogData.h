// What the layer keeps about a live dialog and its controls; shared by the dialog box
// itself and the functions that read and set its items.
#ifndef SKERROW_PLATFORM_DIALOGDATA_H
#define SKERROW_PLATFORM_DIALOGDATA_H

#include <windows.h>

#include <QString>

#include <vector>

#include "layer.h"
#include "resourceScript.h"

namespace layer {

// Hung on the dialog's HWND__::data for as long as the dialog lives.
struct DialogData {
    const DialogTemplate* source = nullptr;
    std::vector<HWND> controls;  // template order
};

// Hung on each control's HWND__::data: the template entry it was built from.
inline const ControlTemplate& controlSource(HWND control) {
    return *static_cast<const ControlTemplate*>(control->data);
}

// Is this a dialog the layer is showing (between its creation and its end)?
bool isDialog(HWND hwnd);
// The first control of a live dialog with this id, or nullptr.
HWND dialogItem(HWND dialog, int id);
// The control's window text, whatever its kind.
QString controlText(HWND control);
void setControlText(HWND control, const QString& text);
// Radio buttons and check boxes carry a check state; other controls ignore it.
bool isCheckable(HWND control);
bool isButtonChecked(HWND control);
void setButtonChecked(HWND control, bool checked);
// True while setButtonChecked runs: the layer sets the state, nobody outside asked for it.
bool layerSetsCheck();
// Calls the dialog procedure; returns its result.
INT_PTR sendToDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace layer

#endif
