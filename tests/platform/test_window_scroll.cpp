// ScrollDC on a window, checked against a plain model of its pixels: a window without a menu
// bar scrolled up as a whole, line after line as a log window is (long enough for the window to
// run out of spare rows several times), mixed with scrolls the other way and sideways, drawing
// in between, presenting and resizing; and a window with a menu bar, whose bar never moves.
#include <vector>

#include "internal.h"
#include "platform/window_recorder.h"

namespace {

using WindowScrollTest = UserTest;

// The client area as the window system should hold it.
struct Model {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  // What ScrollDC with no rectangles does: every pixel moves by (dx, dy) and what is uncovered
  // keeps its old pixel.
  void scroll(int dx, int dy) {
    std::vector<uint32_t> old = pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        int sx = x - dx, sy = y - dy;
        if (sx >= 0 && sx < width && sy >= 0 && sy < height)
          at(x, y) = old[size_t(sy) * size_t(width) + size_t(sx)];
      }
  }
  void fill(int left, int top, int right, int bottom, uint32_t pixel) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) at(x, y) = pixel;
  }
};

// The window's client area as it is now.
std::vector<uint32_t> client_pixels(HWND hwnd) {
  plat::Surface s;
  RECT client{};
  std::vector<uint32_t> out;
  if (!plat::window_surface(hwnd, &s, &client)) return out;
  for (LONG y = client.top; y < client.bottom; ++y)
    for (LONG x = client.left; x < client.right; ++x)
      out.push_back(s.pixels[size_t(y) * size_t(s.stride) + size_t(x)]);
  return out;
}

void fill(HWND hwnd, int left, int top, int right, int bottom, uint32_t pixel) {
  HDC dc = GetDC(hwnd);
  HBRUSH brush = CreateSolidBrush(plat::colorref_from_pixel(pixel));
  HGDIOBJ old_brush = SelectObject(dc, brush);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, left, top, right + 1, bottom + 1);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(brush);
  ReleaseDC(hwnd, dc);
}

void scroll(HWND hwnd, int dx, int dy) {
  HDC dc = GetDC(hwnd);
  RECT update{};
  EXPECT_TRUE(ScrollDC(dc, dx, dy, nullptr, nullptr, nullptr, &update));
  ReleaseDC(hwnd, dc);
}

// A starting picture with a colour of its own in every row and column.
void paint_rows(HWND hwnd, Model* model) {
  for (int y = 0; y < model->height; ++y) {
    fill(hwnd, 0, y, model->width, y + 1, 0x010000u * uint32_t(y + 1) + 7);
    model->fill(0, y, model->width, y + 1, 0x010000u * uint32_t(y + 1) + 7);
  }
  fill(hwnd, 3, 0, 4, model->height, 0x00FF00);
  model->fill(3, 0, 4, model->height, 0x00FF00);
}

TEST_F(WindowScrollTest, WholeWindowScrolledLineByLineMatchesThePlainModel) {
  HWND hwnd = make_window("Log", 48, 30);
  ShowWindow(hwnd, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  Model model{48, 30, std::vector<uint32_t>(48 * 30)};
  paint_rows(hwnd, &model);
  ASSERT_EQ(client_pixels(hwnd), model.pixels);

  // Like the log: scroll up by a line, clear the bottom strip, put something in it.
  for (int line = 0; line < 200; ++line) {
    const int h = 1 + line % 4;
    scroll(hwnd, 0, -h);
    model.scroll(0, -h);
    ASSERT_EQ(client_pixels(hwnd), model.pixels) << "after the scroll of line " << line;
    const uint32_t colour = 0x000100u * uint32_t(line + 1);
    fill(hwnd, 0, 30 - h, 48, 30, colour);
    model.fill(0, 30 - h, 48, 30, colour);
    fill(hwnd, 5 + line % 20, 30 - h, 9 + line % 20, 30, 0xFF00FFu);
    model.fill(5 + line % 20, 30 - h, 9 + line % 20, 30, 0xFF00FFu);
    if (line % 7 == 0) {
      scroll(hwnd, 0, 2);  // the other way, and sideways, on the same pixels
      model.scroll(0, 2);
      scroll(hwnd, -3, 0);
      model.scroll(-3, 0);
    }
    if (line % 50 == 0) {
      poll();  // presents what the window holds now
      std::vector<uint32_t> shown;
      ASSERT_TRUE(headless_window_pixels("Log", &shown, nullptr, nullptr));
      EXPECT_EQ(shown, model.pixels) << "presented after line " << line;
    }
  }
  EXPECT_EQ(client_pixels(hwnd), model.pixels);

  // Scrolls that cannot move anything leave every pixel where it was.
  scroll(hwnd, 0, -30);
  scroll(hwnd, 0, INT_MIN);
  EXPECT_EQ(client_pixels(hwnd), model.pixels);
}

TEST_F(WindowScrollTest, WindowWithAMenuBarScrollsItsClientAreaOnly) {
  HWND hwnd = make_window("Menu", 40, 50);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 1, "&File");
  SetMenu(hwnd, bar);
  ShowWindow(hwnd, SW_SHOW);
  for (MSG m = poll(); m.message != WM_NULL; m = poll()) DispatchMessageA(&m);
  plat::Surface s;
  RECT client{};
  ASSERT_TRUE(plat::window_surface(hwnd, &s, &client));
  ASSERT_GT(client.top, 0);
  const std::vector<uint32_t> bar_rows(s.pixels, s.pixels + size_t(client.top) * size_t(s.stride));

  Model model{40, int(client.bottom - client.top), {}};
  model.pixels.resize(size_t(model.width) * size_t(model.height));
  paint_rows(hwnd, &model);
  for (int i = 0; i < 40; ++i) {
    scroll(hwnd, 0, -3);
    model.scroll(0, -3);
  }
  EXPECT_EQ(client_pixels(hwnd), model.pixels);
  ASSERT_TRUE(plat::window_surface(hwnd, &s, nullptr));
  EXPECT_EQ(std::vector<uint32_t>(s.pixels, s.pixels + bar_rows.size()), bar_rows);
}

}  // namespace
