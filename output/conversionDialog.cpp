// " Conversion": metres to feet, feet to metres or a typed factor, optionally on
// elevations only.
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "output/writeOptions.h"
#include "resource.h"

namespace {

// The caller's record of the dialog now shown: one modal dialog at a time.
ConversionChoice* s_choice = nullptr;

// Characters of the factor edit that count.
constexpr int kFactorCharacters = 6;

// Only the first six characters of the edit count. The factor must be wholly a number:
// anything left after it (the preset "Enter #", a letter, a trailing blank) makes it
// unusable, as does a factor that is no finite single-precision number (nan, inf, 1e39)
// or that is 0 (an emptied edit among them), which would write every value as 0.
void readFactor(HWND dialog, ConversionChoice* choice) {
    choice->factor = 0;
    choice->factorValid = true;
    char text[kFactorCharacters + 1] = "";
    GetDlgItemTextA(dialog, IDC_FACTOR, text, sizeof text);
    char* end = text;
    const double value = std::strtod(text, &end);
    if (*end != '\0') choice->factorValid = false;
    // nan, an infinity or a factor beyond single precision would write no number at all.
    if (!(std::fabs(value) <= FLT_MAX)) {
        choice->factorValid = false;
        return;
    }
    choice->factor = static_cast<float>(value);
    if (choice->factor == 0.0f) choice->factorValid = false;
}

Conversion checkedConversion(HWND dialog) {
    if (IsDlgButtonChecked(dialog, IDC_CONV_M2FT) == BST_CHECKED) return Conversion::MetresToFeet;
    if (IsDlgButtonChecked(dialog, IDC_CONV_FT2M) == BST_CHECKED) return Conversion::FeetToMetres;
    return Conversion::Factor;
}

}  // namespace

INT_PTR CALLBACK conversionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ConversionChoice* const choice = message == WM_INITDIALOG ? reinterpret_cast<ConversionChoice*>(lParam) : s_choice;
    if (!choice) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        s_choice = choice;
        CheckRadioButton(dialog, IDC_CONV_M2FT, IDC_CONV_FACTOR, IDC_CONV_FACTOR);
        SetDlgItemTextA(dialog, IDC_FACTOR, "Enter #");
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            choice->conversion = checkedConversion(dialog);
            choice->elevationsOnly = IsDlgButtonChecked(dialog, IDC_ELEVATIONSONLY) == BST_CHECKED;
            choice->factorValid = true;
            if (choice->conversion == Conversion::Factor) readFactor(dialog, choice);
            EndDialog(dialog, IDOK);
            break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
        }
        return TRUE;
    }
    return FALSE;
}
