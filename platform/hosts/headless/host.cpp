// The headless host, the smallest complete host (docs/HOSTS.md): every operation of the driver
// record and nothing else from the window system than hosts/host.h. A virtual screen, windows
// that keep the frame last presented to them (the window's own pixels are lent, not copied), a
// virtual clock that moves only when a wait has nothing to deliver, and scheduled input handed
// out when the clock reaches its time. A wait that nothing could end, or that would pass the
// time limit, fails loudly instead of hanging. The testing layer (platform/testing) drives it
// through headless_state.h.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "hosts/headless/headless_state.h"

namespace headless {

HostState& state() {
  static HostState s;
  return s;
}

void fail(const std::string& reason, int status) {
  if (auto handler = state().failure_handler) handler(reason.c_str());
  std::fprintf(stderr, "headless host: %s\n", reason.c_str());
  std::fflush(nullptr);
  // A program ends with a status its caller can tell apart; a test stops where it went wrong.
  if (state().program) std::_Exit(status);
  std::abort();
}

void schedule(uint64_t at, std::function<void(uint64_t at)> action) {
  HostState& s = state();
  s.schedule.emplace(std::make_pair(at, s.next_order++), std::move(action));
}

using host::InputEvent;
using host::NO_DEADLINE;

// The window system is about to change a window's own pixels: a frame still lent from them is
// copied, or forgotten when frames are not kept.
void reclaim_frame(int host_id) {
  auto it = state().windows.find(host_id);
  if (it == state().windows.end() || !it->second.lent) return;
  HostWindow& w = it->second;
  if (state().keep_frames)
    w.presented.assign(w.lent, w.lent + size_t(w.presented_width) * size_t(w.presented_height));
  else
    w.presented.clear();
  w.lent = nullptr;
}

bool open(const char** /*why*/) {
  // A program started on this host (not a test, which never opens it) ends at the time limit
  // instead of playing its timers on for ever.
  HostState& s = state();
  s.program = true;
  if (s.time_limit == 0) s.time_limit = PROGRAM_TIME_LIMIT;
  return true;
}

void screen_size(int* width, int* height) {
  if (width) *width = state().screen_width;
  if (height) *height = state().screen_height;
}

int create_window(const char* title, int x, int y, int width, int height, bool resizable) {
  HostState& s = state();
  HostWindow w;
  w.title = title ? title : "";
  w.x = x;
  w.y = y;
  w.width = width;
  w.height = height;
  w.resizable = resizable;
  int id = s.next_window_id++;
  s.windows.emplace(id, std::move(w));
  return id;
}

void show_window(int id, bool show) {
  auto it = state().windows.find(id);
  if (it != state().windows.end()) it->second.visible = show;
}

void destroy_window(int id) {
  state().windows.erase(id);
}

namespace {

// A frame shown: lent (the window's own pixels, looked at until reclaim_frame) or copied now.
void show_frame(int id, const uint32_t* pixels, int width, int height, bool lend) {
  auto it = state().windows.find(id);
  if (it == state().windows.end()) return;
  HostWindow& w = it->second;
  width = std::max(width, 0);
  height = std::max(height, 0);
  size_t count = size_t(width) * size_t(height);
  w.lent = nullptr;
  if (pixels && lend) {
    w.lent = pixels;
  } else if (pixels) {
    w.presented.assign(pixels, pixels + count);
  } else {
    w.presented.assign(count, 0);
  }
  w.presented_width = width;
  w.presented_height = height;
  ++w.present_count;
  // A copy of the observer and the title: the observer may replace itself or end the window.
  if (auto observer = state().present_observer) {
    const std::string title = w.title;
    observer(title.c_str());
  }
}

}  // namespace

void present(int id, const uint32_t* pixels, int width, int height) {
  show_frame(id, pixels, width, height, false);
}

void lend_frame(int id, const uint32_t* pixels, int width, int height) {
  show_frame(id, pixels, width, height, true);
}

uint64_t now_ms() {
  return state().now;
}

bool next_input(InputEvent* event) {
  HostState& s = state();
  for (;;) {
    if (!s.ready.empty()) {
      *event = s.ready.front();
      s.ready.pop_front();
      return true;
    }
    if (s.schedule.empty() || s.schedule.begin()->first.first > s.now) return false;
    uint64_t at = s.schedule.begin()->first.first;
    std::function<void(uint64_t)> action = std::move(s.schedule.begin()->second);
    s.schedule.erase(s.schedule.begin());
    if (action) action(at);
  }
}

void wait(uint64_t deadline) {
  HostState& s = state();
  if (!s.ready.empty()) return;
  uint64_t until = deadline;
  if (!s.schedule.empty()) until = std::min(until, s.schedule.begin()->first.first);
  if (until <= s.now) return;
  if (until == NO_DEADLINE)
    fail("a wait at " + std::to_string(s.now) +
             " ms could never end: no timer is running and no input is scheduled",
         NEVER_ENDING_STATUS);
  if (s.time_limit != 0 && until > s.time_limit)
    fail("a wait at " + std::to_string(s.now) + " ms would run until " + std::to_string(until) +
             " ms, past the time limit of " + std::to_string(s.time_limit) + " ms",
         TIME_LIMIT_STATUS);
  s.now = until;
}

}  // namespace headless

const host::HostDriver host::headless_driver = {
    "headless",
    headless::open,
    headless::screen_size,
    headless::create_window,
    headless::show_window,
    headless::destroy_window,
    headless::present,
    headless::lend_frame,
    headless::reclaim_frame,
    headless::now_ms,
    headless::next_input,
    headless::wait,
    nullptr,  // runs in its own time: nothing waits for a turn
};
