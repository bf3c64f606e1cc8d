// " Write File As": the output form, the tab count and whether " Conversion" follows.
#include <windows.h>

#include <cctype>

#include "output/writeOptions.h"
#include "points/appState.h"
#include "resource.h"

short g_fileType = 1;
short g_tabCount = 0;
short g_modifyValues = 0;

namespace {

const unsigned MAX_TABS = 5;

// The edit takes digits only, so any count it holds is at least 0. A number too large
// for GetDlgItemInt to translate is still a number: it is taken as the most tabs allowed.
short readTabCount(HWND dialog) {
    BOOL translated = FALSE;
    unsigned count = GetDlgItemInt(dialog, IDC_TABCOUNT, &translated, FALSE);
    if (!translated) {
        char text[64] = "";
        GetDlgItemTextA(dialog, IDC_TABCOUNT, text, sizeof text);
        bool digits = text[0] != '\0';
        for (const char* c = text; *c; ++c)
            if (!std::isdigit(static_cast<unsigned char>(*c))) digits = false;
        count = digits ? MAX_TABS : 0;
    }
    // Clamp before narrowing: 65541 must not wrap to a small or negative count.
    if (count > MAX_TABS) count = MAX_TABS;
    return static_cast<short>(count);
}

short checkedFileType(HWND dialog) {
    if (IsDlgButtonChecked(dialog, IDC_FORM_SPACE) == BST_CHECKED) return 2;
    if (IsDlgButtonChecked(dialog, IDC_FORM_TAB) == BST_CHECKED) return 3;
    return 1;
}

}  // namespace

INT_PTR CALLBACK writeFileAsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(dialog, IDC_FORM_COMMA, IDC_FORM_TAB, IDC_FORM_COMMA);
        SetDlgItemInt(dialog, IDC_TABCOUNT, 1, FALSE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            g_fileType = checkedFileType(dialog);
            g_tabCount = readTabCount(dialog);
            if (IsDlgButtonChecked(dialog, IDC_MODIFYVALUES) == BST_CHECKED) g_modifyValues = 1;
            EndDialog(dialog, IDOK);
            break;
        case IDCANCEL:
            g_modifyValues = 0;
            g_writeGo = 0;
            g_viewState = 1;
            g_selectAll = 0;
            EndDialog(dialog, IDCANCEL);
            break;
        }
        return TRUE;  // also for the radio buttons, the check box and edit notifications
    }
    return FALSE;
}
