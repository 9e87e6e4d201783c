/* The random shapes of the comparison and the calls that draw them. Coordinates mostly fall in and
 * around the bitmap, some far outside it; boxes come in either corner order, some empty or one
 * pixel; triangles include repeated and collinear points. */
#include "shapes.h"

#include <stdlib.h>
#include <string.h>

const char* const KIND_NAMES[KIND_COUNT] = {"rectangle", "ellipse", "polygon", "line"};
const char* const PENS_NAMES[PENS_COUNT] = {"thin", "wide"};

static uint64_t mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

typedef struct {
  uint64_t state;
} Rng;

static uint32_t next(Rng* rng) {
  rng->state += 0x9E3779B97F4A7C15ull;
  return (uint32_t)(mix(rng->state) >> 32);
}

/* lo..hi, both included. */
static int uniform(Rng* rng, int lo, int hi) {
  return lo + (int)(next(rng) % (uint32_t)(hi - lo + 1));
}

static int coordinate(Rng* rng, int extent) {
  const int u = uniform(rng, 0, 99);
  if (u < 85) return uniform(rng, -30, extent + 30);
  if (u < 95) return uniform(rng, -400, extent + 400);
  return uniform(rng, -5000, extent + 5000);
}

static int span(Rng* rng) {
  const int u = uniform(rng, 0, 99);
  const int length = u < 25   ? uniform(rng, 0, 3)
                     : u < 65 ? uniform(rng, 0, 60)
                              : uniform(rng, 0, 700);
  return uniform(rng, 0, 1) ? length : -length;
}

static COLORREF colour(Rng* rng) {
  COLORREF c = next(rng) & 0xFFFFFF;
  if (pixel_of(c) == BACKGROUND_PIXEL) c ^= 1;
  return c;
}

