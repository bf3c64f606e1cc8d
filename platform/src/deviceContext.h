// Internals of the layer's GDI: drawing objects, device contexts and the raster
// operation on a top-level window's back buffer. Shared by the gdi*.cpp files.
#ifndef SKERROW_PLATFORM_DEVICECONTEXT_H
#define SKERROW_PLATFORM_DEVICECONTEXT_H

#include <windows.h>

#include <QImage>

#include <string>

namespace layer {

// A pen, brush or font; the HPEN, HBRUSH and HFONT handles point at one of these.
struct GdiObject {
    enum Kind { Pen, Brush, Font } kind = Brush;
    bool stock = false;          // never freed; DeleteObject leaves it alone
    bool deleted = false;        // deleted while still selected somewhere: freed once it is not
    COLORREF color = 0;          // pen and brush
    bool hollow = false;         // the null brush
    int width = 1;               // pen
    int height = 0, weight = 0;  // font, as passed to CreateFontA
    bool italic = false;
    std::string face;
};

struct DeviceContext {
    HWND hwnd = nullptr;
    GdiObject* pen = nullptr;
    GdiObject* brush = nullptr;
    GdiObject* font = nullptr;
    int rop = R2_COPYPEN;
    COLORREF textColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    UINT align = TA_LEFT | TA_TOP;
    POINT position = {0, 0};
};

// The live device context behind a handle, or null.
DeviceContext* deviceContext(HDC dc);
// The live drawing object behind a handle, or null.
GdiObject* gdiObject(HGDIOBJ object);
// The window's back buffer for drawing; null when the window is gone.
QImage* drawingSurface(DeviceContext* dc);
// The window's back buffer changed.
void touched(DeviceContext* dc);

// One pixel with the context's raster operation; positions outside the buffer are ignored.
inline void rasterPixel(QImage& image, int x, int y, QRgb colour, int rop) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    QRgb* pixel = reinterpret_cast<QRgb*>(image.scanLine(y)) + x;
    if (rop == R2_NOTXORPEN)
        *pixel = 0xff000000u | (~(*pixel ^ colour) & 0x00ffffffu);
    else
        *pixel = colour;
}

}  // namespace layer

#endif
