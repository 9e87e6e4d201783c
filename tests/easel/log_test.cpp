// The log: the ring of 25 stored lines, repainting from it, cutting over-long messages, and
// lines that cannot be stored.
#include <utility>

#include "support.h"

namespace {

// Lets the pump run (the screen is brought up to date when it polls) and returns what the log
// window shows.
std::vector<uint32_t> shown() {
  headless_type(headless_now() + 10, GRAPHICS, '.');
  EASEL_await_event(nullptr, nullptr, nullptr);
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  headless_window_pixels(TEXT, &pixels, &width, &height);
  return pixels;
}

std::vector<uint32_t> repainted() {
  InvalidateRect(package.text_window, nullptr, TRUE);
  return shown();
}

std::pair<int, int> ring() {
  return {package.log_first, package.log_next};
}

}  // namespace

TEST_F(EaselTest, LogRingWrapsAndRepaintsTheLast25Lines) {
  open();
  const std::vector<uint32_t> empty = repainted();
  EXPECT_EQ(repainted(), empty);  // nothing logged, nothing drawn
  const int blocks = headless_counters().memory_blocks;

  EXPECT_EQ(EASEL_printf("Illegal color %d; using RED.\n", 99), 29);
  EXPECT_EQ(ring(), std::pair(0, 1));
  for (int i = 2; i <= 25; ++i) EASEL_printf("message %d, with some words for ink\n", i);
  EXPECT_EQ(ring(), std::pair(0, 0));
  EASEL_printf("message 26");  // no newline: still a line of its own
  EXPECT_EQ(ring(), std::pair(1, 1));
  for (int i = 27; i <= 30; ++i) EASEL_printf("message %d, with some words for ink\n", i);
  const std::vector<std::string> lines = log_lines();
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines.front(), "message 6, with some words for ink\n");
  EXPECT_EQ(lines[20], "message 26");
  EXPECT_EQ(headless_counters().memory_blocks, blocks + 25);

  // The repaint draws the stored lines exactly as they were drawn when logged.
  const std::vector<uint32_t> drawn = shown();
  EXPECT_NE(drawn, empty);
  EXPECT_EQ(repainted(), drawn);
  EXPECT_EQ(repainted(), drawn);
  EXPECT_EQ(log_lines(), lines);  // repainting leaves the stored lines as they were

  char text[] = "two\n\n";
  log_draw_line(text);
  EXPECT_STREQ(text, "two\n");
}

TEST_F(EaselTest, OverlongMessagesAreCutAt1023Characters) {
  open(true);
  const std::string long_text(3000, 'w');
  EXPECT_EQ(EASEL_printf("%s", long_text.c_str()), 1023);
  EXPECT_EQ(log_lines().back(), long_text.substr(0, 1023));
  // The description of a text call carries the caller's text.
  EXPECT_EQ(EASEL_printf_at(0, 0, 0, 10, "%s", long_text.c_str()), 1023);
  EXPECT_EQ(log_lines().back(), ("black text at (0,0), \"" + long_text).substr(0, 1023));
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
  EASEL_printf("lost too\n");  // the oldest line made room, the new one found none
  EXPECT_EQ(log_lines().size(), 24u);
  EXPECT_EQ(log_lines().front(), "2\n");
  repainted();  // over the gap
  EASEL_printf("kept\n");
  EXPECT_EQ(log_lines().size(), 25u);
  EXPECT_EQ(log_lines().back(), "kept\n");
  EXPECT_EQ(headless_counters().memory_blocks, blocks);
}
