// Pixel rules of the GDI on the back buffer: lines without their end point, rectangles
// with thin and thick pens, fills, ellipses, and the inverting raster operation.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "testdriver.h"
#include "windowTestWindow.h"

namespace {

class GdiTest : public PaintedWindow {
protected:
    // Fills [left,right) x [top,bottom) with a pattern in which neighbours differ, like plotted points.
    void paintPattern(int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) SetPixel(dc, x, y, RGB(x * 37 % 256, y * 53 % 256, (x + y) * 11 % 256));
    }
    void fillClient(int stockBrush) {
        RECT client = {0, 0, 954, 691};
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(stockBrush)));
    }
    static COLORREF inverse(COLORREF c) { return ~c & 0x00ffffff; }
};

// The rubber band of a rectangle selection: four segments from S to P.
void rubberBand(HDC dc, POINT s, POINT p) {
    MoveToEx(dc, s.x, s.y, NULL);
    LineTo(dc, p.x, s.y);
    MoveToEx(dc, p.x, s.y, NULL);
    LineTo(dc, p.x, p.y);
    MoveToEx(dc, p.x, p.y, NULL);
    LineTo(dc, s.x, p.y);
    MoveToEx(dc, s.x, p.y, NULL);
    LineTo(dc, s.x, s.y);
}

}  // namespace

TEST_F(GdiTest, FreshContextHasTheDefaultPenBrushAndRasterOperation) {
    EXPECT_EQ(SetROP2(dc, R2_NOTXORPEN), R2_COPYPEN);
    EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_NOTXORPEN);
    // Default 1-pixel black pen and white brush.
    HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
    RECT area = {10, 10, 40, 40};
    FillRect(dc, &area, red);
    Rectangle(dc, 10, 10, 40, 40);
    EXPECT_EQ(td::pixel(window, 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(td::pixel(window, 39, 39), RGB(0, 0, 0));
    EXPECT_EQ(td::pixel(window, 11, 11), RGB(255, 255, 255));
    EXPECT_EQ(td::pixel(window, 38, 38), RGB(255, 255, 255));
    EXPECT_EQ(td::pixel(window, 40, 40), RGB(0, 0, 0));           // the class background
    EXPECT_EQ(td::countPixels(window, area, RGB(200, 0, 0)), 0);  // outline and brush cover the whole box
    DeleteObject(red);
}

TEST_F(GdiTest, SelectObjectReturnsThePreviousObjectOfItsKind) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HGDIOBJ defaultPen = SelectObject(dc, pen);
    HGDIOBJ defaultBrush = SelectObject(dc, brush);
    EXPECT_EQ(defaultPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(defaultBrush, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, defaultPen), pen);
    EXPECT_EQ(SelectObject(dc, defaultBrush), brush);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));  // already gone
}

TEST_F(GdiTest, LineToLeavesItsEndPointUndrawnAndMovesThePosition) {
    struct Case {
        POINT from, to;
    };
    for (const Case& c :
         {Case{{20, 30}, {60, 30}}, Case{{20, 30}, {20, 70}}, Case{{60, 70}, {20, 30}}, Case{{20, 30}, {50, 41}}}) {
        fillClient(BLACK_BRUSH);
        HPEN white = static_cast<HPEN>(GetStockObject(WHITE_PEN));
        SelectObject(dc, white);
        POINT previous = {-1, -1};
        MoveToEx(dc, c.from.x, c.from.y, NULL);
        ASSERT_TRUE(LineTo(dc, c.to.x, c.to.y));
        EXPECT_EQ(td::pixel(window, c.from.x, c.from.y), RGB(255, 255, 255));
        EXPECT_EQ(td::pixel(window, c.to.x, c.to.y), RGB(0, 0, 0)) << c.to.x << "," << c.to.y;
        int longest = std::max(std::abs(c.to.x - c.from.x), std::abs(c.to.y - c.from.y));
        EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(255, 255, 255)), longest);
        MoveToEx(dc, 0, 0, &previous);
        EXPECT_EQ(previous.x, c.to.x);
        EXPECT_EQ(previous.y, c.to.y);
    }
}

TEST_F(GdiTest, InvertedRectangleOutlineRestoresWhenDrawnTwice) {
    paintPattern(90, 90, 260, 210);
    std::vector<COLORREF> before = td::snapshot(window);
    SetROP2(dc, R2_NOTXORPEN);
    // Both drag directions, as a selection may be dragged either way.
    for (POINT corner : {POINT{240, 190}, POINT{95, 100}}) {
        POINT start = {150, 150};
        rubberBand(dc, start, corner);
        std::vector<COLORREF> once = td::snapshot(window);
        int left = std::min(start.x, corner.x), right = std::max(start.x, corner.x);
        int top = std::min(start.y, corner.y), bottom = std::max(start.y, corner.y);
        // Every outline pixel (corners included) inverted exactly once, nothing else touched.
        int changed = 0;
        for (size_t i = 0; i < once.size(); ++i) {
            int x = static_cast<int>(i % 954), y = static_cast<int>(i / 954);
            bool onOutline = (x == left || x == right) && y >= top && y <= bottom;
            onOutline = onOutline || ((y == top || y == bottom) && x >= left && x <= right);
            if (onOutline) {
                EXPECT_EQ(once[i], inverse(before[i])) << x << "," << y;
                ++changed;
            } else if (once[i] != before[i]) {
                ADD_FAILURE() << "pixel off the outline changed at " << x << "," << y;
            }
        }
        EXPECT_EQ(changed, 2 * (right - left) + 2 * (bottom - top));
        rubberBand(dc, start, corner);
        EXPECT_EQ(td::snapshot(window), before);
    }
}

