// GDI objects and device contexts: stock and created pens, brushes and fonts, the state
// a device context carries, and the pixel-exact fills of a top-level window's back buffer.
#include <algorithm>
#include <unordered_set>

#include "deviceContext.h"
#include "layer.h"
#include "topLevel.h"

namespace {

using layer::DeviceContext;
using layer::GdiObject;

std::unordered_set<DeviceContext*> s_contexts;
// The context found last: a drawing asks for the same one for every pixel it sets.
DeviceContext* s_lastContext = nullptr;
// Created ones (stock objects are static). Never destroyed: objects a program leaves
// undeleted stay reachable until the process ends, as Windows frees them only then.
std::unordered_set<GdiObject*>& s_objects = *new std::unordered_set<GdiObject*>;

// SetPixel runs once for every point a drawing plots. The pixels of the buffer it wrote to
// last are kept, with its size, while Qt reports the buffer unchanged and unshared: its
// cache key moves with every detaching access elsewhere and with every new image, so the
// per-pixel detaching access is made only when something else touched the buffer.
struct PixelBuffer {
    const QImage* image = nullptr;
    qint64 key = 0;
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int width = 0, height = 0;
};
PixelBuffer s_pixelBuffer;

GdiObject makeStock(GdiObject::Kind kind, COLORREF color, bool hollow = false) {
    GdiObject object;
    object.kind = kind;
    object.stock = true;
    object.color = color;
    object.hollow = hollow;
    return object;
}

GdiObject s_whiteBrush = makeStock(GdiObject::Brush, RGB(255, 255, 255));
GdiObject s_blackBrush = makeStock(GdiObject::Brush, RGB(0, 0, 0));
GdiObject s_nullBrush = makeStock(GdiObject::Brush, RGB(0, 0, 0), true);
GdiObject s_whitePen = makeStock(GdiObject::Pen, RGB(255, 255, 255));
GdiObject s_blackPen = makeStock(GdiObject::Pen, RGB(0, 0, 0));
// A fresh context's font: Windows' bold "System" font, 16 pixels high.
GdiObject makeSystemFont() {
    GdiObject font = makeStock(GdiObject::Font, 0);
    font.height = 16;
    font.weight = FW_BOLD;
    font.face = "System";
    return font;
}
GdiObject s_systemFont = makeSystemFont();

bool selectedAnywhere(const GdiObject* object) {
    for (const DeviceContext* dc : s_contexts)
        if (dc->pen == object || dc->brush == object || dc->font == object) return true;
    return false;
}

// Objects deleted while selected go once no context holds them any longer.
void freeUnselectedDeleted() {
    for (auto it = s_objects.begin(); it != s_objects.end();) {
        GdiObject* object = *it;
        if (object->deleted && !selectedAnywhere(object)) {
            it = s_objects.erase(it);
            delete object;
        } else {
            ++it;
        }
    }
}

GdiObject* create(GdiObject object) {
    auto* created = new GdiObject(object);
    s_objects.insert(created);
    return created;
}

}  // namespace

namespace layer {

DeviceContext* deviceContext(HDC dc) {
    auto* context = reinterpret_cast<DeviceContext*>(dc);
    if (context && context == s_lastContext) return context;
    if (!s_contexts.count(context)) return nullptr;
    s_lastContext = context;
    return context;
}

GdiObject* gdiObject(HGDIOBJ object) {
    auto* candidate = static_cast<GdiObject*>(object);
    if (!candidate) return nullptr;
    if (candidate == &s_whiteBrush || candidate == &s_blackBrush || candidate == &s_nullBrush ||
        candidate == &s_whitePen || candidate == &s_blackPen || candidate == &s_systemFont)
        return candidate;
    if (!s_objects.count(candidate) || candidate->deleted) return nullptr;
    return candidate;
}

QImage* drawingSurface(DeviceContext* dc) {
    if (!dc || !topLevel(dc->hwnd)) return nullptr;
    return &dc->hwnd->backBuffer;
}

void touched(DeviceContext* dc) { invalidate(dc->hwnd); }

bool brushColor(HBRUSH brush, COLORREF* color) {
    GdiObject* object = gdiObject(brush);
    if (!object || object->kind != GdiObject::Brush || object->hollow) return false;
    *color = object->color;
    return true;
}

}  // namespace layer

