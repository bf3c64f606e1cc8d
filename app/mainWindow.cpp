// The main window: its class, creation, window procedure, command switch and menu state.
#include "app/mainWindow.h"

#include <shellapi.h>

#include "app/areaSelection.h"
#include "app/commands.h"
#include "app/desktopOpen.h"
#include "points/appState.h"
#include "resource.h"

HWND g_mainWindow = NULL;
short g_selectItemsEnabled = 0;

namespace {

const char kClassName[] = "myWindowClass";
const char kCaption[] = "Skerrow v1.0 (https://skerrow.org)";

void onCommand(HWND window, WORD id) {
    // A polygon being placed goes with any command but the one that keeps its points outside.
    if (id != IDM_OUTSIDE) dropPolygon(window);
    switch (id) {
    case IDM_OPEN: openCommand(window); break;
    case IDM_EXIT: PostMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_REDRAW: redrawCommand(window); break;
    case IDM_RECTANGLE: chooseAreaType(window, AreaType::Rectangle); break;
    case IDM_CIRCLE: chooseAreaType(window, AreaType::Circle); break;
    case IDM_SELECTALL: runWriteSequence(window, 1, NULL); break;
    case IDM_MOVEALL: moveAllPoints(window); break;
    case IDM_POLYGON: chooseAreaType(window, AreaType::Polygon); break;
    case IDM_OUTSIDE: toggleOutside(window); break;
    case IDM_WHOLEFILE: wholeFileCommand(window); break;
    default: break;  // unknown commands are ignored
    }
}

}  // namespace

HWND createMainWindow(HINSTANCE instance, int showCommand) {
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
    DragAcceptFiles(window, TRUE);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

void updateMenu(HWND window) {
    HMENU menu = GetMenu(window);
    CheckMenuItem(menu, IDM_RECTANGLE, g_areaType == AreaType::Rectangle ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, IDM_CIRCLE, g_areaType == AreaType::Circle ? MF_CHECKED : MF_UNCHECKED);
    const UINT enable = g_selectItemsEnabled == 1 ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_SELECTALL, enable);
    EnableMenuItem(menu, IDM_MOVEALL, enable);
    CheckMenuItem(menu, IDM_POLYGON, g_areaType == AreaType::Polygon ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, IDM_OUTSIDE, g_pointsOutside ? MF_CHECKED : MF_UNCHECKED);
    EnableMenuItem(menu, IDM_WHOLEFILE, g_zoom.zoomed ? MF_ENABLED : MF_GRAYED);
    DrawMenuBar(window);  // "&Whole File" stands on the bar itself
}

void setSelectItems(HWND window, bool enabled) {
    g_selectItemsEnabled = enabled ? 1 : 0;
    updateMenu(window);
}

void fillClientBlack(HWND window, HDC dc) {
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, black);
    DeleteObject(black);
}

void clearWindow(HWND window) {
    HDC dc = GetDC(window);
    fillClientBlack(window, dc);
    ReleaseDC(window, dc);
    g_viewState = ViewState::Empty;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        g_selectItemsEnabled = 0;
        updateMenu(window);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_CLOSE:
        // No pass runs between messages, so no point file is open here.
        DestroyWindow(window);
        return 0;
    case WM_DROPFILES:
    case WM_APP_OPENGIVEN: onDesktopOpen(window, message, wParam); return 0;
    case WM_COMMAND: onCommand(window, LOWORD(wParam)); return 0;
    case WM_MOUSEMOVE:
        if (g_areaType == AreaType::Polygon)
            onPolygonMove(window, wParam, lParam);
        else
            onMouseMove(window, wParam, lParam);
        onZoomMove(window, wParam, lParam);
        showPointer(window, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        hidePointer(window);
        if (g_zoomDrag.active) return 0;  // the right button's box keeps the mouse
        if (g_areaType == AreaType::Polygon)
            onPolygonButtonDown(window, wParam, lParam);
        else
            onLButtonDown(window, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        if (g_areaType == AreaType::Polygon)
            onPolygonButtonUp(window, wParam, lParam);
        else
            onLButtonUp(window, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        hidePointer(window);
        onRButtonDown(window, wParam, lParam);
        return 0;
    case WM_RBUTTONUP: onRButtonUp(window, wParam, lParam); return 0;
    case WM_KEYDOWN: onPolygonKey(window, wParam); return 0;
    case WM_MOUSELEAVE: onMouseLeave(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
