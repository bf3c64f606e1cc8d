// "Move All Pts.": refused for a file already at small coordinates, otherwise the writer
// in its move mode, with no option dialog.
#include "app/commands.h"
#include "app/mainWindow.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "points/appState.h"

void moveAllPoints(HWND window) {
    if (g_minY < 2 && g_minX < 2) {
        MessageBoxA(window, "This file can't be reduced\n        or already has been.", "Sorry", MB_OK);
        return;
    }
    if (g_viewState != ViewState::Drawn) return;
    g_conversion = Conversion::Move;
    clearWindow(window);
    g_fileType = FileType::Comma;
    // Declined, the menu keeps its items as they were.
    if (writeWatched(window) == WriteEnd::Ended) setSelectItems(window, false);
}
