// The main window: its class, its window procedure, its menu and the clearing of its
// client area.
#ifndef SKERROW_APP_MAINWINDOW_H
#define SKERROW_APP_MAINWINDOW_H

#include <windows.h>

extern HWND g_mainWindow;  // the one main window, once created

// 1 while "Select All Pts." and "Move All Pts." may be chosen: from a drawing to the next
// Open, write sequence or written move. A declined move leaves it as it was.
extern short g_selectItemsEnabled;

// Registers the class and creates and shows the main window (start-up steps 1 to 3);
// reports a failure in its message box and returns NULL.
HWND createMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the menu from the state: the area type's check mark, and "Select All Pts." and
// "Move All Pts." enabled or grayed by g_selectItemsEnabled.
void updateMenu(HWND window);

// Sets g_selectItemsEnabled and the menu with it.
void setSelectItems(HWND window, bool enabled);

// Fills the whole client area black and sets g_viewState to Empty.
void clearWindow(HWND window);
// Fills the whole client area black through a device context already held.
void fillClientBlack(HWND window, HDC dc);

#endif
