// Test and tool control of the headless host: a virtual screen, a virtual clock that moves only
// when a wait has nothing to deliver, input scheduled at virtual times, framebuffers read back
// and written as PNG, failures on demand, and the window system's live-object counters.
// Windows are named by their title; a null title means the window that has the keyboard.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

// Brings the whole window system back to its start: destroys every window, class, timer, menu,
// DC, GDI object and memory block, empties the queues and the schedule, sets the clock to 0,
// restores the 1024 x 768 screen and clears every limit and failure setting. Also makes the
// headless host the one the window system runs on (unless another was opened already), so
// tests and tools call it first.
void headless_reset();

void headless_set_screen_size(int width, int height);

// Virtual clock in ms.
uint64_t headless_now();
void headless_advance(uint64_t ms);

// A wait that would move the clock past this limit fails loudly (0 = no limit).
void headless_set_time_limit(uint64_t ms);

// Called with a reason when a wait could never end or passes the time limit. The default
// prints the reason on stderr and aborts; it must not return normally.
void headless_set_failure_handler(void (*handler)(const char* reason));

// Scheduled input, delivered when the virtual clock reaches `at`.
// A left click (down and up) at a client-area point.
void headless_click(uint64_t at, const char* window, int client_x, int client_y);
// A key press and release producing character `ch` (Latin-1, 0 for none).
void headless_key(uint64_t at, const char* window, unsigned vk, int ch);
// A key press producing `ch`; the virtual key is taken from the character (letters, digits,
// Enter, Tab, Backspace, Esc, space; anything else as a key with no virtual-key code of its own).
void headless_type(uint64_t at, const char* window, int ch);
void headless_key_down(uint64_t at, const char* window, unsigned vk, int ch);
void headless_key_up(uint64_t at, const char* window, unsigned vk);
// Ctrl held around a letter key: Ctrl down, letter down (character letter - 'A' + 1), letter up,
// Ctrl up, all at `at`.
void headless_ctrl_key(uint64_t at, const char* window, char letter);
// Alt held around a letter key: Alt down, letter down (character the lower-case letter),
// letter up, Alt up, all at `at`.
void headless_alt_key(uint64_t at, const char* window, char letter);
// A character that arrives without a key press.
void headless_text(uint64_t at, const char* window, int ch);
// A left click in the menu bar at x (pixels from the window's left edge).
void headless_menu_click(uint64_t at, const char* window, int x);
// A left click anywhere in the window's outer area (menu bar and open popups included).
void headless_window_click(uint64_t at, const char* window, int x, int y);
void headless_close_request(uint64_t at, const char* window);
// Runs `action` on the program's thread when the clock reaches `at` (inside a poll or a wait).
void headless_at(uint64_t at, std::function<void()> action);
// Scheduled entries not yet delivered.
int headless_pending_input();

// Read-back. Pixels are 0x00RRGGBB.
HWND headless_find_window(const char* title);
// The window's pixels as last presented to the screen, whole outer area (menu bar included).
bool headless_window_pixels(const char* window, std::vector<uint32_t>* pixels, int* width,
                            int* height);
// One pixel of the client area as last presented; 0xFFFFFFFF where there is none.
uint32_t headless_client_pixel(const char* window, int client_x, int client_y);
// Whether the frame last presented to each window stays readable until the next present (the
// default). Off, it is readable only until the program changes the window's pixels again, which
// saves a full copy of every frame: for tools that read a frame right after it is presented.
void headless_keep_presented_frames(bool keep);
// Number of times the window has been presented.
int headless_present_count(const char* window);
// Called on the program's thread right after a window is presented, with its title; the frame is
// then readable with headless_window_pixels. An empty function removes the observer.
void headless_set_present_observer(std::function<void(const char* title)> observer);
uint32_t headless_bitmap_pixel(HBITMAP bitmap, int x, int y);
bool headless_bitmap_pixels(HBITMAP bitmap, std::vector<uint32_t>* pixels, int* width, int* height);
// Writes pixels as an RGB PNG; false (and nothing half-written left behind) on failure.
bool headless_write_png(const std::string& path, const std::vector<uint32_t>& pixels, int width,
                        int height);
bool headless_read_png(const std::string& path, std::vector<uint32_t>* pixels, int* width,
                       int* height);

// GlobalAlloc fails for `count` calls after the next `after` successful ones (count < 0: all).
void headless_fail_global_alloc(int after, int count);

// Live objects of the window system, so tests can prove that nothing leaks.
struct PlatformCounters {
  int gdi_objects;    // pens, brushes, fonts and bitmaps made and not deleted (stock ones not)
  int dcs;            // DCs got or created and not released or deleted
  int memory_blocks;  // GlobalAlloc blocks not freed
  int windows;
  int menus;
  int timers;
};
PlatformCounters headless_counters();
