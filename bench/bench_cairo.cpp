// The peer: the game's frame drawn with Cairo into an image of the same size, the way a program
// would that picked Cairo instead of EASEL. The scene and panel are the game's own code (built a
// second time with its EASEL calls renamed cairo_EASEL_*, see CMakeLists.txt), so the peer draws
// exactly the same shapes and texts in the same order: shapes aliased, text with cairo_show_text
// in a sans face at the same sizes, a font chosen per text call as the package does.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "bench_support.h"
#include "easel/easel.h"
#include "easel/easel_testing.h"
#include "platform/win32.h"
#include "support/drawing_point.h"

// The game's drawing, as compiled for the peer.
void cairo_draw_scene(int32_t sun_x, int32_t sun_y, int32_t moon_x, int32_t moon_y, int32_t season,
                      int32_t night);
void cairo_draw_panel();
void cairo_draw_snowmen(const SnowmanArray& snow_x, const SnowmanArray& snow_hop, int32_t snow_size,
                        int32_t snow_colour, int32_t snow_count);

namespace {

// The package's largest text size (easel.h) and the length at which it cuts formatted text.
constexpr int MAX_TEXT_SIZE = 127;
constexpr int FORMAT_BUFFER_SIZE = 1024;
constexpr double TWO_PI = 2 * std::numbers::pi;

cairo_t* peer = nullptr;

void set_colour(int colour) {
  const COLORREF c = static_cast<COLORREF>(easel_testing_colour(colour));
  cairo_set_source_rgb(peer, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

// Pixel centres of a drawing point, for paths that should run through whole pixels.
double centre_x(int x) {
  return client_x(x) + 0.5;
}
double centre_y(int y) {
  return client_y(y) + 0.5;
}

}  // namespace

// The game's objects call the peers under the names their C-linkage declarations in easel.h got.
extern "C" {

int cairo_EASEL_circle(int colour, int x, int y, int radius) {
  set_colour(colour);
  cairo_arc(peer, centre_x(x), centre_y(y), std::abs(double(radius)) + 0.5, 0, TWO_PI);
  cairo_fill(peer);
  return 1;
}

int cairo_EASEL_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
  set_colour(colour);
  cairo_move_to(peer, centre_x(x1), centre_y(y1));
  cairo_line_to(peer, centre_x(x2), centre_y(y2));
  cairo_line_to(peer, centre_x(x3), centre_y(y3));
  cairo_close_path(peer);
  // Filled triangles get their one-pixel outline too, as the package's pen draws it.
  if (width == 0) cairo_fill_preserve(peer);
  cairo_set_line_width(peer, width == 0 ? 1 : std::abs(width));
  cairo_stroke(peer);
  return 1;
}

int cairo_EASEL_rectangle(int colour, int x1, int y1, int x2, int y2, int width) {
  set_colour(colour);
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::max(y1, y2), bottom = std::min(y1, y2);
  if (width == 0) {
    cairo_rectangle(peer, client_x(left), client_y(top), right - left + 1, top - bottom + 1);
    cairo_fill(peer);
  } else {
    cairo_rectangle(peer, centre_x(left), centre_y(top), right - left, top - bottom);
    cairo_set_line_width(peer, std::abs(width));
    cairo_stroke(peer);
  }
  return 1;
}

int cairo_EASEL_line(int colour, int x1, int y1, int x2, int y2, int width) {
  set_colour(colour);
  const int pen = width == 0 ? 1 : std::abs(width);
  cairo_move_to(peer, centre_x(x1), centre_y(y1));
  cairo_line_to(peer, centre_x(x2), centre_y(y2));
  cairo_set_line_width(peer, pen);
  cairo_set_line_cap(peer, pen > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
  cairo_stroke(peer);
  return 1;
}

// Lines of text standing on (x, y), each one line height below the one before.
int cairo_EASEL_text(int colour, int x, int y, int size, const char* string) {
  set_colour(colour);
  cairo_select_font_face(peer, "sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(peer, std::abs(size) > MAX_TEXT_SIZE ? MAX_TEXT_SIZE : std::abs(size));
  cairo_font_extents_t extents;
  cairo_font_extents(peer, &extents);
  char line[FORMAT_BUFFER_SIZE];
  double baseline = client_y(y) - extents.descent;
  for (const char* start = string;; baseline += extents.height) {
    const char* end = std::strchr(start, '\n');
    const size_t count = end ? size_t(end - start) : std::strlen(start);
    const size_t kept = count < sizeof line ? count : sizeof line - 1;
    std::memcpy(line, start, kept);
    line[kept] = '\0';
    cairo_move_to(peer, client_x(x), baseline);
    cairo_show_text(peer, line);
    if (!end) break;
    start = end + 1;
  }
  return 1;
}

int cairo_EASEL_printf_at(int colour, int x, int y, int size, const char* format, ...) {
  char buffer[FORMAT_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  const int count = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  cairo_EASEL_text(colour, x, y, size, buffer);
  return count;
}

int cairo_EASEL_clear() {
  cairo_set_source_rgb(peer, 1, 1, 1);
  cairo_paint(peer);
  cairo_set_source_rgb(peer, 0, 0, 0);
  cairo_set_line_width(peer, 1);
  cairo_rectangle(peer, 0.5, 0.5, BENCH_IMAGE_WIDTH - 1, BENCH_IMAGE_HEIGHT - 1);
  cairo_stroke(peer);
  return 1;
}

// The peer has no log window: messages are formatted and dropped.
int cairo_EASEL_printf(const char* format, ...) {
  char buffer[FORMAT_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  const int count = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return count;
}

}  // extern "C"

namespace {

void BM_CairoGameFrame(benchmark::State& state) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, BENCH_IMAGE_WIDTH, BENCH_IMAGE_HEIGHT);
  peer = cairo_create(surface);
  cairo_set_antialias(peer, CAIRO_ANTIALIAS_NONE);
  const GameState game = bench_frame_state();
  for (auto _ : state) {
    cairo_draw_scene(game.sun_x, game.sun_y, game.moon_x, game.moon_y, game.season, game.night);
    cairo_draw_panel();
    cairo_draw_snowmen(game.snow_x, game.snow_hop, game.snow_size, game.snow_colour,
                       game.snow_count);
    cairo_surface_flush(surface);
  }
  cairo_destroy(peer);
  peer = nullptr;
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_CairoGameFrame)->Apply(bench_defaults);

}  // namespace
