// Process entry: the window class, the main window and the message loop.
#include <windows.h>

#include "app/mainWindow.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) {
    (void)hPrevInstance;
    (void)lpCmdLine;

    if (!createMainWindow(hInstance, nShowCmd)) return 0;

    MSG msg = {};
    // GetMessage gives -1 on error; that ends the loop like a quit.
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
