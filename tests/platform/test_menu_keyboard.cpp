// Menus driven by the keyboard: F10 and a lone Alt (system keys that the default procedure turns
// into the menu), arrows, Enter and Esc, Alt+letter (WM_SYSCHAR) and mnemonic letters; while a
// menu is open keys reach the menu, except the releases of keys whose presses the program saw.
#include "test_menu_fixture.h"

namespace menu_test {
namespace {

using host::InputKind;

class MenuKeyboardTest : public MenuWindowTest {};

TEST_F(MenuKeyboardTest, F10OrALoneAltThenArrowsAndEnter) {
  headless_key(10, TITLE, VK_F10, 0);
  std::vector<MSG> msgs = pump(10);
  EXPECT_EQ(state().title, RUN_TITLE);
  EXPECT_FALSE(state().popup_open);
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(count(msgs, WM_SYSKEYDOWN, VK_F10), 1);
  EXPECT_EQ(count(msgs, WM_SYSKEYUP, VK_F10), 1);

  // Down opens with the first item highlighted; Up from the top wraps past the greyed line.
  headless_key(20, TITLE, VK_DOWN, 0);
  pump(20);
  EXPECT_TRUE(state().popup_open);
  EXPECT_EQ(state().item, ANIMATE);
  headless_key(21, TITLE, VK_DOWN, 0);
  headless_key(22, TITLE, VK_DOWN, 0);
  headless_key(23, TITLE, VK_DOWN, 0);
  pump(23);
  EXPECT_EQ(state().item, LOGGING);
  headless_key(30, TITLE, VK_UP, 0);
  headless_key(30, TITLE, VK_UP, 0);
  headless_key(30, TITLE, VK_UP, 0);
  headless_key(30, TITLE, VK_UP, 0);
  pump(30);
  EXPECT_EQ(state().item, QUIT);
  headless_key(31, TITLE, VK_RETURN, 13);
  msgs = pump(31);
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{8});
  EXPECT_FALSE(menu_open());
  EXPECT_EQ(count(msgs, WM_KEYDOWN) + count(msgs, WM_KEYUP) + count(msgs, WM_CHAR), 0);

  // Alt pressed and released alone: the program sees both, and the bar is entered.
  headless_key(40, TITLE, VK_MENU, 0);
  msgs = pump(40);
  EXPECT_EQ(count(msgs, WM_SYSKEYDOWN, VK_MENU), 1);
  EXPECT_EQ(count(msgs, WM_SYSKEYUP, VK_MENU), 1);
  EXPECT_EQ(state().title, RUN_TITLE);
  headless_key(41, TITLE, VK_RIGHT, 0);
  headless_key(41, TITLE, VK_RIGHT, 0);
  headless_key(41, TITLE, VK_RIGHT, 0);
  headless_key(41, TITLE, VK_LEFT, 0);
  pump(41);
  EXPECT_EQ(state().title, HELP_TITLE);
  headless_key(42, TITLE, VK_RETURN, 13);
  EXPECT_EQ(commands(pump(42)), std::vector<WPARAM>{HELP_ID});

  // Held keys repeat their presses, which toggle nothing: Alt held after Alt+R, F10 held.
  headless_raw_input(45, TITLE, key(InputKind::KEY_DOWN, VK_MENU, 0, host::MOD_ALT));
  headless_raw_input(45, TITLE, key(InputKind::KEY_DOWN, 'R', 'r', host::MOD_ALT));
  headless_raw_input(45, TITLE, key(InputKind::KEY_DOWN, VK_MENU, 0, host::MOD_ALT));
  headless_raw_input(45, TITLE, key(InputKind::KEY_UP, VK_MENU, 0, 0));
  pump(45);
  EXPECT_TRUE(state().popup_open);
  headless_key(46, TITLE, VK_ESCAPE, 27);
  headless_key(46, TITLE, VK_ESCAPE, 27);
  headless_key_down(46, TITLE, VK_F10, 0);
  headless_key_down(46, TITLE, VK_F10, 0);
  headless_key_up(46, TITLE, VK_F10);
  pump(46);
  EXPECT_EQ(state().title, RUN_TITLE);
  headless_key(47, TITLE, VK_ESCAPE, 27);
  pump(47);
  EXPECT_FALSE(menu_open());

