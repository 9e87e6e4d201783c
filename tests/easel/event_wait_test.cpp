// Opening the package and the event stream: run control paced by the timer, input order,
// Ctrl-letter and menu commands, quits, and the copy of the image to the screen. Times are off
// the 100 ms grid where a tick at the same moment would make the order a matter of taste.
#include <algorithm>

#include "support.h"

TEST_F(EaselTest, OpenMakesBothWindowsAndTheFirstWaitShowsTheImage) {
  headless_set_screen_size(1280, 800);
  EXPECT_EQ(EASEL_animate(EASEL_ANIM_RUN) + EASEL_logging(0), 0);  // nothing open yet
  EXPECT_EQ(package.running, 0);
  EXPECT_EQ(package.logging_on, 1);

  ASSERT_EQ(EASEL_open(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT), 1);
  EXPECT_EQ(package.graphics_window, headless_find_window(GRAPHICS));
  EXPECT_TRUE(IsWindowVisible(headless_find_window(TEXT)));
  EXPECT_TRUE(checked(IDM_LOGGING));
  EXPECT_EQ(package.origin_x, 300);  // the 601 x 520 client area below the menu bar
  EXPECT_EQ(package.origin_y, 260);
  RECT text = {};
  GetClientRect(package.text_window, &text);
  EXPECT_EQ(text.right, 1280);
  EXPECT_EQ(text.bottom, 266);  // a third of 800
  EXPECT_EQ(headless_counters().timers, 1);

  // Drawn behind the package's back: only dirty's load value can bring it to the screen.
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ previous = SelectObject(package.offscreen_dc, green);
  Rectangle(package.offscreen_dc, 0, 0, 601, 540);
  DeleteObject(SelectObject(package.offscreen_dc, previous));
  headless_type(1000, GRAPHICS, 'k');
  EXPECT_EQ(EASEL_await_event(nullptr, nullptr, nullptr), EASEL_KBD);
  EXPECT_EQ(headless_client_pixel(GRAPHICS, 300, 260), GREEN);
  EXPECT_EQ(package.dirty, 0);
  EXPECT_EQ(EASEL_close(), 1);
}

TEST_F(EaselTest, HaltedStepAndRunningWaits) {
  open();
  click_at(5050, -250, 180);  // fifty ticks pass first
  EXPECT_EQ(wait(), (Event{EASEL_MOUSE, -250, 180, 0, 5050}));
  EASEL_animate(EASEL_ANIM_STEP);
  EXPECT_EQ(wait(), (Event{EASEL_PERIODIC, 0, 0, 0, 5100}));
  headless_type(7050, GRAPHICS, 'q');  // halted again after the one step
  EXPECT_EQ(wait(), (Event{EASEL_KBD, 0, 0, 'q', 7050}));

  // Running: a click 30 ms into a wait comes at once and drops the periodic event.
  EASEL_animate(EASEL_ANIM_RUN);
  EXPECT_EQ(wait().at, 7100u);
  click_at(7130, 3, 4);
  EXPECT_EQ(wait(), (Event{EASEL_MOUSE, 3, 4, 0, 7130}));
  EXPECT_EQ(wait(), (Event{EASEL_PERIODIC, 0, 0, 0, 7200}));

  package.step_pending = 1;
  EXPECT_EQ(EASEL_animate(3) + EASEL_animate(-1), 2);
  EXPECT_EQ(package.running + package.step_pending, 2);
  EASEL_animate(EASEL_ANIM_HALT);
  EXPECT_EQ(package.running + package.step_pending, 0);

  // Inputs that queued up while the program drew come one per wait, in order.
  click_at(7210, 1, 1);
  headless_type(7220, GRAPHICS, 'a');
  click_at(7230, 2, 2);
  headless_advance(100);
  const Event first = wait(), second = wait(), third = wait();
  EXPECT_EQ(first.x, 1);
  EXPECT_EQ(second.key, 'a');
  EXPECT_EQ(third.x, 2);
}

TEST_F(EaselTest, CtrlLettersAreCommandsAndMakeNoCharacters) {
  open();
  headless_ctrl_key(150, GRAPHICS, 'A');
  EXPECT_EQ(wait(), (Event{EASEL_PERIODIC, 0, 0, 0, 200}));
  headless_ctrl_key(250, GRAPHICS, 'F');
  EXPECT_EQ(wait().at, 300u);  // the periodic event already waiting for its tick
  EXPECT_EQ(wait().at, 400u);  // the step
  headless_ctrl_key(450, GRAPHICS, 'L');
  headless_type(500, GRAPHICS, 'l');
  EXPECT_EQ(wait(), (Event{EASEL_KBD, 0, 0, 'l', 500}));
  EXPECT_EQ(package.logging_on, 1);
  EXPECT_TRUE(checked(IDM_LOGGING));

  // Keys typed into the log window reach the graphics window, Ctrl included.
  headless_type(600, TEXT, 'z');
  EXPECT_EQ(wait().key, 'z');
  headless_ctrl_key(700, TEXT, 'L');
  headless_type(850, TEXT, 'y');
  EXPECT_EQ(wait().key, 'y');
  EXPECT_EQ(package.logging_on, 0);
  EXPECT_FALSE(checked(IDM_LOGGING));
  EXPECT_TRUE(IsWindowVisible(package.text_window));

  // The whole word parameter names the command; the greyed lines do nothing.
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_INFO, 0);
  PostMessageA(package.graphics_window, WM_COMMAND, 0x10000 | IDM_ANIMATE, 0);
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_ADVANCE, 0);
  EXPECT_EQ(wait(), (Event{EASEL_PERIODIC, 0, 0, 0, 900}));
  EXPECT_EQ(package.running, 0);
}

