// The raster layer under the GDI drawing calls: a surface seen in DC coordinates with its clip
// box, and the span generators for lines, wide strokes, ellipses and polygons. Every routine
// visits only rows and columns inside the clip box and computes in 64 bits (or in doubles
// relative to a shape's own points), so any int coordinate is safe and cheap.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gdi/gdi_state.h"

namespace plat::gdi {

struct Canvas {
  uint32_t* pixels = nullptr;
  int64_t stride = 0;
  int64_t origin_x = 0;  // surface position of DC point (0, 0)
  int64_t origin_y = 0;
  RECT clip{0, 0, 0, 0};  // in DC coordinates
  bool touched = false;   // some pixel was written
};

Canvas canvas_for(const Target& target);
// A canvas in surface coordinates limited to `clip` and the surface.
Canvas canvas_for_surface(const Surface& surface, const RECT& clip);

inline uint32_t* canvas_row(const Canvas& c, int64_t y) {
  return c.pixels + (y + c.origin_y) * c.stride + c.origin_x;
}

// A drawing call on a DC: the DC, where it draws and the canvas over it. begin_drawing is
// false for a bad handle or a DC whose window has gone; end_drawing has the window shown
// again when a pixel changed.
struct Drawing {
  DeviceContext* dc = nullptr;
  Target target;
  Canvas canvas;
};
bool begin_drawing(HDC hdc, Drawing* drawing);
void end_drawing(const Drawing& drawing);

// Runs draw(canvas) once over each rectangle the DC may draw in: once, over the clip box, for a
// DC clipped to one rectangle (nearly every call), and once per part, the canvas clipped to it,
// for a paint DC whose update area is several. The parts never overlap, so each pixel is
// written by one run only.
template <class Draw>
void draw_clipped(Drawing& d, Draw&& draw) {
  if (d.target.parts.empty()) {
    draw(d.canvas);
    return;
  }
  const RECT box = d.canvas.clip;
  for (const RECT& part : d.target.parts) {
    d.canvas.clip = rect_moved(part, -int64_t(d.target.origin_x), -int64_t(d.target.origin_y));
    draw(d.canvas);
  }
  d.canvas.clip = box;
}
// Whether DC point (x, y) lies where the DC may draw.
bool drawable(const Drawing& d, int64_t x, int64_t y);

// Columns x0..x1 (both included) of row y.
void fill_span(Canvas& c, int64_t y, int64_t x0, int64_t x1, uint32_t pixel);
// Columns left..right-1 of rows top..bottom-1.
void fill_box(Canvas& c, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel);

// A one-pixel line from (x0, y0) towards (x1, y1) by Bresenham's steps, the end point drawn only
// when asked.
void thin_line(Canvas& c, int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool include_end,
               uint32_t pixel);

// An ellipse by its centre and half-axes. The centre is given doubled so that a box of even
// size (centre between two pixels) stays exact.
struct EllipseShape {
  int64_t cx2 = 0;
  int64_t cy2 = 0;
  double a = 0;
  double b = 0;
};
// Columns covered in row y; false when the row misses the ellipse. Symmetric about the centre.
bool ellipse_row(const EllipseShape& e, int64_t y, int64_t* x0, int64_t* x1);
// Rows the ellipse may cover, before clipping.
void ellipse_rows(const EllipseShape& e, int64_t* y0, int64_t* y1);

// GDI's own ellipse (ellipse.cpp) in a box of at least 3 x 3 pixels and of a size the exact
// walk takes in its stride.
struct Point64 {
  int64_t x = 0;
  int64_t y = 0;
};
bool ellipse_traceable(const RECT& box);
// Row top + i of the interior covers columns left + insets[i] .. right - 1 - insets[i].
void ellipse_insets(int64_t width, int64_t height, std::vector<int64_t>* insets);
// The outline's pixels in order around the ellipse, a closed ring.
void ellipse_ring(const RECT& box, std::vector<Point64>* ring);
// The interior in the brush, then a pen of width 0 or 1 along the ring (NULL_PEN: no outline).
void traced_ellipse(Canvas& c, const RECT& box, const Pen& pen, const Brush& brush);

// A pen wider than one pixel along a chain of points (wide_pen.cpp), closed back to the first
// point or open with round ends.
void wide_polyline(Canvas& c, const Point64* points, size_t count, bool closed, const Pen& pen);

// The even-odd interior of a closed outline, sampled at pixel centres: a pixel is filled when
// its centre is inside, or on a left or top edge. polygon_spans gives it as spans of rows y0..y1
// (columns x0..x1 - 1); polygon_fill fills it.
namespace polygon_detail {

// Room for count items: on the stack for the few points shapes have, else on the heap.
template <class T>
struct SmallBuffer {
  static constexpr int SMALL = 8;
  T small[SMALL];
  std::vector<T> large;
  T* data = small;
  explicit SmallBuffer(int count) {
    if (count > SMALL) {
      large.resize(size_t(count));
      data = large.data();
    }
  }
  SmallBuffer(const SmallBuffer&) = delete;
  SmallBuffer& operator=(const SmallBuffer&) = delete;
  // In order: insertion for a handful, a library sort for more.
  void sort(int n) {
    if (n > SMALL) {
      std::sort(data, data + n);
      return;
    }
    for (int a = 1; a < n; ++a) {
      const T x = data[a];
      int b = a;
      for (; b > 0 && data[b - 1] > x; --b) data[b] = data[b - 1];
      data[b] = x;
    }
  }
};

// Within this many pixels of the origin, a crossing's ceiling follows exactly from integers: the
// quotient of products under 2^40 is a whole column or lies at least 1/rise from one, far more
// than the doubles' rounding, so stepping each edge by its whole and remainder parts lights the
// same pixels as the division, without one division a row.
constexpr int64_t EXACT_REACH = int64_t(1) << 19;

// An edge stepped down its rows: the ceiling of p.x + (y - p.y) * run / rise kept as a whole
// part and a remainder in (-rise, 0] over a positive rise.
struct SteppedEdge {
  int64_t top, end;  // rows top..end - 1
  int64_t column;    // ceiling of the crossing at the current row
  int64_t rem, rise, step_whole, step_rem;
  void start(const Point64& p, int64_t run, int64_t signed_rise, int64_t y) {
    rise = signed_rise < 0 ? -signed_rise : signed_rise;
    if (signed_rise < 0) run = -run;
    const int64_t num = (y - p.y) * run;
    int64_t whole = num / rise;
    if (num % rise > 0) ++whole;
    column = p.x + whole;
    rem = num - whole * rise;
    step_whole = run / rise;
    step_rem = run % rise;
    if (step_rem < 0) {
      --step_whole;
      step_rem += rise;
    }
  }
  void next() {
    column += step_whole;
    rem += step_rem;
    if (rem > 0) {
      ++column;
      rem -= rise;
    }
  }
};

template <class Sink>
void exact_spans(const Point64* points, int count, int64_t y0, int64_t y1, Sink&& span) {
  SmallBuffer<SteppedEdge> edge_buffer(count);
  SmallBuffer<int64_t> crossing_buffer(count);
  SteppedEdge* edges = edge_buffer.data;
  int64_t* crossings = crossing_buffer.data;
  int edge_count = 0;
  for (int i = 0; i < count; ++i) {
    const Point64& p = points[i];
    const Point64& q = points[i + 1 == count ? 0 : i + 1];
    if (p.y == q.y) continue;
    SteppedEdge& e = edges[edge_count];
    e.top = std::max(std::min(p.y, q.y), y0);
    e.end = std::min(std::max(p.y, q.y), y1 + 1);  // an edge owns its upper end
    if (e.top >= e.end) continue;
    e.start(p, q.x - p.x, q.y - p.y, e.top);
    ++edge_count;
  }
  for (int64_t y = y0; y <= y1; ++y) {
    int n = 0;
    for (int i = 0; i < edge_count; ++i) {
      SteppedEdge& e = edges[i];
      if (y < e.top || y >= e.end) continue;
      crossings[n++] = e.column;
      e.next();
    }
    if (n == 2) {  // a convex outline's row: the common case
      if (crossings[1] < crossings[0]) std::swap(crossings[0], crossings[1]);
    } else {
      crossing_buffer.sort(n);
    }
    for (int k = 0; k + 1 < n; k += 2) span(y, crossings[k], crossings[k + 1]);
  }
}

}  // namespace polygon_detail

template <class Sink>
void polygon_spans(const Point64* points, int count, int64_t y0, int64_t y1, Sink&& span) {
  if (count < 3) return;
  int64_t ymin = points[0].y, ymax = points[0].y;
  bool near = true;
  for (int i = 0; i < count; ++i) {
    ymin = std::min(ymin, points[i].y);
    ymax = std::max(ymax, points[i].y);
    near = near && std::abs(points[i].x) <= polygon_detail::EXACT_REACH &&
           std::abs(points[i].y) <= polygon_detail::EXACT_REACH;
  }
  y0 = std::max(y0, ymin);
  y1 = std::min(y1, ymax);
  if (y0 > y1) return;
  if (near) {
    polygon_detail::exact_spans(points, count, y0, y1, span);
    return;
  }
  // Far out, in doubles. Far beyond any surface, and far from overflowing when offset by a
  // coordinate.
  constexpr double FAR = double(int64_t(1) << 40);
  polygon_detail::SmallBuffer<double> crossing_buffer(count);
  double* crossings = crossing_buffer.data;
  for (int64_t y = y0; y <= y1; ++y) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
      const Point64& p = points[i];
      const Point64& q = points[i + 1 == count ? 0 : i + 1];
      if (p.y == q.y) continue;
      if (y < std::min(p.y, q.y) || y >= std::max(p.y, q.y))
        continue;  // an edge owns its upper end
      // Divided last, so that a crossing at a whole column is exactly that column.
      const double along = double(y - p.y) * double(q.x - p.x);
      crossings[n++] = double(p.x) + along / double(q.y - p.y);
    }
    crossing_buffer.sort(n);
    for (int k = 0; k + 1 < n; k += 2) {
      const double lo = std::clamp(std::ceil(crossings[k]), -FAR, FAR);
      const double hi = std::clamp(std::ceil(crossings[k + 1]), -FAR, FAR);
      span(y, int64_t(lo), int64_t(hi));
    }
  }
}
void polygon_fill(Canvas& c, const POINT* points, int count, uint32_t pixel);

}  // namespace plat::gdi