  // A key between Alt's press and release: no menu.
  headless_key_down(50, TITLE, VK_MENU, 0);
  headless_key(50, TITLE, VK_SHIFT, 0);
  headless_key_up(50, TITLE, VK_MENU);
  pump(50);
  EXPECT_FALSE(menu_open());
}

TEST_F(MenuKeyboardTest, MnemonicsEscapeAndNeighbouringPopups) {
  // Alt+R opens Run; a mnemonic letter chooses at once, in either case.
  alt_key(10, 'R');
  pump(10);
  EXPECT_EQ(state().title, RUN_TITLE);
  EXPECT_EQ(state().item, ANIMATE);
  headless_type(11, TITLE, 'F');
  std::vector<MSG> msgs = pump(11);
  EXPECT_EQ(commands(msgs), std::vector<WPARAM>{3});
  EXPECT_EQ(count(msgs, WM_CHAR), 0);

  // Two items sharing a letter take the highlight in turn instead.
  alt_key(20, 'v');
  headless_type(21, TITLE, 'z');
  EXPECT_TRUE(commands(pump(21)).empty());
  EXPECT_EQ(state().item, 2);
  headless_type(22, TITLE, 'z');
  pump(22);
  EXPECT_EQ(state().item, 0);
  headless_type(23, TITLE, 'h');
  EXPECT_EQ(commands(pump(23)), std::vector<WPARAM>{21});

  // Esc closes the popup back to the bar, a second Esc leaves; Left and Right move between
  // popups, landing on the plain command only as a highlight.
  alt_key(30, 'R');
  headless_key(31, TITLE, VK_ESCAPE, 27);
  pump(31);
  EXPECT_EQ(state().title, RUN_TITLE);
  EXPECT_FALSE(state().popup_open);
  headless_key(32, TITLE, VK_ESCAPE, 27);
  pump(32);
  EXPECT_FALSE(menu_open());
  alt_key(40, 'R');
  headless_key(41, TITLE, VK_RIGHT, 0);
  pump(41);
  EXPECT_EQ(state().title, VIEW_TITLE);
  EXPECT_EQ(state().item, 0);
  headless_key(42, TITLE, VK_RIGHT, 0);
  msgs = pump(42);
  EXPECT_EQ(state().title, HELP_TITLE);
  EXPECT_FALSE(state().popup_open);
  EXPECT_TRUE(commands(msgs).empty());
  headless_key(43, TITLE, VK_RIGHT, 0);
  headless_key(43, TITLE, VK_DOWN, 0);
  headless_key(43, TITLE, VK_LEFT, 0);
  pump(43);
  EXPECT_EQ(state().title, HELP_TITLE);
  headless_key(44, TITLE, VK_ESCAPE, 27);
  pump(44);

  // F10 then a title's letter opens it; a letter no item has does nothing.
  headless_key(50, TITLE, VK_F10, 0);
  headless_type(51, TITLE, 'r');
  headless_type(52, TITLE, 'e');
  msgs = pump(52);
  EXPECT_TRUE(commands(msgs).empty());
  EXPECT_TRUE(state().popup_open);
  headless_key(53, TITLE, VK_F10, 0);
  pump(53);
  EXPECT_FALSE(menu_open());

  // Ctrl+Alt (AltGr) types a character; Alt with a letter no title has is a system key whose
  // character comes as WM_SYSCHAR, never WM_CHAR. Neither opens anything.
  alt_key(60, 'R', host::MOD_CTRL);
  alt_key(61, 'X');
  msgs = pump(61);
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
  headless_key_down(20, TITLE, VK_CONTROL, 0);
  headless_menu_click(21, TITLE, title_x(RUN_TITLE));
  headless_key_up(22, TITLE, VK_CONTROL);
  headless_type(23, TITLE, 'x');
  headless_text(24, TITLE, 'y');
  headless_ctrl_key(25, TITLE, 'Q');
  msgs = pump(25);
  EXPECT_EQ(count(msgs, WM_KEYDOWN, VK_CONTROL), 1);
  EXPECT_EQ(count(msgs, WM_KEYUP, VK_CONTROL), 1);
  EXPECT_EQ(count(msgs, WM_KEYDOWN) + count(msgs, WM_KEYUP), 2);
  EXPECT_EQ(count(msgs, WM_CHAR), 0);
  EXPECT_TRUE(commands(msgs).empty());
  EXPECT_TRUE(state().popup_open);

  // The key that closes the menu keeps its release too; afterwards keys reach the program.
  headless_key_down(30, TITLE, VK_ESCAPE, 27);
  headless_key_down(30, TITLE, VK_ESCAPE, 27);
  pump(30);
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
