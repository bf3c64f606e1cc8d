// "Swap Fields": shows the counts of the counting pass and takes the reading choices.
#include "points/openPointFile.h"
#include "resource.h"

namespace {

// The caller's record of the dialog now shown: one modal dialog at a time.
SwapFieldsChoice* s_choice = nullptr;

}  // namespace

INT_PTR CALLBACK swapFieldsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    SwapFieldsChoice* const choice = message == WM_INITDIALOG ? reinterpret_cast<SwapFieldsChoice*>(lParam) : s_choice;
    if (!choice) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        s_choice = choice;
        // The choices are asked afresh each time: "No" and an unchecked header box.
        CheckRadioButton(dialog, IDC_SWAP_YES, IDC_SWAP_NO, IDC_SWAP_NO);
        SetDlgItemInt(dialog, IDC_LINECOUNT, static_cast<UINT>(choice->lineCount), FALSE);
        SetDlgItemInt(dialog, IDC_FIELDCOUNT, static_cast<UINT>(choice->fieldCount), FALSE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            choice->swapXY = IsDlgButtonChecked(dialog, IDC_SWAP_YES) == BST_CHECKED ? 1 : 0;
            choice->skipHeader = IsDlgButtonChecked(dialog, IDC_SKIPHEADER) == BST_CHECKED ? 1 : 0;
            EndDialog(dialog, IDOK);
            break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
        }
        return TRUE;
    }
    return FALSE;
}
