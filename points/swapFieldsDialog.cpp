// "Swap Fields": shows the counts of the counting pass and takes the reading choices.
#include "points/appState.h"
#include "points/openFile.h"
#include "resource.h"

INT_PTR CALLBACK swapFieldsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The choices are asked afresh each time: "No" and an unchecked header box.
        CheckRadioButton(dialog, IDC_SWAP_YES, IDC_SWAP_NO, IDC_SWAP_NO);
        SetDlgItemInt(dialog, IDC_LINECOUNT, static_cast<UINT>(g_lineCount), FALSE);
        SetDlgItemInt(dialog, IDC_FIELDCOUNT, static_cast<UINT>(g_fieldCount), FALSE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            g_swapXY = IsDlgButtonChecked(dialog, IDC_SWAP_YES) == BST_CHECKED ? 1 : 0;
            g_skipHeader = IsDlgButtonChecked(dialog, IDC_SKIPHEADER) == BST_CHECKED ? 1 : 0;
            EndDialog(dialog, 1);
            break;
        case IDCANCEL:
            // openPointFile sees the closed stream and ends the Open.
            g_input.close();
            g_viewState = 0;
            EndDialog(dialog, 2);
            break;
        }
        return TRUE;
    }
    return FALSE;
}
