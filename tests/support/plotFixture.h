// The plot tests' fixture: a point file written into the test's folder and opened through
// "&Open", and short names for what the window shows.
#ifndef SKERROW_TESTS_SUPPORT_PLOTFIXTURE_H
#define SKERROW_TESTS_SUPPORT_PLOTFIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "points/appState.h"
#include "resource.h"
#include "support/appFixture.h"

// Answers the next " Write File As" with Cancel.
inline void cancelWriteFileAs() {
    td::expectModal([](td::Modal& m) {
        EXPECT_EQ(m.caption(), " Write File As");
        m.click(IDCANCEL);
    });
}

// How many modal windows the test has met so far.
inline size_t modalsSeen() { return td::modalLog().size(); }

class PlotTest : public AppTest {
protected:
    // Writes content as name and opens it; the plot is drawn by the Open command.
    std::string openPoints(const std::string& content, bool skipHeader = false,
                           const std::string& name = "points.csv") {
        std::string p = file(name, content);
        openFile(p, false, skipHeader);
        return p;
    }

    // Rewrites the opened file behind the system's back and redraws it: the fit and the
    // ranges stay those of the open.
    void changeAndRedraw(const std::string& content, const std::string& name = "points.csv") {
        file(name, content);
        td::command(window, IDM_REDRAW);
    }

    COLORREF at(int x, int y) { return td::pixel(window, x, y); }

    int count(RECT area, COLORREF colour) { return td::countPixels(window, area, colour); }

    // The inside of the frame, clear of the 3-pixel edge.
    RECT inside() const { return {g_plotLeft + 3, g_plotTop + 3, g_plotRight - 3, g_plotBottom - 3}; }

    int insideArea() const { return (g_plotRight - g_plotLeft - 6) * (g_plotBottom - g_plotTop - 6); }
};

// "r,g,b" so that a failing colour check reads plainly.
inline std::string rgb(COLORREF c) {
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

struct Band {
    int k;
    COLORREF colour;
};

// Ramp indices and their colours: both ends of every band, and a middle index of some.
const Band kBands[] = {
    {0, RGB(0, 0, 50)},        {10, RGB(0, 0, 150)},      {19, RGB(0, 0, 240)},      {20, RGB(0, 0, 255)},
    {39, RGB(0, 228, 255)},    {40, RGB(0, 255, 255)},    {59, RGB(0, 255, 27)},     {60, RGB(0, 255, 0)},
    {79, RGB(0, 179, 0)},      {80, RGB(0, 160, 0)},      {99, RGB(228, 236, 0)},    {100, RGB(255, 255, 0)},
    {119, RGB(255, 160, 0)},   {120, RGB(255, 144, 0)},   {130, RGB(255, 74, 0)},    {139, RGB(255, 11, 0)},
    {140, RGB(255, 15, 0)},    {159, RGB(160, 15, 0)},    {160, RGB(192, 0, 0)},     {179, RGB(249, 0, 228)},
    {180, RGB(255, 0, 255)},   {199, RGB(255, 133, 255)}, {200, RGB(238, 128, 238)}, {219, RGB(143, 128, 143)},
    {220, RGB(154, 154, 154)}, {230, RGB(204, 204, 204)}, {240, RGB(254, 254, 254)},
};

#endif
