// Menus driven by the mouse: clicking titles and items, greyed items and separators, clicking
// away, pressing on a title and releasing on an item, one menu at a time, windows and bars going
// away under an open menu.
#include <climits>

#include "test_menu_fixture.h"

namespace menu_test {
namespace {

using host::InputKind;

class MenuMouseTest : public MenuWindowTest {};

// The menu runs its own loop until it closes, so the program's pump returns only then; what the
// menu shows meanwhile is checked at times between the clicks (check()).
TEST_F(MenuMouseTest, ClickTitleThenItemPostsTheCommandAndLeavesTheClientAlone) {
  headless_menu_click(10, TITLE, title_x(RUN_TITLE));
  int presents = 0;
  check(15, [&] {
    EXPECT_TRUE(menu_open());
    EXPECT_EQ(state().title, RUN_TITLE);
    EXPECT_TRUE(state().popup_open);
    EXPECT_EQ(state().item, -1);  // the mouse highlights nothing until it moves onto an item
    presents = headless_present_count(TITLE);
  });
  POINT halt = item_point(RUN_TITLE, HALT);
  headless_window_click(20, TITLE, halt.x, halt.y);
  std::vector<MSG> msgs = pump(10);
  EXPECT_EQ(headless_now(), 20u) << "the program's loop got nothing until the menu closed";
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{2});
  for (const MSG& m : msgs) {
    if (m.message == WM_COMMAND) {
      EXPECT_EQ(m.lParam, 0);
    }
  }
  EXPECT_EQ(count(received(), WM_LBUTTONDOWN) + count(received(), WM_LBUTTONUP), 0);
  EXPECT_EQ(count(msgs, WM_NCLBUTTONDOWN, HTMENU), 1);
  EXPECT_FALSE(menu_open());
  EXPECT_GT(headless_present_count(TITLE), presents);

