// Colours, coordinates and the shape primitives: correction messages and their order, the log
// lines, the boxes the shapes cover, and extreme arguments.
#include <climits>

#include "support.h"

namespace {

// Pixels of the image in a colour, counted over the whole image.
int count_in_image(uint32_t colour) {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  headless_bitmap_pixels(package.offscreen_bitmap, &pixels, &width, &height);
  int count = 0;
  for (uint32_t p : pixels) count += p == colour;
  return count;
}

}  // namespace

TEST_F(EaselTest, ColourCheckReplacesIllegalNumbersByRed) {
  open();
  EXPECT_EQ(check_colour(0), 0);
  EXPECT_EQ(check_colour(23), 23);
  EXPECT_EQ(package.log_first, -1);
  EXPECT_EQ(check_colour(24), 2);
  EXPECT_EQ(check_colour(-1), 2);
  EXPECT_EQ(log_lines(), (std::vector<std::string>{"Illegal color 24; using RED.\n",
                                                   "Illegal color -1; using RED.\n"}));
  EXPECT_STREQ(colour_names[22], "50% gray");
  EXPECT_EQ(colour_table[9], RGB(0, 51, 153));
}

TEST_F(EaselTest, CorrectionsComeBeforeTheDescriptionInTheirOrder) {
  open(true);
  const size_t before = log_lines().size();
  EASEL_circle(30, 0, 0, -5);
  EASEL_line(99, 0, 0, 10, 0, -2);
  EASEL_triangle(99, 0, 0, 10, 0, 0, 10, -2);
  EASEL_rectangle(99, 0, 0, 10, 10, -2);
  EASEL_line(4, 0, 0, 1, 1, 0);
  EASEL_logging(0);
  EASEL_circle(-7, 1, 1, 1);
  EASEL_rectangle(3, 0, 0, 1, 1, 0);
  const std::vector<std::string> lines = log_lines();
  const std::vector<std::string> expected = {
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
      "Illegal color -7; using RED.\n",
  };
  EXPECT_EQ(std::vector<std::string>(lines.begin() + before, lines.end()), expected);
}

TEST_F(EaselTest, ShapesCoverTheirBoxesBothEndsIncluded) {
  open(true);
  EASEL_rectangle(3, 10, -5, -10, 5, 0);
  EXPECT_EQ(log_lines().back(), "green rectangle with bounding box (-10,5) to (10,-5), filled\n");
  EXPECT_EQ(count_in_image(GREEN), 21 * 11);
  EXPECT_EQ(image_at(-10, 5), GREEN);
  EXPECT_EQ(image_at(10, -5), GREEN);
  EXPECT_EQ(image_at(11, 0), WHITE);

  EASEL_clear();
  EASEL_circle(2, 0, 0, -5);
  EXPECT_EQ(image_at(-5, 0), RED);
  EXPECT_EQ(image_at(5, 0), RED);
  EXPECT_EQ(image_at(0, 5), RED);
  EXPECT_EQ(image_at(0, -5), RED);
  EXPECT_EQ(image_at(6, 0), WHITE);
  EASEL_circle(3, 50, 50, 0);
  EXPECT_EQ(count_in_image(GREEN), 1);

  // An outline leaves the inside as it was; a line draws its start and not its end.
  EASEL_rectangle(3, -100, 100, 100, -100, 2);
  EXPECT_EQ(image_at(-100, 0), GREEN);
  EXPECT_EQ(image_at(0, 0), RED);
  EASEL_line(0, -200, 150, -190, 150, 0);
  EXPECT_EQ(image_at(-200, 150), BLACK);
  EXPECT_EQ(image_at(-191, 150), BLACK);
  EXPECT_EQ(image_at(-190, 150), WHITE);
  EASEL_triangle(4, 150, 150, 250, 150, 150, 250, 0);
  EXPECT_EQ(image_at(170, 170), 0x0000FFu);
}

TEST_F(EaselTest, ExtremeArgumentsAreClippedWithoutOverflow) {
  open(true);
  package.dirty = 0;
  EASEL_circle(1, INT_MAX, INT_MIN, 10);
  EXPECT_EQ(package.dirty, 1);
  EASEL_circle(2, 0, 0, INT_MIN);
  EXPECT_EQ(log_lines()[log_lines().size() - 2],
            "Radius of -2147483648 not possible, using radius 2147483647\n");
  EXPECT_EQ(count_in_image(RED), 601 * 540);  // the disc covers the whole image
  EASEL_clear();
  EASEL_rectangle(3, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
  EXPECT_EQ(count_in_image(GREEN), 601 * 540);
  EASEL_line(0, INT_MIN, 0, INT_MAX, 0, INT_MIN);
  EASEL_triangle(0, INT_MIN, INT_MIN, INT_MAX, INT_MIN, 0, INT_MAX, 1);
  EASEL_text(0, INT_MAX, INT_MIN, INT_MIN, "far\naway");
  EXPECT_EQ(package.dirty, 1);
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
    EASEL_text(9, 0, 0, 20, "text");
    EASEL_printf_at(10, 0, -40, 12, "%d", frame);
  }
  const PlatformCounters after = headless_counters();
  EXPECT_EQ(after.gdi_objects, before.gdi_objects);
  EXPECT_EQ(after.dcs, before.dcs);
  EXPECT_EQ(after.memory_blocks, before.memory_blocks);
}
