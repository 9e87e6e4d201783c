// The log: the ring of 25 stored lines, repainting from it, cutting over-long messages, and
// lines that cannot be stored.
#include <cstring>

#include "support.h"

namespace {

std::vector<uint32_t> text_window_pixels() {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  headless_window_pixels(TEXT, &pixels, &width, &height);
  return pixels;
}

// Lets the pump handle what is queued (paints included) and present the windows.
void settle() {
  headless_type(headless_now() + 10, GRAPHICS, '.');
  EASEL_await_event(nullptr, nullptr, nullptr);
}

}  // namespace

TEST_F(EaselTest, LogRingWrapsAtTwentyFiveLines) {
  open();
  const int blocks = headless_counters().memory_blocks;
  EXPECT_EQ(EASEL_printf("Illegal color %d; using RED.\n", 99), 29);
  EXPECT_EQ(package.log_first, 0);
  EXPECT_EQ(package.log_next, 1);
  for (int i = 2; i <= 25; ++i) EASEL_printf("message %d\n", i);
  EXPECT_EQ(package.log_first, 0);
  EXPECT_EQ(package.log_next, 0);
  EASEL_printf("message 26");  // no newline: still a line of its own
  EXPECT_EQ(package.log_first, 1);
  EXPECT_EQ(package.log_next, 1);
  for (int i = 27; i <= 30; ++i) EASEL_printf("message %d\n", i);
  const std::vector<std::string> lines = log_lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines.front(), "message 6\n");
  EXPECT_EQ(lines[20], "message 26");
  EXPECT_EQ(lines.back(), "message 30\n");
  EXPECT_EQ(headless_counters().memory_blocks, blocks + 25);
}

TEST_F(EaselTest, RepaintDrawsTheStoredLinesAsTheyWereDrawn) {
  open();
  settle();
  const std::vector<uint32_t> empty = text_window_pixels();
  InvalidateRect(package.text_window, nullptr, TRUE);
  settle();
  EXPECT_EQ(text_window_pixels(), empty);  // nothing logged, nothing drawn

  for (int i = 1; i <= 30; ++i) EASEL_printf("message %d, some words to give the line ink\n", i);
  settle();
  const std::vector<uint32_t> drawn = text_window_pixels();
  EXPECT_NE(drawn, empty);
  InvalidateRect(package.text_window, nullptr, TRUE);
  settle();
  EXPECT_EQ(text_window_pixels(), drawn);
}

TEST_F(EaselTest, DrawingALineRemovesOneTrailingNewline) {
  open();
  char text[] = "two\n\n";
  log_draw_line(text);
  EXPECT_STREQ(text, "two\n");
  EASEL_printf("\n");
  EXPECT_EQ(log_lines().back(), "\n");  // the stored copy is the formatted text
}

TEST_F(EaselTest, OverlongMessagesAreCutAt1023Characters) {
  open(true);
  const std::string long_text(3000, 'w');
  EXPECT_EQ(EASEL_printf("%s", long_text.c_str()), 1023);
  EXPECT_EQ(log_lines().back(), long_text.substr(0, 1023));
  // The description of a text call carries the caller's text.
  EXPECT_EQ(EASEL_printf_at(0, 0, 0, 10, "%s", long_text.c_str()), 1023);
  const std::string described = log_lines().back();
  EXPECT_EQ(described.size(), 1023u);
  EXPECT_EQ(described.rfind("black text at (0,0), \"www", 0), 0u);
}

TEST_F(EaselTest, LinesThatCannotBeStoredAreOnlyDrawn) {
  open();
  EASEL_printf("first\n");
  headless_fail_global_alloc(0, 1);
  EXPECT_EQ(EASEL_printf("lost\n"), 5);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"first\n"});

  for (int i = 2; i <= 25; ++i) EASEL_printf("%d\n", i);
  const int blocks = headless_counters().memory_blocks;
  headless_fail_global_alloc(0, 1);
  EASEL_printf("lost too\n");  // the oldest line made room, the new one has none
  std::vector<std::string> lines = log_lines();
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines.front(), "2\n");
  EASEL_printf("kept\n");
  lines = log_lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines.back(), "kept\n");
  EXPECT_EQ(package.log_first, package.log_next);
  EXPECT_EQ(headless_counters().memory_blocks, blocks);
  settle();  // a repaint over the gap draws what is there
}
