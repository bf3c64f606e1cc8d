// TextOutA: fonts by cell height, the two alignments the plot uses, the record the
// driver keeps of each text, the pixels the text covers, and the texts as assistive
// technology is told them.
#include <gtest/gtest.h>
#include <windows.h>

#include <QAccessible>

#include <cstring>

#include "platform/src/topLevel.h"
#include "testdriver.h"
#include "windowTestWindow.h"

namespace {

class GdiTextTest : public PaintedWindow {
protected:
    HFONT panelFont(int height, bool italic) {
        return CreateFontA(height, 0, 0, 0, FW_BOLD, italic, FALSE, FALSE, 0, 0, 0, 0, 0, "Times New Roman");
    }
    void draw(int x, int y, const char* text) { ASSERT_TRUE(TextOutA(dc, x, y, text, lstrlenA(text))); }
    int whiteInside(const RECT& r) { return td::countPixels(window, r, RGB(255, 255, 255)); }
};

}  // namespace

TEST_F(GdiTextTest, LeftTopTextIsRecordedWithItsFontAndCoversItsBounds) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    HFONT font = panelFont(18, false);
    HGDIOBJ previous = SelectObject(dc, font);
    draw(4, 6, "Filename: points.csv");
    SelectObject(dc, previous);
    DeleteObject(font);

    std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 1u);
    const td::DrawnText& text = texts[0];
    EXPECT_EQ(text.text, "Filename: points.csv");
    EXPECT_EQ(text.x, 4);
    EXPECT_EQ(text.y, 6);
    EXPECT_EQ(text.align, static_cast<UINT>(TA_LEFT | TA_TOP));
    EXPECT_EQ(text.color, RGB(255, 255, 255));
    EXPECT_EQ(text.face, "Times New Roman");
    EXPECT_EQ(text.height, 18);
    EXPECT_EQ(text.weight, FW_BOLD);
    EXPECT_FALSE(text.italic);
    // The cell starts at the reference point and is the requested height, give or take
    // the rounding of the font size.
    EXPECT_EQ(text.bounds.left, 4);
    EXPECT_EQ(text.bounds.top, 6);
    EXPECT_NEAR(text.bounds.bottom - text.bounds.top, 18, 1);
    EXPECT_GT(text.bounds.right - text.bounds.left, 100);
    EXPECT_LT(text.bounds.right - text.bounds.left, 300);
    // Every pixel of the text is white and lies inside the bounds; transparent leaves the rest.
    int inside = whiteInside(text.bounds);
    EXPECT_GT(inside, 100);
    EXPECT_EQ(whiteInside({0, 0, 954, 691}), inside);
    EXPECT_EQ(td::countPixels(window, text.bounds, RGB(0, 0, 0)) + inside,
              (text.bounds.right - text.bounds.left) * (text.bounds.bottom - text.bounds.top));
}

TEST_F(GdiTextTest, CentreBaselineTextIsCentredOnXAboveY) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    HFONT font = panelFont(30, true);
    SelectObject(dc, font);
    EXPECT_EQ(SetTextAlign(dc, TA_CENTER | TA_BASELINE), static_cast<UINT>(TA_LEFT | TA_TOP));
    draw(480, 111, "Select Points");
    EXPECT_EQ(SetTextAlign(dc, TA_LEFT | TA_TOP), static_cast<UINT>(TA_CENTER | TA_BASELINE));

    std::vector<td::DrawnText> texts = td::drawnTexts(window);
    ASSERT_EQ(texts.size(), 1u);
    const td::DrawnText& text = texts[0];
    EXPECT_TRUE(text.italic);
    EXPECT_EQ(text.height, 30);
    EXPECT_EQ(text.align, static_cast<UINT>(TA_CENTER | TA_BASELINE));
    // Centred: the ink lies about as far left of x as right of it.
    int middle = (text.bounds.left + text.bounds.right) / 2;
    EXPECT_NEAR(middle, 480, 4);
    // Baseline at y: most ink above it, the cell's descent below.
    int above = whiteInside({text.bounds.left, text.bounds.top, text.bounds.right, 111});
    int below = whiteInside({text.bounds.left, 111, text.bounds.right, text.bounds.bottom});
    // No letter of the title descends: the ink stands on the row above the baseline.
    EXPECT_GT(above, 100);
    EXPECT_EQ(below, 0);
    EXPECT_GT(whiteInside({text.bounds.left, 110, text.bounds.right, 111}), 10);
    EXPECT_LT(text.bounds.top, 111 - 18);
    EXPECT_GT(text.bounds.bottom, 111 + 3);
    EXPECT_EQ(whiteInside({0, 0, 954, 691}), above + below);
}

