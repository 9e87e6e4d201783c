// The golden frame: shapes without text, drawn through the package on the headless host, compared
// pixel for pixel with tests/golden/shapes.png, so that every pixel of circles, lines, triangles
// and rectangles is pinned, not only the boxes the other tests probe.
//
// After a deliberate change to how shapes are drawn, regenerate the stored frame with
//   make golden
// which runs this test as
//   CHILLY_UPDATE_GOLDEN=1 build/release/tests/easel_tests --gtest_filter='*GoldenFrame*'
// and look at the new PNG before committing it. On a mismatch the test writes the frame it drew
// and a diff (differing pixels red over a faded copy) to $CHILLY_ARTIFACTS.
#include <cstdlib>

#include "support.h"

namespace {

const std::string GOLDEN = std::string(CHILLY_GOLDEN_DIR) + "/shapes.png";

// Lines from a centre in sixteen directions: the eight octants (shallow and steep, each way),
// slopes of one half whose steps fall exactly between two pixels, and the axes and diagonals.
void line_star(int colour, int cx, int cy, int width) {
  const int ends[][2] = {{45, 17},  {17, 45},  {-17, 45}, {-45, 17}, {-45, -17}, {-17, -45},
                         {17, -45}, {45, -17}, {40, 20},  {-20, 40}, {-40, -20}, {20, -40},
                         {45, 0},   {0, 45},   {-45, 45}, {-45, -45}};
  for (const auto& end : ends) EASEL_line(colour, cx, cy, cx + end[0], cy + end[1], width);
}

void draw_shapes() {
  // Circles of radius 0..30 in three rows, the last one cut by the image's corner.
  const int rows[][3] = {{0, 15, 250}, {16, 24, 205}, {25, 30, 140}};
  for (const auto& row : rows) {
    int x = -297;
    for (int r = row[0]; r <= row[1]; ++r) {
      x += r;
      EASEL_circle(2 + r % 20, x, row[2], r);
      x += r + 4;
    }
  }
  EASEL_circle(9, 300, -270, 30);

  line_star(0, 130, 215, 0);
  line_star(4, 240, 215, 1);
  line_star(19, 130, 100, 2);
  line_star(8, 240, 100, 5);

  // Triangles with slanted edges, filled and outlined, clockwise and anticlockwise.
  EASEL_triangle(13, -290, 60, -200, 35, -260, -70, 0);
  EASEL_triangle(3, -190, 60, -100, 50, -185, -70, 0);
  EASEL_triangle(6, -90, -70, -10, -20, -70, 60, 0);
  EASEL_triangle(9, 0, 60, 90, 40, 30, -70, 1);
  EASEL_triangle(14, 100, -70, 190, 50, 120, 60, 3);
  EASEL_triangle(19, 200, 30, 290, 10, 205, -70, 2);

  // Rectangles with their corners given either way round, filled and outlined.
  EASEL_rectangle(7, -290, -100, -230, -140, 0);
  EASEL_rectangle(21, -160, -140, -220, -100, 0);
  EASEL_rectangle(0, -150, -100, -90, -140, 1);
  EASEL_rectangle(2, -20, -140, -80, -100, 2);
  EASEL_rectangle(4, -10, -100, 50, -140, 5);
  EASEL_rectangle(17, -290, -160, -290, -160, 0);  // a single pixel
  EASEL_rectangle(18, -280, -160, -200, -160, 3);  // a flat one, outlined

  // The null pen, drawn straight into the image: the fill loses its right column and bottom row.
  HDC dc = package.offscreen_dc;
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  HBRUSH brush = CreateSolidBrush(RGB(0, 102, 51));
  HGDIOBJ old_brush = SelectObject(dc, brush);
  Rectangle(dc, 20, 460, 80, 500);
  Ellipse(dc, 100, 450, 170, 520);
  Ellipse(dc, 190, 460, 193, 463);
  const POINT points[] = {{220, 450}, {300, 470}, {240, 530}};
  Polygon(dc, points, 3);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(brush);
}

void write_artifacts(const std::vector<uint32_t>& drawn, const std::vector<uint32_t>& golden,
                     int width, int height) {
  write_artifact("drawn", drawn, width, height);
  std::vector<uint32_t> diff(drawn.size());
  for (size_t i = 0; i < drawn.size(); ++i) {
    const uint32_t p = drawn[i];
    const uint32_t faded = ((p >> 2) & 0x3F3F3F) + 0xC0C0C0;
    diff[i] = i < golden.size() && golden[i] == p ? faded : 0xFF0000;
  }
  write_artifact("diff", diff, width, height);
}

}  // namespace

TEST_F(EaselTest, GoldenFrameOfShapes) {
  open();
  draw_shapes();
  std::vector<uint32_t> drawn;
  int width = 0, height = 0;
  ASSERT_TRUE(headless_bitmap_pixels(package.offscreen_bitmap, &drawn, &width, &height));
  if (std::getenv("CHILLY_UPDATE_GOLDEN") != nullptr) {
    ASSERT_TRUE(headless_write_png(GOLDEN, drawn, width, height));
    std::printf("wrote %s\n", GOLDEN.c_str());
    return;
  }
  std::vector<uint32_t> golden;
  int golden_width = 0, golden_height = 0;
  ASSERT_TRUE(headless_read_png(GOLDEN, &golden, &golden_width, &golden_height)) << GOLDEN;
  ASSERT_EQ(std::pair(golden_width, golden_height), std::pair(width, height));
  size_t differing = 0, first = drawn.size();
  for (size_t i = 0; i < drawn.size(); ++i) {
    if (drawn[i] == golden[i]) continue;
    if (differing++ == 0) first = i;
  }
  if (differing > 0) write_artifacts(drawn, golden, width, height);
  EXPECT_EQ(differing, 0u) << "first at device (" << first % size_t(width) << ", "
                           << first / size_t(width) << "); the frame drawn and a diff are in "
                           << "$CHILLY_ARTIFACTS";
}
