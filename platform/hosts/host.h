// The few things a host gives the window system: a screen, native windows that show a
// framebuffer, a monotonic clock, and raw input with a way to wait for it. Exactly one host is
// linked into an executable (the SDL desktop or the headless test host); the window system turns
// what the host reports into Win32 messages.
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
  int ch;
  int width, height;
  uint64_t time;  // host clock, ms
};

// Starts the host. False when it cannot; then *why (when not null) says why in a few words, for
// the caller to report before it exits.
bool open(const char** why);

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

// Blocks until input may be ready or the clock reaches deadline (NO_DEADLINE: only input).
void wait(uint64_t deadline);

}  // namespace host
