// The factor and tab-count readings: any text typed into the edit of " Conversion" or
// " Write File As", then OK. Input: a byte that picks the dialog, then the typed text.
#include <cmath>
#include <string>

#include "fuzzApp.h"
#include "output/writeOptions.h"
#include "points/appState.h"
#include "resource.h"

namespace {
HWND g_window = NULL;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_window = fuzz::startApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const bool conversion = in.byte() & 1;
    // Esc would cancel the dialog; every other key is typed as it comes.
    std::string typed = in.rest().substr(0, 40);
    for (char& c : typed)
        if (c == '\x1b') c = ' ';
    std::string shown;
    fuzz::modalAnswer() = [&](layer::ModalWindow& m) {
        FUZZ_CHECK(m.kind() == td::ModalKind::Dialog, "only the dialog appears");
        const int edit = conversion ? IDC_FACTOR : IDC_TABCOUNT;
        if (conversion) m.click(IDC_CONV_FACTOR);
        m.type(edit, typed);
        // Typing a carriage return presses the default button.
        if (m.isOpen()) {
            shown = m.itemText(edit);
            m.click(IDOK);
        }
    };
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (conversion) {
        ConversionChoice choice = {Conversion::None, false, -1.0f, false};
        const INT_PTR answer = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONVERSION), g_window,
                                               conversionDialogProc, reinterpret_cast<LPARAM>(&choice));
        FUZZ_CHECK(answer == IDOK, "the dialog ends with OK");
        FUZZ_CHECK(choice.conversion == Conversion::Factor, "the factor is chosen");
        // A write goes on only with a factor that is a finite number other than 0.
        if (choice.factorValid)
            FUZZ_CHECK(std::isfinite(choice.factor) && choice.factor != 0.0f, "a usable factor is finite and not 0");
    } else {
        WriteFileAsChoice choice = {FileType::Comma, -1, false};
        const INT_PTR answer = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WRITEFILEAS), g_window,
                                               writeFileAsDialogProc, reinterpret_cast<LPARAM>(&choice));
        FUZZ_CHECK(answer == IDOK, "the tab count never stops the write");
        FUZZ_CHECK(choice.tabCount >= 0 && choice.tabCount <= 5, "zero to five tabs");
        if (!shown.empty() && shown.find_first_not_of("0123456789") == std::string::npos && shown.size() < 6)
            FUZZ_CHECK(choice.tabCount == (std::stoi(shown) > 5 ? 5 : std::stoi(shown)),
                       "the typed count, at most five");
    }
    return 0;
}
