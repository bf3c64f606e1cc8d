// The Open command: choosing, inspecting and fitting a point file.
#ifndef SKERROW_POINTS_OPENFILE_H
#define SKERROW_POINTS_OPENFILE_H

#include <windows.h>

void openPointFile(HWND window);
INT_PTR CALLBACK swapFieldsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
