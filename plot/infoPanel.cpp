// The five panel texts: the title centred over the frame, the file name at the top left,
// and the elevation range and point count under the frame; a zoomed view's note, and the
// strip of the pointer's coordinates, under the frame between them.
#include "plot/infoPanel.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "plot/plotGeometry.h"

namespace {

HFONT createPanelFont(int height, DWORD italic) {
    return CreateFontA(height, 0, 0, 0, FW_BOLD, italic, FALSE, FALSE, 0, 0, 0, 0, 0, "Times New Roman");
}

void drawText(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, lstrlenA(text)); }

// The strip for the pointer's coordinates: the label texts' row under the frame.
RECT pointerStrip(const PlotFit& fit) {
    const int below = fit.bottom + kPanelBelowFrame;
    return RECT{kPointerStripLeft, below, kPointerStripRight, below + kLabelFontHeight};
}

}  // namespace

void drawInfoPanel(HDC dc, const OpenedFile& file, const PlotFit& fit, PlotScope scope) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);

    HFONT titleFont = createPanelFont(kTitleFontHeight, TRUE);
    HGDIOBJ previousFont = SelectObject(dc, titleFont);
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    drawText(dc, kTitleX, fit.top - kTitleAboveFrame, "Select Points");
    SelectObject(dc, previousFont);
    DeleteObject(titleFont);

    SetTextAlign(dc, TA_LEFT | TA_TOP);
    HFONT labelFont = createPanelFont(kLabelFontHeight, FALSE);
    previousFont = SelectObject(dc, labelFont);

    char text[MAX_PATH + 16];
    std::snprintf(text, sizeof text, "Filename: %s", file.title);
    for (char* c = text + std::strlen("Filename: "); *c; ++c)
        *c = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    drawText(dc, kFileNameX, kFileNameY, text);

    const int below = fit.bottom + kPanelBelowFrame;
    std::snprintf(text, sizeof text, "Min. El: %.1f", static_cast<double>(file.ranges.minZ));
    drawText(dc, kMinElevationX, below, text);
    std::snprintf(text, sizeof text, "Max. El: %.1f", static_cast<double>(file.ranges.maxZ));
    drawText(dc, kMaxElevationX, below, text);
    // The points under the reading choices: a skipped header line is no point.
    std::snprintf(text, sizeof text, "Total # Points: %lld", file.pointCount);
    drawText(dc, kPointCountX, below, text);
    if (scope == PlotScope::Zoomed) drawText(dc, kZoomNoteX, below, "Zoomed view");

    SelectObject(dc, previousFont);
    DeleteObject(labelFont);
}

void clearPointerStrip(HDC dc, const PlotFit& fit) {
    const RECT strip = pointerStrip(fit);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &strip, black);
    DeleteObject(black);
}

void drawPointerStrip(HDC dc, const PlotFit& fit, WorldPoint point) {
    clearPointerStrip(dc, fit);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    HFONT labelFont = createPanelFont(kLabelFontHeight, FALSE);
    HGDIOBJ previousFont = SelectObject(dc, labelFont);
    char text[48];
    std::snprintf(text, sizeof text, "X: %d   Y: %d", point.x, point.y);
    drawText(dc, kPointerStripLeft, pointerStrip(fit).top, text);
    SelectObject(dc, previousFont);
    DeleteObject(labelFont);
}
