// Block copies and scrolling: BitBlt clipped on both sides and over itself, ScrollDC keeping
// the uncovered pixels and reporting them, and window DCs that draw only into the client area.
#include <climits>

#include "test_gdi_helpers.h"

namespace {

class GdiBlit : public GdiTest {
 protected:
  // Gives every pixel of the fixture's bitmap its own value: x + 1000 * y.
  void number_pixels() {
    plat::Surface s;
    ASSERT_TRUE(plat::bitmap_surface(bitmap, &s));
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) s.pixels[y * s.stride + x] = uint32_t(x + 1000 * y);
  }
  static uint32_t number(int x, int y) { return uint32_t(x + 1000 * y); }
};

TEST_F(GdiBlit, CopiesBetweenDcsClippedOnBothSides) {
  number_pixels();
  HDC small_dc = CreateCompatibleDC(dc);
  HBITMAP small = CreateCompatibleBitmap(small_dc, 10, 8);
  SelectObject(small_dc, small);

  // Source partly left of and above the big bitmap, destination partly off the small one.
  ASSERT_TRUE(BitBlt(small_dc, 2, 3, 20, 20, dc, -1, -2, SRCCOPY));
  auto small_px = [&](int x, int y) { return headless_bitmap_pixel(small, x, y); };
  EXPECT_EQ(small_px(3, 5), number(0, 0));
  EXPECT_EQ(small_px(9, 7), number(6, 2));
  EXPECT_EQ(small_px(2, 5), 0u) << "its source lies left of the bitmap";
  EXPECT_EQ(small_px(3, 4), 0u) << "its source lies above the bitmap";
  EXPECT_EQ(small_px(1, 3), 0u);

  // Destination at negative coordinates; huge sizes and offsets stay clipped.
  ASSERT_TRUE(BitBlt(small_dc, -5, -5, 10, 10, dc, 50, 60, SRCCOPY));
  EXPECT_EQ(small_px(0, 0), number(55, 65));
  EXPECT_EQ(small_px(4, 4), number(59, 69));
  EXPECT_TRUE(BitBlt(small_dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, dc, INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_TRUE(BitBlt(small_dc, 0, 0, INT_MAX, INT_MAX, dc, INT_MIN, 0, SRCCOPY));
  EXPECT_EQ(small_px(0, 0), number(55, 65));
  EXPECT_TRUE(BitBlt(small_dc, 0, 0, 0, 5, dc, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(small_dc, 0, 0, 5, 5, dc, 0, 0, 0x00EE0086)) << "only SRCCOPY";
  EXPECT_FALSE(BitBlt(small_dc, 0, 0, 5, 5, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(small_px(0, 0), number(55, 65));
}

TEST_F(GdiBlit, OverlappingCopyWithinOneBitmap) {
  number_pixels();
  ASSERT_TRUE(BitBlt(dc, 11, 21, 50, 40, dc, 10, 20, SRCCOPY));  // down and right by one
  EXPECT_EQ(px(11, 21), number(10, 20));
  EXPECT_EQ(px(60, 60), number(59, 59));
  EXPECT_EQ(px(30, 40), number(29, 39));
  EXPECT_EQ(px(10, 20), number(10, 20));

  number_pixels();
  ASSERT_TRUE(BitBlt(dc, 10, 20, 50, 40, dc, 12, 23, SRCCOPY));  // up and left
  EXPECT_EQ(px(10, 20), number(12, 23));
  EXPECT_EQ(px(59, 59), number(61, 62));
  EXPECT_EQ(px(30, 40), number(32, 43));
}

TEST_F(GdiBlit, ScrollDcKeepsAndReportsTheUncoveredPixels) {
  number_pixels();
  RECT update{};
  ASSERT_TRUE(ScrollDC(dc, 0, -13, nullptr, nullptr, nullptr, &update));
  EXPECT_EQ(px(7, 0), number(7, 13));
  EXPECT_EQ(px(7, 136), number(7, 149));
  EXPECT_EQ(px(7, 137), number(7, 137)) << "uncovered rows keep their pixels";
  EXPECT_EQ(px(199, 149), number(199, 149));
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 137);
  EXPECT_EQ(update.right, 200);
  EXPECT_EQ(update.bottom, 150);

  // Restricted to a scroll rectangle and a clip rectangle.
  number_pixels();
  RECT scroll{20, 20, 60, 60};
  RECT clip{30, 0, 200, 150};
  ASSERT_TRUE(ScrollDC(dc, 5, 0, &scroll, &clip, nullptr, &update));
  EXPECT_EQ(px(30, 30), number(25, 30));
  EXPECT_EQ(px(64, 30), number(59, 30));
  EXPECT_EQ(px(65, 30), number(65, 30)) << "outside the scrolled area";
  EXPECT_EQ(px(24, 30), number(24, 30)) << "outside the clip rectangle";
  EXPECT_EQ(px(30, 19), number(30, 19));
  EXPECT_EQ(update.right - update.left, 0) << "pixels from outside the clip moved in";

  number_pixels();
  ASSERT_TRUE(ScrollDC(dc, 5, 0, &scroll, nullptr, nullptr, &update));
  EXPECT_EQ(px(20, 30), number(20, 30));
  EXPECT_EQ(px(25, 30), number(20, 30));
  EXPECT_EQ(update.left, 20);
  EXPECT_EQ(update.right, 25);
  EXPECT_EQ(update.top, 20);
  EXPECT_EQ(update.bottom, 60);

  // Scrolled off entirely: nothing moves, everything is uncovered.
  number_pixels();
  ASSERT_TRUE(ScrollDC(dc, INT_MIN, INT_MAX, nullptr, nullptr, nullptr, &update));
  EXPECT_EQ(px(100, 100), number(100, 100));
  EXPECT_EQ(update.right - update.left, 200);
  EXPECT_EQ(update.bottom - update.top, 150);
  EXPECT_TRUE(ScrollDC(dc, 3, 3, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(px(3, 3), number(0, 0));
  EXPECT_FALSE(ScrollDC(nullptr, 0, 1, nullptr, nullptr, nullptr, nullptr));
}

class GdiWindow : public GdiTest {
 protected:
  // A window whose client area starts under a menu bar, so its DC's origin is not the
  // surface's.
  HWND make_window_with_menu() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "GdiWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("GdiWindow", "G", WS_OVERLAPPEDWINDOW, 0, 0, 120, 100, nullptr,
                              nullptr, nullptr, nullptr);
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_STRING, 1, "&Run");
    SetMenu(hwnd, bar);
    return hwnd;
  }
  static uint32_t surface_pixel(HWND hwnd, int x, int y) {
    plat::Surface s;
    RECT client;
    if (!plat::window_surface(hwnd, &s, &client)) return 0xFFFFFFFF;
    return s.pixels[y * s.stride + x];
  }
};

TEST_F(GdiWindow, WindowDcDrawsIntoTheClientAreaOnly) {
  HWND hwnd = make_window_with_menu();
  ASSERT_TRUE(hwnd);
  RECT client;
  ASSERT_TRUE(GetClientRect(hwnd, &client));
  uint32_t menu_pixel = surface_pixel(hwnd, 2, 2);
  HDC window_dc = GetDC(hwnd);
  ASSERT_TRUE(window_dc);
  SelectObject(window_dc, GetStockObject(BLACK_BRUSH));
  ASSERT_TRUE(Rectangle(window_dc, -50, -50, 500, 500));
  EXPECT_EQ(GetPixel(window_dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(window_dc, client.right - 1, client.bottom - 1), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(window_dc, 0, -1), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(GetPixel(window_dc, client.right, 0), COLORREF(0xFFFFFFFF));
  EXPECT_EQ(surface_pixel(hwnd, 2, 2), menu_pixel) << "the menu bar is not client area";
  EXPECT_EQ(surface_pixel(hwnd, 2, plat::MENU_BAR_HEIGHT), 0u);

  // A copy from a bitmap lands at client coordinates.
  paint_background(BLUE_PIXEL);
  ASSERT_TRUE(BitBlt(window_dc, 5, 6, 10, 10, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(surface_pixel(hwnd, 5, 6 + plat::MENU_BAR_HEIGHT), BLUE_PIXEL);
  ASSERT_TRUE(ScrollDC(window_dc, 0, -6, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(GetPixel(window_dc, 5, 0), BLUE);
  EXPECT_EQ(surface_pixel(hwnd, 2, 2), menu_pixel) << "scrolling stays in the client area";

  // Once the window is gone the DC draws nothing, and can still be released.
  DestroyWindow(hwnd);
  EXPECT_FALSE(Rectangle(window_dc, 0, 0, 10, 10));
  EXPECT_FALSE(TextOutA(window_dc, 0, 0, "x", 1));
  EXPECT_FALSE(BitBlt(window_dc, 0, 0, 5, 5, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(window_dc, 0, 0), COLORREF(0xFFFFFFFF));
  ReleaseDC(hwnd, window_dc);
  EXPECT_EQ(headless_counters().dcs, 1);
}

TEST_F(GdiWindow, ScrollingAWholeWindowKeepsTheUncoveredRows) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "GdiPlainWindow";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("GdiPlainWindow", "L", WS_OVERLAPPEDWINDOW, 0, 0, 120, 100, nullptr,
                            nullptr, nullptr, nullptr);
  ASSERT_TRUE(hwnd);
  plat::Surface s;
  RECT client;
  ASSERT_TRUE(plat::window_surface(hwnd, &s, &client));
  ASSERT_EQ(client.top, 0);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) s.pixels[y * s.stride + x] = uint32_t(x + 1000 * y);
  HDC window_dc = GetDC(hwnd);
  RECT update{};
  for (int line = 1; line <= 3; ++line) {
    ASSERT_TRUE(ScrollDC(window_dc, 0, -13, nullptr, nullptr, nullptr, &update));
    EXPECT_EQ(update.top, 100 - 13);
    EXPECT_EQ(update.bottom, 100);
  }
  // Three scrolls of 13 rows: row y shows what row y + 39 held; the rows uncovered last keep
  // what the earlier scrolls left there.
  auto colour = [](int x, int y) { return plat::colorref_from_pixel(uint32_t(x + 1000 * y)); };
  EXPECT_EQ(GetPixel(window_dc, 7, 0), colour(7, 39));
  EXPECT_EQ(GetPixel(window_dc, 119, 60), colour(119, 99));
  EXPECT_EQ(GetPixel(window_dc, 7, 61), colour(7, 87));
  EXPECT_EQ(GetPixel(window_dc, 7, 87), colour(7, 87));
  EXPECT_EQ(GetPixel(window_dc, 7, 99), colour(7, 99));
  ReleaseDC(hwnd, window_dc);
}

}  // namespace