HGDIOBJ GetStockObject(int object) {
    switch (object) {
    case WHITE_BRUSH: return &s_whiteBrush;
    case BLACK_BRUSH: return &s_blackBrush;
    case NULL_BRUSH: return &s_nullBrush;
    case WHITE_PEN: return &s_whitePen;
    case BLACK_PEN: return &s_blackPen;
    default: layer::unsupported("GetStockObject: stock object " + std::to_string(object));
    }
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiObject brush;
    brush.kind = GdiObject::Brush;
    brush.color = color & 0x00ffffff;
    return reinterpret_cast<HBRUSH>(create(brush));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style != PS_SOLID) layer::unsupported("CreatePen: a style other than PS_SOLID");
    GdiObject pen;
    pen.kind = GdiObject::Pen;
    pen.color = color & 0x00ffffff;
    pen.width = width < 1 ? 1 : width;  // width 0 is one pixel, whatever the mapping
    return reinterpret_cast<HPEN>(create(pen));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR faceName) {
    // Character set, precisions, quality and pitch only guide Windows' font mapper.
    (void)charSet;
    (void)outPrecision;
    (void)clipPrecision;
    (void)quality;
    (void)pitchAndFamily;
    if (height == 0) layer::unsupported("CreateFontA: the default height 0");
    if (width != 0) layer::unsupported("CreateFontA: a character width");
    if (escapement != 0 || orientation != 0) layer::unsupported("CreateFontA: rotated text");
    if (underline || strikeOut) layer::unsupported("CreateFontA: underlined or struck-out text");
    GdiObject font;
    font.kind = GdiObject::Font;
    font.height = height;
    font.weight = weight == 0 ? FW_NORMAL : weight;
    font.italic = italic != 0;
    font.face = faceName ? faceName : "";
    return reinterpret_cast<HFONT>(create(font));
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiObject* target = layer::gdiObject(object);
    if (!target) return FALSE;
    if (target->stock) return TRUE;
    target->deleted = true;
    freeUnselectedDeleted();
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    if (!hwnd) layer::unsupported("GetDC: the screen's device context");
    if (!layer::topLevel(hwnd)) return nullptr;
    auto* dc = new DeviceContext;
    dc->hwnd = hwnd;
    dc->pen = &s_blackPen;
    dc->brush = &s_whiteBrush;
    dc->font = &s_systemFont;
    s_contexts.insert(dc);
    return reinterpret_cast<HDC>(dc);
}

int ReleaseDC(HWND hwnd, HDC dc) {
    DeviceContext* context = layer::deviceContext(dc);
    if (!context || context->hwnd != hwnd) return 0;
    if (context == s_lastContext) s_lastContext = nullptr;
    s_contexts.erase(context);
    layer::invalidate(hwnd);
    delete context;
    freeUnselectedDeleted();
    return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* context = layer::deviceContext(dc);
    GdiObject* selected = layer::gdiObject(object);
    if (!context || !selected) return nullptr;
    GdiObject** slot = selected->kind == GdiObject::Pen     ? &context->pen
                       : selected->kind == GdiObject::Brush ? &context->brush
                                                            : &context->font;
    GdiObject* previous = *slot;
    *slot = selected;
    return previous;
}

