// Internals of the layer's top-level windows, shared by the window, menu, GDI and cursor
// files and by the test driver. Not seen by the program.
#ifndef SKERROW_PLATFORM_TOPLEVEL_H
#define SKERROW_PLATFORM_TOPLEVEL_H

#include <windows.h>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <string>
#include <vector>

#include "resourceScript.h"

class QAction;
class QMenuBar;

namespace layer {

// The frame Windows 10 at 96 dpi draws around the client area of an overlapped window
// with caption, system menu (no sizing border) and a one-line menu bar: the fixed frame
// is 3 pixels, the caption 23 under it. The information panel under a plot that fills the full
// 630-pixel height ends at row 690, which this client area of 954 x 691 just holds.
constexpr int kBorderWidth = 3;     // left, right and bottom borders
constexpr int kCaptionHeight = 26;  // top frame and title bar, above the menu bar
constexpr int kMenuBarHeight = 20;

// A text drawn with TextOutA, as the test driver reports it.
struct DrawnText {
    std::string text;
    int x = 0, y = 0;
    UINT align = 0;
    COLORREF color = 0;
    std::string face;
    int height = 0, weight = 0;
    bool italic = false;
    RECT bounds = {0, 0, 0, 0};
    bool paintedOver = false;  // since wholly covered by a fill or an opaque text's cell
};

// HWND__::data of a top-level window.
struct TopLevel {
    QWidget* frame = nullptr;   // the Qt top-level widget: menu bar above client
    QWidget* client = nullptr;  // shows the back buffer, turns mouse input into messages
    QMenuBar* menuBar = nullptr;
    QPoint origin;  // outer frame's top-left corner in screen coordinates
    int outerWidth = 0, outerHeight = 0;
    std::vector<DrawnText> texts;  // since the client area was last filled whole, oldest first
    POINT lastMouse = {0, 0};
    bool pointerOver = false;    // the pointer is over the client area, as far as input told
    bool trackingLeave = false;  // TrackMouseEvent(TME_LEAVE) asked for one WM_MOUSELEAVE
};

// The texts a window shows reach assistive technology as its client widget's accessible
// description: one a line, in drawing order, without those painted over. Called whenever
// the texts recorded change (gdiText.cpp).
void describeTexts(HWND hwnd);
// Marks the window's texts that lie wholly inside area as painted over; true when any was.
bool paintOverTexts(HWND hwnd, const QRect& area);

// The top-level data of a live top-level window, or null.
TopLevel* topLevel(HWND hwnd);
// Every live top-level window, oldest first.
std::vector<HWND> topLevelWindows();

// Colour conversions between COLORREF (0x00BBGGRR) and the back buffer (0xffRRGGBB).
inline QRgb toRgb(COLORREF c) {
    return 0xff000000u | (static_cast<QRgb>(GetRValue(c)) << 16) | (static_cast<QRgb>(GetGValue(c)) << 8) |
           GetBValue(c);
}
inline COLORREF toColorref(QRgb p) { return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff); }

// Menus (menu.cpp). A menu bar built from a template for a top-level window.
HMENU createMenu(const MenuTemplate& menuTemplate, HWND owner, QWidget* parent);
void destroyMenu(HMENU menu);
QMenuBar* menuBarOf(HMENU menu);
QAction* menuAction(HMENU menu, int id);  // null when no item has this command id

// The solid colour of a brush; false for the null brush or a handle that is no brush (gdi.cpp).
bool brushColor(HBRUSH brush, COLORREF* color);

// Positions of the layer's mouse input: the last one a window received (cursor.cpp keeps
// the clip; window.cpp the translation).
QPoint clampToClip(QPoint global);
// The pointer left the client area: posts the WM_MOUSELEAVE that TrackMouseEvent asked for,
// once (cursor.cpp).
void pointerLeft(HWND hwnd);

}  // namespace layer

#endif
