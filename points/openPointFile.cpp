// The Open command: file choice, then the counting pass, the reading choices and the
// parsing pass, each of which may end it.
#include "points/openPointFile.h"

#include <commdlg.h>

#include <cstring>

#include "points/appState.h"
#include "points/openPasses.h"
#include "resource.h"

namespace {

const char kNoteText[] =
    "This program doesn't automatically repaint the screen.\n"
    "Click Redraw on the menu if you lose any screen points.\n\n"
    "Select AreaType and drag area around points to write.   ";

// Shows the open-file dialog; false when no name was chosen.
bool chooseFile(HWND window) {
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

}  // namespace

void showOpenNote(HWND window) { MessageBoxA(window, kNoteText, "Note:", MB_OK); }

OpenResult openPointFile(HWND window) {
    if (!chooseFile(window)) {
        g_viewState = ViewState::Empty;
        g_selectAll = 0;
        return OpenResult::Cancelled;
    }
    g_fileChosen = 1;

    LineReader reader;
    OpenGather gather;
    g_filePlan = FilePlan();
    if (!countLines(window, reader, &gather)) return OpenResult::Failed;

    SwapFieldsChoice choice = {g_lineCount, g_fieldCount, 0, 0};
    const INT_PTR answer = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_SWAPFIELDS), window,
                                           swapFieldsDialogProc, reinterpret_cast<LPARAM>(&choice));
    if (answer != IDOK) {
        // The reading choices keep their previous values.
        closeReader(reader);
        g_viewState = ViewState::Empty;
        return OpenResult::Cancelled;
    }
    g_swapXY = choice.swapXY;
    g_skipHeader = choice.skipHeader;

    if (!gatherRanges(window, reader, gather)) return OpenResult::Failed;
    closeReader(reader);
    g_viewState = ViewState::Fitted;
    g_selectAll = 0;
    showArrowCursor();
    return OpenResult::Opened;
}
