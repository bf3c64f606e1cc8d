// TextOutA: text in the selected font at the reference point the alignment names,
// painted without antialiasing so that every text pixel has exactly the text colour.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cstdlib>
#include <map>
#include <tuple>

#include "deviceContext.h"
#include "layer.h"
#include "topLevel.h"

namespace {

using layer::GdiObject;

int cellHeight(const QFont& font) {
    QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

// A positive CreateFontA height is Windows' cell height (ascent plus descent); a negative
// one the character height, which is Qt's pixel size.
QFont resolveFont(const GdiObject& object) {
    QFont font(QString::fromLatin1(object.face.c_str()));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setWeight(static_cast<QFont::Weight>(std::min(std::max(object.weight, 1), 1000)));
    font.setItalic(object.italic);
    if (object.height < 0) {
        font.setPixelSize(-object.height);
        return font;
    }
    QFont reference(font);
    reference.setPixelSize(100);
    int estimate = qRound(object.height * 100.0 / cellHeight(reference));
    int best = std::max(estimate, 1);
    int bestError = 1 << 30;
    for (int size = std::max(estimate - 3, 1); size <= estimate + 3; ++size) {
        font.setPixelSize(size);
        int error = std::abs(cellHeight(font) - object.height);
        if (error < bestError) {
            best = size;
            bestError = error;
        }
    }
    font.setPixelSize(best);
    return font;
}

const QFont& qtFont(const GdiObject& object) {
    static std::map<std::tuple<std::string, int, int, bool>, QFont> cache;
    auto key = std::make_tuple(object.face, object.height, object.weight, object.italic);
    auto found = cache.find(key);
    if (found == cache.end()) found = cache.emplace(key, resolveFont(object)).first;
    return found->second;
}

}  // namespace

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    layer::DeviceContext* context = layer::deviceContext(dc);
    QImage* image = layer::drawingSurface(context);
    if (!image || !text || length < 0) return FALSE;
    QString string = QString::fromLatin1(text, length);
    const QFont& font = qtFont(*context->font);
    QFontMetrics metrics(font);
    int advance = metrics.horizontalAdvance(string);
    int ascent = metrics.ascent(), height = metrics.ascent() + metrics.descent();

    UINT horizontal = context->align & 6, vertical = context->align & 24;
    int left = horizontal == TA_CENTER ? x - advance / 2 : horizontal == 2 /* TA_RIGHT */ ? x - advance : x;
    int top = vertical == TA_BASELINE ? y - ascent : vertical == 8 /* TA_BOTTOM */ ? y - height : y;
    QRect cell(left, top, advance, height);

    {
        QPainter painter(image);
        if (context->bkMode == OPAQUE) painter.fillRect(cell, QColor(255, 255, 255));  // the default background colour
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(layer::toRgb(context->textColor)));
        painter.drawText(QPoint(left, top + ascent), string);
    }

    layer::DrawnText drawn;
    drawn.text = std::string(text, static_cast<size_t>(length));
    drawn.x = x;
    drawn.y = y;
    drawn.align = context->align;
    drawn.color = context->textColor;
    drawn.face = context->font->face;
    drawn.height = context->font->height;
    drawn.weight = context->font->weight;
    drawn.italic = context->font->italic;
    // The cell, and whatever an italic slant or a wide glyph draws beyond it.
    QRect inked = metrics.tightBoundingRect(string).translated(left, top + ascent);
    QRect covered = cell.united(inked).intersected(image->rect());
    drawn.bounds = {covered.left(), covered.top(), covered.left() + covered.width(), covered.top() + covered.height()};
    // An opaque cell hides whatever text it covers wholly, as a readout drawn over its last value does.
    if (context->bkMode == OPAQUE) layer::paintOverTexts(context->hwnd, cell);
    layer::topLevel(context->hwnd)->texts.push_back(drawn);
    layer::describeTexts(context->hwnd);
    layer::touched(context);
    return TRUE;
}

namespace layer {

bool paintOverTexts(HWND hwnd, const QRect& area) {
    TopLevel* window = topLevel(hwnd);
    if (!window) return false;
    bool any = false;
    for (DrawnText& text : window->texts) {
        const QRect bounds(QPoint(text.bounds.left, text.bounds.top),
                           QPoint(text.bounds.right - 1, text.bounds.bottom - 1));
        if (text.paintedOver || !area.contains(bounds)) continue;
        text.paintedOver = true;
        any = true;
    }
    return any;
}

void describeTexts(HWND hwnd) {
    TopLevel* window = topLevel(hwnd);
    if (!window) return;
    QString description;
    for (const DrawnText& text : window->texts) {
        if (text.paintedOver) continue;
        if (!description.isEmpty()) description += QLatin1Char('\n');
        description += QString::fromLatin1(text.text.data(), static_cast<qsizetype>(text.text.size()));
    }
    // Qt tells assistive technology of a change only; the same texts drawn again say nothing.
    if (window->client->accessibleDescription() != description) window->client->setAccessibleDescription(description);
}

}  // namespace layer
