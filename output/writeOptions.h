// The " Write File As" and " Conversion" dialogs and the write options they set.
#ifndef SKERROW_OUTPUT_WRITEOPTIONS_H
#define SKERROW_OUTPUT_WRITEOPTIONS_H

#include <windows.h>

extern short g_fileType;      // 1 comma, 2 space, 3 tab separated
extern short g_tabCount;      // tabs per gap in the tab form, 0 to 5
extern short g_modifyValues;  // 1 = " Conversion" follows

INT_PTR CALLBACK writeFileAsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK conversionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
