// The six examples, each run whole with its script from examples/scripts played through the
// package's own playback from the first wait and the window closed once the script has ended;
// then pixels of the last frame are checked. run_example runs the program under easel-run where
// the build has the runner (run_with_runner.cpp), else in this process on the headless host
// (run_in_process.cpp).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "examples/run_example.h"
#include "platform/headless.h"
#include "support/palette.h"

namespace {

TEST(Examples, BounceMovesTheBallAndScoresOnlyAHit) {
  // Three steps of (7, 5), a miss, a hit on the ball at (21, 15), two more steps.
  const Frame frame = run_example("bounce", "bounce.scr", 7);
  ASSERT_EQ(frame.width, 601);
  EXPECT_EQ(frame.at(35, 25), RED);
  EXPECT_EQ(frame.at(0, 0), WHITE);
  EXPECT_EQ(frame.at(280, 228), GOLD);   // the first point's star
  EXPECT_EQ(frame.at(255, 228), WHITE);  // no second star: the miss scored nothing
}

TEST(Examples, PaintPlacesDotsInTheChosenColourAndClears) {
  // A dot, c (clear), b (blue), a dot, + (the next colour, yellow), a dot.
  const Frame frame = run_example("paint", "paint.scr", 6);
  ASSERT_EQ(frame.width, 601);
  EXPECT_EQ(frame.at(-100, 0), WHITE);
  EXPECT_EQ(frame.at(100, 0), BLUE);
  EXPECT_EQ(frame.at(0, -100), YELLOW);
  EXPECT_EQ(frame.at(-275, 240), YELLOW);  // the sample of the current colour
}

TEST(Examples, EchoShowsLatin1CharactersWithTheirAccent) {
  // The big glyph of é (typed as code 233, -23 in the script) reaches higher than that of e.
  const Frame e = run_example("echo", "echo-e.scr", 1);
  const Frame e_acute = run_example("echo", "echo.scr", 1);
  ASSERT_EQ(e.width, 601);
  ASSERT_EQ(e_acute.width, 601);
  const int e_top = e.top_of(BLUE, -60, 100, -40, 120);
  const int e_acute_top = e_acute.top_of(BLUE, -60, 100, -40, 120);
  EXPECT_GT(e_top, -40) << "no glyph drawn";
  EXPECT_GT(e_acute_top, e_top + 10);
  // The typed line along the bottom has ink too.
  EXPECT_GT(e_acute.top_of(BLACK, -280, 0, -240, -200), -240);
}

TEST(Examples, PaletteShowsEveryColourAndFramesTheChosenOne) {
  const Frame frame = run_example("palette", "palette.scr", 1);  // a click on blue
  ASSERT_EQ(frame.width, 601);
  for (int n = 0; n < 24; ++n) {
    const int left = -295 + (n % 4) * 147;
    const int top = 250 - (n / 4) * 82;
    EXPECT_EQ(frame.at(left + 72, top - 35), PALETTE_PIXELS[n]) << "colour " << n;
    // The chosen colour's outline is black and 3 pixels wide; the others are gray.
    EXPECT_EQ(frame.at(left + 1, top - 35), n == 4 ? BLACK : PALETTE_PIXELS[n]) << "colour " << n;
    EXPECT_EQ(frame.at(left, top - 35), n == 4 ? BLACK : GRAY_50) << "colour " << n;
  }
  // With EASEL_DOCS_DIR set, the pictures of the API reference are made from this frame: the
  // whole window as docs/palette.png, and a 16 x 16 swatch of each colour (framed in gray) as
  // docs/colours/NN.png.
  if (const char* docs = std::getenv("EASEL_DOCS_DIR")) {
    ASSERT_TRUE(headless_write_png(std::string(docs) + "/palette.png", frame.pixels, frame.width,
                                   frame.height));
    std::filesystem::create_directories(std::string(docs) + "/colours");
    for (int n = 0; n < 24; ++n) {
      // Framed in gray, as on the screen, so that white shows on a white page.
      std::vector<uint32_t> swatch(16 * 16, GRAY_50);
      for (int row = 1; row < 15; ++row) {
        for (int column = 1; column < 15; ++column) {
          swatch[row * 16 + column] = frame.at(-295 + (n % 4) * 147 + 72, 250 - (n / 4) * 82 - 35);
        }
      }
      char name[32];
      std::snprintf(name, sizeof name, "/colours/%02d.png", n);
      ASSERT_TRUE(headless_write_png(std::string(docs) + name, swatch, 16, 16));
    }
  }
}

TEST(Examples, ClockHandsAfterFifteenSeconds) {
  // 150 periodic events are 15 s after 9:00:00.
  const Frame frame = run_example("clock", "clock.scr", 150);
  ASSERT_EQ(frame.width, 601);
  EXPECT_EQ(frame.at(150, 0), RED);        // second hand at 3 o'clock
  EXPECT_EQ(frame.at(0, 140), NAVY_BLUE);  // minute hand at 12
  EXPECT_EQ(frame.at(-100, 0), BLACK);     // hour hand at 9
  EXPECT_EQ(frame.at(0, -150), WHITE);     // nothing at 6
}

TEST(Examples, RunMenuCountsStepsAndMarksClicks) {
  // Five steps, a click, three steps, a key.
  const Frame frame = run_example("run_menu", "run_menu.scr", 10);
  ASSERT_EQ(frame.width, 601);
  EXPECT_EQ(frame.at(-190, -50), BLUE);   // the square after 8 steps of 10
  EXPECT_EQ(frame.at(-220, -50), WHITE);  // not where it was after 5
  EXPECT_EQ(frame.at(100, 100), RED);     // the click's mark
}

}  // namespace
