// A frame of the graphics window (its whole outer area, menu bar on top, as written by the
// runner), read in drawing coordinates, and the checks each example's last frame must pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Frame {
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  int width = 0;
  int height = 0;

  // The pixel at a drawing point: the client area (the window less its menu bar at the top) is
  // 601 x 520 with the origin at (300, 260). 0xFFFFFFFF outside.
  uint32_t at(int x, int y) const {
    const int menu_bar = height - 520;
    const int column = 300 + x;
    const int row = menu_bar + 260 - y;
    if (column < 0 || column >= width || row < 0 || row >= height) return 0xFFFFFFFF;
    return pixels[static_cast<size_t>(row) * static_cast<size_t>(width) +
                  static_cast<size_t>(column)];
  }
  // Topmost drawing y in the box [left, right] x [bottom, top] holding a pixel of `colour`, or
  // bottom - 1 when none does.
  int top_of(uint32_t colour, int left, int right, int bottom, int top) const {
    for (int y = top; y >= bottom; --y) {
      for (int x = left; x <= right; ++x) {
        if (at(x, y) == colour) return y;
      }
    }
    return bottom - 1;
  }
};
