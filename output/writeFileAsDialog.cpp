// " Write File As": the output form, the tab count and whether " Conversion" follows.
#include <cctype>

#include "output/writeOptions.h"
#include "resource.h"

namespace {

// The caller's record of the dialog now shown: one modal dialog at a time.
WriteFileAsChoice* s_choice = nullptr;

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
        count = digits ? kMostTabs : 0;
    }
    // Clamp before narrowing: 65541 must not wrap to a small or negative count.
    if (count > static_cast<unsigned>(kMostTabs)) count = kMostTabs;
    return static_cast<short>(count);
}

FileType checkedFileType(HWND dialog) {
    if (IsDlgButtonChecked(dialog, IDC_FORM_SPACE) == BST_CHECKED) return FileType::Space;
    if (IsDlgButtonChecked(dialog, IDC_FORM_TAB) == BST_CHECKED) return FileType::Tab;
    return FileType::Comma;
}

}  // namespace

INT_PTR CALLBACK writeFileAsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WriteFileAsChoice* const choice =
        message == WM_INITDIALOG ? reinterpret_cast<WriteFileAsChoice*>(lParam) : s_choice;
    if (!choice) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        s_choice = choice;
        CheckRadioButton(dialog, IDC_FORM_COMMA, IDC_FORM_TAB, IDC_FORM_COMMA);
        SetDlgItemInt(dialog, IDC_TABCOUNT, 1, FALSE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            choice->fileType = checkedFileType(dialog);
            choice->tabCount = readTabCount(dialog);
            choice->modifyValues = IsDlgButtonChecked(dialog, IDC_MODIFYVALUES) == BST_CHECKED;
            EndDialog(dialog, IDOK);
            break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
        }
        return TRUE;  // also for the radio buttons, the check box and edit notifications
    }
    return FALSE;
}
