// Timers: SetTimer and KillTimer, and the due times that PeekMessageA and WaitMessage read.
// Ticks stay on a fixed grid (start + n * period); a timer that fell due several times before
// it was looked at yields one WM_TIMER and moves to its next tick still in the future.
#include <algorithm>

#include "context.h"

namespace plat {

namespace {

bool matches(const Timer& t, HWND filter) {
  return !filter || t.hwnd == filter;
}

Timer* find_timer(HWND hwnd, UINT_PTR id) {
  for (Timer& t : user().timers)
    if (t.hwnd == hwnd && t.id == id) return &t;
  return nullptr;
}

// Win32 periods run from 10 ms to 0x7FFFFFFF ms; values outside are brought into that range.
UINT clamp_period(UINT elapse) {
  return std::clamp<UINT>(elapse, MIN_TIMER_PERIOD, 0x7FFFFFFF);
}

}  // namespace

void remove_window_timers(HWND hwnd) {
  auto& timers = user().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
               timers.end());
}

uint64_t next_tick_after(uint64_t after) {
  uint64_t earliest = host::NO_DEADLINE;
  for (const Timer& t : user().timers) {
    uint64_t tick = t.due;
    // A tick already due and left in the queue was seen; its timer's next tick on the grid is new.
    if (tick <= after && t.period > 0) tick += ((after - tick) / t.period + 1) * t.period;
    earliest = std::min(earliest, tick);
  }
  return earliest;
}

Timer* due_timer(HWND filter, uint64_t now) {
  Timer* best = nullptr;
  for (Timer& t : user().timers) {
    if (!matches(t, filter) || t.due > now) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
  }
  return best;
}

void advance_timer(Timer& timer, uint64_t now) {
  if (now < timer.due) return;
  uint64_t missed = (now - timer.due) / timer.period + 1;
  timer.due += missed * timer.period;
}

Timer* find_timer_for_message(HWND hwnd, UINT_PTR id, LPARAM proc) {
  Timer* t = find_timer(hwnd, id);
  return t && reinterpret_cast<LPARAM>(t->proc) == proc ? t : nullptr;
}

int live_timers() {
  return int(user().timers.size());
}

}  // namespace plat

using namespace plat;

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse_ms, TIMERPROC proc) {
  UserState& u = user();
  if (hwnd && !find_window(hwnd)) return 0;
  UINT period = clamp_period(elapse_ms);
  uint64_t due = host::now_ms() + period;
  if (Timer* existing = find_timer(hwnd, id)) {
    // Setting a timer again starts its grid afresh.
    existing->period = period;
    existing->due = due;
    existing->proc = proc;
    return hwnd ? (id ? id : 1) : id;
  }
  if (!hwnd) {
    // A timer without a window gets an id of its own, as the caller's id is not unique then.
    do {
      id = context().handles.next_thread_timer_id++;
    } while (id == 0 || find_timer(nullptr, id));
  }
  Timer t;
  t.hwnd = hwnd;
  t.id = id;
  t.period = period;
  t.due = due;
  t.proc = proc;
  t.order = ++u.timer_order;
  u.timers.push_back(t);
  return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = user().timers;
  if (hwnd && !find_window(hwnd)) return FALSE;
  auto it = std::find_if(timers.begin(), timers.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}
