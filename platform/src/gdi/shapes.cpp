// The GDI shape calls: Rectangle, Ellipse, Polygon, MoveToEx and LineTo, GetPixel, and the
// plain rectangle fill that USER uses for erasing.
//
// Pen geometry. A 0- or 1-pixel pen covers the outermost pixels of a box, or a line's pixels by
// Bresenham, each line stopping before its end point. A wider pen is GDI's wide line
// (wide_pen.cpp) along the same outline: centred on it, the pixel an even width cannot centre
// going up and to the left. Ellipses take GDI's integer walk (ellipse.cpp) up to a box of 32,768
// pixels a side and are solved row by row beyond it. A box with no columns or no rows draws
// nothing.
#include <algorithm>
#include <vector>

#include "gdi/raster.h"

namespace plat::gdi {

namespace {

// GDI takes the corners in either order.
RECT normalised(int left, int top, int right, int bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
              std::max(top, bottom)};
}

double stroke_radius(const Pen& pen) {
  return double(pen.width) / 2.0;
}
void rectangle_spans(Canvas& c, const RECT& box, const Pen& pen, const Brush& brush) {
  if (rect_empty(box)) return;
  if (pen.null) {
    if (!brush.hollow) fill_box(c, box.left, box.top, box.right - 1, box.bottom - 1, brush.pixel);
    return;
  }
  // A thin outline round a single pixel is a closed chain of lines from that pixel to itself,
  // and so draws nothing; nor is there an inside to fill.
  if (pen.width <= 1 && int64_t(box.right) - box.left == 1 && int64_t(box.bottom) - box.top == 1)
    return;
  // Filled in the colour of a thin outline: the whole box is one fill.
  if (!brush.hollow && pen.width <= 1 && brush.pixel == pen.pixel) {
    fill_box(c, box.left, box.top, box.right, box.bottom, brush.pixel);
    return;
  }
  int64_t l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
  if (pen.width <= 1) {
    if (!brush.hollow)
      fill_box(c, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, brush.pixel);
    fill_span(c, t, l, r, pen.pixel);
    fill_span(c, b, l, r, pen.pixel);
    for (int64_t y = std::max<int64_t>(t + 1, c.clip.top);
         y <= std::min<int64_t>(b - 1, c.clip.bottom - 1); ++y) {
      fill_span(c, y, l, l, pen.pixel);
      fill_span(c, y, r, r, pen.pixel);
    }
    return;
  }
  // A wide pen runs round the outermost pixels, its inner part over the brush.
  if (!brush.hollow) fill_box(c, box.left, box.top, box.right - 1, box.bottom - 1, brush.pixel);
  const Point64 corners[4] = {{r, t}, {l, t}, {l, b}, {r, b}};
  wide_polyline(c, corners, 4, true, pen);
}

EllipseShape ellipse_in(const RECT& box) {
  EllipseShape e;
  e.cx2 = int64_t(box.left) + box.right - 1;
  e.cy2 = int64_t(box.top) + box.bottom - 1;
  e.a = double(int64_t(box.right) - box.left) / 2.0;
  e.b = double(int64_t(box.bottom) - box.top) / 2.0;
  return e;
}

struct RowSpan {
  bool hit = false;
  int64_t x0 = 0;
  int64_t x1 = 0;
};

RowSpan row_span(const EllipseShape& e, int64_t y) {
  RowSpan s;
  s.hit = ellipse_row(e, y, &s.x0, &s.x1);
  return s;
}

// Row y of a thin ellipse, given the rows above and below it.
void thin_ellipse_row(Canvas& c, int64_t y, const RowSpan& above, const RowSpan& here,
                      const RowSpan& below, const Pen& pen, const Brush& brush) {
  if (!here.hit) return;
  const int64_t s0 = here.x0, s1 = here.x1;
  int64_t i0 = s0 + 1, i1 = s1 - 1;
  if (above.hit && below.hit) {
    i0 = std::max({i0, above.x0, below.x0});
    i1 = std::min({i1, above.x1, below.x1});
  } else {
    i1 = i0 - 1;
  }
  if (i0 > i1) {
    fill_span(c, y, s0, s1, pen.pixel);
    return;
  }
  fill_span(c, y, s0, i0 - 1, pen.pixel);
  fill_span(c, y, i1 + 1, s1, pen.pixel);
  if (!brush.hollow) fill_span(c, y, i0, i1, brush.pixel);
}

// Outline = the ellipse's pixels that have a 4-neighbour outside it; the rest is interior.
// Without a pen the brush fills all of it. Each row is solved once and kept while it is a
// neighbour of the rows drawn next.
void thin_ellipse(Canvas& c, const EllipseShape& e, const Pen& pen, const Brush& brush) {
  int64_t y0, y1;
  ellipse_rows(e, &y0, &y1);
  y0 = std::max<int64_t>(y0, c.clip.top);
  y1 = std::min<int64_t>(y1, c.clip.bottom - 1);
  if (y0 > y1) return;
  // Without a pen, or filled in the pen's own colour, each row is a single span; rows mirrored
  // about the centre (y and cy2 - y) have the same span, solved once for both.
  if (pen.null || (!brush.hollow && brush.pixel == pen.pixel)) {
    const uint32_t pixel = pen.null ? brush.pixel : pen.pixel;
    for (int64_t y = y0; y <= y1; ++y) {
      const int64_t mirror = e.cy2 - y;
      if (mirror >= y0 && mirror < y) continue;  // drawn with its mirror
      const RowSpan here = row_span(e, y);
      if (!here.hit) continue;
      fill_span(c, y, here.x0, here.x1, pixel);
      if (mirror > y && mirror <= y1) fill_span(c, mirror, here.x0, here.x1, pixel);
    }
    return;
  }
  RowSpan above = row_span(e, y0 - 1), here = row_span(e, y0);
  for (int64_t y = y0; y <= y1; ++y) {
    const RowSpan below = row_span(e, y + 1);
    thin_ellipse_row(c, y, above, here, below, pen, brush);
    above = here;
    here = below;
  }
}

// A wide pen: the ring between two ellipses half the pen width outside and inside the line
// through the outermost pixels; the brush fills what lies within the inner one.
void wide_ellipse(Canvas& c, const EllipseShape& e, const Pen& pen, const Brush& brush) {
  double radius = stroke_radius(pen);
  EllipseShape outer = e, inner = e;
  outer.a = e.a - 0.5 + radius;
  outer.b = e.b - 0.5 + radius;
  inner.a = e.a - 0.5 - radius;
  inner.b = e.b - 0.5 - radius;
  int64_t y0, y1;
  ellipse_rows(outer, &y0, &y1);
  y0 = std::max<int64_t>(y0, c.clip.top);
  y1 = std::min<int64_t>(y1, c.clip.bottom - 1);
  for (int64_t y = y0; y <= y1; ++y) {
    int64_t o0, o1, i0, i1;
    if (!ellipse_row(outer, y, &o0, &o1)) continue;
    if (!ellipse_row(inner, y, &i0, &i1)) {
      fill_span(c, y, o0, o1, pen.pixel);
      continue;
    }
    fill_span(c, y, o0, i0 - 1, pen.pixel);
    fill_span(c, y, i1 + 1, o1, pen.pixel);
    if (!brush.hollow) fill_span(c, y, i0, i1, brush.pixel);
  }
}

void stroke_segment(Canvas& c, const Pen& pen, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  if (pen.width <= 1) {
    thin_line(c, x0, y0, x1, y1, false, pen.pixel);
    return;
  }
  const Point64 ends[2] = {{x0, y0}, {x1, y1}};
  wide_polyline(c, ends, 2, false, pen);
}

}  // namespace

}  // namespace plat::gdi

