// A top-level test window on the real layer, made as the program makes its main window
// (960 x 740 at 0,0, overlapped with caption and system menu, optionally menu 101), whose
// window procedure records every message it receives.
#ifndef SKERROW_TESTS_PLATFORM_WINDOWTESTWINDOW_H
#define SKERROW_TESTS_PLATFORM_WINDOWTESTWINDOW_H

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "resource.h"
#include "testdriver.h"

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool menuKnown;  // GetMenu gave a menu while the message was handled
};

inline std::vector<ReceivedMessage> g_received;
inline bool g_closeDestroys = false;  // WM_CLOSE goes on to DefWindowProcA

inline LRESULT CALLBACK recordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_received.push_back({message, wParam, lParam, GetMenu(window) != nullptr});
    if (message == WM_CLOSE && !g_closeDestroys) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

inline const char* testClassName(bool withMenu) { return withMenu ? "skerrowTestMenuWindow" : "skerrowTestWindow"; }

// Registers the test class once per process (a second registration fails, as on Windows).
inline void registerTestClass(bool withMenu) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = recordingWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = withMenu ? MAKEINTRESOURCEA(IDR_MAINMENU) : nullptr;
    wc.lpszClassName = testClassName(withMenu);
    RegisterClassExA(&wc);
}

inline HWND createTestWindow(bool withMenu) {
    registerTestClass(withMenu);
    HWND window = CreateWindowExA(0, testClassName(withMenu), "Test window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0,
                                  0, 960, 740, NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (window) ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

inline int countReceived(UINT message) {
    int count = 0;
    for (const ReceivedMessage& received : g_received) count += received.message == message;
    return count;
}

// Test with a recording window open; the messages of its creation are already received.
class TestWindow : public ::testing::Test {
protected:
    virtual bool withMenu() const { return true; }
    void SetUp() override {
        g_received.clear();
        g_closeDestroys = false;
        window = createTestWindow(withMenu());
        ASSERT_NE(window, nullptr);
        td::pump();
    }
    void TearDown() override {
        ClipCursor(NULL);
        ReleaseCapture();
        if (td::windowExists(window)) DestroyWindow(window);
        td::pump();
    }

    HWND window = nullptr;
};

// A test window with a device context on its client area, held for the whole test.
class PaintedWindow : public TestWindow {
protected:
    void SetUp() override {
        TestWindow::SetUp();
        dc = GetDC(window);
        ASSERT_NE(dc, nullptr);
    }
    void TearDown() override {
        if (dc) ReleaseDC(window, dc);
        TestWindow::TearDown();
    }

    HDC dc = nullptr;
};

#endif
