// The Open command: file choice, then the counting pass, the reading choices, the parsing
// pass and the plot fit, each of which may end it.
#include "points/openFile.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "app/mainWindow.h"
#include "points/appState.h"
#include "points/openSteps.h"
#include "points/pointLine.h"
#include "resource.h"

static const char* const kNoteText =
    "This program doesn't automatically repaint the screen.\n"
    "Click Redraw on the menu if you lose any screen points.\n\n"
    "Select AreaType and drag area around points to write.   ";

void showWaitCursor() { SetCursor(LoadCursorA(NULL, IDC_WAIT)); }
void showArrowCursor() { SetCursor(LoadCursorA(NULL, IDC_ARROW)); }

void rejectFile(HWND window, const char* text) {
    showArrowCursor();
    MessageBoxA(window, text, "Error", MB_OK | MB_ICONEXCLAMATION);
    g_input.close();
    g_viewState = 0;
    g_selectAll = 0;
}

static const char* const kCarriageReturnsAlone =
    "The lines of this file end in a carriage return alone,\n"
    "as old Macintosh programs wrote them.  Convert its line\n"
    "ends to CR LF or LF and try again.";

bool holdsLoneCarriageReturn(const char* text) {
    const char* cr = std::strchr(text, '\r');
    return cr && cr[1] != '\0' && cr[1] != '\n';
}

void rejectCarriageReturnsAlone(HWND window) { rejectFile(window, kCarriageReturnsAlone); }

void rejectBadLine(HWND window, int limit, short outcome) {
    char text[160];
    if (outcome == LINE_NUL)
        std::snprintf(text, sizeof text,
                      "Line %d of this file holds a NUL character: the file is damaged.\n"
                      "    Check file and try again.",
                      g_lineNumber);
    else if (g_lineBuf[0] != '\0' && holdsLoneCarriageReturn(g_lineBuf))
        return rejectCarriageReturnsAlone(window);
    else if (g_lineBuf[0] == '\0')
        std::snprintf(text, sizeof text,
                      "Line %d of this file is blank, and more lines follow it.\n"
                      "    Check file and try again.",
                      g_lineNumber);
    else
        std::snprintf(text, sizeof text,
                      "Line %d of this file is longer than %d characters.\n"
                      "    Check file and try again.",
                      g_lineNumber, limit - 1);
    rejectFile(window, text);
}

void rejectShortLine(HWND window) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Line %d of this file has fewer fields than the first line.\n"
                  "    Check file and try again.",
                  g_lineNumber);
    rejectFile(window, text);
}

// Shows the open-file dialog; false when no name was chosen.
static bool chooseFile(HWND window) {
    g_inputPath[0] = '\0';
    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof(OPENFILENAMEA);
    dialog.hwndOwner = window;
    dialog.lpstrFilter = "Point Files (*.csv)\0*.csv\0";
    dialog.lpstrFile = g_inputPath;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = "csv";
    GetOpenFileNameA(&dialog);
    if (g_inputPath[0] == '\0') return false;

    // The title buffer is as long as the path, so the whole name always fits.
    size_t offset = dialog.nFileOffset;
    if (offset >= std::strlen(g_inputPath)) offset = 0;
    std::strcpy(g_fileTitle, g_inputPath + offset);
    return true;
}

void openPointFile(HWND window) {
    if (g_fileChosen == 0)
        MessageBoxA(window, kNoteText, "Note:", MB_OK);
    else
        clearWindow(window);
    g_viewState = 0;
    g_selectAll = 0;
    enableSelectItems(window, MF_GRAYED);

    if (!chooseFile(window)) {
        g_viewState = 0;
        g_selectAll = 0;
        return;
    }
    g_fileChosen = 1;

    if (!countLines(window)) return;

    DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), window, swapFieldsDialogProc, 0);
    if (!g_input.is_open()) return;  // Cancel

    if (!gatherRanges(window)) return;
    fitPlot();

    g_input.close();
    g_viewState = 1;
    g_selectAll = 0;
    showArrowCursor();
}