TEST_F(GdiTest, InvertedEllipseWithWhiteBrushRestoresWhenDrawnTwice) {
    paintPattern(180, 180, 330, 330);
    std::vector<COLORREF> before = td::snapshot(window);
    SetROP2(dc, R2_NOTXORPEN);
    for (int r : {1, 2, 8, 9, 60}) {
        POINT s = {250, 260};
        Ellipse(dc, s.x - r, s.y - r, s.x + r, s.y + r);
        std::vector<COLORREF> once = td::snapshot(window);
        EXPECT_NE(once, before) << "radius " << r;
        // Only the outline changes: the centre is untouched, nothing outside the box changes.
        if (r > 2) {
            EXPECT_EQ(once[s.y * 954 + s.x], before[s.y * 954 + s.x]);
        }
        for (size_t i = 0; i < once.size(); ++i) {
            int x = static_cast<int>(i % 954), y = static_cast<int>(i / 954);
            bool inBox = x >= s.x - r && x < s.x + r && y >= s.y - r && y < s.y + r;
            if (!inBox && once[i] != before[i])
                ADD_FAILURE() << "radius " << r << ": outside the box " << x << "," << y;
            if (once[i] != before[i] && once[i] != inverse(before[i]))
                ADD_FAILURE() << "not an inversion " << x << "," << y;
        }
        // The outline reaches each side of the box.
        auto changedAt = [&](int x, int y) { return once[y * 954 + x] != before[y * 954 + x]; };
        EXPECT_TRUE(changedAt(s.x - r, s.y) || changedAt(s.x - r, s.y - 1)) << r;
        EXPECT_TRUE(changedAt(s.x + r - 1, s.y) || changedAt(s.x + r - 1, s.y - 1)) << r;
        EXPECT_TRUE(changedAt(s.x, s.y - r) || changedAt(s.x - 1, s.y - r)) << r;
        EXPECT_TRUE(changedAt(s.x, s.y + r - 1) || changedAt(s.x - 1, s.y + r - 1)) << r;
        Ellipse(dc, s.x - r, s.y - r, s.x + r, s.y + r);
        EXPECT_EQ(td::snapshot(window), before) << "radius " << r;
    }
}

TEST_F(GdiTest, ThickPenRectangleIsCentredOnTheOutline) {
    // The plot frame: a 3-pixel red pen and a black brush over a white area.
    fillClient(WHITE_BRUSH);
    HPEN red = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, red);
    HGDIOBJ oldBrush = SelectObject(dc, black);
    const int l = 26, t = 119, r = 936, b = 578;
    ASSERT_TRUE(Rectangle(dc, l, t, r, b));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(red);
    DeleteObject(black);

    const COLORREF kRed = RGB(255, 0, 0), kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
    // Columns l-1..l+1 and r-2..r, rows t-1..t+1 and b-2..b are red over the whole frame.
    for (int x : {l - 1, l, l + 1, r - 2, r - 1, r})
        EXPECT_EQ(td::countPixels(window, {x, t - 1, x + 1, b + 1}, kRed), b - t + 2) << x;
    for (int y : {t - 1, t, t + 1, b - 2, b - 1, b})
        EXPECT_EQ(td::countPixels(window, {l - 1, y, r + 1, y + 1}, kRed), r - l + 2) << y;
    // Inside all black, outside untouched.
    EXPECT_EQ(td::countPixels(window, {l + 2, t + 2, r - 2, b - 2}, kBlack), (r - l - 4) * (b - t - 4));
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, kRed), (r - l + 2) * (b - t + 2) - (r - l - 4) * (b - t - 4));
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, kWhite), 954 * 691 - (r - l + 2) * (b - t + 2));
    EXPECT_EQ(td::pixel(window, l - 2, t + 50), kWhite);
    EXPECT_EQ(td::pixel(window, r + 1, t + 50), kWhite);
}

TEST_F(GdiTest, FillRectLeavesTheRightColumnAndBottomRow) {
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    RECT area = {100, 50, 110, 56};
    EXPECT_EQ(FillRect(dc, &area, green), 1);
    DeleteObject(green);
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(0, 200, 0)), 10 * 6);
    EXPECT_EQ(td::pixel(window, 109, 55), RGB(0, 200, 0));
    EXPECT_EQ(td::pixel(window, 110, 55), RGB(0, 0, 0));
    EXPECT_EQ(td::pixel(window, 109, 56), RGB(0, 0, 0));
    // The raster operation never applies to a fill.
    SetROP2(dc, R2_NOTXORPEN);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &area, blue);
    DeleteObject(blue);
    EXPECT_EQ(td::pixel(window, 100, 50), RGB(0, 0, 255));
}

