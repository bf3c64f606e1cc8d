// Lines, rectangles and ellipses, rasterised on the back buffer so that every pixel of a
// figure is touched exactly once: drawn twice with R2_NOTXORPEN, a figure leaves no trace.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "deviceContext.h"
#include "layer.h"
#include "topLevel.h"

using layer::DeviceContext;

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    DeviceContext* context = layer::deviceContext(dc);
    if (!context) return FALSE;
    if (previous) *previous = context->position;
    context->position.x = x;
    context->position.y = y;
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    DeviceContext* context = layer::deviceContext(dc);
    QImage* image = layer::drawingSurface(context);
    if (!image) return FALSE;
    if (context->pen->width != 1) layer::unsupported("LineTo: a pen wider than one pixel");
    // Bresenham from the current position; the end point is left undrawn, so that
    // joined segments touch their shared corner once.
    int x0 = context->position.x, y0 = context->position.y;
    int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
    int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    QRgb colour = layer::toRgb(context->pen->color);
    while (x0 != x || y0 != y) {
        layer::rasterPixel(*image, x0, y0, colour, context->rop);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    context->position.x = x;
    context->position.y = y;
    layer::touched(context);
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = layer::deviceContext(dc);
    QImage* image = layer::drawingSurface(context);
    if (!image) return FALSE;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    // A 1-pixel pen draws columns left and right-1 and rows top and bottom-1; a wider pen
    // is centred on that outline (width 3: left-1..left+1 and right-2..right).
    int width = context->pen->width;
    int outside = width / 2, inside = (width - 1) / 2;
    QRgb penColour = layer::toRgb(context->pen->color);
    QRgb brushColour = layer::toRgb(context->brush->color);
    bool filled = !context->brush->hollow;
    // Only the part inside the back buffer is visited.
    int fromY = std::max(top - outside, 0), toY = std::min(bottom - 1 + inside, image->height() - 1);
    int fromX = std::max(left - outside, 0), toX = std::min(right - 1 + inside, image->width() - 1);
    for (int y = fromY; y <= toY; ++y) {
        bool edgeRow = y <= top + inside || y >= bottom - 1 - outside;
        for (int x = fromX; x <= toX; ++x) {
            bool edge = edgeRow || x <= left + inside || x >= right - 1 - outside;
            if (edge)
                layer::rasterPixel(*image, x, y, penColour, context->rop);
            else if (filled)
                layer::rasterPixel(*image, x, y, brushColour, context->rop);
        }
    }
    layer::touched(context);
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = layer::deviceContext(dc);
    QImage* image = layer::drawingSurface(context);
    if (!image) return FALSE;
    if (context->pen->width != 1) layer::unsupported("Ellipse: a pen wider than one pixel");
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return TRUE;

    // The ellipse inscribed in [left,right) x [top,bottom): a pixel is inside when its
    // centre is. Each row's inside pixels form a span symmetric about the box's centre.
    double rx = width / 2.0, ry = height / 2.0;
    std::vector<int> first(height), last(height);
    for (int j = 0; j < height; ++j) {
        double dy = (j + 0.5 - ry) / ry;
        double room = 1.0 - dy * dy;
        if (room < 0) {
            first[j] = 0;
            last[j] = -1;
            continue;
        }
        double half = rx * std::sqrt(room);
        int end = static_cast<int>(std::floor(rx - 0.5 + half + 1e-9));
        if (end > width - 1) end = width - 1;
        first[j] = width - 1 - end;
        last[j] = end;
    }
    auto insideRow = [&](int j, int i) { return j >= 0 && j < height && i >= first[j] && i <= last[j]; };

    // The outline is every inside pixel with a side neighbour outside; the rest is the brush's.
    QRgb penColour = layer::toRgb(context->pen->color);
    QRgb brushColour = layer::toRgb(context->brush->color);
    bool filled = !context->brush->hollow;
    // Only the part inside the back buffer is visited: a huge figure costs no more than the buffer.
    int firstRow = std::max(0, -top), lastRow = std::min(height - 1, image->height() - 1 - top);
    for (int j = firstRow; j <= lastRow; ++j) {
        int from = std::max(first[j], -left), to = std::min(last[j], image->width() - 1 - left);
        for (int i = from; i <= to; ++i) {
            bool outline = i == first[j] || i == last[j] || !insideRow(j - 1, i) || !insideRow(j + 1, i);
            if (outline)
                layer::rasterPixel(*image, left + i, top + j, penColour, context->rop);
            else if (filled)
                layer::rasterPixel(*image, left + i, top + j, brushColour, context->rop);
        }
    }
    layer::touched(context);
    return TRUE;
}
