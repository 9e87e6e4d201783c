// Pictures a failing test leaves behind for a person to look at: PNG files written to
// $CHILLY_ARTIFACTS (CTest sets it to build/.../test-artifacts) and named after the running test,
// "<suite>.<test>-<what>.png". With no folder set nothing is written.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"

// "$CHILLY_ARTIFACTS/<suite>.<test>-<what>.png", or "" when no artifact folder is set.
inline std::string artifact_path(const std::string& what) {
  const char* dir = std::getenv("CHILLY_ARTIFACTS");
  if (!dir || !*dir) return "";
  std::string name = "unknown";
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
    name = std::string(info->test_suite_name()) + "." + info->name();
  name += "-" + what + ".png";
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ' ') c = '_';
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return (std::filesystem::path(dir) / name).string();
}

// Writes pixels (0x00RRGGBB, rows top down) as an artifact. True when written.
inline bool write_artifact(const std::string& what, const std::vector<uint32_t>& pixels, int width,
                           int height) {
  const std::string path = artifact_path(what);
  return !path.empty() && headless_write_png(path, pixels, width, height);
}

// The window's last presented frame (null title: the focus window).
inline bool dump_window_png(const char* window, const std::string& what = "window") {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  return headless_window_pixels(window, &pixels, &width, &height) &&
         write_artifact(what, pixels, width, height);
}

inline bool dump_bitmap_png(HBITMAP bitmap, const std::string& what = "bitmap") {
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  return headless_bitmap_pixels(bitmap, &pixels, &width, &height) &&
         write_artifact(what, pixels, width, height);
}

// For the end of a pixel test: dump only when the test has already failed.
inline void dump_window_if_failed(const char* window, const std::string& what = "window") {
  if (::testing::Test::HasFailure()) dump_window_png(window, what);
}
inline void dump_bitmap_if_failed(HBITMAP bitmap, const std::string& what = "bitmap") {
  if (::testing::Test::HasFailure()) dump_bitmap_png(bitmap, what);
}
