// The application state: every shared value with its start-up value. The ranges get
// their working start values at each Open, not here.
#include "points/appState.h"

// File identity and layout
char g_inputPath[MAX_PATH] = "";
char g_fileTitle[MAX_PATH] = "";
short g_fieldCount = 0;
int g_lineCount = 0;
int g_pointCount = 0;
short g_fileChosen = 0;
FileStamp g_inputStamp;
unsigned long long g_inputChecksum = 0;
FilePlan g_filePlan;

// Reading choices
short g_swapXY = 0;
short g_skipHeader = 0;

ViewState g_viewState = ViewState::Empty;

// Ranges
int g_minX = 0, g_minY = 0, g_maxX = 0, g_maxY = 0;
int g_rangeX = 0, g_rangeY = 0;
float g_minZ = 0.0f, g_maxZ = 0.0f, g_rangeZ = 0.0f;

// Plot fit
float g_scale = 0.0f;
short g_plotCenterX = 0, g_plotCenterY = 0;
int g_plotLeft = 0, g_plotRight = 0, g_plotTop = 0, g_plotBottom = 0;

ZoomState g_zoom = {};

// Write choices
short g_selectAll = 0;
Conversion g_conversion = Conversion::None;
short g_elevationsOnly = 0;
float g_factor = 0.0f;

OpenedFile openedFile() {
    return OpenedFile{g_inputPath,    g_fileTitle, g_inputStamp, g_inputChecksum, pointLayout(),
                      headerChoice(), g_lineCount, g_pointCount, currentRanges(), g_filePlan};
}

PointRanges currentRanges() {
    return PointRanges{g_minX, g_minY, g_maxX, g_maxY, g_rangeX, g_rangeY, g_minZ, g_maxZ, g_rangeZ};
}

PlotFit currentFit() {
    return PlotFit{PlotExtent{g_minX, g_minY, g_maxY, g_rangeX, g_rangeY},
                   g_scale,
                   g_plotCenterX,
                   g_plotCenterY,
                   g_plotLeft,
                   g_plotRight,
                   g_plotTop,
                   g_plotBottom};
}

void keepRanges(const PointRanges& ranges) {
    g_minX = ranges.minX;
    g_minY = ranges.minY;
    g_maxX = ranges.maxX;
    g_maxY = ranges.maxY;
    g_rangeX = ranges.rangeX;
    g_rangeY = ranges.rangeY;
    g_minZ = ranges.minZ;
    g_maxZ = ranges.maxZ;
    g_rangeZ = ranges.rangeZ;
}

void keepFit(const PlotFit& fit) {
    g_scale = fit.scale;
    g_plotCenterX = fit.centreX;
    g_plotCenterY = fit.centreY;
    g_plotLeft = fit.left;
    g_plotRight = fit.right;
    g_plotTop = fit.top;
    g_plotBottom = fit.bottom;
}

PlotFit viewFit() { return g_zoom.zoomed ? g_zoom.fit : currentFit(); }