TEST_F(GdiTextTest, OpaqueModeFillsTheCellWithTheBackground) {
    SetTextColor(dc, RGB(200, 0, 0));
    HFONT font = panelFont(18, false);
    SelectObject(dc, font);
    draw(100, 100, "Max. El: 12.5");
    const td::DrawnText text = td::drawnTexts(window).at(0);
    int area = (text.bounds.right - text.bounds.left) * (text.bounds.bottom - text.bounds.top);
    int red = td::countPixels(window, text.bounds, RGB(200, 0, 0));
    EXPECT_GT(red, 0);
    EXPECT_EQ(red + whiteInside(text.bounds), area);
}

TEST_F(GdiTextTest, FillingTheWholeClientAreaForgetsTheTexts) {
    SetBkMode(dc, TRANSPARENT);
    draw(10, 10, "one");
    draw(10, 40, "two");
    ASSERT_EQ(td::drawnTexts(window).size(), 2u);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    RECT part = {0, 0, 500, 691};
    FillRect(dc, &part, black);
    EXPECT_EQ(td::drawnTexts(window).size(), 2u);  // a part of the area keeps them
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, black);
    DeleteObject(black);
    EXPECT_TRUE(td::drawnTexts(window).empty());
}

// Assistive technology reads the texts a window shows from its client area's accessible
// description, one a line in drawing order, as they are drawn, painted over and cleared.
TEST_F(GdiTextTest, TheTextsShownAreTheClientAreasAccessibleDescription) {
    QAccessibleInterface* client = QAccessible::queryAccessibleInterface(layer::topLevel(window)->client);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->text(QAccessible::Description), QString());
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    draw(4, 6, "Filename: points.csv");
    draw(5, 674, "Min. El: 208.0");
    draw(765, 674, "Total # Points: 120");
    EXPECT_EQ(client->text(QAccessible::Description),
              QStringLiteral("Filename: points.csv\nMin. El: 208.0\nTotal # Points: 120"));

    // A readout drawn opaque over its last value, or a box filled over a text, replaces it.
    SetBkMode(dc, OPAQUE);
    draw(4, 6, "Filename: points-new.csv");
    EXPECT_EQ(client->text(QAccessible::Description),
              QStringLiteral("Min. El: 208.0\nTotal # Points: 120\nFilename: points-new.csv"));
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    RECT box = td::drawnTexts(window).at(2).bounds;
    FillRect(dc, &box, black);
    EXPECT_EQ(client->text(QAccessible::Description), QStringLiteral("Min. El: 208.0\nFilename: points-new.csv"));
    // A fill that covers a text only in part leaves it, as part of it still shows.
    RECT part = {0, 0, 40, 691};
    FillRect(dc, &part, black);
    EXPECT_EQ(client->text(QAccessible::Description), QStringLiteral("Min. El: 208.0\nFilename: points-new.csv"));
    EXPECT_EQ(td::drawnTexts(window).size(), 4u);  // the driver's record keeps every text

    RECT all;
    GetClientRect(window, &all);
    FillRect(dc, &all, black);
    DeleteObject(black);
    EXPECT_EQ(client->text(QAccessible::Description), QString());
}
