// " Conversion": metres to feet, feet to metres or a typed factor, optionally on
// elevations only.
#include <windows.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "output/writeOptions.h"
#include "points/appState.h"
#include "resource.h"

namespace {

// Only the first six characters of the edit count. The factor must be wholly a number:
// anything left after it (the preset "Enter #", a letter, a trailing blank) stops the
// write, and the write sequence reports "Invalid entry", as does a factor that is no finite
// single-precision number (nan, inf, 1e39) or that is 0 (an emptied edit among them).
void readFactor(HWND dialog) {
    g_factor = 0;
    char text[7] = "";
    GetDlgItemTextA(dialog, IDC_FACTOR, text, sizeof text);
    char* end = text;
    const double value = std::strtod(text, &end);
    if (*end != '\0') g_writeGo = 0;
    // nan, an infinity or a factor beyond single precision would write no number at all.
    if (!(std::fabs(value) <= FLT_MAX)) {
        g_writeGo = 0;
        return;
    }
    g_factor = static_cast<float>(value);
    // A factor of 0 would write every value as 0.
    if (g_factor == 0.0f) g_writeGo = 0;
}

short checkedConversion(HWND dialog) {
    if (IsDlgButtonChecked(dialog, IDC_CONV_M2FT) == BST_CHECKED) return 2;
    if (IsDlgButtonChecked(dialog, IDC_CONV_FT2M) == BST_CHECKED) return 4;
    return 8;
}

}  // namespace

INT_PTR CALLBACK conversionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(dialog, IDC_CONV_M2FT, IDC_CONV_FACTOR, IDC_CONV_FACTOR);
        SetDlgItemTextA(dialog, IDC_FACTOR, "Enter #");
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            g_conversion = checkedConversion(dialog);
            if (IsDlgButtonChecked(dialog, IDC_ELEVATIONSONLY) == BST_CHECKED) g_elevationsOnly = 1;
            if (g_conversion == 8) readFactor(dialog);
            EndDialog(dialog, IDOK);
            break;
        case IDCANCEL:
            g_writeGo = 0;
            g_viewState = 1;
            g_selectAll = 0;
            EndDialog(dialog, IDCANCEL);
            break;
        }
        return TRUE;
    }
    return FALSE;
}
