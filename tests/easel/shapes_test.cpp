// Colours, coordinates and the shape primitives: correction messages and their order, the log
// lines, extreme arguments, and nothing left behind. The pixels of every shape are pinned by the
// golden frame (golden_test.cpp).
#include <algorithm>
#include <climits>

#include "support.h"

namespace {

int count_in_image(uint32_t colour) {
  const std::vector<uint32_t> pixels = EaselTest::image();
  return int(std::count(pixels.begin(), pixels.end(), colour));
}

}  // namespace

TEST_F(EaselTest, CorrectionsComeBeforeTheDescriptionInTheirOrder) {
  open(true);
  const size_t before = log_lines().size();
  EXPECT_EQ(check_colour(0) + check_colour(23), 23);  // no message
  EXPECT_EQ(check_colour(-1), 2);
  EASEL_circle(30, 0, 0, -5);
  EASEL_line(99, 0, 0, 10, 0, -2);
  EASEL_triangle(99, 0, 0, 10, 0, 0, 10, -2);
  EASEL_rectangle(99, 0, 0, 10, 10, -2);
  EASEL_line(4, 0, 0, 1, 1, 0);
  EASEL_circle(22, 0, 0, 0);
  EASEL_rectangle(3, 10, -5, -10, 5, 0);
  EASEL_logging(0);
  EASEL_circle(-7, 1, 1, 1);
  EASEL_rectangle(3, 0, 0, 1, 1, 0);
  const std::vector<std::string> expected = {
      "Illegal color -1; using RED.\n",
      "Illegal color 30; using RED.\n",
      "Radius of -5 not possible, using radius 5\n",
      "red circle at (0,0), radius 5\n",
      "Width of -2 not possible, using width 2\n",
      "Illegal color 99; using RED.\n",
      "red line from (0,0) to (10,0), width 2\n",
      "Illegal color 99; using RED.\n",
      "Width of -2 not possible, using width 2\n",
      "red triangle at (0,0), (10,0), (0,10)\n",
      "Illegal color 99; using RED.\n",
      "Width of -2 not possible, using width 2\n",
      "red rectangle with bounding box (0,10) to (10,0) with line width 2\n",
      "blue line from (0,0) to (1,1), width 0\n",
      "50% gray circle at (0,0), radius 0\n",
      "green rectangle with bounding box (-10,5) to (10,-5), filled\n",
      "Illegal color -7; using RED.\n",
  };
  EXPECT_EQ(log_since(before), expected);
}

TEST_F(EaselTest, ExtremeArgumentsAreClippedWithoutOverflow) {
  constexpr int WHOLE_IMAGE = 601 * 540;
  constexpr int INSIDE_THE_FRAME = 599 * 538;  // a clear leaves a one-pixel black frame
  open(true);
  package.dirty = 0;
  EASEL_circle(2, INT_MAX, INT_MIN, 10);
  EXPECT_EQ(package.dirty, 1);
  EXPECT_EQ(count_in_image(WHITE), INSIDE_THE_FRAME);
  const size_t before = log_lines().size();
  EASEL_circle(2, 0, 0, INT_MIN);
  EXPECT_EQ(log_since(before)[0], "Radius of -2147483648 not possible, using radius 2147483647\n");
  EXPECT_EQ(count_in_image(RED), WHOLE_IMAGE);
  EASEL_rectangle(3, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
  EXPECT_EQ(count_in_image(GREEN), WHOLE_IMAGE);
  EASEL_line(0, INT_MIN, 0, INT_MAX, 0, INT_MIN);  // a pen INT_MAX wide along y = 0
  EXPECT_EQ(count_in_image(BLACK), WHOLE_IMAGE);

  // Outlines and text far away leave the image as it was; the triangle's inside covers it.
  EASEL_clear();
  EASEL_triangle(0, INT_MIN, INT_MIN, INT_MAX, INT_MIN, 0, INT_MAX, 1);
  EASEL_text(0, INT_MAX, INT_MIN, INT_MIN, "far\naway");
  EASEL_line(0, INT_MIN, INT_MAX, INT_MAX, INT_MAX, 1);
  EXPECT_EQ(count_in_image(WHITE), INSIDE_THE_FRAME);
  EASEL_triangle(4, INT_MIN, INT_MIN, INT_MAX, INT_MIN, 0, INT_MAX, 0);
  EXPECT_EQ(count_in_image(BLUE), WHOLE_IMAGE);
}

TEST_F(EaselTest, AFrameOfDrawingLeavesNothingBehind) {
  open();
  const PlatformCounters before = headless_counters();
  for (int frame = 0; frame < 3; ++frame) {
    EASEL_clear();
    EASEL_circle(5, 0, 0, 40);
    EASEL_triangle(6, 0, 0, 40, 0, 0, 40, 2);
    EASEL_rectangle(7, 0, 0, 40, 40, 0);
    EASEL_line(8, 0, 0, 40, 40, 3);
    EASEL_printf_at(10, 0, -40, 12, "frame %d", frame);
  }
  const PlatformCounters after = headless_counters();
  EXPECT_EQ(after.gdi_objects, before.gdi_objects);
  EXPECT_EQ(after.dcs, before.dcs);
  EXPECT_EQ(after.memory_blocks, before.memory_blocks);
}
