// For the GDI tests: a memory DC over a bitmap painted in a known background, pixel probes, and
// the bounding box of whatever differs from the background. The bitmap is dumped as PNG when a
// test fails.
#pragma once

#include <algorithm>
#include <cstdint>

#include "internal.h"
#include "platform/support.h"

struct PixelBox {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; right < left when empty
  int count = 0;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

class GdiTest : public PlatformTest {
 protected:
  static constexpr uint32_t BACKGROUND = 0x102030;

  void SetUp() override {
    PlatformTest::SetUp();
    make_canvas(200, 150);
  }

  void TearDown() override {
    if (bitmap) dump_bitmap_if_failed(bitmap);
    PlatformTest::TearDown();
  }

  void make_canvas(int width, int height) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(dc, width, height);
    SelectObject(dc, bitmap);
    paint_background(BACKGROUND);
  }

  // Paints the bitmap directly, without going through the drawing calls under test.
  void paint_background(uint32_t pixel) {
    plat::Surface s;
    ASSERT_TRUE(plat::bitmap_surface(bitmap, &s));
    std::fill(s.pixels, s.pixels + size_t(s.stride) * s.height, pixel);
  }

  uint32_t px(int x, int y) const { return headless_bitmap_pixel(bitmap, x, y); }

  // Bounding box and number of pixels equal to `pixel` (or, with `differs`, unlike it).
  PixelBox box_of(uint32_t pixel, bool differs = false) const {
    plat::Surface s;
    PixelBox b;
    if (!plat::bitmap_surface(bitmap, &s)) return b;
    b.left = s.width;
    b.top = s.height;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) {
        if ((s.pixels[y * s.stride + x] == pixel) == differs) continue;
        ++b.count;
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
      }
    return b;
  }
  PixelBox ink() const { return box_of(BACKGROUND, true); }

  // Selects a new pen and brush, deleting the ones this test selected before.
  void use(HPEN pen, HBRUSH brush) {
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    DeleteObject(old_pen);
    DeleteObject(old_brush);
  }

  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
};

inline constexpr COLORREF RED = RGB(255, 0, 0);
inline constexpr COLORREF BLUE = RGB(0, 0, 255);
inline constexpr uint32_t RED_PIXEL = 0xFF0000;
inline constexpr uint32_t BLUE_PIXEL = 0x0000FF;
