// The menu model: items, check marks by command and by position, states, bad handles, menus that
// would contain themselves, a window's menu going with the window; and item labels (mnemonics,
// shortcut texts).
#include "menu/menu_private.h"
#include "support.h"

namespace {

class MenuModelTest : public PlatformTest {};

TEST_F(MenuModelTest, CheckMarksByCommandAndPosition) {
  HMENU bar = CreateMenu();
  HMENU run = CreatePopupMenu();
  HMENU more = CreatePopupMenu();
  ASSERT_TRUE(bar && run && more);
  EXPECT_TRUE(AppendMenuA(run, MF_STRING, 1, "&Animate\tCtrl+A"));
  EXPECT_TRUE(AppendMenuA(run, MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(AppendMenuA(run, MF_STRING | MF_CHECKED, 4, "&Logging\tCtrl+L"));
  EXPECT_TRUE(AppendMenuA(run, MF_GRAYED, 9, "EASEL v2.2 July 1997"));
  EXPECT_TRUE(AppendMenuA(more, MF_STRING, 7, "&Deep"));
  EXPECT_TRUE(AppendMenuA(run, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More"));
  EXPECT_TRUE(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(run), "&Run"));

  // By command from the bar: the popups are searched, the previous state comes back.
  EXPECT_EQ(CheckMenuItem(bar, 4, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(bar, 4, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(run, 4, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(CheckMenuItem(bar, 7, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(more, 7, MF_BYCOMMAND), UINT(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(run, 7, MF_CHECKED), DWORD(MF_CHECKED));

  // Unknown ids, and separators are not found by their id 0.
  EXPECT_EQ(CheckMenuItem(bar, 42, MF_CHECKED), DWORD(-1));
  EXPECT_EQ(CheckMenuItem(run, 0, MF_CHECKED), DWORD(-1));
  EXPECT_EQ(GetMenuState(bar, 42, MF_BYCOMMAND), UINT(-1));

  // By position in the menu itself only.
  EXPECT_EQ(CheckMenuItem(run, 0, MF_BYPOSITION | MF_CHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(run, 1, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(run, 6, MF_BYPOSITION | MF_CHECKED), DWORD(-1));
  EXPECT_EQ(CheckMenuItem(bar, 1, MF_BYPOSITION | MF_CHECKED), DWORD(-1));
  EXPECT_EQ(GetMenuState(run, 1, MF_BYPOSITION), UINT(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(run, 3, MF_BYPOSITION), UINT(MF_GRAYED));
  // A popup item: its popup's item count in the high byte.
  EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION), UINT((5 << 8) | MF_POPUP));
  EXPECT_EQ(headless_counters().menus, 3);
}

TEST_F(MenuModelTest, BadHandlesAndSelfContainingMenusAreRefused) {
  HMENU a = CreateMenu();
  HMENU b = CreatePopupMenu();
  HMENU c = CreatePopupMenu();
  auto h = [](HMENU m) { return reinterpret_cast<UINT_PTR>(m); };
  HMENU bogus = reinterpret_cast<HMENU>(uintptr_t(0x1234));
  EXPECT_FALSE(AppendMenuA(nullptr, MF_STRING, 1, "x"));
  EXPECT_FALSE(AppendMenuA(bogus, MF_STRING, 1, "x"));
  EXPECT_EQ(CheckMenuItem(nullptr, 1, MF_CHECKED), DWORD(-1));
  EXPECT_EQ(GetMenuState(bogus, 0, MF_BYPOSITION), UINT(-1));
  EXPECT_FALSE(plat::menu_exists(bogus));

  EXPECT_FALSE(AppendMenuA(a, MF_POPUP, h(a), "self"));
  EXPECT_FALSE(AppendMenuA(a, MF_POPUP, h(bogus), "nothing"));
  EXPECT_TRUE(AppendMenuA(a, MF_POPUP, h(b), "b"));
  EXPECT_TRUE(AppendMenuA(b, MF_POPUP, h(c), "c"));
  EXPECT_FALSE(AppendMenuA(c, MF_POPUP, h(a), "a again"));
  EXPECT_FALSE(AppendMenuA(c, MF_POPUP, h(b), "b again"));
  // The same popup twice is no cycle, and a search through it still ends.
  EXPECT_TRUE(AppendMenuA(a, MF_POPUP, h(c), "c again"));
  EXPECT_TRUE(AppendMenuA(c, MF_STRING, 5, nullptr));
  EXPECT_EQ(CheckMenuItem(a, 5, MF_CHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(a, 6, MF_CHECKED), DWORD(-1));
}

TEST_F(MenuModelTest, DestroyingTheWindowDestroysItsMenu) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "MenuModelWindow";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND hwnd = CreateWindowA("MenuModelWindow", "menu model", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                            nullptr, nullptr, nullptr, nullptr);
  HMENU bar = CreateMenu();
  HMENU run = CreatePopupMenu();
  HMENU loose = CreatePopupMenu();
  AppendMenuA(run, MF_STRING, 1, "&Go");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(run), "&Run");
  ASSERT_TRUE(SetMenu(hwnd, bar));
  EXPECT_EQ(headless_counters().menus, 3);
  EXPECT_TRUE(DestroyWindow(hwnd));
  EXPECT_EQ(headless_counters().menus, 1);
  EXPECT_EQ(CheckMenuItem(run, 1, MF_CHECKED), DWORD(-1));
  EXPECT_TRUE(AppendMenuA(loose, MF_STRING, 2, "still here"));
}

TEST(MenuLabels, MnemonicsAndShortcutTexts) {
  using plat::parse_menu_label;
  plat::MenuLabel animate = parse_menu_label("&Animate\tCtrl+A");
  EXPECT_EQ(animate.text, "Animate");
  EXPECT_EQ(animate.mnemonic_pos, 0);
  EXPECT_EQ(animate.shortcut, "Ctrl+A");

  plat::MenuLabel frame = parse_menu_label("Advance one &frame\tCtrl+F");
  EXPECT_EQ(frame.text, "Advance one frame");
  EXPECT_EQ(frame.mnemonic_pos, 12);

  // "&&" is a literal '&'; only the first marked letter counts; a lone '&' at the end marks
  // nothing.
  plat::MenuLabel chips = parse_menu_label("Fish && &Chips &and more&");
  EXPECT_EQ(chips.text, "Fish & Chips and more");
  EXPECT_EQ(chips.mnemonic_pos, 7);
  EXPECT_EQ(parse_menu_label("A&&B").mnemonic_pos, -1);
  EXPECT_EQ(parse_menu_label("a\tb\tc").shortcut, "b\tc");
  EXPECT_EQ(parse_menu_label("&\tx").text, "");

  // Case-insensitive, by character or by key, Latin-1 letters included.
  EXPECT_TRUE(plat::mnemonic_matches(frame, 'F', 0));
  EXPECT_TRUE(plat::mnemonic_matches(frame, 'F', 'F'));
  EXPECT_TRUE(plat::mnemonic_matches(frame, 0, 'f'));
  EXPECT_TRUE(plat::mnemonic_matches(frame, 'F', 6));  // Ctrl+F's character
  EXPECT_FALSE(plat::mnemonic_matches(frame, 'G', 'g'));
  EXPECT_FALSE(plat::mnemonic_matches(parse_menu_label("Plain"), 'P', 'p'));
  plat::MenuLabel ete = parse_menu_label("&\xE9t\xE9");
  EXPECT_TRUE(plat::mnemonic_matches(ete, 0, 0xC9));
  EXPECT_FALSE(plat::mnemonic_matches(ete, 'E', 'e'));
}

}  // namespace
