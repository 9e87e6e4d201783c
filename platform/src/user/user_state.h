// The records of the USER side, shared by its files: window classes, windows with their
// surfaces and update areas, timers, the posted and input queues, and the keyboard state that
// TranslateMessage reads. The window system's context holds one UserState, and the windows'
// handle table with the other tables.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "handle_table.h"
#include "internal.h"
#include "region.h"

namespace plat {

// Largest outer width or height a window may have; larger requests are cut to it.
constexpr int MAX_WINDOW_SIDE = 8192;
// Posted messages beyond this many are refused, as a runaway poster would otherwise eat memory.
constexpr size_t MAX_POSTED_MESSAGES = 10000;
// Win32's smallest timer period; shorter periods are raised to it.
constexpr UINT MIN_TIMER_PERIOD = 10;
// Colour of a window whose class has no solid background brush.
constexpr uint32_t DEFAULT_BACKGROUND = 0xFFFFFF;

struct WindowClass {
  std::string name;
  WNDPROC proc = nullptr;
  HBRUSH background = nullptr;
  ATOM atom = 0;
};

struct Window {
  std::string title;
  WNDPROC proc = nullptr;
  HBRUSH background = nullptr;
  int host_id = 0;
  std::vector<uint32_t> pixels;  // outer area, menu bar rows on top, from row first_row on
  size_t first_row = 0;          // rows above it, and any below the outer area, are spare
  int width = 0;
  int height = 0;
  HMENU menu = nullptr;
  bool visible = false;
  bool ever_shown = false;
  bool changed = false;      // pixels differ from what the host shows
  bool lent = false;         // the host shows the pixels themselves (host::lend_frame)
  bool destroying = false;   // inside DestroyWindow: refuse a second destruction
  bool erase = false;        // the update area still needs its background
  Region update;             // what needs painting, client coordinates
  uint64_t shown_order = 0;  // when it was last shown, to pick the next focus window
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT period = 0;
  uint64_t due = 0;
  TIMERPROC proc = nullptr;
  uint64_t order = 0;  // creation order, to break ties between timers due at the same time
};

// An input message with the raw event behind it. Input waits to be routed: while a menu is open
// it is the menu's, and whether one is open is known only when the messages before it have been
// handled (a lone Alt opens it in DefWindowProcA). A mouse message is made when it is routed.
struct InputMessage {
  MSG msg{};
  host::InputEvent raw{};
  bool routed = false;  // handed to the program
};

// The window and message range of a PeekMessageA call (0, 0: every message).
struct MessageFilter {
  HWND hwnd = nullptr;
  UINT min = 0;
  UINT max = 0;

  bool passes(UINT message) const {
    return (min == 0 && max == 0) || (message >= min && message <= max);
  }
  bool passes(const MSG& m) const { return (!hwnd || m.hwnd == hwnd) && passes(m.message); }
};

struct UserState {
  std::vector<WindowClass> classes;
  std::vector<Timer> timers;
  uint64_t timer_order = 0;
  std::deque<MSG> posted;
  std::deque<InputMessage> input;
  bool quit_pending = false;
  // Counts what arrived (posted messages, quit requests, input, windows newly needing paint);
  // WaitMessage returns once it differs from its value at the last PeekMessageA.
  uint64_t arrivals = 0;
  uint64_t arrivals_seen = 0;
  uint64_t last_look = 0;  // clock at the last PeekMessageA: timer ticks after it are new
  int quit_code = 0;
  HWND focus = nullptr;
  uint64_t show_counter = 0;
  // The character of the press of each scan code that the program retrieved last (0: none),
  // set when a key-down message is retrieved, so each press translates to its own character.
  std::array<uint8_t, 256> scan_chars{};
  // Keys held down (by virtual-key code) and those whose press was a system key, as the raw
  // input has been converted; a release is a system key when its press was.
  std::bitset<256> keys_held;
  std::bitset<256> system_presses;
  // The last key press was a system key: text the desktop sends for it separately is dropped.
  bool text_of_system_key = false;
  // DCs handed out by GetDC and BeginPaint and not yet released, with their windows.
  std::unordered_map<HDC, HWND> window_dcs;
};

UserState& user();
HandleTable<Window>& window_table();

// The window behind a handle, or null. The pointer is good only until the next call that may
// create a window or run a window procedure.
Window* find_window(HWND hwnd);

inline HWND window_handle(uintptr_t value) {
  return to_handle<HWND>(value);
}

// The window's outer area: width x height pixels, rows end to end.
inline uint32_t* window_pixels(Window& w) {
  return w.pixels.data() + w.first_row * size_t(w.width);
}
// To be called before a window's own pixels change: a frame lent to the host is taken back.
void will_change(Window& w);

// Height of the menu bar rows that a window's client area gives up (none without a menu).
int menu_rows(const Window& w);
// Client size: the outer size minus the menu bar rows.
int client_width(const Window& w);
int client_height(const Window& w);

// The colour of the window's background brush (DEFAULT_BACKGROUND without a solid one).
uint32_t background_pixel(const Window& w);

// Adds a client rectangle (clipped to the client area) to the update area.
void invalidate_client(HWND hwnd, const RECT* rect, bool erase);

// Resizes a window's outer area (host resize): keeps the old pixels where they fit, fills the
// rest with the background, sends WM_SIZE and makes the whole client area need painting.
void resize_window(HWND hwnd, int width, int height);

// Shows or hides; returns whether the window was visible before.
bool set_window_visible(HWND hwnd, bool show);
void set_focus_window(HWND hwnd);

// Input conversion (input.cpp): takes every raw input that the host has ready.
void pull_host_input();
// Routes the queued input, in order, to the menus or to the program, up to the first message
// for the program that passes the filter.
void route_input(const MessageFilter& filter = MessageFilter{});
// A key-down message was retrieved: its press's character is what TranslateMessage makes.
void note_retrieved_key(const InputMessage& input);

// Timers (timers.cpp).
void remove_window_timers(HWND hwnd);
// The earliest tick of any timer strictly after `after` (host::NO_DEADLINE without timers).
uint64_t next_tick_after(uint64_t after);
// The due timer to report now (earliest due first), or null.
Timer* due_timer(HWND filter, uint64_t now);
// Moves a timer that has just been reported to its next tick on its grid.
void advance_timer(Timer& timer, uint64_t now);
// The live timer (hwnd, id) whose procedure's address is `proc`, or null.
Timer* find_timer_for_message(HWND hwnd, UINT_PTR id, LPARAM proc);

// Queue (queue.cpp).
void drop_window_messages(HWND hwnd);

}  // namespace plat