uint32_t pixel_of(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

static void random_box(Rng* rng, Shape* s) {
  s->p[0].x = coordinate(rng, BITMAP_WIDTH);
  s->p[0].y = coordinate(rng, BITMAP_HEIGHT);
  s->p[1].x = s->p[0].x + span(rng);
  s->p[1].y = s->p[0].y + span(rng);
}

/* The package's boxes: corners ordered, then its +1 on the right and bottom. */
static void package_box(Shape* s) {
  const LONG l = s->p[0].x < s->p[1].x ? s->p[0].x : s->p[1].x;
  const LONG r = s->p[0].x < s->p[1].x ? s->p[1].x : s->p[0].x;
  const LONG t = s->p[0].y < s->p[1].y ? s->p[0].y : s->p[1].y;
  const LONG b = s->p[0].y < s->p[1].y ? s->p[1].y : s->p[0].y;
  s->p[0].x = l;
  s->p[0].y = t;
  s->p[1].x = r + 1;
  s->p[1].y = b + 1;
}

static void random_triangle(Rng* rng, Shape* s) {
  const int u = uniform(rng, 0, 9);
  s->p[0].x = coordinate(rng, BITMAP_WIDTH);
  s->p[0].y = coordinate(rng, BITMAP_HEIGHT);
  if (u == 0) {
    /* Collinear: three points on one line through p[0]. */
    const int dx = uniform(rng, -9, 9), dy = uniform(rng, -9, 9);
    const int a = uniform(rng, -40, 40), b = uniform(rng, -40, 40);
    s->p[1].x = s->p[0].x + a * dx;
    s->p[1].y = s->p[0].y + a * dy;
    s->p[2].x = s->p[0].x + b * dx;
    s->p[2].y = s->p[0].y + b * dy;
    return;
  }
  for (int i = 1; i < 3; ++i) {
    s->p[i].x = s->p[0].x + span(rng);
    s->p[i].y = s->p[0].y + span(rng);
  }
  if (u == 1) s->p[2] = s->p[uniform(rng, 0, 1)]; /* a point repeated */
  if (u == 2) s->p[1] = s->p[2] = s->p[0];        /* all three the same */
}

static void random_line(Rng* rng, Shape* s) {
  random_box(rng, s);
  const int u = uniform(rng, 0, 9);
  const int d = s->p[1].x - s->p[0].x;
  if (u == 0) s->p[1].y = s->p[0].y;                                 /* horizontal */
  if (u == 1) s->p[1].x = s->p[0].x;                                 /* vertical */
  if (u == 2) s->p[1].y = s->p[0].y + (uniform(rng, 0, 1) ? d : -d); /* diagonal */
}

void shape_make(uint64_t seed, int kind, int pens, uint32_t index, Shape* s) {
  Rng rng = {mix(mix(seed) ^ ((uint64_t)(kind * PENS_COUNT + pens) << 40) ^ index)};
  memset(s, 0, sizeof *s);
  s->kind = kind;
  s->pens = pens;
  s->index = index;
  s->pen_width = pens == PENS_THIN ? uniform(&rng, 0, 1) : uniform(&rng, 2, 20);
  s->pen_colour = colour(&rng);
  s->brush_colour = colour(&rng);
  s->brush_null = uniform(&rng, 0, 2) == 0;
  const int u = uniform(&rng, 0, 9);
  s->call = u < 6 ? CALL_PLAIN : u < 9 ? CALL_PACKAGE : CALL_NULL_PEN;
  if (s->call == CALL_NULL_PEN && (pens != PENS_THIN || kind == KIND_LINE)) s->call = CALL_PLAIN;
  if (s->call == CALL_PACKAGE && kind == KIND_ELLIPSE && pens != PENS_THIN) s->call = CALL_PLAIN;
  if (kind == KIND_LINE) s->brush_null = 1; /* a line selects no brush */
  switch (kind) {
    case KIND_RECTANGLE:
    case KIND_ELLIPSE:
      random_box(&rng, s);
      break;
    case KIND_POLYGON:
      random_triangle(&rng, s);
      break;
    default:
      random_line(&rng, s);
      break;
  }
  if (s->call == CALL_NULL_PEN) {
    s->pen_null = 1;
    s->brush_null = 0;
  } else if (s->call == CALL_PACKAGE) {
    /* The package: a zero width fills in the outline's colour, other widths draw the outline
     * only; a circle is a box of 2r + 1 pixels (width 0); a line is at least one pixel wide. */
    if (kind == KIND_ELLIPSE) {
      const int r = uniform(&rng, 0, 1) ? uniform(&rng, 0, 12) : uniform(&rng, 0, 300);
      s->p[1].x = s->p[0].x + 2 * r;
      s->p[1].y = s->p[0].y + 2 * r;
      s->pen_width = 0;
    }
    if (kind == KIND_LINE) {
      if (s->pen_width == 0) s->pen_width = 1;
    } else {
      s->brush_null = s->pen_width != 0;
      s->brush_colour = s->pen_colour;
      if (kind != KIND_POLYGON) package_box(s);
    }
  }
}

void shape_draw(HDC dc, const Shape* s) {
  HGDIOBJ pen = s->pen_null ? GetStockObject(NULL_PEN)
                            : (HGDIOBJ)CreatePen(PS_SOLID, s->pen_width, s->pen_colour);
  HGDIOBJ brush = s->kind == KIND_LINE ? NULL
                  : s->brush_null      ? GetStockObject(NULL_BRUSH)
                                       : (HGDIOBJ)CreateSolidBrush(s->brush_colour);
  HGDIOBJ previous_pen = SelectObject(dc, pen);
  HGDIOBJ previous_brush = brush ? SelectObject(dc, brush) : NULL;
  switch (s->kind) {
    case KIND_RECTANGLE:
      Rectangle(dc, s->p[0].x, s->p[0].y, s->p[1].x, s->p[1].y);
      break;
    case KIND_ELLIPSE:
      Ellipse(dc, s->p[0].x, s->p[0].y, s->p[1].x, s->p[1].y);
      break;
    case KIND_POLYGON:
      Polygon(dc, s->p, 3);
      break;
    default:
      MoveToEx(dc, s->p[0].x, s->p[0].y, NULL);
      LineTo(dc, s->p[1].x, s->p[1].y);
      break;
  }
  SelectObject(dc, previous_pen);
  if (brush) SelectObject(dc, previous_brush);
  DeleteObject(pen); /* stock objects stay */
  if (brush) DeleteObject(brush);
}

static int clamp(long v, int lo, int hi) {
  return v < lo ? lo : v > hi ? hi : (int)v;
}

Region shape_region(const Shape* s) {
  const int count = s->kind == KIND_POLYGON ? 3 : 2;
  long x0 = s->p[0].x, x1 = x0, y0 = s->p[0].y, y1 = y0;
  for (int i = 1; i < count; ++i) {
    if (s->p[i].x < x0) x0 = s->p[i].x;
    if (s->p[i].x > x1) x1 = s->p[i].x;
    if (s->p[i].y < y0) y0 = s->p[i].y;
    if (s->p[i].y > y1) y1 = s->p[i].y;
  }
  /* Generous: a wide pen reaches half its width out, a mitred corner further. */
  const long margin = 3 + (s->pen_null ? 0 : 2L * s->pen_width);
  Region r = {clamp(x0 - margin, 0, BITMAP_WIDTH), clamp(y0 - margin, 0, BITMAP_HEIGHT),
              clamp(x1 + margin + 1, 0, BITMAP_WIDTH), clamp(y1 + margin + 1, 0, BITMAP_HEIGHT)};
  return r;
}

void shape_describe(const Shape* s, char* text, size_t size) {
  char pen[64], brush[48], call[128];
  if (s->pen_null)
    snprintf(pen, sizeof pen, "NULL_PEN");
  else
    snprintf(pen, sizeof pen, "CreatePen(PS_SOLID, %d, 0x%06lx)", s->pen_width,
             (unsigned long)s->pen_colour);
  if (s->kind == KIND_LINE)
    snprintf(brush, sizeof brush, "no brush");
  else if (s->brush_null)
    snprintf(brush, sizeof brush, "NULL_BRUSH");
  else
    snprintf(brush, sizeof brush, "CreateSolidBrush(0x%06lx)", (unsigned long)s->brush_colour);
  const long x0 = s->p[0].x, y0 = s->p[0].y, x1 = s->p[1].x, y1 = s->p[1].y;
  switch (s->kind) {
    case KIND_RECTANGLE:
    case KIND_ELLIPSE:
      snprintf(call, sizeof call, "%s(%ld, %ld, %ld, %ld)",
               s->kind == KIND_RECTANGLE ? "Rectangle" : "Ellipse", x0, y0, x1, y1);
      break;
    case KIND_POLYGON:
      snprintf(call, sizeof call, "Polygon({%ld, %ld}, {%ld, %ld}, {%ld, %ld})", x0, y0, x1, y1,
               (long)s->p[2].x, (long)s->p[2].y);
      break;
    default:
      snprintf(call, sizeof call, "MoveToEx(%ld, %ld), LineTo(%ld, %ld)", x0, y0, x1, y1);
      break;
  }
  static const char* const CALLS[] = {"", " (the package's sequence)", " (NULL_PEN fill)"};
  snprintf(text, size, "%s %s #%lu: %s, %s, %s%s", KIND_NAMES[s->kind], PENS_NAMES[s->pens],
           (unsigned long)s->index, pen, brush, call, CALLS[s->call]);
}

/* Wine 8's ellipse walk (dlls/win32u: the ellipse's outline points and its round-rect interior
 * region) stops when the walk reaches the middle column, which for a narrow or flat box comes
 * before it reaches the top row: the rest of the outline is missing and the interior rows never
 * reached are left uninitialised (or written past the end of the region), so Wine draws garbage
 * there. Windows draws such ellipses whole. This follows the same walk to tell those boxes. */
int wine_ellipse_unfinished(const Shape* s) {
  if (s->kind != KIND_ELLIPSE) return 0;
  const long long w = llabs((long long)s->p[1].x - s->p[0].x);
  const long long h = llabs((long long)s->p[1].y - s->p[0].y);
  if (w <= 2 || h <= 2) return 0; /* drawn as a rectangle */
  const long long a = w - 1, b = h - 1;
  long long inc_x = 4 * b * b * (1 - a), inc_y = 4 * a * a * (1 + b % 2);
  long long err = inc_x + inc_y + a * a * (b % 2), x = 0, y = h / 2;
  while (x <= w / 2) {
    const long long twice = 2 * err;
    if (twice >= inc_x) {
      ++x;
      inc_x += 8 * b * b;
      err += inc_x;
    }
    if (twice <= inc_y) {
      ++y;
      inc_y += 8 * a * a;
      err += inc_y;
    }
  }
  return y != b;
}

int write_runs(FILE* out, const Shape* s, const uint32_t* pixels, Region region, int stray) {
  static Run runs[BITMAP_WIDTH * BITMAP_HEIGHT];
  int count = 0;
  for (int y = region.y0; y < region.y1; ++y) {
    const uint32_t* row = pixels + (size_t)y * BITMAP_WIDTH;
    for (int x = region.x0; x < region.x1;) {
      const uint32_t p = row[x];
      int end = x + 1;
      while (end < region.x1 && row[end] == p) ++end;
      if (p != BACKGROUND_PIXEL) {
        Run run = {(int16_t)y, (int16_t)x, (int16_t)(end - x), 0, p};
        runs[count++] = run;
      }
      x = end;
    }
  }
  const RunHeader header = {s->index, s->kind, s->pens, count, stray};
  return fwrite(&header, sizeof header, 1, out) == 1 &&
         (count == 0 || fwrite(runs, sizeof(Run), (size_t)count, out) == (size_t)count);
}
