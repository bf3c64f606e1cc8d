// The main window, its commands and the write sequence.
#ifndef SKERROW_APP_MAINWINDOW_H
#define SKERROW_APP_MAINWINDOW_H

#include <windows.h>

extern HINSTANCE g_instance;  // the process instance passed to WinMain
extern HWND g_mainWindow;     // the one main window, once created

// Registers the class and creates and shows the main window (start-up steps 1 to 3);
// reports a failure in its message box and returns NULL.
HWND createMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the whole client area black and sets g_viewState to 0.
void clearWindow(HWND window);
// Fills the whole client area black through a device context already held.
void fillClientBlack(HWND window, HDC dc);

// From "Select All Pts." (selectAll 1) or a completed area selection (selectAll 0):
// clears the window, asks the write options and runs the writer. dc is the device
// context a drag still holds (released before the writer runs), or NULL.
void runWriteSequence(HWND window, short selectAll, HDC dc);

// Grays or enables "Select All Pts." and "Move All Pts." together.
void enableSelectItems(HWND window, UINT enable);

#endif
