// Text and clear: size corrections, where the lines stand, formatted text, the cleared image
// with its frame, and a text block that cannot be allocated.
#include <algorithm>

#include "support.h"

namespace {

// Rows and columns of the image between two rows that hold ink (anything but white).
struct InkBox {
  int top = INT32_MAX, bottom = -1, left = INT32_MAX;
};
InkBox ink_box(int from_row, int to_row) {
  const std::vector<uint32_t> pixels = EaselTest::image();
  InkBox box;
  for (int row = from_row; row <= to_row; ++row) {
    for (int column = 1; column < IMAGE_WIDTH - 1; ++column) {
      if (pixels[row * IMAGE_WIDTH + column] == WHITE) continue;
      box.top = std::min(box.top, row);
      box.bottom = std::max(box.bottom, row);
      box.left = std::min(box.left, column);
    }
  }
  return box;
}

}  // namespace

TEST_F(EaselTest, TextSizesAreCorrectedBeforeTheColour) {
  open(true);
  const size_t before = log_lines().size();
  const std::vector<std::string> expected = draw_text_with_corrections();
  EXPECT_EQ(log_since(before), expected);
}

TEST_F(EaselTest, TextStandsOnItsPositionLineUnderLine) {
  open();
  HDC dc = CreateCompatibleDC(package.screen_dc);
  HGDIOBJ previous =
      SelectObject(dc, CreateFontA(-20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "EASEL-font"));
  SIZE extent = {};
  GetTextExtentPointA(dc, "Hg", 2, &extent);
  DeleteObject(SelectObject(dc, previous));
  DeleteDC(dc);
  const int h = extent.cy;
  ASSERT_GT(h, 15);

  EASEL_text(0, -100, 0, 20, "Hg\nHg");
  const int oy = package.origin_y;
  const InkBox all = ink_box(1, IMAGE_HEIGHT - 2);
  const InkBox first = ink_box(oy - h, oy - 1);
  const InkBox second = ink_box(oy, oy + h - 1);
  EXPECT_GE(all.top, oy - h);
  EXPECT_LE(all.bottom, oy + h - 1);
  EXPECT_LT(first.bottom, oy);  // descenders included, the first line ends above y
  EXPECT_EQ(second.top - first.top, h);
  EXPECT_EQ(second.left, first.left);
  EXPECT_GE(first.left, package.origin_x - 100);
  EXPECT_LT(first.left, package.origin_x - 100 + 5);

  // A trailing newline adds an empty line; an empty string draws nothing; both count as drawn.
  EASEL_clear();
  const std::vector<uint32_t> blank = image();
  EASEL_text(0, 0, 0, 20, "A");
  const std::vector<uint32_t> one_line = image();
  EASEL_clear();
  package.dirty = 0;
  EASEL_text(0, 0, 0, 20, "A\n");
  EXPECT_EQ(image(), one_line);
  EXPECT_EQ(package.dirty, 1);
  EASEL_clear();
  package.dirty = 0;
  EASEL_text(0, 0, 0, 20, "");
  EXPECT_EQ(image(), blank);
  EXPECT_EQ(package.dirty, 1);
  EXPECT_EQ(EASEL_printf_at(0, 0, 0, 20, "%d", 42), 2);
  EXPECT_NE(image(), blank);
}

TEST_F(EaselTest, ClearMakesAWhiteImageInABlackFrame) {
  open(true);
  EASEL_rectangle(2, -300, 300, 300, -300, 0);
  EXPECT_EQ(EASEL_clear(), 1);
  EXPECT_EQ(log_lines().back(), "Clearing the graphics window\n");
  const std::vector<uint32_t> pixels = image();
  int wrong = 0;
  for (int row = 0; row < IMAGE_HEIGHT; ++row) {
    for (int column = 0; column < IMAGE_WIDTH; ++column) {
      const bool frame =
          row == 0 || column == 0 || row == IMAGE_HEIGHT - 1 || column == IMAGE_WIDTH - 1;
      wrong += pixels[row * IMAGE_WIDTH + column] != (frame ? BLACK : WHITE);
    }
  }
  EXPECT_EQ(wrong, 0);
  EASEL_logging(0);
  const size_t lines = log_lines().size();
  EASEL_clear();
  EXPECT_EQ(log_lines().size(), lines);
}

TEST_F(EaselTest, TextWithoutMemoryForItsBlockIsNotDrawn) {
  open();
  const std::vector<uint32_t> blank = image();
  const int blocks = headless_counters().memory_blocks;
  headless_fail_global_alloc(0, 1);
  EXPECT_EQ(EASEL_text(0, 0, 0, 30, "MMMM"), 1);
  EXPECT_EQ(image(), blank);
  EXPECT_EQ(headless_counters().memory_blocks, blocks);
  EASEL_text(0, 0, 0, 30, "MMMM");
  EXPECT_NE(image(), blank);
}
