// Menus driven by the keyboard: F10 and a lone Alt (system keys that the default procedure turns
// into the menu), arrows, Enter and Esc, Alt+letter (WM_SYSCHAR) and mnemonic letters; while a
// menu is open keys reach the menu, except the releases of keys whose presses the program saw.
#include "test_menu_fixture.h"

namespace menu_test {
namespace {

using host::InputKind;

class MenuKeyboardTest : public MenuWindowTest {};

// The menu runs its own loop until it closes, so the program's pump returns only then; what the
// menu shows meanwhile is checked at times between the keys (check()).
TEST_F(MenuKeyboardTest, F10OrALoneAltThenArrowsAndEnter) {
  headless_key(10, TITLE, VK_F10, 0);
  check(15, [&] {
    EXPECT_EQ(state().title, RUN_TITLE);
    EXPECT_FALSE(state().popup_open);
  });
  // Down opens with the first item highlighted; Up from the top wraps past the greyed line.
  headless_key(20, TITLE, VK_DOWN, 0);
  check(25, [&] {
    EXPECT_TRUE(state().popup_open);
    EXPECT_EQ(state().item, ANIMATE);
  });
  for (int i = 0; i < 3; ++i) headless_key(30, TITLE, VK_DOWN, 0);
  check(35, [&] { EXPECT_EQ(state().item, LOGGING); });
  for (int i = 0; i < 4; ++i) headless_key(40, TITLE, VK_UP, 0);
  check(45, [&] { EXPECT_EQ(state().item, QUIT); });
  headless_key(50, TITLE, VK_RETURN, 13);
  std::vector<MSG> msgs = pump(10);
  EXPECT_EQ(headless_now(), 50u) << "the program's loop got nothing until the menu closed";
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{8});
  EXPECT_FALSE(menu_open());
  EXPECT_EQ(count(msgs, WM_SYSKEYDOWN, VK_F10), 1);
  EXPECT_EQ(count(msgs, WM_SYSKEYUP, VK_F10), 1);
  EXPECT_EQ(count(msgs, WM_KEYDOWN) + count(msgs, WM_KEYUP) + count(msgs, WM_CHAR), 0);
  EXPECT_EQ(msgs.size(), 3u);

  // Alt pressed and released alone: the program sees both, and the bar is entered.
  headless_key(100, TITLE, VK_MENU, 0);
  check(105, [&] { EXPECT_EQ(state().title, RUN_TITLE); });
  for (unsigned vk : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_LEFT}) headless_key(110, TITLE, vk, 0);
  check(115, [&] { EXPECT_EQ(state().title, HELP_TITLE); });
  headless_key(120, TITLE, VK_RETURN, 13);
  msgs = pump(100);
  EXPECT_EQ(count(msgs, WM_SYSKEYDOWN, VK_MENU), 1);
  EXPECT_EQ(count(msgs, WM_SYSKEYUP, VK_MENU), 1);
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{HELP_ID});

  // Held keys repeat their presses, which toggle nothing: Alt held after Alt+R, F10 held.
  headless_raw_input(200, TITLE, key(InputKind::KEY_DOWN, VK_MENU, 0, host::MOD_ALT));
  headless_raw_input(200, TITLE, key(InputKind::KEY_DOWN, 'R', 'r', host::MOD_ALT));
  headless_raw_input(200, TITLE, key(InputKind::KEY_DOWN, VK_MENU, 0, host::MOD_ALT));
  headless_raw_input(200, TITLE, key(InputKind::KEY_UP, VK_MENU, 0, 0));
  check(205, [&] { EXPECT_TRUE(state().popup_open); });
  headless_key(210, TITLE, VK_ESCAPE, 27);
  headless_key(210, TITLE, VK_ESCAPE, 27);
  headless_key_down(210, TITLE, VK_F10, 0);
  headless_key_down(210, TITLE, VK_F10, 0);
  headless_key_up(210, TITLE, VK_F10);
  check(225, [&] { EXPECT_EQ(state().title, RUN_TITLE); });
  headless_key(230, TITLE, VK_ESCAPE, 27);
  pump(200);
  EXPECT_EQ(headless_now(), 230u);
  EXPECT_FALSE(menu_open());

  // A key between Alt's press and release: no menu.
  headless_key_down(300, TITLE, VK_MENU, 0);
  headless_key(300, TITLE, VK_SHIFT, 0);
  headless_key_up(300, TITLE, VK_MENU);
  pump(300);
  EXPECT_FALSE(menu_open());
}

