// Files the desktop hands over: a path on the command line ("Open with", a double click on
// an associated file, a desktop entry's %f) and files dropped on the main window. One file
// is opened as "&Open" opens a chosen one; more than one is refused with a message.
#ifndef SKERROW_APP_DESKTOPOPEN_H
#define SKERROW_APP_DESKTOPOPEN_H

#include <windows.h>

#include <string>
#include <vector>

// Posted by WinMain when the command line names files, so that they are opened inside the
// message loop once the window has shown, as a file chosen in "&Open" is.
constexpr UINT WM_APP_OPENGIVEN = WM_APP + 1;

// The arguments of lpCmdLine (the command line after the program name) by Windows' rules,
// those of CommandLineToArgvW: blanks and tabs separate outside double quotes; a quote
// opens or closes a quoted part, "" inside one is a literal quote; 2n backslashes before
// a quote are n backslashes and the quote counts, 2n+1 are n and a literal quote; other
// backslashes stand for themselves.
std::vector<std::string> splitCommandLine(const char* commandLine);

// Keeps the arguments of the command line and, when there are any, posts WM_APP_OPENGIVEN
// to the window. Without arguments nothing happens.
void openFromCommandLine(HWND window, const char* commandLine);

// WM_APP_OPENGIVEN (the command line's files) and WM_DROPFILES (wParam the HDROP, always
// finished here): one file is opened, more than one gets a message.
void onDesktopOpen(HWND window, UINT message, WPARAM wParam);

#endif
