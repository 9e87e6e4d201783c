// What the files of the SDL desktop host share: the native windows by id, the desktop's
// whole-number scale and origin, and the translation of SDL events into the host's raw input.
// Only this folder includes SDL.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>

#include "hosts/host.h"

namespace sdl_host {

struct NativeWindow {
  int id = 0;
  SDL_Window* window = nullptr;
  bool reported_failure = false;  // a present failure is told once per window, not per frame
};

// The host's state for the life of the process.
struct Desktop {
  bool open = false;
  uint64_t start_ticks = 0;  // SDL_GetTicks64 at open
  // Where the desktop gives its scale through the display's DPI (X11), windows are placed and
  // sized in device pixels times this factor and mouse positions are divided by it. Desktops
  // that scale by themselves (Wayland, macOS) give windows more pixels than their size.
  int scale = 1;
  // Usable area of display 0 in desktop coordinates: program (0, 0) is its top left corner.
  SDL_Rect usable = {0, 0, 0, 0};
  // SDL events taken out of SDL's queue by a wait, kept for next_input.
  std::deque<SDL_Event> held;
  // Input already translated but not yet handed out (the extra characters of a text event).
  std::deque<host::InputEvent> ready;
};

Desktop& desktop();

// This host's operations, which the driver record sdl_driver names: each has the type of the
// operation of the same name in host.h, where they are described.
using host::InputEvent;
using host::NO_DEADLINE;
decltype(host::open) open;
decltype(host::screen_size) screen_size;
decltype(host::create_window) create_window;
decltype(host::show_window) show_window;
decltype(host::destroy_window) destroy_window;
decltype(host::present) present;
decltype(host::now_ms) now_ms;
decltype(host::next_input) next_input;
decltype(host::wait) wait;

// The window with this host id, or null.
NativeWindow* find_window(int id);
// The host id of an SDL window id, or 0.
int window_from_sdl(uint32_t sdl_window_id);
// The whole-number scale that the desktop asks windows to be shown at (1 where it asks none),
// kept small enough to leave programs a screen of at least 800 x 600.
int desktop_scale(const SDL_Rect& usable);
// The scale that an X11 session asks for in its resources ("Xft.dpi: 192" is 2), or 1.
int scale_from_resources(const char* resources);
// Whole-number factor between a window's device pixels and the pixels of its surface.
int pixel_scale(const NativeWindow& window, int surface_width);

// Translates the SDL events taken so far until one gives the host input; false when none did.
bool translate_pending();

// Prints one line "what: SDL's reason" on stderr.
void report(const char* what);

// Key map: the Win32 virtual-key code of a key (0 where it has none), the 8-bit scan code that
// tells physical keys apart, and the host's modifier bits.
unsigned virtual_key(const SDL_Keysym& key);
unsigned scan_code(SDL_Scancode scancode);
unsigned modifier_bits(uint16_t sdl_mods);
// True for Shift, Ctrl, Alt, GUI and lock keys, which never produce text.
bool is_modifier_key(SDL_Keycode key);
// Decodes UTF-8 text into Latin-1 characters; characters above 255 and malformed bytes are
// dropped. Returns the number of characters stored (at most `capacity`).
int latin1_from_utf8(const char* text, int* out, int capacity);

}  // namespace sdl_host
