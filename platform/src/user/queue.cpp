// The message queue: PeekMessageA with its retrieval order (posted messages, then WM_QUIT,
// then input, then WM_PAINT, then WM_TIMER, the last two made at the moment of retrieval),
// sending and dispatching to window procedures and their defaults, posting, and WaitMessage,
// which blocks on the host until something new arrives.
#include <algorithm>

#include "user/user_state.h"

namespace plat {

void drop_window_messages(HWND hwnd) {
  UserState& u = user();
  auto for_window = [hwnd](const MSG& m) { return m.hwnd == hwnd; };
  auto input_for_window = [hwnd](const InputMessage& in) { return in.msg.hwnd == hwnd; };
  u.posted.erase(std::remove_if(u.posted.begin(), u.posted.end(), for_window), u.posted.end());
  u.input.erase(std::remove_if(u.input.begin(), u.input.end(), input_for_window), u.input.end());
}

void note_arrival() {
  user().arrivals += 1;
}

}  // namespace plat

using namespace plat;

namespace {

using Filter = MessageFilter;

bool take_queued(std::deque<MSG>& queue, const Filter& filter, bool remove, MSG* msg) {
  auto it =
      std::find_if(queue.begin(), queue.end(), [&](const MSG& m) { return filter.passes(m); });
  if (it == queue.end()) return false;
  *msg = *it;
  if (remove) queue.erase(it);
  return true;
}

// Input waits until it is routed: what comes behind a message not yet handled may be a menu's.
bool take_input(const Filter& filter, bool remove, MSG* msg) {
  std::deque<InputMessage>& input = user().input;
  auto it = std::find_if(input.begin(), input.end(), [&](const InputMessage& in) {
    return in.routed && filter.passes(in.msg);
  });
  if (it == input.end()) return false;
  *msg = it->msg;
  note_retrieved_key(*it);
  if (remove) input.erase(it);
  return true;
}

// A visible window with something to paint, among those the filter lets through.
HWND window_needing_paint(HWND filter) {
  HWND found = nullptr;
  window_table().for_each([&](uintptr_t handle, Window& w) {
    HWND hwnd = window_handle(handle);
    if (!found && w.visible && !region_empty(w.update) && (!filter || filter == hwnd)) found = hwnd;
  });
  return found;
}

MSG make_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wparam;
  m.lParam = lparam;
  m.time = DWORD(host::now_ms());
  return m;
}

}  // namespace

BOOL WINAPI PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) {
  if (!msg || (hwnd && !find_window(hwnd))) return FALSE;
  pull_host_input();
  Filter filter{hwnd, filter_min, filter_max};
  route_input(filter);
  present_changed_windows();
  host::take_turn();

  UserState& u = user();
  // Whatever is in the queue now has been looked at: WaitMessage waits for what comes after.
  u.arrivals_seen = u.arrivals;
  u.last_look = host::now_ms();
  bool take = (remove & PM_REMOVE) != 0;
  if (take_queued(u.posted, filter, take, msg)) return TRUE;
  // As on Win32, WM_QUIT is retrieved whatever the filter.
  if (u.quit_pending) {
    *msg = make_message(nullptr, WM_QUIT, WPARAM(u.quit_code), 0);
    if (take) u.quit_pending = false;
    return TRUE;
  }
  if (take_input(filter, take, msg)) return TRUE;
  if (filter.passes(WM_PAINT)) {
    if (HWND target = window_needing_paint(hwnd)) {
      *msg = make_message(target, WM_PAINT, 0, 0);
      return TRUE;
    }
  }
  if (filter.passes(WM_TIMER)) {
    uint64_t now = host::now_ms();
    if (Timer* timer = due_timer(hwnd, now)) {
      *msg = make_message(timer->hwnd, WM_TIMER, timer->id, reinterpret_cast<LPARAM>(timer->proc));
      if (take) advance_timer(*timer, now);
      return TRUE;
    }
  }
  return FALSE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  Window* w = find_window(hwnd);
  if (!w || !w->proc) return 0;
  WNDPROC proc = w->proc;
  return proc(hwnd, msg, wparam, lparam);
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      menu_default_key(hwnd, msg, wparam, lparam);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wparam == HTMENU) menu_bar_press(hwnd, short(LOWORD(lparam)), short(HIWORD(lparam)));
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    // Only a live timer's own procedure is called, never an address taken from the message.
    Timer* timer = find_timer_for_message(msg->hwnd, msg->wParam, msg->lParam);
    if (timer && timer->proc) {
      TIMERPROC proc = timer->proc;
      proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    }
    return 0;
  }
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  UserState& u = user();
  if (hwnd && !find_window(hwnd)) return FALSE;
  if (u.posted.size() >= MAX_POSTED_MESSAGES) return FALSE;
  u.posted.push_back(make_message(hwnd, msg, wparam, lparam));
  u.arrivals += 1;
  return TRUE;
}

void WINAPI PostQuitMessage(int exit_code) {
  user().quit_pending = true;
  user().quit_code = exit_code;
  user().arrivals += 1;
}

// As on Win32, WaitMessage waits for what arrived since the last PeekMessageA looked at the
// queue (any filter, removing or not): a message, input, a window newly needing paint or a timer
// tick. A message that a peek saw and left in the queue does not end the wait. A program that
// waits only after a peek found nothing misses nothing.
BOOL WINAPI WaitMessage(void) {
  UserState& u = user();
  for (;;) {
    pull_host_input();
    if (u.arrivals != u.arrivals_seen) return TRUE;
    uint64_t tick = next_tick_after(u.last_look);
    if (tick <= host::now_ms()) return TRUE;
    present_changed_windows();
    host::wait(tick);
  }
}
