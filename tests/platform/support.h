// Helpers shared by the window system's tests: a fixture that starts every test from a fresh
// headless host, and PNG dumps of a window or bitmap for pixel checks that failed, written to
// $CHILLY_ARTIFACTS and named after the running test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"

// Every test starts and ends with the whole window system reset.
class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { headless_reset(); }
  void TearDown() override { headless_reset(); }
};

// "$CHILLY_ARTIFACTS/<suite>.<test>-<what>.png", or "" when no artifact folder is set.
inline std::string artifact_path(const char* what) {
  const char* dir = std::getenv("CHILLY_ARTIFACTS");
  if (!dir || !*dir) return "";
  std::string name = "unknown";
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
    name = std::string(info->test_suite_name()) + "." + info->name();
  name += std::string("-") + what + ".png";
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ' ') c = '_';
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return (std::filesystem::path(dir) / name).string();
}

// Writes the window's last presented frame (null title: the focus window). True when written.
inline bool dump_window_png(const char* window, const char* what = "window") {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  std::string path = artifact_path(what);
  if (path.empty() || !headless_window_pixels(window, &pixels, &width, &height)) return false;
  return headless_write_png(path, pixels, width, height);
}

inline bool dump_bitmap_png(HBITMAP bitmap, const char* what = "bitmap") {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  std::string path = artifact_path(what);
  if (path.empty() || !headless_bitmap_pixels(bitmap, &pixels, &width, &height)) return false;
  return headless_write_png(path, pixels, width, height);
}

// For the end of a pixel test: dump only when the test has already failed.
inline void dump_window_if_failed(const char* window, const char* what = "window") {
  if (::testing::Test::HasFailure()) dump_window_png(window, what);
}
inline void dump_bitmap_if_failed(HBITMAP bitmap, const char* what = "bitmap") {
  if (::testing::Test::HasFailure()) dump_bitmap_png(bitmap, what);
}
