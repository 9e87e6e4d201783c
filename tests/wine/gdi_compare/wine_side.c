/* The Windows side of the comparison (mingw-w64, run under Wine): draws the seeded shapes one at
 * a time into a 32-bit DIB section and writes each shape's pixels to stdout as runs (shapes.h),
 * clearing them before the next shape.
 * Usage: gdi_compare_windows.exe SEED FIRST COUNT KIND_MASK PENS_MASK */
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

#include "shapes.h"

/* Pixels left outside the shape's region, counted and cleared: every shape should keep to it. */
static int outside_region(uint32_t* pixels, Region r) {
  int found = 0;
  for (int y = 0; y < BITMAP_HEIGHT; ++y) {
    uint32_t* row = pixels + (size_t)y * BITMAP_WIDTH;
    const int inside = y >= r.y0 && y < r.y1;
    for (int x = 0; x < BITMAP_WIDTH; ++x) {
      if (inside && x == r.x0) x = r.x1;
      if (x < BITMAP_WIDTH && row[x] != BACKGROUND_PIXEL) {
        ++found;
        row[x] = BACKGROUND_PIXEL;
      }
    }
  }
  return found;
}

int main(int argc, char** argv) {
  if (argc != 6) {
    fprintf(stderr, "usage: gdi_compare_windows.exe SEED FIRST COUNT KIND_MASK PENS_MASK\n");
    return 2;
  }
  const uint64_t seed = strtoull(argv[1], NULL, 10);
  const uint32_t first = (uint32_t)strtoul(argv[2], NULL, 10);
  const uint32_t count = (uint32_t)strtoul(argv[3], NULL, 10);
  const int kinds = atoi(argv[4]), pens = atoi(argv[5]);
  _setmode(_fileno(stdout), _O_BINARY);
  setvbuf(stdout, NULL, _IOFBF, 1 << 20);

  BITMAPINFO info;
  memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = BITMAP_WIDTH;
  info.bmiHeader.biHeight = -BITMAP_HEIGHT; /* top row first */
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = NULL;
  HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  HDC dc = CreateCompatibleDC(NULL);
  if (!bitmap || !bits || !dc || !SelectObject(dc, bitmap)) {
    fprintf(stderr, "gdi_compare_windows.exe: no DIB section\n");
    return 1;
  }
  uint32_t* pixels = (uint32_t*)bits;
  for (int i = 0; i < BITMAP_WIDTH * BITMAP_HEIGHT; ++i) pixels[i] = BACKGROUND_PIXEL;

  for (uint32_t i = first; i - first < count; ++i) {
    for (int kind = 0; kind < KIND_COUNT; ++kind) {
      for (int p = 0; p < PENS_COUNT; ++p) {
        if (!(kinds >> kind & 1) || !(pens >> p & 1)) continue;
        Shape shape;
        shape_make(seed, kind, p, i, &shape);
        shape_draw(dc, &shape);
        GdiFlush();
        const Region r = shape_region(&shape);
        const int stray = outside_region(pixels, r);
        if (!write_runs(stdout, &shape, pixels, r, stray)) return 1; /* the reader has gone */
        for (int y = r.y0; y < r.y1; ++y)
          for (int x = r.x0; x < r.x1; ++x) pixels[y * BITMAP_WIDTH + x] = BACKGROUND_PIXEL;
      }
    }
  }
  fflush(stdout);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return 0;
}
