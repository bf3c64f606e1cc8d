// The pointer's coordinates in the panel: the whole point coordinates a rectangle's
// corner placed there would select. The strip lies in the panel under the frame, apart
// from every outline, which stays inside the frame, so showing and clearing it never
// disturbs an inverted figure.
#include "app/areaSelection.h"
#include "plot/infoPanel.h"
#include "points/appState.h"

PointerReadout g_pointerReadout = {};

namespace {

bool overFrame(DragPoint point, const PlotFit& fit) {
    return point.x >= fit.left && point.x <= fit.right && point.y >= fit.top && point.y <= fit.bottom;
}

// A button is held, as the message says or as a drag, a press or a closer look in hand
// knows it.
bool buttonHeld(WPARAM wParam) {
    return (wParam & (MK_LBUTTON | MK_RBUTTON)) != 0 || g_dragActive || g_placing.pressed || g_zoomDrag.active;
}

}  // namespace

void showPointer(HWND window, WPARAM wParam, LPARAM lParam) {
    const PlotFit fit = viewFit();
    const DragPoint at = mousePosition(lParam);
    if (g_viewState != ViewState::Drawn || buttonHeld(wParam) || !overFrame(at, fit)) {
        hidePointer(window);
        return;
    }
    if (!g_pointerReadout.tracking) {
        TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
        g_pointerReadout.tracking = TrackMouseEvent(&track) != FALSE;
    }
    HDC dc = GetDC(window);
    drawPointerStrip(dc, fit, cornerToWorld(at.x, at.y, fit));
    ReleaseDC(window, dc);
    g_pointerReadout.shown = true;
}

void hidePointer(HWND window) {
    if (!g_pointerReadout.shown) return;
    g_pointerReadout.shown = false;
    // A window cleared since leaves nothing to take off; a drawing starts without the strip.
    if (g_viewState != ViewState::Drawn) return;
    HDC dc = GetDC(window);
    clearPointerStrip(dc, viewFit());
    ReleaseDC(window, dc);
}

void onMouseLeave(HWND window) {
    g_pointerReadout.tracking = false;
    hidePointer(window);
}
