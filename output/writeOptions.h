// The " Write File As" and " Conversion" dialogs and the write options they give.
#ifndef SKERROW_OUTPUT_WRITEOPTIONS_H
#define SKERROW_OUTPUT_WRITEOPTIONS_H

#include <windows.h>

#include "points/appState.h"

// How the fields of an output line are separated.
enum class FileType : short { Comma = 1, Space = 2, Tab = 3 };

constexpr short kMostTabs = 5;  // the tab count " Write File As" takes at most

extern FileType g_fileType;  // comma separated at start
extern short g_tabCount;     // tabs per gap in the tab form, 0 to kMostTabs

// What a write is asked to make of the points, as the writer's pass takes it.
struct WriteChoices {
    Conversion conversion;
    bool elevationsOnly;
    float factor;  // the typed factor, in single precision
    FileType fileType;
    short tabCount;
    int moveMinX, moveMinY;  // a move shifts these whole minima to 1
};

// The write choices the state holds now.
WriteChoices writeChoices();

// " Write File As": the form and tab count, and whether " Conversion" follows. The dialog
// gets the record through the LPARAM of DialogBoxParamA, fills it only on OK and ends
// with IDOK or IDCANCEL.
struct WriteFileAsChoice {
    FileType fileType;
    short tabCount;
    bool modifyValues;
};
INT_PTR CALLBACK writeFileAsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// " Conversion": the conversion, whether it applies to elevations only, and for a typed
// factor the factor and whether it was usable (wholly a number, finite in single
// precision and not 0). Passed and answered as WriteFileAsChoice.
struct ConversionChoice {
    Conversion conversion;
    bool elevationsOnly;
    float factor;
    bool factorValid;
};
INT_PTR CALLBACK conversionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
