// Menus on screen: the bar's titles and their highlight, the popup's rows (highlight, check mark,
// separators, greyed text, right-aligned shortcuts), the popup kept inside the window, and the
// popup living only in the presented frame so the client area keeps its own pixels.
#include <algorithm>

#include "test_menu_fixture.h"

namespace menu_test {
namespace {

constexpr uint32_t FACE = 0xC0C0C0;
constexpr uint32_t HIGHLIGHT = 0x000080;

bool dark(uint32_t p) {
  return ((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && (p & 0xFF) < 0x60;
}
int darkest_channel(uint32_t p) {
  return std::min({int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)});
}

class MenuDrawingTest : public MenuWindowTest {
 protected:
  std::vector<uint32_t> px;
  void look_at_the_open_run_menu();
  void draw_under_and_beside_the_open_popup();
  uint32_t at(int x, int y) const { return px[size_t(y) * WIDTH + size_t(x)]; }
  // Pixels of a box of the last frame that satisfy `test`, and the rightmost one's x.
  template <class F>
  int count_in(const RECT& r, F test, int* rightmost = nullptr) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (test(at(x, y))) {
          ++n;
          if (rightmost) *rightmost = std::max(*rightmost, x);
        }
    return n;
  }
};

TEST_F(MenuDrawingTest, BarAndPopupShowWhatTheItemsAre) {
  alt_key(10, 'R');
  check(15, [&] { look_at_the_open_run_menu(); });
  headless_key(20, TITLE, VK_ESCAPE, 27);
  headless_key(20, TITLE, VK_ESCAPE, 27);
  pump(10);
  EXPECT_FALSE(menu_open());
}

// What the Run menu opened by Alt+R shows (the menu is open while this runs).
void MenuDrawingTest::look_at_the_open_run_menu() {
  px = frame();
  ASSERT_EQ(px.size(), size_t(WIDTH) * HEIGHT);
  plat::PopupLayout layout = popup(RUN_TITLE);
  auto row = [&](int item) { return layout.items[item]; };
  auto check_column = [&](int item) {
    return RECT{row(item).left, row(item).top, layout.label_x, row(item).bottom};
  };

  // Bar: the open title highlighted, the others plain with black text and an underlined letter.
  plat::TitleBox run_box = title_box(RUN_TITLE), view_box = title_box(VIEW_TITLE);
  EXPECT_EQ(at(run_box.left + 1, 2), HIGHLIGHT);
  EXPECT_EQ(at(view_box.left + 1, 2), FACE);
  EXPECT_GT(count_in({view_box.left, 0, view_box.right, plat::MENU_BAR_HEIGHT}, dark), 0);
  int longest_run = 0;
  for (int y = 0; y < plat::MENU_BAR_HEIGHT; ++y)
    for (int x = view_box.left, length = 0; x < view_box.right; ++x) {
      length = dark(at(x, y)) ? length + 1 : 0;
      longest_run = std::max(longest_run, length);
    }
  EXPECT_GE(longest_run, 6);  // the line under 'V'

  // Popup: a dark outer edge, the keyboard's item highlighted, the others on the face colour.
  int mid = (layout.frame.top + layout.frame.bottom) / 2;
  EXPECT_EQ(at(layout.frame.right - 1, mid), 0u);
  EXPECT_EQ(at(layout.frame.left + 5, layout.frame.bottom - 1), 0u);
  EXPECT_EQ(at(row(ANIMATE).left + 1, row(ANIMATE).top + 1), HIGHLIGHT);
  EXPECT_GT(count_in(row(ANIMATE), [](uint32_t p) { return p == 0xFFFFFF; }), 10);
  EXPECT_EQ(at(row(HALT).left + 1, row(HALT).top + 1), FACE);

  // The check mark only where the item is checked.
  EXPECT_GT(count_in(check_column(LOGGING), dark), 5);
  EXPECT_EQ(count_in(check_column(QUIT), dark), 0);
  EXPECT_EQ(count_in(check_column(HALT), dark), 0);

  // Separators are an etched line; the greyed line has text, none of it black.
  EXPECT_GT(count_in(row(SEP1), [](uint32_t p) { return p == 0x808080; }), 100);
  EXPECT_EQ(count_in(row(SEP1), dark), 0);
  EXPECT_GT(count_in(row(INFO), [](uint32_t p) { return darkest_channel(p) < 0xB0; }), 10);
  EXPECT_EQ(count_in(row(INFO), [](uint32_t p) { return darkest_channel(p) < 0x70; }), 0);

  // Shortcut texts end at one right edge, inside the popup.
  std::vector<int> ends;
  for (int item : {HALT, ADVANCE, LOGGING, QUIT}) {
    int right = -1;
    count_in(row(item), dark, &right);
    ends.push_back(right);
  }
  auto [lo, hi] = std::minmax_element(ends.begin(), ends.end());
  EXPECT_LE(*hi - *lo, 2);
  EXPECT_LE(*hi, layout.shortcut_right);
  EXPECT_GT(*lo, layout.label_x + 100);
  dump_window_if_failed(TITLE);
}

TEST_F(MenuDrawingTest, ThePopupCoversTheClientOnlyOnScreen) {
  headless_menu_click(10, TITLE, title_x(RUN_TITLE));
  check(15, [&] { draw_under_and_beside_the_open_popup(); });
  check(25, [&] {
    EXPECT_EQ(headless_client_pixel(TITLE, 290, 30), 0xFF0000u);
    EXPECT_NE(headless_client_pixel(TITLE, 30, 30), 0xFF0000u);
  });
  headless_key(30, TITLE, VK_ESCAPE, 27);
  headless_key(30, TITLE, VK_ESCAPE, 27);
  pump(10);
  EXPECT_FALSE(menu_open());
  EXPECT_EQ(headless_client_pixel(TITLE, 30, 30), 0xFF0000u);
  EXPECT_EQ(headless_client_pixel(TITLE, 100, 100), stripe(100));
  dump_window_if_failed(TITLE);

  // A popup opened near the window's right edge moves left to stay inside; one wider than the
  // window starts at its left edge.
  plat::PopupLayout narrow = plat::popup_layout(*plat::find_menu(view), 100, 150);
  EXPECT_EQ(narrow.frame.right, 150);
  EXPECT_LT(narrow.frame.left, 100);
  plat::PopupLayout wide = plat::popup_layout(*plat::find_menu(run), 100, 150);
  EXPECT_EQ(wide.frame.left, 0);
  EXPECT_GT(wide.frame.right, 150);
}

// With the Run popup open: the window's own pixels under it are untouched, and the program's
// drawing shows beside it at once and under it only once the popup has gone.
void MenuDrawingTest::draw_under_and_beside_the_open_popup() {
  plat::PopupLayout layout = popup(RUN_TITLE);
  ASSERT_LT(layout.frame.right, 280);

  // The window's own pixels under the popup are untouched.
  plat::Surface surface;
  RECT client;
  ASSERT_TRUE(plat::window_surface(hwnd, &surface, &client));
  int changed = 0;
  for (int y = layout.frame.top; y < layout.frame.bottom; ++y)
    for (int x = layout.frame.left; x < layout.frame.right; ++x)
      changed += surface.pixels[size_t(y) * size_t(surface.stride) + size_t(x)] != stripe(x);
  EXPECT_EQ(changed, 0);

  // The program draws under and beside the open popup: beside it shows at once, under it only
  // once the popup has gone.
  HDC dc = GetDC(hwnd);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old_brush = SelectObject(dc, red);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 20, 20, 61, 41);
  Rectangle(dc, 285, 20, 301, 41);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(red);
  ReleaseDC(hwnd, dc);
}

}  // namespace
}  // namespace menu_test