int SetROP2(HDC dc, int rop2) {
    DeviceContext* context = layer::deviceContext(dc);
    if (!context) return 0;
    if (rop2 != R2_COPYPEN && rop2 != R2_NOTXORPEN) layer::unsupported("SetROP2: mode " + std::to_string(rop2));
    int previous = context->rop;
    context->rop = rop2;
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* context = layer::deviceContext(dc);
    if (!context) return CLR_INVALID;
    COLORREF previous = context->textColor;
    context->textColor = color & 0x00ffffff;
    return previous;
}

int SetBkMode(HDC dc, int mode) {
    DeviceContext* context = layer::deviceContext(dc);
    if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = context->bkMode;
    context->bkMode = mode;
    return previous;
}

UINT SetTextAlign(HDC dc, UINT align) {
    constexpr UINT kGdiError = 0xFFFFFFFF;
    DeviceContext* context = layer::deviceContext(dc);
    if (!context) return kGdiError;
    UINT horizontal = align & 6;  // TA_LEFT 0, TA_RIGHT 2, TA_CENTER 6
    UINT vertical = align & 24;   // TA_TOP 0, TA_BOTTOM 8, TA_BASELINE 24
    if ((align & ~30u) != 0 || horizontal == 4 || vertical == 16)
        layer::unsupported("SetTextAlign: alignment " + std::to_string(align));
    UINT previous = context->align;
    context->align = horizontal | vertical;
    return previous;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = layer::deviceContext(dc);
    GdiObject* fill = layer::gdiObject(brush);
    if (!context || !rect) return 0;
    if (!fill || fill->kind != GdiObject::Brush) layer::unsupported("FillRect: a brush that is no brush handle");
    QImage* image = layer::drawingSurface(context);
    if (!image) return 0;
    if (fill->hollow) return 1;
    int left = std::max<LONG>(rect->left, 0), top = std::max<LONG>(rect->top, 0);
    int right = std::min<LONG>(rect->right, image->width()), bottom = std::min<LONG>(rect->bottom, image->height());
    QRgb colour = layer::toRgb(fill->color);
    for (int y = top; y < bottom; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image->scanLine(y));
        std::fill(row + left, row + std::max(left, right), colour);
    }
    // The whole client area filled: every text drawn before is gone. A smaller fill hides
    // the texts it covers wholly from the description, though the driver still reports them.
    std::vector<layer::DrawnText>& texts = layer::topLevel(context->hwnd)->texts;
    if (rect->left <= 0 && rect->top <= 0 && rect->right >= image->width() && rect->bottom >= image->height()) {
        const bool hadTexts = !texts.empty();
        texts.clear();
        if (hadTexts) layer::describeTexts(context->hwnd);
    } else if (layer::paintOverTexts(context->hwnd, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)))) {
        layer::describeTexts(context->hwnd);
    }
    layer::touched(context);
    return 1;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    DeviceContext* context = layer::deviceContext(dc);
    QImage* image = layer::drawingSurface(context);
    if (!image) return CLR_INVALID;
    PixelBuffer& buffer = s_pixelBuffer;
    if (image != buffer.image || image->cacheKey() != buffer.key || !image->isDetached()) {
        buffer.bits = image->bits();  // detaches, which moves the key
        buffer.image = image;
        buffer.key = image->cacheKey();
        buffer.bytesPerLine = image->bytesPerLine();
        buffer.width = image->width();
        buffer.height = image->height();
    }
    if (x < 0 || y < 0 || x >= buffer.width || y >= buffer.height) return CLR_INVALID;
    // A plain write: the raster operation does not apply to SetPixel.
    reinterpret_cast<QRgb*>(buffer.bits + y * buffer.bytesPerLine)[x] = layer::toRgb(color);
    layer::touched(context);
    return color & 0x00ffffff;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    QImage* image = layer::drawingSurface(layer::deviceContext(dc));
    if (!image || x < 0 || y < 0 || x >= image->width() || y >= image->height()) return CLR_INVALID;
    return layer::toColorref(reinterpret_cast<const QRgb*>(image->constScanLine(y))[x]);
}
