/* EASEL: a small graphics package. A program opens it once, then pulls events one at a time
 * (mouse clicks, typed characters, periodic steps, quit) and draws circles, triangles,
 * rectangles, lines and text in a palette of 24 colours, in coordinates centred on the graphics
 * window with y pointing up. A Run menu and Ctrl keys run, halt or single-step the animation,
 * switch logging, record and play back the event stream ("EASEL.SCR") and quit.
 *
 * Bad arguments are never refused: they are corrected and reported in the log window.
 *
 * This header is the only one a program needs, from C (C99 on) or C++ (C++11 on). The full
 * reference is docs/API.md. */
#ifndef EASEL_EASEL_H
#define EASEL_EASEL_H

#include <stdint.h>

/* The few Win32 names that the entry point and EASEL_open take. The window system's own header
 * (platform/win32_types.h) defines them the same way under the same guard, so a file may include
 * both, in either order. On Windows they are <windows.h>'s own, declared as it declares them, so
 * that <windows.h> may come before or after this header. */
#if defined(_WIN32)
#ifndef _MINWINDEF_
#ifndef WINAPI
#define WINAPI __stdcall
#endif
struct HINSTANCE__;
typedef struct HINSTANCE__* HINSTANCE;
typedef char* LPSTR;
#endif
#elif !defined(EASEL_WIN32_ENTRY_TYPES)
#define EASEL_WIN32_ENTRY_TYPES
#define WINAPI
struct HINSTANCE__;
typedef struct HINSTANCE__* HINSTANCE;
typedef char* LPSTR;
#endif

/* EASEL_API marks the calls the library exports, and nothing else is exported. On Windows a
 * program takes them from easel.dll unless it defines EASEL_STATIC to link libeasel.a (the CMake
 * target EASEL::easel_static and `pkg-config --static` define it). */
#if defined(_WIN32)
#if defined(EASEL_BUILDING_DLL)
#define EASEL_API __declspec(dllexport)
#elif defined(EASEL_STATIC)
#define EASEL_API
#else
#define EASEL_API __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define EASEL_API __attribute__((visibility("default")))
#else
#define EASEL_API
#endif

/* printf-style checking of the formatted operations, where the compiler offers it. */
#if defined(__MINGW32__)
/* The library formats with MinGW's own C99 printf, not the system's. */
#define EASEL_PRINTF_FORMAT(format_index, first_argument) \
  __attribute__((format(gnu_printf, format_index, first_argument)))
#elif defined(__GNUC__) || defined(__clang__)
#define EASEL_PRINTF_FORMAT(format_index, first_argument) \
  __attribute__((format(printf, format_index, first_argument)))
#else
#define EASEL_PRINTF_FORMAT(format_index, first_argument)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Event kinds returned by EASEL_await_event. */
#define EASEL_MOUSE 1
#define EASEL_KBD 2
#define EASEL_PERIODIC 3
#define EASEL_QUIT 4

/* Run modes for EASEL_animate. */
#define EASEL_ANIM_HALT 0
#define EASEL_ANIM_STEP 1
#define EASEL_ANIM_RUN 2
#define EASEL_ANIM_QUIT 5

/* The program's entry, which the program defines and the library's main() calls with the
 * program's instance, no previous instance, its command line (the arguments joined by spaces)
 * and the default show code. A program may define main() instead and call
 * EASEL_open(NULL, NULL, NULL, 0) itself. */
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                   int show_command);

/* Opens the graphics window ("EASEL Graphics") and the log window ("EASEL Text"). Call once,
 * first, with the four arguments of WinMain. Returns 1. */
EASEL_API int EASEL_open(HINSTANCE instance, HINSTANCE previous_instance, LPSTR command_line,
                         int show_command);
/* Releases what must be released before the program ends. Returns 1. */
EASEL_API int EASEL_close(void);

/* Waits for the next event and returns its kind. A click delivers its position in drawing
 * coordinates through x and y; a keyboard event delivers the character through key. */
EASEL_API int EASEL_await_event(int32_t* x, int32_t* y, char* key);
/* Sets the run mode (EASEL_ANIM_*). Returns 0 before EASEL_open, else 1. */
EASEL_API int EASEL_animate(int mode);
/* Switches the description of drawing calls in the log on (non-zero) or off. Returns 0 before
 * EASEL_open, else 1. */
EASEL_API int EASEL_logging(int on);

/* Drawing; colour is 0..23, width 0 fills. Each returns 1. */
EASEL_API int EASEL_circle(int colour, int x, int y, int radius);
EASEL_API int EASEL_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width);
EASEL_API int EASEL_rectangle(int colour, int x1, int y1, int x2, int y2, int width);
EASEL_API int EASEL_line(int colour, int x1, int y1, int x2, int y2, int width);
/* Text standing on (x, y), size = character height in pixels (0..127); newlines break lines. */
EASEL_API int EASEL_text(int colour, int x, int y, int size, const char* string);
/* Formatted text; returns the character count of the formatting. */
EASEL_API int EASEL_printf_at(int colour, int x, int y, int size, const char* format, ...)
    EASEL_PRINTF_FORMAT(5, 6);
/* Fills the graphics image with white inside a one-pixel black frame. Returns 1. */
EASEL_API int EASEL_clear(void);

/* Appends one formatted line to the log window; returns the character count of the formatting. */
EASEL_API int EASEL_printf(const char* format, ...) EASEL_PRINTF_FORMAT(1, 2);

#ifdef __cplusplus
}
#endif

#endif
