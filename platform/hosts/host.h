// The one header a host includes: the few things a host gives the window system (a screen,
// native windows that show a framebuffer, a monotonic clock, raw input with a way to wait for
// it), as one driver record of operations per host (as SDL's video drivers are), the input
// record it fills, and the virtual-key codes it reports keys with. The free functions below are
// the host table's: they dispatch to the driver chosen when the program starts. The window
// system turns what the host reports into Win32 messages. docs/HOSTS.md says what each
// operation must do.
#pragma once

#include <cstdint>

#include "platform/win32_keys.h"

namespace host {

// Modifier bits in InputEvent::mods.
constexpr unsigned MOD_SHIFT = 1;
constexpr unsigned MOD_CTRL = 2;
constexpr unsigned MOD_ALT = 4;

// Clock value that means "no deadline".
constexpr uint64_t NO_DEADLINE = UINT64_MAX;

// The kinds of input, in the order of their numbers (the browser host's page is given the names
// and numbers from this list):
//   MOUSE_DOWN, MOUSE_UP  x, y: position in the window's outer area (0,0 = top left); button:
//                         1 left, 2 middle, 3 right; every change of a button, as it happened
//   MOUSE_MOVE            x, y: the pointer's position; every move may be reported (the window
//                         system keeps the latest)
//   KEY_DOWN              vk, scan, mods, extended; ch: the Latin-1 character the keyboard
//                         layout typed with this press (0 for none); repeats are further presses
//   KEY_UP                vk, scan, mods, extended
//   TEXT                  ch: a Latin-1 character that arrived without a key press (input
//                         method, compose, paste)
//   CLOSE                 the user asked to close the window
//   EXPOSE                the window's pixels on screen were lost; present again
//   RESIZE                the user resized the window: width, height = new outer size
//   FOCUS                 the window got the keyboard
// clang-format off
#define HOST_INPUT_KINDS(KIND) \
  KIND(MOUSE_DOWN) KIND(MOUSE_UP) KIND(MOUSE_MOVE) KIND(KEY_DOWN) KIND(KEY_UP) KIND(TEXT) \
  KIND(CLOSE) KIND(EXPOSE) KIND(RESIZE) KIND(FOCUS)
// clang-format on

enum class InputKind {
#define HOST_INPUT_KIND_ENUM(name) name,
  HOST_INPUT_KINDS(HOST_INPUT_KIND_ENUM)
#undef HOST_INPUT_KIND_ENUM
};

// Scan codes: a key's USB HID usage (keyboard page 0x07; 'A' is 4, Enter 40, left Ctrl 224),
// which names the physical key whatever the layout, the same numbers on every host. The window
// system puts the low 8 bits in bits 16-23 of a key message's lParam and gives each press's
// character back for that number in TranslateMessage, so all that matters is that one key keeps
// one number and two keys never share one. Keys without a usage below 256 take an unused one
// (0xA5-0xDF, 0xE8-0xFF) or 0.

struct InputEvent {
  InputKind kind;
  int window;  // host window id
  int x, y;
  int button;
  unsigned vk;    // Win32 virtual-key code (win32_keys.h): letters as the layout places them
  unsigned scan;  // USB HID usage of the key (see above)
  unsigned mods;  // MOD_ bits held at the time, as far as the host knows them
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
  // The lent frame, optional (both null: the host copies what present hands it). lend_frame
  // shows a window's own pixels as present does, but the host may keep pointing at them instead
  // of copying them: they stay valid and unchanged until the window system calls
  // reclaim_frame(id), which it does before it changes them in any way (drawing, scrolling,
  // resizing), or until present or destroy_window for that window.
  void (*lend_frame)(int id, const uint32_t* pixels, int width, int height);
  void (*reclaim_frame)(int id);
  uint64_t (*now_ms)();
  bool (*next_input)(InputEvent* event);
  void (*wait)(uint64_t deadline);
  // Optional (null: nothing to do). Called each time the program looks for input without
  // waiting (PeekMessageA), after every changed window has been presented. A host whose own
  // event loop runs only while the program is suspended (the browser's) gives it a turn here
  // now and then, so that a program that runs on without waiting (a script playing back) does
  // not stop the host's input and drawing.
  void (*take_turn)();
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
// Shows a window's own pixels through the driver's lend_frame; false (nothing done) when the
// driver does not lend, and the caller presents them.
bool lend_frame(int id, const uint32_t* pixels, int width, int height);
// Before lent pixels change: the driver's reclaim_frame, when it has one.
void reclaim_frame(int id);

// Monotonic milliseconds since the host opened.
uint64_t now_ms();

// Takes the next raw input that has happened by now; false when there is none. Never blocks.
bool next_input(InputEvent* event);

// Blocks until input may be ready or the clock reaches deadline (NO_DEADLINE: only input). It
// returns before the deadline only when something may have arrived (input, or on the headless
// host a scheduled entry that fell due and may have made none), so callers look with next_input
// and wait again, as WaitMessage does.
void wait(uint64_t deadline);

// The program looked for input and goes on without waiting: the driver's take_turn, when it has
// one.
void take_turn();

}  // namespace host
