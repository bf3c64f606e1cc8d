// "&Open" and "&Redraw": the Open of the points subsystem between the clearing and the
// graying before it and the drawing after it; the same Open for a file the desktop hands
// over; the closer look at a box and "&Whole File" back from it; the area type and
// "Points &Outside".
#include <climits>

#include "app/areaSelection.h"
#include "app/commandWatch.h"
#include "app/commands.h"
#include "app/mainWindow.h"
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/openPointFile.h"

namespace {

// Draws the plot of the file open in the view chosen; its points may then be selected.
void drawAndEnable(HWND window) {
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    CommandWatch watch;
    startCommandWatch(watch, window, "Drawing", false);
    drawPlot(window, openedFile(), viewFit(), g_zoom.zoomed ? PlotScope::Zoomed : PlotScope::WholeFile, &watch.watch);
    endCommandWatch(watch);
    g_pointerReadout.shown = false;  // the panel was drawn anew, without the strip
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
    g_zoom.zoomed = false;  // every file starts whole
    setSelectItems(window, false);
}

// An Open, chosen or given, under the watch of long work; the plot drawn if it opened.
template <class Open>
void openAndDraw(HWND window, const Open& open) {
    beginOpen(window);
    CommandWatch watch;
    startCommandWatch(watch, window, "Reading", true);
    const OpenResult opened = open(&watch.watch);
    endCommandWatch(watch);
    if (opened == OpenResult::Opened) drawAndEnable(window);
}

}  // namespace

void openCommand(HWND window) {
    openAndDraw(window, [window](PassWatch* watch) { return openPointFile(window, watch); });
}

void openGivenFile(HWND window, const char* path) {
    openAndDraw(window, [window, path](PassWatch* watch) { return openGivenPointFile(window, path, watch); });
}

void redrawCommand(HWND window) {
    if (g_fileChosen != 1 || g_viewState == ViewState::Empty) return;
    clearWindow(window);
    drawAndEnable(window);
}

void zoomToBox(HWND window, const DraggedArea& box) {
    const SelectionArea area = selectionToWorld(box, AreaType::Rectangle, viewFit());
    const long long rangeX = static_cast<long long>(area.maxX) - area.minX;
    const long long rangeY = static_cast<long long>(area.maxY) - area.minY;
    // A box within one whole unit, or wider than any extent an Open takes, has no fit.
    if (rangeX <= 0 || rangeY <= 0 || rangeX > INT_MAX || rangeY > INT_MAX) return;
    g_zoom.fit =
        fitPlot(PlotExtent{area.minX, area.minY, area.maxY, static_cast<int>(rangeX), static_cast<int>(rangeY)});
    g_zoom.zoomed = true;
    clearWindow(window);
    drawAndEnable(window);
}

void wholeFileCommand(HWND window) {
    if (!g_zoom.zoomed) return;
    g_zoom.zoomed = false;
    if (g_viewState == ViewState::Empty) {
        updateMenu(window);
        return;
    }
    clearWindow(window);
    drawAndEnable(window);
}

void chooseAreaType(HWND window, AreaType areaType) {
    g_areaType = areaType;
    updateMenu(window);
}

void toggleOutside(HWND window) {
    g_pointsOutside = !g_pointsOutside;
    updateMenu(window);
}
