// Pixels of the shape calls on memory DCs: boxes that exclude their right and bottom edge, pen
// and brush parts, wide pens, lines that leave out their end point, the alternate fill rule, and
// clipping of coordinates anywhere in the int range. The golden frame (tests/easel) pins every
// pixel of the shapes the package draws; these cover what it never draws (an outline in another
// colour than the fill, corners in either order, self-crossing outlines, the pen position).
#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

#include "test_gdi_helpers.h"

namespace {

using GdiShapes = GdiTest;

TEST_F(GdiShapes, RectangleCoversLeftToRightMinusOne) {
  make_canvas(601, 540);
  use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(RED));
  ASSERT_TRUE(Rectangle(dc, 290, 255, 311, 266));
  PixelBox b = box_of(RED_PIXEL);
  EXPECT_EQ(b.count, 21 * 11);
  EXPECT_EQ(b.left, 290);
  EXPECT_EQ(b.right, 310);
  EXPECT_EQ(b.top, 255);
  EXPECT_EQ(b.bottom, 265);

  paint_background(BACKGROUND);
  ASSERT_TRUE(Rectangle(dc, 311, 266, 290, 255));  // corners in the other order
  PixelBox swapped = box_of(RED_PIXEL);
  EXPECT_EQ(swapped.count, 21 * 11);
  EXPECT_EQ(swapped.left, 290);
  EXPECT_EQ(swapped.bottom, 265);
}