TEST_F(GdiTest, SetPixelWritesOnePixelInsideTheBufferOnly) {
    EXPECT_EQ(SetPixel(dc, 953, 690, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 953, 690), RGB(10, 20, 30));
    EXPECT_EQ(td::pixel(window, 953, 690), RGB(10, 20, 30));
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(10, 20, 30)), 1);
    for (POINT outside : {POINT{954, 0}, POINT{0, 691}, POINT{-1, 5}, POINT{5, -1}}) {
        EXPECT_EQ(SetPixel(dc, outside.x, outside.y, RGB(1, 1, 1)), CLR_INVALID);
        EXPECT_EQ(GetPixel(dc, outside.x, outside.y), CLR_INVALID);
    }
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(1, 1, 1)), 0);
    // The raster operation does not apply to single pixels.
    SetROP2(dc, R2_NOTXORPEN);
    SetPixel(dc, 5, 5, RGB(0, 0, 50));
    EXPECT_EQ(td::pixel(window, 5, 5), RGB(0, 0, 50));
}

// SetPixel keeps the buffer it wrote to last; every other way the buffer changes, and a
// window of its own, must still see its pixels and be seen by it.
TEST_F(GdiTest, SetPixelAfterOtherDrawingAndInAnotherWindow) {
    paintPattern(0, 0, 40, 40);
    fillClient(BLACK_BRUSH);
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(0, 0, 0)), 954 * 691);
    SetPixel(dc, 10, 10, RGB(200, 0, 0));
    EXPECT_EQ(td::pixel(window, 10, 10), RGB(200, 0, 0));
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(0, 0, 0)), 954 * 691 - 1);
    // Text drawn between two pixels.
    TextOutA(dc, 100, 100, "Points", 6);
    SetPixel(dc, 12, 10, RGB(0, 200, 0));
    EXPECT_EQ(td::pixel(window, 12, 10), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(200, 0, 0));

    // A second window: its pixels go to its own buffer, and the first one's stay apart.
    HWND other = createTestWindow(false);
    ASSERT_NE(other, nullptr);
    HDC otherDc = GetDC(other);
    SetPixel(otherDc, 20, 20, RGB(0, 0, 200));
    SetPixel(dc, 14, 10, RGB(0, 0, 201));
    EXPECT_EQ(td::pixel(other, 20, 20), RGB(0, 0, 200));
    EXPECT_EQ(td::pixel(window, 20, 20), RGB(0, 0, 0));
    EXPECT_EQ(td::pixel(window, 14, 10), RGB(0, 0, 201));
    EXPECT_EQ(td::pixel(other, 14, 10), RGB(0, 0, 0));
    ReleaseDC(other, otherDc);
    DestroyWindow(other);
    td::pump();

    // A window made after one is gone may take its place in memory; it has a new buffer.
    HWND next = createTestWindow(false);
    ASSERT_NE(next, nullptr);
    HDC nextDc = GetDC(next);
    SetPixel(nextDc, 30, 30, RGB(0, 0, 202));
    EXPECT_EQ(td::pixel(next, 30, 30), RGB(0, 0, 202));
    EXPECT_EQ(td::countPixels(next, {0, 0, 954, 691}, RGB(0, 0, 202)), 1);
    ReleaseDC(next, nextDc);
    DestroyWindow(next);
    td::pump();
    EXPECT_EQ(td::countPixels(window, {0, 0, 954, 691}, RGB(0, 0, 202)), 0);
}

TEST_F(GdiTest, FiguresPastTheBufferEdgesDrawTheirVisiblePart) {
    paintPattern(0, 0, 60, 60);
    std::vector<COLORREF> before = td::snapshot(window);
    SetROP2(dc, R2_NOTXORPEN);
    // A circle about the corner and one far larger than the window, as a drag far outside gives.
    paintPattern(400, 280, 540, 320);
    before = td::snapshot(window);
    for (RECT box : {RECT{-30, -30, 30, 30}, RECT{470 - 40000, 300, 470 + 40000, 80300}}) {
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
        EXPECT_TRUE(td::snapshot(window) != before) << box.left;
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
        EXPECT_TRUE(td::snapshot(window) == before) << box.left;
    }
    // The top of the large circle crosses the window at row 300.
    Ellipse(dc, 470 - 40000, 300, 470 + 40000, 80300);
    EXPECT_EQ(td::pixel(window, 470, 300), inverse(before[300 * 954 + 470]));
    EXPECT_EQ(td::pixel(window, 470, 299), before[299 * 954 + 470]);
    Rectangle(dc, -5, -5, 20, 20);
    EXPECT_EQ(td::pixel(window, 19, 3), inverse(before[3 * 954 + 19]));
    EXPECT_EQ(td::pixel(window, 3, 19), inverse(before[19 * 954 + 3]));
    EXPECT_EQ(td::pixel(window, 0, 0), before[0]);  // the white brush inside inverts nothing
}
