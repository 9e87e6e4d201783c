// Span generators: every shape is turned into runs of whole rows that are clipped once and
// filled by fill_pixels (natively the C library's vectorised 32-bit fill). Lines step by
// Bresenham from the first point inside the clip box; strokes, ellipses and polygons are solved
// row by row over the clipped rows only.
#include "gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <vector>

namespace plat::gdi {

namespace {

__extension__ typedef __int128 wide_int;

constexpr double INT64_SAFE = 9.0e18;

// Pixels are 32 bits and so is wchar_t here: wmemset is the C library's memset for 32-bit
// values, about twice as fast on long spans as a plain store loop.
static_assert(sizeof(wchar_t) == sizeof(uint32_t));
constexpr int64_t SHORT_SPAN = 16;

// Clamps a double to a range that is known to fit int64 before converting.
int64_t clamp_to(double v, int64_t lo, int64_t hi) {
  if (!(v >= double(lo))) return lo;  // also catches NaN
  if (v >= double(hi)) return hi;
  return int64_t(v);
}

void put_pixel(Canvas& c, int64_t x, int64_t y, uint32_t pixel) {
  if (x < c.clip.left || x >= c.clip.right || y < c.clip.top || y >= c.clip.bottom) return;
  canvas_row(c, y)[x] = pixel;
  c.touched = true;
}

// Sets count pixels to one value: the C library's 32-bit fill natively; in WebAssembly, whose
// C library fills one word at a time, a short run by hand and the rest by doubling it with
// memcpy (one memory.copy each, as fast as the machine's own copy).
void fill_pixels(uint32_t* run, int64_t count, uint32_t pixel) {
  if (count < SHORT_SPAN) {
    std::fill_n(run, count, pixel);
    return;
  }
#ifdef __EMSCRIPTEN__
  std::fill_n(run, SHORT_SPAN, pixel);
  for (int64_t done = SHORT_SPAN; done < count;) {
    const int64_t part = std::min(done, count - done);
    std::memcpy(run + done, run, size_t(part) * sizeof(uint32_t));
    done += part;
  }
#else
  std::wmemset(reinterpret_cast<wchar_t*>(run), static_cast<wchar_t>(pixel), size_t(count));
#endif
}

}  // namespace

Canvas canvas_for(const Target& target) {
  Canvas c;
  c.pixels = target.surface.pixels;
  c.stride = target.surface.stride;
  c.origin_x = target.origin_x;
  c.origin_y = target.origin_y;
  c.clip = rect_moved(target.clip, -int64_t(target.origin_x), -int64_t(target.origin_y));
  if (!c.pixels) c.clip = RECT{0, 0, 0, 0};
  return c;
}

Canvas canvas_for_surface(const Surface& surface, const RECT& clip) {
  Canvas c;
  c.pixels = surface.pixels;
  c.stride = surface.stride;
  const RECT whole{0, 0, surface.width, surface.height};
  if (!c.pixels || !IntersectRect(&c.clip, &clip, &whole)) c.clip = RECT{0, 0, 0, 0};
  return c;
}

bool begin_drawing(HDC hdc, Drawing* drawing) {
  drawing->dc = dc_of(hdc);
  if (!drawing->dc || !dc_target(*drawing->dc, &drawing->target)) return false;
  drawing->canvas = canvas_for(drawing->target);
  return true;
}

bool drawable(const Drawing& d, int64_t x, int64_t y) {
  const RECT& c = d.canvas.clip;
  if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) return false;
  if (d.target.parts.empty()) return true;
  const int64_t sx = x + d.target.origin_x, sy = y + d.target.origin_y;
  return std::any_of(d.target.parts.begin(), d.target.parts.end(), [&](const RECT& p) {
    return sx >= p.left && sx < p.right && sy >= p.top && sy < p.bottom;
  });
}

void end_drawing(const Drawing& drawing) {
  if (drawing.canvas.touched) target_changed(drawing.target);
}

void fill_span(Canvas& c, int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
  if (y < c.clip.top || y >= c.clip.bottom) return;
  x0 = std::max<int64_t>(x0, c.clip.left);
  x1 = std::min<int64_t>(x1, c.clip.right - 1);
  if (x0 > x1) return;
  fill_pixels(canvas_row(c, y) + x0, x1 - x0 + 1, pixel);
  c.touched = true;
}

