// The write sequence: from "Select All Pts." or a finished drag, through the write
// options dialogs, to the writer.
#include "app/commandWatch.h"
#include "app/commands.h"
#include "app/mainWindow.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "points/appState.h"
#include "resource.h"

namespace {

// Asks " Write File As" and, when values are to be modified, " Conversion"; stores the
// answers and tells whether the writer may go on. A Cancel or an unusable factor ends the
// sequence with the window left black in view state Fitted.
bool askWriteOptions(HWND window) {
    HINSTANCE instance = GetModuleHandleA(NULL);
    WriteFileAsChoice form = {g_fileType, g_tabCount, false};
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WRITEFILEAS), window, writeFileAsDialogProc,
                        reinterpret_cast<LPARAM>(&form)) != IDOK) {
        g_viewState = ViewState::Fitted;
        g_selectAll = 0;
        return false;
    }
    g_fileType = form.fileType;
    g_tabCount = form.tabCount;
    if (!form.modifyValues) return true;

    g_elevationsOnly = 0;
    ConversionChoice conversion = {Conversion::Factor, false, 0.0f, false};
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONVERSION), window, conversionDialogProc,
                        reinterpret_cast<LPARAM>(&conversion)) != IDOK) {
        g_viewState = ViewState::Fitted;
        g_selectAll = 0;
        return false;
    }
    g_conversion = conversion.conversion;
    g_elevationsOnly = conversion.elevationsOnly ? 1 : 0;
    if (conversion.conversion == Conversion::Factor) g_factor = conversion.factor;
    if (!conversion.factorValid) {
        MessageBoxA(window, "Invalid entry", "Error", MB_ICONEXCLAMATION | MB_OK);
        g_viewState = ViewState::Fitted;
        g_selectAll = 0;
        return false;
    }
    return true;
}

}  // namespace

WriteEnd writeWatched(HWND window) {
    CommandWatch watch;
    startCommandWatch(watch, window, "Writing", true);
    const WriteEnd end = writePoints(window, &watch.watch);
    endCommandWatch(watch);
    return end;
}

void runWriteSequence(HWND window, short selectAll, HDC dc) {
    // A drag hands over the device context it still holds; clear through it.
    if (dc) {
        fillClientBlack(window, dc);
        g_viewState = ViewState::Empty;
    } else {
        clearWindow(window);
    }
    g_conversion = Conversion::None;
    g_selectAll = selectAll ? 1 : 0;
    setSelectItems(window, false);

    const bool go = askWriteOptions(window);
    if (dc) ReleaseDC(window, dc);
    if (go) writeWatched(window);
}
