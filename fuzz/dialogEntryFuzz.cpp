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
    g_writeGo = 1;
    g_tabCount = -1;
    g_factor = -1;
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (conversion) {
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONVERSION), g_window, conversionDialogProc, 0);
        FUZZ_CHECK(g_conversion == 8, "the factor is chosen");
        // A write goes on only with a factor that is a finite number.
        if (g_writeGo == 1) FUZZ_CHECK(std::isfinite(g_factor), "a factor that goes on to the writer is finite");
    } else {
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WRITEFILEAS), g_window, writeFileAsDialogProc, 0);
        FUZZ_CHECK(g_tabCount >= 0 && g_tabCount <= 5, "zero to five tabs");
        FUZZ_CHECK(g_writeGo == 1, "the tab count never stops the write");
        if (!shown.empty() && shown.find_first_not_of("0123456789") == std::string::npos && shown.size() < 6)
            FUZZ_CHECK(g_tabCount == (std::stoi(shown) > 5 ? 5 : std::stoi(shown)), "the typed count, at most five");
    }
    return 0;
}