  // Every client pixel that the popup covered shows the stripes again, with no repainting.
  EXPECT_EQ(count(received(), WM_PAINT), 0);
  RECT frame = popup(RUN_TITLE).frame;
  int wrong = 0;
  for (int y = frame.top; y < frame.bottom; ++y)
    for (int x = frame.left; x < frame.right; ++x)
      wrong += headless_client_pixel(TITLE, x, y - plat::MENU_BAR_HEIGHT) != stripe(x);
  EXPECT_EQ(wrong, 0);
  dump_window_if_failed(TITLE);
}

TEST_F(MenuMouseTest, GreyedItemsSeparatorsEdgesClickingAwayAndTheBar) {
  headless_menu_click(10, TITLE, title_x(RUN_TITLE));
  POINT info = item_point(RUN_TITLE, INFO);
  POINT sep = item_point(RUN_TITLE, SEP1);
  RECT edge = popup(RUN_TITLE).frame;
  headless_window_click(20, TITLE, info.x, info.y);
  headless_window_click(30, TITLE, sep.x, sep.y);
  headless_window_click(30, TITLE, edge.left + 1, sep.y);
  headless_window_click(30, TITLE, info.x, edge.bottom - 1);
  check(35, [&] { EXPECT_TRUE(state().popup_open); });
  // A click away closes the menu and is swallowed; the next click reaches the program.
  headless_window_click(40, TITLE, WIDTH - 5, HEIGHT - 5);
  std::vector<MSG> msgs = pump(10);
  EXPECT_TRUE(commands(msgs).empty());
  EXPECT_FALSE(menu_open());
  EXPECT_EQ(count(received(), WM_LBUTTONDOWN) + count(received(), WM_LBUTTONUP), 0);
  headless_window_click(50, TITLE, WIDTH - 5, HEIGHT - 5);
  msgs = pump(50);
  ASSERT_EQ(count(msgs, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(count(msgs, WM_LBUTTONUP), 1);
  for (const MSG& m : msgs) {
    if (m.message == WM_LBUTTONDOWN) {
      EXPECT_EQ(m.lParam, MAKELPARAM(WIDTH - 5, HEIGHT - 5 - plat::MENU_BAR_HEIGHT));
    }
  }

  // The open title closes its popup; another title switches to its popup.
  headless_menu_click(60, TITLE, title_x(RUN_TITLE));
  headless_menu_click(61, TITLE, title_x(RUN_TITLE));
  pump(60);
  EXPECT_FALSE(menu_open());
  headless_menu_click(70, TITLE, title_x(RUN_TITLE));
  headless_menu_click(71, TITLE, title_x(VIEW_TITLE));
  check(75, [&] {
    EXPECT_EQ(state().title, VIEW_TITLE);
    EXPECT_TRUE(state().popup_open);
  });
  headless_key(80, TITLE, VK_ESCAPE, 27);
  headless_key(80, TITLE, VK_ESCAPE, 27);
  pump(70);
  EXPECT_FALSE(menu_open());

  // A plain command in the bar is chosen by its click; empty bar space does nothing.
  headless_menu_click(90, TITLE, title_x(HELP_TITLE));
  msgs = pump(90);
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{HELP_ID});
  EXPECT_FALSE(menu_open());
  headless_menu_click(100, TITLE, WIDTH - 3);
  msgs = pump(100);
  EXPECT_FALSE(menu_open());
  EXPECT_TRUE(commands(msgs).empty());
  EXPECT_EQ(count(msgs, WM_LBUTTONDOWN) + count(msgs, WM_LBUTTONUP), 0);
}

TEST_F(MenuMouseTest, PressOnTitleDragAndRelease) {
  POINT animate = item_point(RUN_TITLE, ANIMATE);
  POINT info = item_point(RUN_TITLE, INFO);
  POINT view_title{title_x(VIEW_TITLE), 10};
  auto raw = [&](uint64_t at, InputKind kind, POINT p) {
    headless_raw_input(at, TITLE, mouse(kind, p.x, p.y));
  };

  // Released on an item the pointer moved onto: chosen.
  raw(10, InputKind::MOUSE_DOWN, {title_x(RUN_TITLE), 10});
  raw(11, InputKind::MOUSE_MOVE, animate);
  check(12, [&] { EXPECT_EQ(state().item, ANIMATE); });
  raw(13, InputKind::MOUSE_UP, animate);
  EXPECT_EQ(commands(pump(10)), std::vector<WPARAM>{1});

  // Released on an item the pointer never moved onto: nothing; greyed items take no highlight;
  // sliding onto another title opens its popup.
  raw(20, InputKind::MOUSE_DOWN, {title_x(RUN_TITLE), 10});
  raw(21, InputKind::MOUSE_UP, animate);
  raw(22, InputKind::MOUSE_MOVE, info);
  check(23, [&] {
    EXPECT_TRUE(state().popup_open);
    EXPECT_EQ(state().item, -1);
  });
  raw(24, InputKind::MOUSE_MOVE, view_title);
  check(25, [&] { EXPECT_EQ(state().title, VIEW_TITLE); });
  // Pressed on a title and let go over the client area: closed, and no button message.
  headless_menu_click(30, TITLE, title_x(VIEW_TITLE));  // closes the open View popup
  EXPECT_TRUE(commands(pump(20)).empty());
  raw(31, InputKind::MOUSE_DOWN, {title_x(RUN_TITLE), 10});
  raw(32, InputKind::MOUSE_MOVE, {WIDTH - 5, HEIGHT - 5});
  raw(33, InputKind::MOUSE_UP, {WIDTH - 5, HEIGHT - 5});
  received().clear();
  std::vector<MSG> msgs = pump(31);
  EXPECT_FALSE(menu_open());
  EXPECT_EQ(count(received(), WM_LBUTTONDOWN) + count(received(), WM_LBUTTONUP), 0);

  // A press the program took keeps its release, even if a menu opened in between.
  raw(40, InputKind::MOUSE_DOWN, {50, 100});
  headless_key(41, TITLE, VK_F10, 0);
  raw(42, InputKind::MOUSE_UP, {50, 100});
  check(43, [&] { EXPECT_TRUE(menu_open()); });
  headless_key(44, TITLE, VK_ESCAPE, 27);
  received().clear();
  msgs = pump(41);
  EXPECT_EQ(count(received(), WM_LBUTTONDOWN), 1);
  EXPECT_EQ(count(received(), WM_LBUTTONUP), 1);
}

TEST_F(MenuMouseTest, OneMenuAtATimeAndWindowsOrBarsGoingAway) {
  HMENU bar2, run2, view2;
  HWND other = make_window("Other", &bar2, &run2, &view2);
  pump();
  const int run_x = title_x(RUN_TITLE), view_x = title_x(VIEW_TITLE);

  // A click on another window closes the open menu and is swallowed there.
  headless_menu_click(10, TITLE, run_x);
  headless_click(20, "Other", 40, 40);
  received().clear();
  pump(10);
  EXPECT_FALSE(menu_open({other}));
  EXPECT_EQ(count(received(), WM_LBUTTONDOWN), 0);

  // The bar taken away or the window destroyed under an open menu closes it.
  headless_menu_click(30, "Other", view_x);
  check(35, [&] {
    plat::MenuView v;
    EXPECT_TRUE(plat::menu_view(other, &v));
    EXPECT_FALSE(plat::menu_view(hwnd, &v));
    SetMenu(other, nullptr);
    EXPECT_FALSE(menu_open({other}));
  });
  pump(30);
  SetMenu(other, bar2);
  headless_menu_click(40, TITLE, run_x);
  check(45, [&] {
    EXPECT_TRUE(menu_open({other}));
    DestroyWindow(hwnd);
    EXPECT_FALSE(menu_open({other}));
  });
  pump(40);

  // Pointer positions far outside any window close an open menu like any click away.
  headless_menu_click(50, "Other", run_x);
  headless_raw_input(51, "Other", mouse(InputKind::MOUSE_MOVE, INT_MAX, INT_MIN));
  headless_raw_input(51, "Other", mouse(InputKind::MOUSE_DOWN, INT_MIN, INT_MIN));
  headless_raw_input(51, "Other", mouse(InputKind::MOUSE_UP, INT_MAX, INT_MAX));
  received().clear();
  pump(50);
  EXPECT_FALSE(menu_open({other}));
  EXPECT_EQ(count(received(), WM_LBUTTONUP), 0);

  // Closing the window while its menu is open closes the menu and still closes the window.
  headless_menu_click(60, "Other", run_x);
  headless_close_request(70, "Other");
  received().clear();
  pump(60);
  EXPECT_EQ(count(received(), WM_CLOSE), 1);
  EXPECT_FALSE(menu_open({other}));
  EXPECT_FALSE(IsWindow(other));
  EXPECT_EQ(headless_counters().menus, 0);
}

}  // namespace
}  // namespace menu_test
