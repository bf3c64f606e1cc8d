// Process entry: the window class, the main window, the file its command line names, and
// the message loop.
#include <windows.h>

#include "app/desktopOpen.h"
#include "app/mainWindow.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) {
    (void)hPrevInstance;

    HWND window = createMainWindow(hInstance, nShowCmd);
    if (!window) return 0;
    openFromCommandLine(window, lpCmdLine);

    MSG msg = {};
    // GetMessage gives -1 on error; that ends the loop like a quit.
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