namespace plat {

void fill_surface(const Surface& surface, RECT rect, uint32_t pixel) {
  gdi::Canvas c = gdi::canvas_for_surface(surface, rect);
  gdi::fill_box(c, rect.left, rect.top, rect.right, rect.bottom, pixel);
}

}  // namespace plat

using namespace plat;
using namespace plat::gdi;

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  Drawing d;
  if (!begin_drawing(hdc, &d)) return FALSE;
  const RECT box = normalised(left, top, right, bottom);
  draw_clipped(d, [&](Canvas& c) { rectangle_spans(c, box, dc_pen(*d.dc), dc_brush(*d.dc)); });
  end_drawing(d);
  return TRUE;
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  Drawing d;
  if (!begin_drawing(hdc, &d)) return FALSE;
  const RECT box = normalised(left, top, right, bottom);
  const Pen& pen = dc_pen(*d.dc);
  const Brush& brush = dc_brush(*d.dc);
  const int64_t width = int64_t(box.right) - box.left, height = int64_t(box.bottom) - box.top;
  draw_clipped(d, [&](Canvas& c) {
    if (rect_empty(box)) {
      // Nothing to draw.
    } else if (width <= 2 || height <= 2) {
      // Too thin to curve: GDI draws the box.
      rectangle_spans(c, box, pen, brush);
    } else if (ellipse_traceable(box)) {
      traced_ellipse(c, box, pen, brush);
    } else if (pen.null) {
      if (!brush.hollow) thin_ellipse(c, ellipse_in(box), pen, brush);
    } else if (pen.width <= 1) {
      thin_ellipse(c, ellipse_in(box), pen, brush);
    } else {
      wide_ellipse(c, ellipse_in(box), pen, brush);
    }
  });
  end_drawing(d);
  return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* points, int count) {
  if (!points || count <= 0) return FALSE;
  Drawing d;
  if (!begin_drawing(hdc, &d)) return FALSE;
  const Pen& pen = dc_pen(*d.dc);
  const Brush& brush = dc_brush(*d.dc);
  std::vector<Point64> corners;
  if (!pen.null && pen.width > 1) {
    corners.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) corners[size_t(i)] = {points[i].x, points[i].y};
  }
  draw_clipped(d, [&](Canvas& c) {
    if (!brush.hollow) polygon_fill(c, points, count, brush.pixel);
    if (!pen.null && pen.width <= 1) {
      for (int i = 0; i < count; ++i) {
        const POINT& p = points[i];
        const POINT& q = points[(i + 1) % count];
        thin_line(c, p.x, p.y, q.x, q.y, false, pen.pixel);
      }
    } else if (!pen.null) {
      wide_polyline(c, corners.data(), corners.size(), true, pen);
    }
  });
  end_drawing(d);
  return TRUE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, POINT* previous) {
  DeviceContext* dc = dc_of(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = POINT{dc->pos_x, dc->pos_y};
  dc->pos_x = x;
  dc->pos_y = y;
  return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  Drawing d;
  if (!begin_drawing(hdc, &d)) return FALSE;
  const Pen& pen = dc_pen(*d.dc);
  // A one-pixel line leaves its end point for the next line to draw; a wide one is capped.
  if (!pen.null)
    draw_clipped(d, [&](Canvas& c) { stroke_segment(c, pen, d.dc->pos_x, d.dc->pos_y, x, y); });
  d.dc->pos_x = x;
  d.dc->pos_y = y;
  end_drawing(d);
  return TRUE;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  constexpr COLORREF CLR_INVALID_VALUE = 0xFFFFFFFF;
  Drawing d;
  if (!begin_drawing(hdc, &d)) return CLR_INVALID_VALUE;
  if (!drawable(d, x, y)) return CLR_INVALID_VALUE;
  return colorref_from_pixel(canvas_row(d.canvas, y)[x]);
}
