// The Run menu: its items as the user meets them, chosen with the mouse and the keyboard.
#include "support.h"

TEST_F(EaselTest, RunMenuHoldsSixteenItemsWithLoggingChecked) {
  open(true);
  HMENU bar = GetMenu(package.graphics_window);
  ASSERT_NE(bar, nullptr);
  EXPECT_NE(GetMenuState(bar, 0, MF_BYPOSITION) & MF_POPUP, 0u);
  for (UINT position = 0; position < 16; ++position) {
    const UINT state = GetMenuState(package.run_menu, position, MF_BYPOSITION);
    const bool separator = position == 3 || position == 5 || position == 9 || position == 11;
    EXPECT_EQ((state & MF_SEPARATOR) != 0, separator) << position;
    EXPECT_EQ((state & MF_GRAYED) != 0, position >= 12) << position;
    EXPECT_EQ((state & MF_CHECKED) != 0, position == 4) << position;
  }
  EXPECT_EQ(GetMenuState(package.run_menu, 16, MF_BYPOSITION), UINT(-1));
}

TEST_F(EaselTest, MenuCommandsByMouseAndByMnemonic) {
  open(true);
  // F10, then the mnemonics of "&Run" and "&Logging".
  headless_key(100, GRAPHICS, VK_F10, 0);
  headless_type(110, GRAPHICS, 'r');
  headless_type(120, GRAPHICS, 'l');
  click_at(200, 0, 0);
  EXPECT_EQ(wait().kind, EASEL_MOUSE);
  EXPECT_EQ(package.logging_on, 0);
  EXPECT_FALSE(checked(IDM_LOGGING));

  // Open Run with the mouse and choose "&Quit" by its letter.
  headless_menu_click(300, GRAPHICS, 10);
  headless_type(310, GRAPHICS, 'q');
  const Event e = wait();
  EXPECT_EQ(e.kind, EASEL_QUIT);
  EXPECT_EQ(e.at, 310u);
}
