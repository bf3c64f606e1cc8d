// The five panel texts: the title centred over the frame, the file name at the top left,
// and the elevation range and point count under the frame.
#include "plot/infoPanel.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "points/appState.h"

namespace {

HFONT createPanelFont(int height, DWORD italic) {
    return CreateFontA(height, 0, 0, 0, FW_BOLD, italic, FALSE, FALSE, 0, 0, 0, 0, 0, "Times New Roman");
}

void drawText(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, lstrlenA(text)); }

}  // namespace

void drawInfoPanel(HDC dc) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);

    HFONT titleFont = createPanelFont(30, TRUE);
    HGDIOBJ previousFont = SelectObject(dc, titleFont);
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    drawText(dc, 480, g_plotTop - 8, "Select Points");
    SelectObject(dc, previousFont);
    DeleteObject(titleFont);

    SetTextAlign(dc, TA_LEFT | TA_TOP);
    HFONT labelFont = createPanelFont(18, FALSE);
    previousFont = SelectObject(dc, labelFont);

    char text[MAX_PATH + 16];
    std::snprintf(text, sizeof text, "Filename: %s", g_fileTitle);
    for (char* c = text + std::strlen("Filename: "); *c; ++c)
        *c = static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    drawText(dc, 4, 6, text);

    std::snprintf(text, sizeof text, "Min. El: %.1f", static_cast<double>(g_minZ));
    drawText(dc, 5, g_plotBottom + 4, text);
    std::snprintf(text, sizeof text, "Max. El: %.1f", static_cast<double>(g_maxZ));
    drawText(dc, 145, g_plotBottom + 4, text);
    // g_pointCount already leaves out a skipped header line.
    std::snprintf(text, sizeof text, "Total # Points: %d", g_pointCount);
    drawText(dc, 765, g_plotBottom + 4, text);

    SelectObject(dc, previousFont);
    DeleteObject(labelFont);
}
