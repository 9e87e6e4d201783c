// Helpers for the package's tests: a fixture that starts each test from a fresh headless host,
// a fresh PackageState and an empty working directory (where "EASEL.SCR" lives), and readers for
// events, the log ring, the off-screen image and files. A failed test leaves the image as PNG
// in $CHILLY_ARTIFACTS.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "easel/easel_testing.h"
#include "easel/internal.h"
#include "log_cases.h"
#include "platform/headless.h"
#include "support/artifacts.h"
#include "support/files.h"
#include "support/graphics_window.h"
#include "support/palette.h"

// What a wait returned, and the virtual time at which it returned.
struct Event {
  int kind;
  int32_t x, y;
  char key;
  uint64_t at;
  bool operator==(const Event&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{kind " << e.kind << " (" << e.x << ", " << e.y << ") key " << int(e.key) << " at "
             << e.at << "}";
}

class EaselTest : public ::testing::Test {
 public:
  void SetUp() override {
    headless_reset();
    headless_set_time_limit(600000);
    easel_testing_reset();
    dir_ = std::make_unique<TemporaryDirectory>("easel-test");
    ASSERT_TRUE(dir_->enter()) << "no working directory for the test";
  }
  void TearDown() override {
    dump_bitmap_if_failed(package.offscreen_bitmap, "image");
    easel_testing_reset();
    headless_reset();
    dir_.reset();
  }

  static void open(bool logging = false) {
    EASEL_open(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
    EASEL_logging(logging ? 1 : 0);
    EASEL_clear();
  }
  static Event wait() {
    Event e = {};
    e.kind = EASEL_await_event(&e.x, &e.y, &e.key);
    e.at = headless_now();
    return e;
  }
  static bool checked(UINT id) {
    return (GetMenuState(package.run_menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }

  static std::vector<uint32_t> image() {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    headless_bitmap_pixels(package.offscreen_bitmap, &pixels, &width, &height);
    return pixels;
  }
  static uint32_t image_at(int x, int y) {
    return headless_bitmap_pixel(package.offscreen_bitmap, package.origin_x + x,
                                 package.origin_y - y);
  }

 private:
  std::unique_ptr<TemporaryDirectory> dir_;
};
