// Timers: ticks on a fixed grid, one WM_TIMER for missed ticks, several timers, timer
// procedures, and timers going with their window.
#include "platform/window_recorder.h"

namespace {

using TimerTest = UserTest;

TEST_F(TimerTest, MissedTicksMakeOneMessageAndTheGridHolds) {
  HWND hwnd = make_window("W");
  ASSERT_EQ(SetTimer(hwnd, 7, 100, nullptr), UINT_PTR(7));
  headless_advance(99);
  EXPECT_EQ(poll().message, UINT(WM_NULL));

  headless_advance(251);  // now 350: ticks at 100, 200 and 300 were missed
  MSG peeked{};
  ASSERT_TRUE(PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
  MSG m = poll();
  EXPECT_EQ(m.message, UINT(WM_TIMER));
  EXPECT_EQ(m.hwnd, hwnd);
  EXPECT_EQ(m.wParam, WPARAM(7));
  EXPECT_EQ(m.lParam, 0);
  EXPECT_EQ(poll().message, UINT(WM_NULL)) << "one message for three missed ticks";

  headless_advance(49);  // 399
  EXPECT_EQ(poll().message, UINT(WM_NULL));
  headless_advance(1);  // 400: still on the grid of the start
  EXPECT_EQ(poll().message, UINT(WM_TIMER));
  ASSERT_TRUE(WaitMessage());
  EXPECT_EQ(headless_now(), 500u);
}

TEST_F(TimerTest, EarliestDueTimerFirstAndResettingRestartsTheGrid) {
  HWND hwnd = make_window("W");
  SetTimer(hwnd, 1, 100, nullptr);
  SetTimer(hwnd, 2, 30, nullptr);
  headless_advance(100);
  EXPECT_EQ(poll().wParam, WPARAM(2)) << "due at 30";
  EXPECT_EQ(poll().wParam, WPARAM(1)) << "due at 100";
  EXPECT_EQ(poll().message, UINT(WM_NULL));

  // Setting timer 1 again at 150 starts a new grid: 250, 350...
  headless_advance(50);
  SetTimer(hwnd, 1, 100, nullptr);
  KillTimer(hwnd, 2);
  headless_advance(99);
  EXPECT_EQ(poll().message, UINT(WM_NULL));
  headless_advance(1);
  EXPECT_EQ(poll().wParam, WPARAM(1));
  EXPECT_EQ(headless_counters().timers, 1);
}

TEST_F(TimerTest, KillAndBadArguments) {
  HWND hwnd = make_window("W");
  SetTimer(hwnd, 3, 0, nullptr);  // raised to the 10 ms minimum
  headless_advance(9);
  EXPECT_EQ(poll().message, UINT(WM_NULL));
  headless_advance(1);
  EXPECT_EQ(poll().message, UINT(WM_TIMER));

  EXPECT_TRUE(KillTimer(hwnd, 3));
  EXPECT_FALSE(KillTimer(hwnd, 3));
  EXPECT_FALSE(KillTimer(hwnd, 99));
  headless_advance(1000);
  EXPECT_EQ(poll().message, UINT(WM_NULL));

  HWND gone = make_window("Gone");
  DestroyWindow(gone);
  EXPECT_EQ(SetTimer(gone, 1, 100, nullptr), UINT_PTR(0));
  EXPECT_FALSE(KillTimer(gone, 1));
  EXPECT_EQ(headless_counters().timers, 0);
}

UINT_PTR g_proc_id = 0;
int g_proc_calls = 0;
void CALLBACK count_tick(HWND, UINT, UINT_PTR id, DWORD) {
  g_proc_id = id;
  ++g_proc_calls;
}

TEST_F(TimerTest, TimersWithoutWindowAndTimerProcedures) {
  g_proc_calls = 0;
  UINT_PTR a = SetTimer(nullptr, 0, 100, nullptr);
  UINT_PTR b = SetTimer(nullptr, 0, 100, count_tick);
  EXPECT_NE(a, UINT_PTR(0));
  EXPECT_NE(b, UINT_PTR(0));
  EXPECT_NE(a, b);
  headless_advance(100);
  MSG first = poll();
  EXPECT_EQ(first.hwnd, nullptr);
  EXPECT_EQ(first.wParam, a);
  EXPECT_EQ(DispatchMessageA(&first), 0);
  EXPECT_EQ(g_proc_calls, 0);
  MSG second = poll();
  EXPECT_EQ(second.wParam, b);
  DispatchMessageA(&second);
  EXPECT_EQ(g_proc_calls, 1);
  EXPECT_EQ(g_proc_id, b);

  // A WM_TIMER that names a procedure no live timer has calls nothing.
  HWND hwnd = make_window("W");
  MSG forged = second;
  forged.hwnd = hwnd;
  forged.lParam = LPARAM(0x1234);
  EXPECT_EQ(DispatchMessageA(&forged), 0);
  KillTimer(nullptr, b);
  EXPECT_EQ(DispatchMessageA(&second), 0);
  EXPECT_EQ(g_proc_calls, 1);
  EXPECT_TRUE(received_of(WM_TIMER).empty());
}

TEST_F(TimerTest, DestroyedWindowTakesItsTimersAlong) {
  HWND hwnd = make_window("W");
  HWND other = make_window("Other");
  SetTimer(hwnd, 1, 100, nullptr);
  SetTimer(hwnd, 2, 100, nullptr);
  SetTimer(other, 1, 100, nullptr);
  // Timers the procedure sets while being destroyed go too.
  message_hook() = [](HWND h, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg == WM_DESTROY) SetTimer(h, 9, 10, nullptr);
    return false;
  };
  EXPECT_EQ(headless_counters().timers, 3);
  DestroyWindow(hwnd);
  EXPECT_EQ(headless_counters().timers, 1);
  headless_advance(100);
  MSG m = poll();
  EXPECT_EQ(m.hwnd, other);
  EXPECT_EQ(poll().message, UINT(WM_NULL));
}

}  // namespace
