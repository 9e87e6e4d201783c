// What the testing layer (platform/testing) may ask of the window system's core, and nothing
// else includes from it: which window a host window id is, the focus, a window's or a bitmap's
// pixels, the resets, the live-object counters and failures on demand. Hosts never include it:
// they know the core only through hosts/host.h.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace plat {

// Height of the menu bar, taken from the top of a window's outer area.
constexpr int MENU_BAR_HEIGHT = 20;

// A block of 0x00RRGGBB pixels; stride counts pixels.
struct Surface {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// ---------------------------------------------------------------------------------------------
// Windows

// The window that a host window id belongs to, or null.
HWND window_from_host(int host_id);
// The window that currently has the keyboard, or null.
HWND focus_window();
// The window's whole outer surface (menu bar rows on top) and, in surface coordinates, its
// client rectangle. False for a handle that is not a live window.
bool window_surface(HWND hwnd, Surface* surface, RECT* client);

// ---------------------------------------------------------------------------------------------
// Resets, counters, read-back, failures on demand

// Destroys every window (host windows included), class, timer, menu, DC, GDI object and memory
// block and empties the queues. Handles from before stay invalid after it.
void platform_reset();
// The pixels of a bitmap object; false for anything that is not a live bitmap.
bool bitmap_surface(HBITMAP bitmap, Surface* surface);
int live_gdi_objects();
int live_dcs();
int live_memory_blocks();
int live_windows();
int live_menus();
int live_timers();
// Makes GlobalAlloc fail for `count` calls after `after` more successful ones (count < 0: all).
void memory_fail_after(int after, int count);

}  // namespace plat
