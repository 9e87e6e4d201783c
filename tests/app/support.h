// Helpers for the game's tests: a fresh headless host and package per test, the graphics
// window's presented pixels addressed in drawing coordinates, and the frame written as PNG to
// $CHILLY_ARTIFACTS when a pixel check fails.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/main.h"
#include "app/panel.h"
#include "easel/easel_testing.h"
#include "platform/headless.h"
#include "support/artifacts.h"
#include "support/graphics_window.h"
#include "support/palette.h"

inline uint32_t pixel_at(int x, int y) {
  return headless_client_pixel(GRAPHICS, client_x(x), client_y(y));
}
// A click in the middle of a panel button.
inline void press_at(uint64_t at, PanelButton button) {
  click_at(at, panel_button_x(button), panel_button_y(button));
}

// Checks one presented pixel; a mismatch writes the frame to $CHILLY_ARTIFACTS.
inline void expect_pixel(int x, int y, uint32_t colour) {
  const uint32_t seen = pixel_at(x, y);
  EXPECT_EQ(seen, colour) << "at drawing point (" << x << ", " << y << "), time " << headless_now();
  if (seen != colour) dump_window_png(GRAPHICS, std::to_string(headless_now()));
}

// Text is found by the box its ink falls in: some pixel there differs from the background.
inline bool ink_in(int x1, int y1, int x2, int y2, uint32_t background) {
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x)
      if (pixel_at(x, y) != background) return true;
  return false;
}

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_reset();
    easel_testing_reset();
    headless_set_time_limit(120000);
  }
  void TearDown() override {
    easel_testing_reset();
    headless_reset();
  }
  // Opens the package as WinMain does, for tests that draw or play turn by turn.
  static void open_package() {
    EASEL_open(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    EASEL_logging(0);
    EASEL_clear();
    EASEL_animate(EASEL_ANIM_RUN);
  }
  // Puts what was drawn on the screen: the wait copies the image before it returns.
  static void present() {
    int32_t x, y;
    char key;
    EASEL_await_event(&x, &y, &key);
  }
};
