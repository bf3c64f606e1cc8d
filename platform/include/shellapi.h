// The shell's part of the Win32 subset (shell32 on Windows): files dropped on a window.
#ifndef SKERROW_PLATFORM_SHELLAPI_H
#define SKERROW_PLATFORM_SHELLAPI_H

#include <windows.h>

#ifndef RC_INVOKED

struct HDROP__;
typedef struct HDROP__* HDROP;

#ifdef __cplusplus
extern "C++" {
#endif

// Drag and drop of files: WM_DROPFILES (wParam an HDROP) once the window accepts them.
void DragAcceptFiles(HWND hwnd, BOOL accept);
UINT DragQueryFileA(HDROP drop, UINT file, LPSTR fileName, UINT size);
BOOL DragQueryPoint(HDROP drop, LPPOINT point);
void DragFinish(HDROP drop);

#ifdef __cplusplus
}
#endif

#endif  // RC_INVOKED
#endif  // SKERROW_PLATFORM_SHELLAPI_H
