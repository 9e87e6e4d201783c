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
  std::vector<std::string> expected = {"Illegal color -1; using RED.\n"};
  for (const std::string& line : draw_shapes_with_corrections()) expected.push_back(line);
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
  EASEL_circle(2, 0, 0, INT_MIN);
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
