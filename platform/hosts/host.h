// The few things a host gives the window system: a screen, native windows that show a
// framebuffer, a monotonic clock, and raw input with a way to wait for it. Every host compiled
// into the library exports one driver record (a table of these operations, as SDL's video
// drivers are); the free functions below dispatch to the driver chosen when the program starts.
// The window system turns what the host reports into Win32 messages.
#pragma once

#include <cstdint>

namespace host {

// Modifier bits in InputEvent::mods.
constexpr unsigned MOD_SHIFT = 1;
constexpr unsigned MOD_CTRL = 2;
constexpr unsigned MOD_ALT = 4;

// Clock value that means "no deadline".
constexpr uint64_t NO_DEADLINE = UINT64_MAX;

enum class InputKind {
  MOUSE_DOWN,  // x, y: position in the window's outer area (0,0 = top left); button 1 = left
  MOUSE_UP,
  MOUSE_MOVE,
  KEY_DOWN,  // vk, scan, mods; ch = the Latin-1 character the key produced (0 for none)
  KEY_UP,    // vk, scan, mods
  TEXT,      // ch: a Latin-1 character that arrived without a key press (input method, paste)
  CLOSE,     // the user asked to close the window
  EXPOSE,    // the window's pixels on screen were lost; present again
  RESIZE,    // the user resized the window: width, height = new outer size
  FOCUS,     // the window got the keyboard
};

struct InputEvent {
  InputKind kind;
  int window;  // host window id
  int x, y;
  int button;
  unsigned vk;
  unsigned scan;
  unsigned mods;
  bool extended;  // keys: right Ctrl or Alt, or keypad Enter (the keys that share a vk code)
  int ch;
  int width, height;
  uint64_t time;  // host clock, ms
};

// One host: its name and its operations, each as the free function of the same name describes.
struct HostDriver {
  const char* name;
  bool (*open)(const char** why);
  void (*screen_size)(int* width, int* height);
  int (*create_window)(const char* title, int x, int y, int width, int height, bool resizable);
  void (*show_window)(int id, bool show);
  void (*destroy_window)(int id);
  void (*present)(int id, const uint32_t* pixels, int width, int height);
  uint64_t (*now_ms)();
  bool (*next_input)(InputEvent* event);
  void (*wait)(uint64_t deadline);
};

// The drivers, each defined by its host; host.cpp lists those compiled in.
extern const HostDriver web_driver;
extern const HostDriver sdl_driver;
extern const HostDriver headless_driver;

// Picks the driver by name before the host is opened (tests and tools). False for an unknown
// name, or when another driver is already in use.
bool select(const char* name);

// The name of the driver in use, choosing it as open() would when none is chosen yet; null
// when EASEL_HOST names no driver.
const char* driver_name();

// Starts the host: the driver picked by select(), else the one the environment variable
// EASEL_HOST names ("sdl", "headless", "web"), else the first compiled in. False when it cannot;
// then *why (when not null) says why in a few words, for the caller to report before it exits.
// The operations below open the host themselves when nobody did (so a program with its own
// main() needs no call of its own) and end the program with "cannot open a window: <why>" and
// status 1 when that fails; a driver picked by select() is left to its picker to open.
bool open(const char** why);
// Says on stderr why no window could be opened, with what works instead when there is no display.
void report_open_failure(const char* why);

void screen_size(int* width, int* height);

// A native window of the given outer size at a screen position. Returns an id > 0, or 0.
int create_window(const char* title, int x, int y, int width, int height, bool resizable);
void show_window(int id, bool show);
void destroy_window(int id);

// Shows a whole framebuffer (0x00RRGGBB, width * height pixels, rows top to bottom).
void present(int id, const uint32_t* pixels, int width, int height);

// Monotonic milliseconds since the host opened.
uint64_t now_ms();

// Takes the next raw input that has happened by now; false when there is none. Never blocks.
bool next_input(InputEvent* event);

// Blocks until input may be ready or the clock reaches deadline (NO_DEADLINE: only input). It
// returns before the deadline only when something may have arrived (input, or on the headless
// host a scheduled entry that fell due and may have made none), so callers look with next_input
// and wait again, as WaitMessage does.
void wait(uint64_t deadline);

}  // namespace host