TEST_F(EaselTest, QuitsFromMenuProgramAndCloseBox) {
  open();
  EASEL_animate(EASEL_ANIM_RUN);
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_QUIT, 0);
  EXPECT_EQ(wait(), (Event{EASEL_QUIT, 0, 0, 0, 0}));
  EXPECT_TRUE(IsWindow(package.graphics_window));

  // A quit asked for by the program still waits for a real event and carries its position.
  EASEL_animate(EASEL_ANIM_HALT);
  EASEL_animate(EASEL_ANIM_QUIT);
  click_at(3050, 10, 20);
  EXPECT_EQ(wait(), (Event{EASEL_QUIT, 10, 20, 0, 3050}));

  headless_close_request(3070, GRAPHICS);
  EXPECT_EQ(wait().kind, EASEL_QUIT);
  EXPECT_FALSE(IsWindow(package.graphics_window));
  EXPECT_EQ(headless_counters().timers, 0);
  EXPECT_EQ(EASEL_close(), 1);
}

// The Run menu is modal, as on Win32: while it is open (by mouse, then by F10) the program gets
// no event and its picture stands still; the animation goes on once the menu has closed.
TEST_F(EaselTest, ThePictureStandsStillUnderAnOpenRunMenu) {
  open();
  EASEL_animate(EASEL_ANIM_RUN);
  headless_menu_click(1000, GRAPHICS, 10);
  headless_key(1500, GRAPHICS, VK_ESCAPE, 27);  // back to the bar
  headless_key(1500, GRAPHICS, VK_ESCAPE, 27);  // and out
  headless_key(2000, GRAPHICS, VK_F10, 0);
  headless_key(2500, GRAPHICS, VK_ESCAPE, 27);
  std::vector<uint64_t> periodic;
  while (headless_now() < 2700) {
    const Event event = wait();
    ASSERT_EQ(event.kind, EASEL_PERIODIC);
    periodic.push_back(event.at);
  }
  for (uint64_t at : periodic) {
    EXPECT_FALSE(at > 1000 && at < 1500) << at;
    EXPECT_FALSE(at > 2000 && at < 2500) << at;
  }
  EXPECT_NE(std::find(periodic.begin(), periodic.end(), 1600u), periodic.end());
  EXPECT_NE(std::find(periodic.begin(), periodic.end(), 2600u), periodic.end());
}

TEST_F(EaselTest, RunMenuByMouseAndByKeyboard) {
  open(true);
  for (UINT position = 0; position < 16; ++position) {
    const UINT state = GetMenuState(package.run_menu, position, MF_BYPOSITION);
    const bool separator = position == 3 || position == 5 || position == 9 || position == 11;
    EXPECT_EQ((state & MF_SEPARATOR) != 0, separator) << position;
    EXPECT_EQ((state & MF_GRAYED) != 0, position >= 12) << position;
    EXPECT_EQ((state & MF_CHECKED) != 0, position == 4) << position;
  }
  EXPECT_EQ(GetMenuState(package.run_menu, 16, MF_BYPOSITION), UINT(-1));

  headless_key(100, GRAPHICS, VK_F10, 0);  // then the mnemonics of "&Run" and "&Logging"
  headless_type(110, GRAPHICS, 'r');
  headless_type(120, GRAPHICS, 'l');
  headless_alt_key(200, GRAPHICS, 'x');  // a system key with no mnemonic: no event at all
  click_at(250, 0, 0);
  EXPECT_EQ(wait(), (Event{EASEL_MOUSE, 0, 0, 0, 250}));
  EXPECT_FALSE(checked(IDM_LOGGING));
  headless_alt_key(300, GRAPHICS, 'r');  // Alt+R opens Run, its "&Logging" by the letter
  headless_type(310, GRAPHICS, 'l');
  click_at(320, 0, 0);
  EXPECT_EQ(wait().kind, EASEL_MOUSE);
  EXPECT_TRUE(checked(IDM_LOGGING));
  headless_menu_click(350, GRAPHICS, 10);  // opens Run; "&Quit" by its letter
  headless_type(360, GRAPHICS, 'q');
  EXPECT_EQ(wait(), (Event{EASEL_QUIT, 0, 0, 0, 360}));
}
