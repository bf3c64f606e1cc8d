// The main window: its class, creation, window procedure and menu commands.
#include "app/mainWindow.h"

#include "app/areaSelection.h"
#include "output/writeOptions.h"
#include "output/writer.h"
#include "plot/plotView.h"
#include "points/appState.h"
#include "points/openFile.h"
#include "resource.h"

HINSTANCE g_instance = NULL;
HWND g_mainWindow = NULL;

static const char kClassName[] = "myWindowClass";
static const char kCaption[] = "Skerrow v1.0 (https://skerrow.org)";

HWND createMainWindow(HINSTANCE instance, int showCommand)
{
    g_instance = instance;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.style = 0;
    wc.lpfnWndProc = mainWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    wc.lpszClassName = kClassName;
    wc.hIconSm = LoadIconA(NULL, IDI_APPLICATION);

    if (!RegisterClassExA(&wc)) {
        MessageBoxA(NULL, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return NULL;
    }

    HWND window = CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 960, 740,
                                  NULL, NULL, instance, NULL);
    if (window == NULL) {
        MessageBoxA(NULL, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return NULL;
    }

    g_mainWindow = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

void enableSelectItems(HWND window, UINT enable)
{
    HMENU menu = GetMenu(window);
    EnableMenuItem(menu, IDM_SELECTALL, enable);
    EnableMenuItem(menu, IDM_MOVEALL, enable);
}

void fillClientBlack(HWND window, HDC dc)
{
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, black);
    DeleteObject(black);
}

void clearWindow(HWND window)
{
    HDC dc = GetDC(window);
    fillClientBlack(window, dc);
    ReleaseDC(window, dc);
    g_viewState = 0;
}

static void setAreaType(HWND window, short areaType)
{
    HMENU menu = GetMenu(window);
    g_areaType = areaType;
    CheckMenuItem(menu, IDM_RECTANGLE, areaType == 1 ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, IDM_CIRCLE, areaType == 0 ? MF_CHECKED : MF_UNCHECKED);
}

static void moveAllPoints(HWND window)
{
    if (g_minY < 2 && g_minX < 2) {
        MessageBoxA(window, "This file can't be reduced\n        or already has been.", "Sorry", MB_OK);
        return;
    }
    if (g_viewState != 2)
        return;
    g_conversion = 1;
    clearWindow(window);
    g_fileType = 1;
    writePoints(window);
}

static void onCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_OPEN:
        openPointFile(window);
        if (g_viewState == 1)
            drawPlot(window);
        break;
    case IDM_EXIT:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case IDM_REDRAW:
        if (g_fileChosen == 1 && g_viewState > 0) {
            clearWindow(window);
            drawPlot(window);
        }
        break;
    case IDM_RECTANGLE:
        setAreaType(window, 1);
        break;
    case IDM_CIRCLE:
        setAreaType(window, 0);
        break;
    case IDM_SELECTALL:
        runWriteSequence(window, 1, NULL);
        break;
    case IDM_MOVEALL:
        moveAllPoints(window);
        break;
    default:
        break;  // unknown commands are ignored
    }
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        HMENU menu = GetMenu(window);
        CheckMenuItem(menu, IDM_RECTANGLE, MF_CHECKED);
        EnableMenuItem(menu, IDM_SELECTALL, MF_GRAYED);
        EnableMenuItem(menu, IDM_MOVEALL, MF_GRAYED);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        if (g_input.is_open())
            g_input.close();
        DestroyWindow(window);
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        return 0;
    case WM_MOUSEMOVE:
        onMouseMove(window, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        onLButtonDown(window, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        onLButtonUp(window, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
