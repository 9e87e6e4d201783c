// Opening the package and the event stream: run control, pacing by the timer, input order,
// Ctrl-letter commands, quits, and the copy of the image to the screen.
#include "support.h"

TEST_F(EaselTest, OpenMakesBothWindowsAndTheFirstWaitShowsTheImage) {
  headless_set_screen_size(1280, 800);
  EXPECT_EQ(EASEL_animate(EASEL_ANIM_RUN), 0);  // nothing exists yet
  EXPECT_EQ(EASEL_logging(0), 0);
  EXPECT_EQ(package.running, 0);
  EXPECT_EQ(package.logging_on, 1);

  ASSERT_EQ(EASEL_open(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT), 1);
  EXPECT_EQ(package.graphics_window, headless_find_window(GRAPHICS));
  EXPECT_EQ(package.text_window, headless_find_window(TEXT));
  EXPECT_TRUE(IsWindowVisible(package.text_window));
  EXPECT_TRUE(checked(IDM_LOGGING));
  EXPECT_EQ(package.origin_x, 300);  // client area 601 x 520 below the menu bar
  EXPECT_EQ(package.origin_y, 260);
  RECT text = {};
  GetClientRect(package.text_window, &text);
  EXPECT_EQ(text.right, 1280);
  EXPECT_EQ(text.bottom, 266);
  EXPECT_EQ(headless_counters().timers, 1);

  // Drawn behind the package's back, so only the load value of dirty can make it reach the
  // screen.
  EXPECT_EQ(package.dirty, 1);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ previous = SelectObject(package.offscreen_dc, green);
  Rectangle(package.offscreen_dc, 0, 0, 601, 540);
  DeleteObject(SelectObject(package.offscreen_dc, previous));
  headless_type(1000, GRAPHICS, 'k');
  EXPECT_EQ(wait().kind, EASEL_KBD);
  EXPECT_EQ(headless_client_pixel(GRAPHICS, 300, 260), GREEN);
  EXPECT_EQ(package.dirty, 0);
  EXPECT_EQ(EASEL_close(), 1);
}

TEST_F(EaselTest, HaltedStepAndRunningWaits) {
  open();
  // Halted: fifty ticks pass, only the click ends the wait, at its own time.
  click_at(5050, -250, 180);
  Event e = wait();
  EXPECT_EQ(e.kind, EASEL_MOUSE);
  EXPECT_EQ(e.at, 5050u);
  EXPECT_EQ(e.x, -250);
  EXPECT_EQ(e.y, 180);

  // One step: one periodic event at the next tick, then halted again.
  EASEL_animate(EASEL_ANIM_STEP);
  e = wait();
  EXPECT_EQ(e.kind, EASEL_PERIODIC);
  EXPECT_EQ(e.at, 5100u);
  headless_type(7050, GRAPHICS, 'q');
  e = wait();
  EXPECT_EQ(e.kind, EASEL_KBD);
  EXPECT_EQ(e.key, 'q');
  EXPECT_EQ(e.at, 7050u);

  // Running: one periodic event per tick; a click 30 ms into a wait is returned at once and
  // the periodic event it displaced is not made up for.
  EASEL_animate(EASEL_ANIM_RUN);
  EXPECT_EQ(wait().at, 7100u);
  click_at(7130, 3, 4);
  e = wait();
  EXPECT_EQ(e.kind, EASEL_MOUSE);
  EXPECT_EQ(e.at, 7130u);
  e = wait();
  EXPECT_EQ(e.kind, EASEL_PERIODIC);
  EXPECT_EQ(e.at, 7200u);

  // Modes outside the table change nothing; halt clears both flags.
  package.step_pending = 1;
  EXPECT_EQ(EASEL_animate(3), 1);
  EXPECT_EQ(EASEL_animate(-1), 1);
  EXPECT_EQ(package.running, 1);
  EXPECT_EQ(package.step_pending, 1);
  EASEL_animate(EASEL_ANIM_HALT);
  EXPECT_EQ(package.running + package.step_pending, 0);
}

TEST_F(EaselTest, InputsQueuedWhileDrawingComeOnePerWaitInOrder) {
  open();
  click_at(10, 1, 1);
  headless_type(20, GRAPHICS, 'a');
  click_at(30, 2, 2);
  headless_advance(50);
  EXPECT_EQ(wait().kind, EASEL_MOUSE);
  EXPECT_EQ(wait().key, 'a');
  EXPECT_EQ(wait().x, 2);
  EXPECT_EQ(headless_now(), 50u);
}

TEST_F(EaselTest, CtrlLettersAreCommandsAndMakeNoCharacters) {
  open();
  headless_ctrl_key(150, GRAPHICS, 'A');  // run
  Event e = wait();
  EXPECT_EQ(e.kind, EASEL_PERIODIC);
  EXPECT_EQ(e.at, 200u);
  headless_ctrl_key(250, GRAPHICS, 'F');  // halt, with one step
  EXPECT_EQ(wait().at, 300u);             // the event already waiting for its tick
  EXPECT_EQ(wait().at, 400u);             // the step
  headless_ctrl_key(450, GRAPHICS, 'L');
  headless_type(500, GRAPHICS, 'l');
  e = wait();
  EXPECT_EQ(e.kind, EASEL_KBD);  // after Ctrl is up, the same letter is a character again
  EXPECT_EQ(e.key, 'l');
  EXPECT_EQ(package.logging_on, 1);  // logging was off and came back on
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

  // A command id is matched against the whole word parameter; the greyed lines do nothing.
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_INFO, 0);
  PostMessageA(package.graphics_window, WM_COMMAND, 0x10000 | IDM_ANIMATE, 0);
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_ADVANCE, 0);
  EXPECT_EQ(wait().at, 900u);
  EXPECT_EQ(package.running, 0);
}

TEST_F(EaselTest, QuitFromTheMenuCarriesNoPosition) {
  open();
  EASEL_animate(EASEL_ANIM_RUN);
  PostMessageA(package.graphics_window, WM_COMMAND, IDM_QUIT, 0);
  const Event e = wait();
  EXPECT_EQ(e.kind, EASEL_QUIT);
  EXPECT_EQ(e.x + e.y + e.key, 0);
  EXPECT_TRUE(IsWindow(package.graphics_window));  // windows stay until the program closes
}

TEST_F(EaselTest, QuitRequestedByTheProgramWaitsForARealEvent) {
  open();
  EASEL_animate(EASEL_ANIM_QUIT);
  click_at(3000, 10, 20);
  const Event e = wait();
  EXPECT_EQ(e.kind, EASEL_QUIT);
  EXPECT_EQ(e.at, 3000u);
  EXPECT_EQ(e.x, 10);
  EXPECT_EQ(e.y, 20);
}

TEST_F(EaselTest, ClosingTheWindowQuitsAndStopsTheTimer) {
  open();
  EASEL_animate(EASEL_ANIM_RUN);
  headless_close_request(50, GRAPHICS);
  EXPECT_EQ(wait().kind, EASEL_QUIT);
  EXPECT_FALSE(IsWindow(package.graphics_window));
  EXPECT_EQ(headless_counters().timers, 0);
  EXPECT_EQ(EASEL_close(), 1);
}

TEST_F(EaselTest, NullOutParametersAreSkipped) {
  open();
  click_at(10, 0, 0);
  EXPECT_EQ(EASEL_await_event(nullptr, nullptr, nullptr), EASEL_MOUSE);
}
