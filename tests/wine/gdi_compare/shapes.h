/* Seeded random shapes drawn with the GDI calls the EASEL package makes, the same on every side:
 * this file and shapes.c build for Windows (mingw-w64, run under Wine) and natively against the
 * window system. Shape i of a kind and pen class depends only on the seed and i, so any shape can
 * be drawn again alone. Also the stream of pixel runs through which the Windows side reports what
 * it drew. */
#ifndef GDI_COMPARE_SHAPES_H
#define GDI_COMPARE_SHAPES_H

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/win32.h"
#endif
#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { BITMAP_WIDTH = 601, BITMAP_HEIGHT = 540 };
/* The bitmap's colour between shapes; no shape uses it. As a pixel: 0x00RRGGBB. */
enum { BACKGROUND_PIXEL = 0x00123456 };

enum { KIND_RECTANGLE, KIND_ELLIPSE, KIND_POLYGON, KIND_LINE, KIND_COUNT };
enum { PENS_THIN, PENS_WIDE, PENS_COUNT }; /* widths 0-1 (and NULL_PEN); widths 2-20 */

/* How the shape is asked for: plain GDI calls, the package's own sequence for its primitive, or
 * a NULL_PEN fill (the package's log window). */
enum { CALL_PLAIN, CALL_PACKAGE, CALL_NULL_PEN };

typedef struct {
  int kind, pens, call;
  uint32_t index;
  int pen_null, pen_width;
  COLORREF pen_colour;
  int brush_null;
  COLORREF brush_colour;
  POINT p[3]; /* box corners (p[0], p[1]); line from p[0] to p[1]; triangle p[0..2] */
} Shape;

/* The pixels a shape may change: columns x0..x1-1, rows y0..y1-1, within the bitmap. */
typedef struct {
  int x0, y0, x1, y1;
} Region;

extern const char* const KIND_NAMES[KIND_COUNT];
extern const char* const PENS_NAMES[PENS_COUNT];

void shape_make(uint64_t seed, int kind, int pens, uint32_t index, Shape* shape);
/* Selects the shape's pen and brush, draws it and deletes them, as the package does. */
void shape_draw(HDC dc, const Shape* shape);
Region shape_region(const Shape* shape);
/* One line naming the shape and the calls that draw it. */
void shape_describe(const Shape* shape, char* text, size_t size);
uint32_t pixel_of(COLORREF colour);

/* Whether Wine 8 is known to draw this shape wrong (see shapes.c). */
int wine_ellipse_unfinished(const Shape* shape);

/* Stream of one shape's pixels: a header, then the runs of non-background pixels of its region
 * row by row, each run y, x0, length and pixel. `stray` counts the pixels the shape changed
 * outside its region. */
typedef struct {
  uint32_t index;
  int32_t kind, pens, run_count, stray;
} RunHeader;
typedef struct {
  int16_t y, x0, length, spare;
  uint32_t pixel;
} Run;

/* Writes the runs of `pixels` (row stride BITMAP_WIDTH) inside the region; false on a write error.
 */
int write_runs(FILE* out, const Shape* shape, const uint32_t* pixels, Region region, int stray);

#ifdef __cplusplus
}
#endif

#endif
