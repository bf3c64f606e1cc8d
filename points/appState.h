// The application state: process-wide values shared by every command. Everything runs
// on the one GUI thread, one command at a time, so nothing here is locked.
#ifndef SKERROW_POINTS_APPSTATE_H
#define SKERROW_POINTS_APPSTATE_H

#include <windows.h>

#include <fstream>

#include "points/fileStamp.h"

// File identity and layout
extern char g_inputPath[MAX_PATH];
extern char g_fileTitle[MAX_PATH];  // name part of g_inputPath, as chosen at Open
extern short g_fieldCount;          // 2, 3 or 5 after a successful open
extern int g_lineCount;             // data lines found by the open's counting pass
extern int g_pointCount;            // data lines of the file under the reading choices of the last open
extern short g_fileChosen;          // 1 once any Open has had a file name chosen
extern FileStamp g_inputStamp;      // the point file as the last Open began to read it

// Reading choices, set by the Swap Fields dialog's OK
extern short g_swapXY;
extern short g_skipHeader;

// 0 nothing selectable, 1 inspected and fitted, 2 drawn
extern short g_viewState;

// Ranges found by the open
extern int g_minX, g_minY, g_maxX, g_maxY;
extern int g_rangeX, g_rangeY;
extern float g_minZ, g_maxZ, g_rangeZ;

// Plot fit
extern float g_scale;
extern short g_plotCenterX, g_plotCenterY;
extern int g_plotLeft, g_plotRight, g_plotTop, g_plotBottom;

// Write choices
extern short g_selectAll;
extern short g_writeGo;
extern short g_conversion;  // 0 none, 1 move, 2 metres to feet, 4 feet to metres, 8 typed factor
extern short g_elevationsOnly;
extern float g_factor;

// Line scratch, valid inside one pass
extern std::ifstream g_input;
extern char g_lineBuf[128];
extern char* g_field1;
extern char* g_field2;
extern char* g_field3;
extern char* g_field4;
extern char* g_field5;  // 5-field files: the description, cut off field 4 and never read
extern char g_xText[128];
extern char g_yText[128];
extern char g_zText[128];
extern double g_x, g_y;
extern float g_elevation;
extern int g_lineNumber;  // line of the file now in g_lineBuf, counted from 1 (header included)

#endif
