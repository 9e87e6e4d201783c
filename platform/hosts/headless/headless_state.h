// The headless host's state, shared by its own file and the testing layer above it: the virtual
// screen and clock, the host windows with the frames last presented to them, the schedule of
// what waits for its time, the input ready to be taken, and the loud failure of a wait that
// could never end.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hosts/host.h"

namespace headless {

struct HostWindow {
  std::string title;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool resizable = false;
  bool visible = false;
  // The last frame presented, 0x00RRGGBB: either still the window's own pixels in the core
  // (`lent`, valid until the core changes them, which it announces first), or a copy. Empty
  // when it was not kept.
  const uint32_t* lent = nullptr;
  std::vector<uint32_t> presented;
  int presented_width = 0;
  int presented_height = 0;
  int present_count = 0;
};

constexpr int DEFAULT_SCREEN_WIDTH = 1024;
constexpr int DEFAULT_SCREEN_HEIGHT = 768;
// A program run on this host (one that opened it) with no limit of its own stops at an hour
// of virtual time, with this status (as timeout(1) gives); one whose wait nothing could end
// stops at once with the other.
constexpr uint64_t PROGRAM_TIME_LIMIT = 3600 * 1000;
constexpr int TIME_LIMIT_STATUS = 124;
constexpr int NEVER_ENDING_STATUS = 1;
// Scan codes the testing layer gives keys that have no usage of their own: usages that name no
// key.
constexpr unsigned FIRST_SPARE_SCAN = 0xA5;
constexpr unsigned LAST_SPARE_SCAN = 0xDF;

struct HostState {
  int screen_width = DEFAULT_SCREEN_WIDTH;
  int screen_height = DEFAULT_SCREEN_HEIGHT;
  uint64_t now = 0;
  uint64_t time_limit = 0;  // 0: none
  bool program = false;     // opened by a program: a failure ends it with a status, not abort()
  bool keep_frames = true;  // copy a lent frame before its pixels change
  void (*failure_handler)(const char* reason) = nullptr;
  std::function<void(const char* title)> present_observer;
  std::map<int, HostWindow> windows;
  int next_window_id = 1;
  // Ordered by time, then by order of scheduling; each is run with its time when the clock
  // reaches it, inside a poll or a wait.
  std::map<std::pair<uint64_t, uint64_t>, std::function<void(uint64_t at)>> schedule;
  uint64_t next_order = 0;
  std::deque<host::InputEvent> ready;  // events whose time has come, not yet taken
  std::map<unsigned, unsigned> spare_scan_codes;
  unsigned next_spare_scan = FIRST_SPARE_SCAN;
};

HostState& state();

// Runs `action` when the clock reaches `at`; input it hands to ready() is then taken by polls.
void schedule(uint64_t at, std::function<void(uint64_t at)> action);

// The last frame presented to a host window, wherever it is kept now.
inline const uint32_t* presented_pixels(const HostWindow& w) {
  return w.lent ? w.lent : w.presented.data();
}
inline bool has_frame(const HostWindow& w) {
  return w.lent != nullptr ||
         w.presented.size() == size_t(w.presented_width) * size_t(w.presented_height);
}

// Reports through the failure handler; never returns.
[[noreturn]] void fail(const std::string& reason, int status);

}  // namespace headless