TEST_F(MenuKeyboardTest, MnemonicsEscapeAndNeighbouringPopups) {
  // Alt+R opens Run; a mnemonic letter chooses at once, in either case.
  alt_key(10, 'R');
  check(15, [&] {
    EXPECT_EQ(state().title, RUN_TITLE);
    EXPECT_EQ(state().item, ANIMATE);
  });
  headless_type(20, TITLE, 'F');
  std::vector<MSG> msgs = pump(10);
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{3});
  EXPECT_EQ(count(msgs, WM_CHAR), 0);

  // Two items sharing a letter take the highlight in turn instead.
  alt_key(100, 'v');
  headless_type(110, TITLE, 'z');
  check(115, [&] { EXPECT_EQ(state().item, 2); });
  headless_type(120, TITLE, 'z');
  check(125, [&] { EXPECT_EQ(state().item, 0); });
  headless_type(130, TITLE, 'h');
  EXPECT_EQ(commands(pump(100)), std::vector<WPARAM>{21});

  // Esc closes the popup back to the bar, a second Esc leaves; Left and Right move between
  // popups, landing on the plain command only as a highlight.
  alt_key(200, 'R');
  headless_key(210, TITLE, VK_ESCAPE, 27);
  check(215, [&] {
    EXPECT_EQ(state().title, RUN_TITLE);
    EXPECT_FALSE(state().popup_open);
  });
  headless_key(220, TITLE, VK_ESCAPE, 27);
  pump(200);
  EXPECT_FALSE(menu_open());
  alt_key(300, 'R');
  headless_key(310, TITLE, VK_RIGHT, 0);
  check(315, [&] {
    EXPECT_EQ(state().title, VIEW_TITLE);
    EXPECT_EQ(state().item, 0);
  });
  headless_key(320, TITLE, VK_RIGHT, 0);
  check(325, [&] {
    EXPECT_EQ(state().title, HELP_TITLE);
    EXPECT_FALSE(state().popup_open);
  });
  headless_key(330, TITLE, VK_RIGHT, 0);
  headless_key(330, TITLE, VK_DOWN, 0);
  headless_key(330, TITLE, VK_LEFT, 0);
  check(335, [&] { EXPECT_EQ(state().title, HELP_TITLE); });
  headless_key(340, TITLE, VK_ESCAPE, 27);
  EXPECT_TRUE(commands(pump(300)).empty());

  // F10 then a title's letter opens it; a letter no item has does nothing.
  headless_key(400, TITLE, VK_F10, 0);
  headless_type(410, TITLE, 'r');
  headless_type(420, TITLE, 'e');
  check(425, [&] { EXPECT_TRUE(state().popup_open); });
  headless_key(430, TITLE, VK_F10, 0);
  msgs = pump(400);
  EXPECT_TRUE(commands(msgs).empty());
  EXPECT_FALSE(menu_open());

  // Ctrl+Alt (AltGr) types a character; Alt with a letter no title has is a system key whose
  // character comes as WM_SYSCHAR, never WM_CHAR. Neither opens anything.
  alt_key(500, 'R', host::MOD_CTRL);
  alt_key(510, 'X');
  msgs = pump(510);
  EXPECT_FALSE(menu_open());
  EXPECT_EQ(count(msgs, WM_KEYDOWN, 'R'), 1);
  EXPECT_EQ(count(msgs, WM_CHAR), 1);
  EXPECT_EQ(count(msgs, WM_CHAR, 'r'), 1);
  EXPECT_EQ(count(msgs, WM_SYSKEYDOWN, 'X'), 1);
  EXPECT_EQ(count(msgs, WM_SYSCHAR, 'x'), 1);
  EXPECT_EQ(count(msgs, WM_SYSKEYUP, 'X'), 1);
  EXPECT_EQ(count(msgs, WM_KEYDOWN, 'X'), 0);
}

TEST_F(MenuKeyboardTest, KeysGoToAnOpenMenuButReleasesFollowTheirPresses) {
  // No menu open: Ctrl+A reaches the program whole.
  headless_ctrl_key(10, TITLE, 'A');
  std::vector<MSG> msgs = pump(10);
  EXPECT_EQ(count(msgs, WM_KEYDOWN, VK_CONTROL), 1);
  EXPECT_EQ(count(msgs, WM_KEYDOWN, 'A'), 1);
  EXPECT_EQ(count(msgs, WM_CHAR, 1), 1);
  EXPECT_EQ(count(msgs, WM_KEYUP, VK_CONTROL), 1);

  // Ctrl held when the menu opens: its release still reaches the program, which follows Ctrl
  // through key messages; other keys, text and Ctrl+letters go to the menu.
  received().clear();
  headless_key_down(20, TITLE, VK_CONTROL, 0);
  headless_menu_click(21, TITLE, title_x(RUN_TITLE));
  headless_key_up(22, TITLE, VK_CONTROL);
  headless_type(23, TITLE, 'x');
  headless_text(24, TITLE, 'y');
  headless_ctrl_key(25, TITLE, 'Q');
  check(27, [&] { EXPECT_TRUE(state().popup_open); });
  // The key that closes the menu keeps its release too; afterwards keys reach the program.
  headless_key_down(30, TITLE, VK_ESCAPE, 27);
  headless_key_down(30, TITLE, VK_ESCAPE, 27);
  msgs = pump(21);
  // The menu's loop hands the program's Ctrl release to its procedure.
  EXPECT_EQ(count(msgs, WM_KEYDOWN, VK_CONTROL), 1);
  EXPECT_EQ(count(received(), WM_KEYUP, VK_CONTROL), 1);
  EXPECT_EQ(count(received(), WM_KEYDOWN) + count(received(), WM_KEYUP), 2);
  EXPECT_EQ(count(received(), WM_CHAR), 0);
  EXPECT_TRUE(commands(msgs).empty());
  EXPECT_FALSE(menu_open());
  headless_key_up(31, TITLE, VK_ESCAPE);
  headless_type(32, TITLE, 'x');
  msgs = pump(32);
  EXPECT_EQ(count(msgs, WM_KEYUP, VK_ESCAPE), 0);
  EXPECT_EQ(count(msgs, WM_KEYDOWN, 'X'), 1);
  EXPECT_EQ(count(msgs, WM_CHAR, 'x'), 1);

  // A mnemonic whose character comes as separate text after the press: the text is the menu's.
  alt_key(40, 'R');
  headless_key_down(41, TITLE, 'F', 0);
  headless_text(41, TITLE, 'f');
  headless_key_up(41, TITLE, 'F');
  headless_text(42, TITLE, 'g');
  msgs = pump(42);
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{3});
  EXPECT_EQ(count(msgs, WM_CHAR), 1);
  EXPECT_EQ(count(msgs, WM_CHAR, 'g'), 1);
}

}  // namespace
}  // namespace menu_test