void fill_box(Canvas& c, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel) {
  const RECT box = rect_from(left, top, right, bottom);
  RECT part;
  if (!IntersectRect(&part, &box, &c.clip)) return;
  const int64_t x0 = part.left, y0 = part.top, x1 = part.right, y1 = part.bottom;
  // Whole rows of the surface lie end to end: one fill covers them all.
  if (x1 - x0 == c.stride) {
    fill_pixels(canvas_row(c, y0) + x0, (y1 - y0) * c.stride, pixel);
    c.touched = true;
    return;
  }
  // The first row filled, the others copied from it: one copy a row.
  uint32_t* first = canvas_row(c, y0) + x0;
  fill_pixels(first, x1 - x0, pixel);
  for (int64_t y = y0 + 1; y < y1; ++y)
    std::memcpy(canvas_row(c, y) + x0, first, size_t(x1 - x0) * sizeof(uint32_t));
  c.touched = true;
}

void thin_line(Canvas& c, int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool include_end,
               uint32_t pixel) {
  int64_t dx = x1 - x0, dy = y1 - y0;
  int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  int64_t steps = std::max(adx, ady);
  int64_t last = include_end ? steps : steps - 1;
  if (last < 0) return;
  if (steps == 0) {
    put_pixel(c, x0, y0, pixel);
    return;
  }
  // Walk the major axis; the minor coordinate after i steps is i * minor / major rounded to the
  // nearest. GDI breaks a tie away from the start for lines that run left and up, left and down
  // steeper than a diagonal, or right and up flatter than one, and towards the start for the
  // others. Only the steps whose major coordinate lies in the clip box are visited, starting
  // from a remainder computed directly in 128 bits.
  const bool away =
      (dx < 0 && dy < 0) || (dx <= 0 && dy > 0 && adx <= ady) || (dx >= 0 && dy < 0 && adx > ady);
  bool x_major = adx >= ady;
  int64_t major = x_major ? adx : ady, minor = x_major ? ady : adx;
  int64_t m0 = x_major ? x0 : y0, n0 = x_major ? y0 : x0;
  int64_t sm = x_major ? sx : sy, sn = x_major ? sy : sx;
  int64_t lo = x_major ? c.clip.left : c.clip.top,
          hi = (x_major ? c.clip.right : c.clip.bottom) - 1;
  int64_t i_lo = sm > 0 ? lo - m0 : m0 - hi;
  int64_t i_hi = sm > 0 ? hi - m0 : m0 - lo;
  int64_t i0 = std::max<int64_t>(0, i_lo), i1 = std::min(last, i_hi);
  if (i0 > i1) return;
  wide_int numerator = wide_int(2) * i0 * minor + major - (away ? 0 : 1);
  int64_t q = int64_t(numerator / (wide_int(2) * major));
  int64_t r = int64_t(numerator % (wide_int(2) * major));
  for (int64_t i = i0; i <= i1; ++i) {
    int64_t m = m0 + sm * i, n = n0 + sn * q;
    if (x_major)
      put_pixel(c, m, n, pixel);
    else
      put_pixel(c, n, m, pixel);
    r += 2 * minor;
    if (r >= 2 * major) {
      r -= 2 * major;
      ++q;
    }
  }
}

bool ellipse_row(const EllipseShape& e, int64_t y, int64_t* x0, int64_t* x1) {
  if (!(e.a > 0) || !(e.b > 0)) return false;
  double d = double(2 * y - e.cy2) / 2.0;
  double t = d / e.b, s = 1.0 - t * t;
  if (s < 0) return false;
  double half = std::min(e.a * std::sqrt(s), INT64_SAFE / 4);
  if ((e.cx2 & 1) == 0) {
    // Centre on a pixel: offsets -n..n.
    int64_t n = int64_t(std::floor(half));
    *x0 = e.cx2 / 2 - n;
    *x1 = e.cx2 / 2 + n;
  } else {
    // Centre between two pixels: offsets +-0.5, +-1.5, ...
    int64_t n = int64_t(std::floor(half + 0.5));
    if (n == 0) return false;
    int64_t m = (e.cx2 - 1) / 2;
    *x0 = m + 1 - n;
    *x1 = m + n;
  }
  return true;
}

void ellipse_rows(const EllipseShape& e, int64_t* y0, int64_t* y1) {
  double cy = double(e.cy2) / 2.0, b = std::min(e.b, INT64_SAFE / 4);
  *y0 = clamp_to(std::ceil(cy - b), INT64_MIN / 4, INT64_MAX / 4);
  *y1 = clamp_to(std::floor(cy + b), INT64_MIN / 4, INT64_MAX / 4);
}

void polygon_fill(Canvas& c, const POINT* points, int count, uint32_t pixel) {
  if (count < 3) return;
  polygon_detail::SmallBuffer<Point64> corner_buffer(count);
  Point64* corners = corner_buffer.data;
  for (int i = 0; i < count; ++i) corners[i] = {points[i].x, points[i].y};
  polygon_spans(corners, count, c.clip.top, c.clip.bottom - 1,
                [&](int64_t y, int64_t x0, int64_t x1) { fill_span(c, y, x0, x1 - 1, pixel); });
}

}  // namespace plat::gdi
