// The shortcuts the drawing calls take on their hot paths give exactly the pixels of the long
// way: shapes filled in their outline's colour, ellipses solved once per pair of mirrored rows
// (also when the clip box cuts one row of a pair), fills and copies of whole rows in one run,
// glyphs over a plain background by table, and fonts resolved from the last request.
#include <vector>

#include "test_gdi_helpers.h"

namespace {

using GdiFastPaths = GdiTest;

constexpr uint32_t WHITE_PIXEL = 0xFFFFFF;

std::vector<uint32_t> pixels_of(HBITMAP bitmap) {
  std::vector<uint32_t> pixels;
  headless_bitmap_pixels(bitmap, &pixels, nullptr, nullptr);
  return pixels;
}

// Which pixels differ from the background.
std::vector<bool> covered(HBITMAP bitmap, uint32_t background) {
  std::vector<bool> inked;
  for (uint32_t p : pixels_of(bitmap)) inked.push_back(p != background);
  return inked;
}

TEST_F(GdiFastPaths, ShapesFilledInTheirOutlineColourCoverOutlineAndInterior) {
  struct Shape {
    bool ellipse;
    RECT box;
  };
  const Shape shapes[] = {
      {true, {20, 20, 45, 45}},    {true, {60, 10, 61, 11}},      {true, {70, 30, 120, 44}},
      {true, {130, -30, 171, 40}},  // top rows clipped: some mirrored rows lie outside
      {true, {10, 110, 51, 190}},   // bottom rows clipped
      {false, {5, 60, 60, 100}},   {false, {-10, 120, 300, 130}}, {false, {150, 80, 151, 81}},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(testing::Message() << (s.ellipse ? "ellipse " : "rectangle ") << s.box.left << ","
                                    << s.box.top << "," << s.box.right << "," << s.box.bottom);
    paint_background(BACKGROUND);
    use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(BLUE));
    (s.ellipse ? Ellipse : Rectangle)(dc, s.box.left, s.box.top, s.box.right, s.box.bottom);
    const std::vector<bool> outline_and_interior = covered(bitmap, BACKGROUND);

    paint_background(BACKGROUND);
    use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(RED));
    (s.ellipse ? Ellipse : Rectangle)(dc, s.box.left, s.box.top, s.box.right, s.box.bottom);
    EXPECT_EQ(covered(bitmap, BACKGROUND), outline_and_interior);
    EXPECT_EQ(box_of(RED_PIXEL).count, ink().count);  // all of it in the one colour
  }
}

TEST_F(GdiFastPaths, WholeRowFillsAndCopiesStayInTheirRows) {
  make_canvas(64, 40);
  use(CreatePen(PS_SOLID, 1, RED), CreateSolidBrush(RED));
  Rectangle(dc, -5, 10, 70, 20);  // wider than the bitmap: whole rows 10..19
  PixelBox filled = box_of(RED_PIXEL);
  EXPECT_EQ(filled.count, 64 * 10);
  EXPECT_EQ(filled.top, 10);
  EXPECT_EQ(filled.bottom, 19);

  // A second bitmap whose every row has a colour of its own.
  HDC source = CreateCompatibleDC(nullptr);
  HBITMAP rows = CreateCompatibleBitmap(source, 64, 40);
  SelectObject(source, rows);
  plat::Surface s;
  ASSERT_TRUE(plat::bitmap_surface(rows, &s));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) s.pixels[y * s.stride + x] = 0x010000u * uint32_t(y + 1);

  paint_background(BACKGROUND);
  ASSERT_TRUE(BitBlt(dc, 0, 5, 64, 10, source, 0, 20, SRCCOPY));
  EXPECT_EQ(px(0, 4), BACKGROUND);
  EXPECT_EQ(px(63, 5), 0x010000u * 21);
  EXPECT_EQ(px(0, 14), 0x010000u * 30);
  EXPECT_EQ(px(63, 15), BACKGROUND);

  // Scrolling the whole bitmap up and down: the rows move, the uncovered ones keep their pixels.
  ASSERT_TRUE(ScrollDC(source, 0, -3, nullptr, nullptr, nullptr, nullptr));
  for (int y : {0, 20, 36}) EXPECT_EQ(headless_bitmap_pixel(rows, 5, y), 0x010000u * (y + 4));
  for (int y : {37, 39}) EXPECT_EQ(headless_bitmap_pixel(rows, 5, y), 0x010000u * (y + 1));
  ASSERT_TRUE(ScrollDC(source, 0, 3, nullptr, nullptr, nullptr, nullptr));
  for (int y : {3, 20, 39}) EXPECT_EQ(headless_bitmap_pixel(rows, 60, y), 0x010000u * (y + 1));
  for (int y : {0, 2}) EXPECT_EQ(headless_bitmap_pixel(rows, 60, y), 0x010000u * (y + 4));
  DeleteDC(source);
  DeleteObject(rows);
}

TEST_F(GdiFastPaths, GlyphsDoNotDependOnTheColourUnderTheFirstCell) {
  HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 128));

  paint_background(WHITE_PIXEL);
  ASSERT_TRUE(TextOutA(dc, 10, 10, "Wag & jig", 9));
  std::vector<uint32_t> over_white = pixels_of(bitmap);

  // The same text where the pixel under its first cell is red: the rest is still white and must
  // come out the same.
  paint_background(WHITE_PIXEL);
  plat::Surface s;
  ASSERT_TRUE(plat::bitmap_surface(bitmap, &s));
  s.pixels[10 * s.stride + 10] = RED_PIXEL;
  ASSERT_TRUE(TextOutA(dc, 10, 10, "Wag & jig", 9));
  std::vector<uint32_t> over_red_corner = pixels_of(bitmap);
  over_red_corner[10 * 200 + 10] = over_white[10 * 200 + 10];
  EXPECT_EQ(over_red_corner, over_white);
  EXPECT_GT(box_of(WHITE_PIXEL, true).count, 50);

  SelectObject(dc, old_font);
  DeleteObject(font);
}

TEST_F(GdiFastPaths, FontsMadeOneAfterAnotherKeepTheirOwnSizes) {
  SIZE extent[4] = {};
  const int heights[4] = {-11, -40, -11, -40};
  for (int i = 0; i < 4; ++i) {
    HFONT font = CreateFontA(heights[i], 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font");
    HGDIOBJ old_font = SelectObject(dc, font);
    ASSERT_TRUE(GetTextExtentPointA(dc, "Mm", 2, &extent[i]));
    SelectObject(dc, old_font);
    DeleteObject(font);
  }
  EXPECT_EQ(extent[0].cx, extent[2].cx);
  EXPECT_EQ(extent[0].cy, extent[2].cy);
  EXPECT_EQ(extent[1].cy, extent[3].cy);
  EXPECT_GT(extent[1].cy, 2 * extent[0].cy);
}

}  // namespace
