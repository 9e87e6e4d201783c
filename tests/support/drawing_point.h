// Where a drawing point of the graphics window lands in pixels: the drawing origin is the centre
// of the 601 x 520 client area with y upward, and a frame of the whole window (as the runner
// writes it) has the menu bar above the client area. Also a frame read back whole, addressed by
// drawing points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int DRAWING_ORIGIN_X = 300;
constexpr int DRAWING_ORIGIN_Y = 260;
constexpr int DRAWING_CLIENT_HEIGHT = 520;

constexpr int client_x(int x) {
  return DRAWING_ORIGIN_X + x;
}
constexpr int client_y(int y) {
  return DRAWING_ORIGIN_Y - y;
}
// The row in a frame of the whole window `window_height` rows high: what lies above the client
// area is the menu bar.
constexpr int window_y(int y, int window_height) {
  return window_height - DRAWING_CLIENT_HEIGHT + client_y(y);
}

// A frame of the whole graphics window, 0x00RRGGBB.
struct Frame {
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;

  // The pixel at a drawing point; 0xFFFFFFFF outside the frame.
  uint32_t at(int x, int y) const {
    const int column = client_x(x);
    const int row = window_y(y, height);
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