TEST_F(GdiShapes, RectangleOutlineInteriorAndNullPen) {
  use(CreatePen(PS_SOLID, 0, RED), CreateSolidBrush(BLUE));
  Rectangle(dc, 10, 10, 20, 16);
  EXPECT_EQ(px(10, 10), RED_PIXEL);
  EXPECT_EQ(px(19, 15), RED_PIXEL);
  EXPECT_EQ(px(19, 11), RED_PIXEL);
  EXPECT_EQ(px(11, 11), BLUE_PIXEL);
  EXPECT_EQ(px(18, 14), BLUE_PIXEL);
  EXPECT_EQ(px(20, 15), BACKGROUND);
  EXPECT_EQ(px(19, 16), BACKGROUND);
  EXPECT_EQ(box_of(RED_PIXEL).count, 2 * 10 + 2 * 4);

  // Without a pen the filled area loses its right column and bottom row.
  paint_background(BACKGROUND);
  use(static_cast<HPEN>(GetStockObject(NULL_PEN)), CreateSolidBrush(BLUE));
  Rectangle(dc, 10, 10, 20, 16);
  PixelBox filled = ink();
  EXPECT_EQ(filled.count, 9 * 5);
  EXPECT_EQ(filled.right, 18);
  EXPECT_EQ(filled.bottom, 14);

  // A hollow brush keeps the interior; an empty box draws nothing.
  paint_background(BACKGROUND);
  use(CreatePen(PS_SOLID, 1, RED), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  Rectangle(dc, 10, 10, 20, 16);
  EXPECT_EQ(px(12, 12), BACKGROUND);
  EXPECT_EQ(ink().count, 28);
  Rectangle(dc, 50, 50, 50, 60);
  Rectangle(dc, 50, 50, 60, 50);
  Ellipse(dc, 50, 50, 50, 60);
  EXPECT_EQ(ink().count, 28);
}

TEST_F(GdiShapes, WidePenIsCentredOnTheOutlineWithRoundCorners) {
  use(CreatePen(PS_SOLID, 2, RED), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  Rectangle(dc, 20, 20, 40, 30);
  // Even width: the pixel that cannot be centred goes up and to the left, on every side.
  for (int x : {19, 20, 38, 39}) EXPECT_EQ(px(x, 25), RED_PIXEL) << x;
  for (int x : {18, 21, 37, 40}) EXPECT_EQ(px(x, 25), BACKGROUND) << x;
  for (int y : {19, 20, 28, 29}) EXPECT_EQ(px(30, y), RED_PIXEL) << y;
  for (int y : {18, 21, 27, 30}) EXPECT_EQ(px(30, y), BACKGROUND) << y;

  paint_background(BACKGROUND);
  use(CreatePen(PS_SOLID, 3, RED), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  Rectangle(dc, 20, 20, 40, 30);
  for (int x : {19, 20, 21, 38, 39, 40}) EXPECT_EQ(px(x, 25), RED_PIXEL) << x;
  for (int x : {18, 22, 37, 41}) EXPECT_EQ(px(x, 25), BACKGROUND) << x;

  paint_background(BACKGROUND);
  use(CreatePen(PS_SOLID, 9, RED), CreateSolidBrush(BLUE));
  Rectangle(dc, 60, 60, 120, 120);
  EXPECT_EQ(px(56, 90), RED_PIXEL);
  EXPECT_EQ(px(55, 90), BACKGROUND);
  EXPECT_EQ(px(64, 90), RED_PIXEL);
  EXPECT_EQ(px(65, 90), BLUE_PIXEL);
  EXPECT_EQ(px(56, 60), RED_PIXEL);
  EXPECT_EQ(px(56, 56), BACKGROUND) << "corners are rounded";
  EXPECT_EQ(px(57, 57), RED_PIXEL);
}

TEST_F(GdiShapes, EllipseOutlineAndInterior) {
  use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(BLUE));
  Ellipse(dc, 45, 45, 56, 56);
  EXPECT_EQ(px(50, 50), BLUE_PIXEL);
  EXPECT_EQ(px(45, 50), RED_PIXEL);
  EXPECT_EQ(px(55, 50), RED_PIXEL);
  EXPECT_EQ(px(50, 45), RED_PIXEL);
  EXPECT_EQ(px(46, 50), BLUE_PIXEL);

  // Every pen pixel touches the outside; every brush pixel is enclosed by the pen.
  PixelBox pen = box_of(RED_PIXEL);
  for (int y = pen.top; y <= pen.bottom; ++y)
    for (int x = pen.left; x <= pen.right; ++x) {
      if (px(x, y) == BLUE_PIXEL) {
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
          ASSERT_NE(px(x + dx, y + dy), BACKGROUND) << x << "," << y;
      }
    }

  paint_background(BACKGROUND);
  use(CreatePen(PS_SOLID, 2, RED), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  Ellipse(dc, 45, 45, 56, 56);
  EXPECT_EQ(px(44, 50), RED_PIXEL);
  EXPECT_EQ(px(45, 50), RED_PIXEL);
  EXPECT_EQ(px(43, 50), BACKGROUND);
  EXPECT_EQ(px(46, 50), BACKGROUND);
  EXPECT_EQ(px(50, 50), BACKGROUND);
}

TEST_F(GdiShapes, LineToStopsBeforeItsEndPointInEveryDirection) {
  use(CreatePen(PS_SOLID, 1, RED), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  struct Case {
    int x, y;
  };
  for (Case end : {Case{60, 50}, Case{40, 50}, Case{50, 60}, Case{50, 40}, Case{57, 43}}) {
    paint_background(BACKGROUND);
    MoveToEx(dc, 50, 50, nullptr);
    ASSERT_TRUE(LineTo(dc, end.x, end.y));
    EXPECT_EQ(px(50, 50), RED_PIXEL) << end.x << "," << end.y;
    EXPECT_EQ(px(end.x, end.y), BACKGROUND) << end.x << "," << end.y;
    EXPECT_EQ(ink().count, 10 - 3 * (end.x == 57)) << end.x << "," << end.y;
  }

  // The position moves to the end point, where the next line starts.
  POINT previous{};
  EXPECT_TRUE(MoveToEx(dc, 10, 10, &previous));
  EXPECT_EQ(previous.x, 57);
  EXPECT_EQ(previous.y, 43);
  paint_background(BACKGROUND);
  LineTo(dc, 20, 15);
  LineTo(dc, 20, 25);
  EXPECT_EQ(px(20, 15), RED_PIXEL);
  EXPECT_EQ(px(20, 25), BACKGROUND);
  EXPECT_EQ(ink().count, 20);
  LineTo(dc, 20, 25);  // no length: nothing
  EXPECT_EQ(ink().count, 20);

  // A null pen moves without drawing.
  paint_background(BACKGROUND);
  use(static_cast<HPEN>(GetStockObject(NULL_PEN)), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  LineTo(dc, 90, 90);
  EXPECT_EQ(ink().count, 0);
  MoveToEx(dc, 0, 0, &previous);
  EXPECT_EQ(previous.x, 90);
}

TEST_F(GdiShapes, PolygonFillsByTheAlternateRule) {
  // A five-pointed star drawn in one stroke: its centre pentagon is crossed twice, so empty.
  POINT star[5];
  for (int k = 0; k < 5; ++k) {
    double a = (-90.0 + 144.0 * k) * std::numbers::pi / 180.0;
    star[k] =
        POINT{LONG(std::lround(100 + 60 * std::cos(a))), LONG(std::lround(75 + 60 * std::sin(a)))};
  }
  use(static_cast<HPEN>(GetStockObject(NULL_PEN)), CreateSolidBrush(RED));
  ASSERT_TRUE(Polygon(dc, star, 5));
  EXPECT_EQ(px(100, 75), BACKGROUND);
  EXPECT_EQ(px(100, 35), RED_PIXEL);
  EXPECT_EQ(px(129, 35), BACKGROUND);  // between two points

  // The pen draws every edge including both ends, over the fill.
  use(CreatePen(PS_SOLID, 1, BLUE), CreateSolidBrush(RED));
  Polygon(dc, star, 5);
  for (const POINT& p : star) EXPECT_EQ(px(p.x, p.y), BLUE_PIXEL);

  // Without a pen a triangle loses its right and bottom edges, as boxes do.
  paint_background(BACKGROUND);
  use(static_cast<HPEN>(GetStockObject(NULL_PEN)), CreateSolidBrush(RED));
  POINT triangle[3] = {{10, 10}, {30, 10}, {10, 30}};
  Polygon(dc, triangle, 3);
  EXPECT_EQ(px(10, 10), RED_PIXEL);
  EXPECT_EQ(px(29, 10), RED_PIXEL);
  EXPECT_EQ(px(30, 10), BACKGROUND);
  EXPECT_EQ(px(10, 29), RED_PIXEL);
  EXPECT_EQ(px(10, 30), BACKGROUND);
  EXPECT_EQ(px(25, 25), BACKGROUND);
}

TEST_F(GdiShapes, DegeneratePolygonsDrawOnlyTheirOutline) {
  // One point: a thin outline is a chain of lines from the point to itself, which draw nothing;
  // a wide one puts its round tip there (3 pixels wide: GDI's ellipse in a 3 x 3 box, a cross).
  use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(BLUE));
  POINT same[3] = {{40, 40}, {40, 40}, {40, 40}};
  EXPECT_TRUE(Polygon(dc, same, 3));
  EXPECT_TRUE(Polygon(dc, same, 1));
  EXPECT_EQ(ink().count, 0);
  use(CreatePen(PS_SOLID, 3, RED), CreateSolidBrush(BLUE));
  EXPECT_TRUE(Polygon(dc, same, 3));
  EXPECT_EQ(ink().count, 5);
  EXPECT_EQ(px(40, 40), RED_PIXEL);

  use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(BLUE));

  paint_background(BACKGROUND);
  POINT line[3] = {{10, 10}, {20, 10}, {30, 10}};
  Polygon(dc, line, 3);
  EXPECT_EQ(ink().count, 21);
  EXPECT_EQ(box_of(BLUE_PIXEL).count, 0);

  EXPECT_FALSE(Polygon(dc, line, 0));
  EXPECT_FALSE(Polygon(dc, line, -3));
  EXPECT_FALSE(Polygon(dc, nullptr, 3));
  EXPECT_EQ(ink().count, 21);
}

TEST_F(GdiShapes, AnyIntCoordinateIsClipped) {
  use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(BLUE));
  const int total = 200 * 150;
  ASSERT_TRUE(Rectangle(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
  EXPECT_EQ(box_of(BLUE_PIXEL).count, total);
  paint_background(BACKGROUND);
  ASSERT_TRUE(Ellipse(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
  EXPECT_EQ(box_of(BLUE_PIXEL).count, total);
  paint_background(BACKGROUND);
  ASSERT_TRUE(Ellipse(dc, 100 - 1000000000, 75 - 1000000000, 101 + 1000000000, 76 + 1000000000));
  EXPECT_EQ(box_of(BLUE_PIXEL).count, total);

  // Partly visible: the pen's far edges show, the near ones are off the bitmap.
  paint_background(BACKGROUND);
  Rectangle(dc, -10, -10, 20, 20);
  EXPECT_EQ(px(0, 0), BLUE_PIXEL);
  EXPECT_EQ(px(19, 5), RED_PIXEL);
  EXPECT_EQ(px(5, 19), RED_PIXEL);
  EXPECT_EQ(px(20, 5), BACKGROUND);

  paint_background(BACKGROUND);
  MoveToEx(dc, INT_MIN, INT_MIN, nullptr);
  ASSERT_TRUE(LineTo(dc, INT_MAX, INT_MAX));
  EXPECT_EQ(px(5, 5), RED_PIXEL);
  EXPECT_EQ(px(149, 149), RED_PIXEL);
  EXPECT_EQ(px(5, 6), BACKGROUND);
  EXPECT_EQ(ink().count, 150);

  paint_background(BACKGROUND);
  MoveToEx(dc, INT_MIN, 0, nullptr);
  LineTo(dc, INT_MAX, 1);
  EXPECT_EQ(ink().count, 200);
  EXPECT_EQ(ink().height(), 1);

  paint_background(BACKGROUND);
  use(CreatePen(PS_SOLID, 5, RED), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  MoveToEx(dc, INT_MIN, 75, nullptr);
  LineTo(dc, INT_MAX, 75);
  EXPECT_EQ(ink().count, 5 * 200);
  EXPECT_EQ(ink().top, 73);

  paint_background(BACKGROUND);
  use(CreatePen(PS_SOLID, INT_MIN, RED), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 10, 10);
  EXPECT_EQ(box_of(RED_PIXEL).count, total);

  paint_background(BACKGROUND);
  use(static_cast<HPEN>(GetStockObject(NULL_PEN)), CreateSolidBrush(BLUE));
  POINT half[3] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
  ASSERT_TRUE(Polygon(dc, half, 3));
  EXPECT_EQ(px(10, 100), BLUE_PIXEL);
  EXPECT_EQ(px(100, 10), BACKGROUND);

  EXPECT_EQ(GetPixel(dc, -1, 0), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(GetPixel(dc, 200, 0), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(GetPixel(dc, INT_MIN, INT_MAX), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(GetPixel(dc, 10, 100), BLUE);

  // Edges reaching far beyond any bitmap cross each row where the same edges near the origin
  // do: a slanted left edge 1/3 column a row, its end a million rows down, against one 300 rows
  // down (both ceil their crossings: a far edge floored or rounded shows on two rows of three).
  auto fill_rows = [&](LONG far_y) {
    paint_background(BACKGROUND);
    POINT wedge[3] = {{150, 0}, {150 - far_y / 3, far_y}, {150, far_y}};
    Polygon(dc, wedge, 3);
    std::vector<uint32_t> rows;
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 200; ++x) rows.push_back(px(x, y));
    return rows;
  };
  const std::vector<uint32_t> near = fill_rows(300);
  EXPECT_EQ(fill_rows(3 << 20), near);
  EXPECT_EQ(near[size_t(149) * 200 + 120], BLUE_PIXEL);  // the wedge is there at all
}

}  // namespace
