// What the parts of the window system share with each other: the GDI services that USER needs
// (window DCs, fills, text for menus), menus for windows and input, and (through the doors this
// header includes, so that the core defines what they declare) what the entry and the testing
// layer may ask. Nothing here is visible to programs.
#pragma once

#include <cstdint>
#include <string>

#include "entry_door.h"
#include "hosts/host.h"
#include "platform/win32.h"
#include "testing_door.h"

namespace plat {

inline uint32_t pixel_from_colorref(COLORREF c) {
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
inline COLORREF colorref_from_pixel(uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// ---------------------------------------------------------------------------------------------
// Rectangles (src/user/rect.cpp): RECT is the one rectangle type, right and bottom excluded, and
// IntersectRect the one intersection. Drawing computes in 64 bits so that any int coordinate
// plus a pen or an offset stays exact; these bring such a box back to a RECT.

// The box from 64-bit edges, each held to LONG's range. Cut by a RECT, it gives the same pixels
// as the unheld box would, as every RECT lies within that range.
RECT rect_from(int64_t left, int64_t top, int64_t right, int64_t bottom);
// `r` moved by (dx, dy), held to LONG's range.
RECT rect_moved(const RECT& r, int64_t dx, int64_t dy);
inline bool rect_empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// ---------------------------------------------------------------------------------------------
// USER side (src/user/), used by GDI and menus

// The window's pixels changed: present it at the next poll.
void window_changed(HWND hwnd);
// Something changed that a waiting loop must look at (a menu closed from outside its loop):
// ends the current WaitMessage as an arrival would.
void note_arrival();
// Moves all of a window's outer area up by 0 < rows < height, the rows uncovered at the bottom
// keeping their old pixels, mostly without moving pixels in memory. Surfaces got before it are
// stale afterwards. False, with nothing changed, when it cannot.
bool scroll_window_up(HWND hwnd, int rows);
// Presents every changed, visible window (at most once per call).
void present_changed_windows();
// The menu bar attached to a window (SetMenu), or null.
HMENU window_menu(HWND hwnd);

// ---------------------------------------------------------------------------------------------
// GDI side (src/gdi/), used by USER

// A DC that draws into the window's client area, clipped to it (GetDC and BeginPaint).
HDC create_window_dc(HWND hwnd);
// Narrows a window DC's drawing to an area of the client area (BeginPaint's update area).
struct Region;
void clip_window_dc(HDC hdc, const Region& client_area);
// Fills a rectangle of a surface, clipped to the surface.
void fill_surface(const Surface& surface, RECT rect, uint32_t pixel);
// Draws Latin-1 text with a font object at (x, y) = top left of the character cell, clipped to
// `clip` (surface coordinates), glyphs only. Returns the advance width in pixels.
int draw_text_on_surface(const Surface& surface, const RECT& clip, HFONT font, int x, int y,
                         const char* text, int count, uint32_t pixel);
// Width of text in a font, and the font's cell height (ascent + descent).
int text_width(HFONT font, const char* text, int count);
int font_height(HFONT font);
// The colour of a solid brush; false for a hollow brush or anything that is not a brush.
bool brush_pixel(HBRUSH brush, uint32_t* pixel);

// ---------------------------------------------------------------------------------------------
// Menus (menu/*.cpp), used by windows and input

// Draws the menu bar of a window into its surface's top rows (no-op for a window without one).
void draw_menu_bar(HWND hwnd);
// Raw input while a menu may be open: mouse input as it arrives, key input as it is routed.
// Returns true when the menu took it.
bool menu_handle_input(HWND hwnd, const host::InputEvent& event);
// DefWindowProcA's handling of key messages: a lone Alt or F10, pressed and released, enters
// the menu bar; WM_SYSCHAR (Alt+character) opens the bar item with that mnemonic. Either runs
// the menu's own message loop until the menu closes.
void menu_default_key(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// DefWindowProcA's handling of a left press on the menu bar (WM_NCLBUTTONDOWN, HTMENU) at a
// point of the window: opens the bar item there and runs the menu's loop until it closes.
void menu_bar_press(HWND hwnd, int x, int y);
// Composes the open popup, if any, over a copy of the window's pixels for presenting.
// Returns false when no popup is open on this window (present the surface as it is).
bool menu_compose_overlay(HWND hwnd, const Surface& window_pixels, Surface* out);
// True for a live menu handle (menu bar or popup).
bool menu_exists(HMENU menu);
// The window is being destroyed: close any menu open on it.
void menu_window_destroyed(HWND hwnd);

}  // namespace plat
