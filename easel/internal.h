// What the parts of the EASEL package share: the one global PackageState, the drawing command
// record, the Run menu's command ids, the fixed sizes, and every internal operation. Programs
// never include this header; they use easel/easel.h.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "easel/easel.h"
#include "platform/win32.h"

// Fixed sizes of the package.
constexpr int IMAGE_WIDTH = 601;  // graphics window's outer size and the off-screen image
constexpr int IMAGE_HEIGHT = 540;
constexpr UINT_PTR EASEL_TIMER_ID = 2;
constexpr UINT TIMER_PERIOD_MS = 100;
constexpr int LOG_CAPACITY = 25;
constexpr int FORMAT_BUFFER_SIZE = 1024;  // message and formatted-text buffers
constexpr int COLOUR_COUNT = 24;
constexpr int BACKGROUND_COLOUR = 1;           // white
constexpr int ILLEGAL_COLOUR_REPLACEMENT = 2;  // red
constexpr int MAX_TEXT_SIZE = 127;

// Event kind of the pending event while none has been made yet.
constexpr int32_t NO_EVENT = -1;

// Run menu command ids (the word parameter of WM_COMMAND).
constexpr UINT IDM_ANIMATE = 1;
constexpr UINT IDM_HALT = 2;
constexpr UINT IDM_ADVANCE = 3;
constexpr UINT IDM_LOGGING = 4;
constexpr UINT IDM_RECORD = 5;
constexpr UINT IDM_PLAYBACK = 6;
constexpr UINT IDM_PLAY_ONE = 7;
constexpr UINT IDM_QUIT = 8;
constexpr UINT IDM_INFO = 9;

// Kinds of DrawCommand. No kind has the value 4.
constexpr int32_t DRAW_TRIANGLE = 0;
constexpr int32_t DRAW_RECTANGLE = 1;
constexpr int32_t DRAW_CIRCLE = 2;
constexpr int32_t DRAW_LINE = 3;
constexpr int32_t DRAW_TEXT = 5;

// The package's one record. Flags hold only 0 or 1.
struct PackageState {
  uint8_t quit_requested = 0;  // EASEL_ANIM_QUIT was given; never cleared
  uint8_t running = 0;         // make a periodic event whenever nothing else is pending
  uint8_t step_pending = 0;    // one periodic event requested
  int32_t origin_x = 0;        // drawing origin in client pixels
  int32_t origin_y = 0;
  int32_t event_x = 0;  // the pending event
  int32_t event_y = 0;
  char event_key = 0;
  int32_t event_kind = 0;
  HWND graphics_window = nullptr;
  HWND text_window = nullptr;
  int32_t log_next = 0;    // ring slot of the next log line
  int32_t log_first = -1;  // ring slot of the oldest log line, -1 before the first
  HGLOBAL log_lines[LOG_CAPACITY] = {};
  uint8_t recording = 0;
  uint8_t play_one = 0;
  uint8_t playing = 0;
  int32_t timer_fired = 0;  // a tick came since the last periodic event was made
  FILE* script_file = nullptr;
  // Set while lines fail to reach the script file, so that a full disk is reported once and
  // not once per event; a line that is written again, or a file opened afresh, clears it.
  uint8_t script_write_failing = 0;
  int32_t periodic_count = 0;  // pending run while recording, repeats owed while playing
  int32_t ctrl_down = 0;
  int32_t dirty = 1;  // the off-screen image changed since it was last copied to the screen
  uint8_t logging_on = 1;
  HMENU run_menu = nullptr;
  HDC screen_dc = nullptr;
  HDC offscreen_dc = nullptr;
  HBITMAP offscreen_bitmap = nullptr;
};

extern PackageState package;

// One drawing operation, filled by a primitive and read by render_command. All coordinates are
// drawing coordinates. y2 is wide enough to carry the text block's handle of a DRAW_TEXT.
struct DrawCommand {
  int32_t kind = 0;
  int32_t colour = 0;
  int32_t width = 0;
  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  intptr_t y2 = 0;
  int32_t x3 = 0;
  int32_t y3 = 0;
};

// Integer helpers: no argument, however large, may overflow.
inline int32_t saturate(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}
// The absolute value of a negative argument (INT_MIN has none in 32 bits; it becomes INT_MAX).
inline int32_t magnitude(int32_t value) {
  return saturate(-static_cast<int64_t>(value));
}

// state.cpp
int show_text_window(int show);

// event_wait.cpp
// Handles at most one queued message and brings the screen up to date; true if it took one.
bool pump_one_message();
// Copies the whole off-screen image to the graphics window.
void copy_image_to_screen();
LRESULT CALLBACK graphics_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// run_menu.cpp: the graphics window's menu and keyboard commands.
void build_run_menu(HWND window);
void run_command(WPARAM id);
void run_key_down(WPARAM virtual_key);
void run_key_up(WPARAM virtual_key);

// colours.cpp
extern const COLORREF colour_table[COLOUR_COUNT];
extern const char* const colour_names[COLOUR_COUNT];
int check_colour(int colour);
// Device pixel of a drawing coordinate, with the origin in force now.
int device_x(int64_t x);
int device_y(int64_t y);

// shapes.cpp
int draw_circle(int colour, int x, int y, int radius);
int draw_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int draw_rectangle(int colour, int x1, int y1, int x2, int y2, int width);
int draw_line(int colour, int x1, int y1, int x2, int y2, int width);
void render_command(const DrawCommand& command);

// text.cpp
int draw_text(int colour, int x, int y, int size, const char* string);
void render_text(const DrawCommand& command);
int fill_image_white();

// log_window.cpp
// Formats into a FORMAT_BUFFER_SIZE buffer, cutting the text at FORMAT_BUFFER_SIZE - 1
// characters; returns the number of characters kept (a formatting error keeps none and returns
// its negative result).
int format_message(char* buffer, const char* format, va_list args)
    __attribute__((format(printf, 2, 0)));
void log_draw_line(char* text);
LRESULT CALLBACK text_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// usage.cpp: calls made out of order, said on standard error.
void usage_opened();
void usage_closing();
// Ends the program with status 1 when no wait could ever return here (before EASEL_open or
// after EASEL_close).
void usage_wait_begins();
// `call` is the public operation that draws; said once, and only before EASEL_open.
void usage_drawing(const char* call);
void usage_reset();

// runner_session.cpp: the session of easel-run in this program. Its hooks are all null unless
// EASEL_open attached a session.
struct RunnerHooks {
  void (*wait_begins)();                               // at the start of every event wait
  void (*event_returned)(int kind, bool from_script);  // the wait is about to return this kind
  void (*playback_ended)();            // a script read gave no event and the playback ended
  void (*closing)();                   // EASEL_close
  void (*log_line)(const char* text);  // EASEL_printf has put this line in the log
};
extern RunnerHooks runner_hooks;
// Attaches a session when the runner's settings are in the environment. The browser build has
// no runner (a page has no process environment) and is compiled with EASEL_NO_RUNNER.
void runner_session_attach();

// script.cpp
void script_write_event(int kind, int x, int y, int key);
int script_read_event();
void script_end_playback();
void script_close();
void script_start_recording();
void script_stop_recording();
void script_start_playback();
void script_stop_playback();
void script_play_one();
