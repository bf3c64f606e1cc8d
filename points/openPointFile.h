// The Open command's part in the points subsystem: choosing a point file (or taking one
// given), inspecting it in its passes, the "Swap Fields" dialog and the fit. The command
// handler clears the window and grays the menu before, and draws the plot after.
#ifndef SKERROW_POINTS_OPENPOINTFILE_H
#define SKERROW_POINTS_OPENPOINTFILE_H

#include <windows.h>

#include "reader/passWatch.h"

enum class OpenResult {
    Cancelled,  // no file chosen, or Cancel in Swap Fields: ended without a word
    Stopped,    // a pass stopped at the user's asking: ended without a word, as a failure leaves it
    Failed,     // the file was refused with its message
    Opened,     // inspected: the ranges are found and the view state is Fitted
};

// The note shown on every Open until a file has been chosen once.
void showOpenNote(HWND window);

// The file dialog, the one pass, the counts, Swap Fields, the ranges and the fit, the passes
// under the watch. Every way out leaves no file open, the view state Empty or Fitted, and
// select-all off.
OpenResult openPointFile(HWND window, PassWatch* watch);

// The same with a path given (from the command line or a drop) in place of the file
// dialog: made absolute against the current folder, its name part the title. A path too
// long for MAX_PATH, or one that names a folder or nothing, is refused with its message.
OpenResult openGivenPointFile(HWND window, const char* path, PassWatch* watch);

// What "Swap Fields" shows, and the reading choices it takes on OK. The dialog gets it
// through the LPARAM of DialogBoxParamA and ends with IDOK or IDCANCEL; it writes the
// choices only on OK.
struct SwapFieldsChoice {
    int lineCount;
    short fieldCount;
    short swapXY;
    short skipHeader;
};
INT_PTR CALLBACK swapFieldsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
