// "&Open" and "&Redraw": the Open of the points subsystem between the clearing and the
// graying before it and the drawing after it; the same Open for a file the desktop hands over.
#include "app/commandWatch.h"
#include "app/commands.h"
#include "app/mainWindow.h"
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/openPointFile.h"

namespace {

// Draws the plot of the file open; its points may then be selected.
void drawAndEnable(HWND window) {
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    CommandWatch watch;
    startCommandWatch(watch, window, "Drawing", false);
    drawPlot(window, openedFile(), currentFit(), &watch.watch);
    endCommandWatch(watch);
    g_viewState = ViewState::Drawn;
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    setSelectItems(window, true);
}

// What every Open does before its file is chosen or taken: the note until a file has been
// chosen once, otherwise the window cleared; nothing selectable meanwhile.
void beginOpen(HWND window) {
    if (g_fileChosen == 0)
        showOpenNote(window);
    else
        clearWindow(window);
    g_viewState = ViewState::Empty;
    g_selectAll = 0;
    setSelectItems(window, false);
}

}  // namespace

void openCommand(HWND window) {
    beginOpen(window);
    CommandWatch watch;
    startCommandWatch(watch, window, "Reading", true);
    const OpenResult opened = openPointFile(window, &watch.watch);
    endCommandWatch(watch);
    if (opened != OpenResult::Opened) return;
    drawAndEnable(window);
}

void openGivenFile(HWND window, const char* path) {
    beginOpen(window);
    CommandWatch watch;
    startCommandWatch(watch, window, "Reading", true);
    const OpenResult opened = openGivenPointFile(window, path, &watch.watch);
    endCommandWatch(watch);
    if (opened != OpenResult::Opened) return;
    drawAndEnable(window);
}

void redrawCommand(HWND window) {
    if (g_fileChosen != 1 || g_viewState == ViewState::Empty) return;
    clearWindow(window);
    drawAndEnable(window);
}

void chooseAreaType(HWND window, AreaType areaType) {
    g_areaType = areaType;
    updateMenu(window);
}
