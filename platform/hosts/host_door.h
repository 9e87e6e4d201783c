// The door between the window system's core and what sits beside it: the only core header that
// hosts, the entry and the testing layer include. Hosts report input by host window id (host.h);
// what they or the testing layer need to know about the core's windows, and the testing layer's
// resets, counters and read-back, are asked here and nowhere else.
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
// The first pixel of the window's own surface (what present hands the host when no menu is
// open), or null; asking does not count as a change.
const uint32_t* window_own_pixels(int host_id);
// When set, called with a window's host id before its own pixels change in any way (drawn on,
// erased, scrolled, resized). The headless host sets it to keep the frame it was presented
// from those pixels without copying every frame.
extern void (*before_window_change)(int host_id);
// The window that currently has the keyboard, or null.
HWND focus_window();
// The window's whole outer surface (menu bar rows on top) and, in surface coordinates, its
// client rectangle. False for a handle that is not a live window.
bool window_surface(HWND hwnd, Surface* surface, RECT* client);

// The instance handle that the entry gives the program's WinMain.
HINSTANCE program_instance();

// ---------------------------------------------------------------------------------------------
// For the testing layer: resets, counters, read-back, failures on demand

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
