// The application state: process-wide values shared by every command. Everything runs
// on the one GUI thread, one command at a time, so nothing here is locked.
#ifndef SKERROW_POINTS_APPSTATE_H
#define SKERROW_POINTS_APPSTATE_H

#include <windows.h>

#include "points/openedFile.h"
#include "points/plotFit.h"
#include "reader/fileStamp.h"
#include "reader/lineReader.h"
#include "reader/pointFields.h"

// What the window holds and which commands act on it.
enum class ViewState : short {
    Empty = 0,   // nothing plotted and nothing selectable
    Fitted = 1,  // a file inspected and fitted, ready to plot
    Drawn = 2,   // points plotted: an area may be dragged, all points moved
};

// How a write changes the values it writes.
enum class Conversion : short {
    None = 0,  // copies of the field texts
    Move = 1,  // every point shifted to small coordinates
    MetresToFeet = 2,
    FeetToMetres = 4,
    Factor = 8,  // times the typed factor
};

// File identity and layout
extern char g_inputPath[MAX_PATH];
extern char g_fileTitle[MAX_PATH];          // name part of g_inputPath, as chosen at Open
extern short g_fieldCount;                  // 2, 3 or 5 after a successful open
extern int g_lineCount;                     // lines found by the open's counting pass, as Swap Fields shows them
extern int g_pointCount;                    // data lines of the file under the reading choices of the last open
extern short g_fileChosen;                  // 1 once any Open has had a file name chosen
extern FileStamp g_inputStamp;              // the point file as the last Open began to read it
extern unsigned long long g_inputChecksum;  // of its bytes, as the last Open read them
extern FilePlan g_filePlan;                 // how the last Open cut the file for its workers

// Reading choices, set by the Swap Fields dialog's OK
extern short g_swapXY;
extern short g_skipHeader;

extern ViewState g_viewState;

// Ranges found by the open
extern int g_minX, g_minY, g_maxX, g_maxY;
extern int g_rangeX, g_rangeY;
extern float g_minZ, g_maxZ, g_rangeZ;

// Plot fit
extern float g_scale;
extern short g_plotCenterX, g_plotCenterY;
extern int g_plotLeft, g_plotRight, g_plotTop, g_plotBottom;

// The view the plot shows: the whole file by the fit above, or a closer look at a box of
// it by the box's own fit.
struct ZoomState {
    bool zoomed;
    PlotFit fit;  // the box's fit, while zoomed
};
extern ZoomState g_zoom;

// Write choices
extern short g_selectAll;
extern Conversion g_conversion;
extern short g_elevationsOnly;
extern float g_factor;

// The point file's layout under the reading choices.
inline PointLayout pointLayout() { return PointLayout{g_fieldCount, g_swapXY == 1}; }

// The header choice of the reading choices.
inline HeaderChoice headerChoice() { return g_skipHeader == 1 ? HeaderChoice::Skip : HeaderChoice::Read; }

// The file has elevations: 3 or 5 fields.
inline bool hasElevations() { return g_fieldCount == 3 || g_fieldCount == 5; }

// The open file as the state holds it, for the passes.
OpenedFile openedFile();

// The state's ranges and fit, and what an Open keeps of them.
PointRanges currentRanges();
PlotFit currentFit();
void keepRanges(const PointRanges& ranges);
void keepFit(const PlotFit& fit);

// The fit of the view shown: the zoomed one, or the Open's.
PlotFit viewFit();

#endif
