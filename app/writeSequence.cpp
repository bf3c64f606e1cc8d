// The write sequence: from "Select All Pts." or a finished drag, through the write
// options dialogs, to the writer.
#include "app/mainWindow.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "points/appState.h"
#include "resource.h"

void runWriteSequence(HWND window, short selectAll, HDC dc)
{
    // A drag hands over the device context it still holds; clear through it.
    if (dc) {
        fillClientBlack(window, dc);
        g_viewState = 0;
    } else {
        clearWindow(window);
    }

    g_conversion = 0;
    g_modifyValues = 0;
    g_writeGo = 1;
    g_selectAll = selectAll ? 1 : 0;
    enableSelectItems(window, MF_GRAYED);

    HINSTANCE instance = GetModuleHandleA(NULL);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_WRITEFILEAS), window, writeFileAsDialogProc, 0);

    if (g_modifyValues == 1) {
        g_elevationsOnly = 0;
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONVERSION), window, conversionDialogProc, 0);
        if (g_writeGo == 0 && g_conversion == 8) {
            MessageBoxA(window, "Invalid entry", "Error", MB_ICONEXCLAMATION | MB_OK);
            g_viewState = 1;
            g_selectAll = 0;
        }
    }

    if (dc)
        ReleaseDC(window, dc);

    if (g_writeGo == 1)
        writePoints(window);
}
