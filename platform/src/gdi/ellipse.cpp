// GDI's ellipse, pixel for pixel. Its pixels come from an integer error walk along one quarter
// of the curve (Alois Zingl's ellipse stepping, over the box's outermost pixel centres, a = width
// - 1 and b = height - 1 apart): each step moves one pixel inwards, one row outwards or both, by
// the sign of the doubled error against the two running increments. The same walk gives the
// interior, one span per row (a row's span shrinks by the columns walked before the walk reaches
// that row), and the outline, a closed ring of pixels mirrored from the quarter, which the pen
// then strokes as a closed chain of lines. Boxes beyond TRACE_LIMIT pixels a side are left to
// the analytic ellipse in shapes.cpp: the walk would cost as many steps as the box is wide.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gdi/raster.h"

namespace plat::gdi {

namespace {

__extension__ typedef __int128 wide_int;

constexpr int64_t TRACE_LIMIT = 1 << 15;

struct QuarterWalk {
  wide_int step_a, step_b;  // the increments' growth per row and per column
  wide_int inc_x, inc_y, err;
  bool moved_x = false, moved_y = false;

  QuarterWalk(int64_t width, int64_t height) {
    const wide_int a = width - 1, b = height - 1, odd = b % 2;
    step_a = 8 * a * a;
    step_b = 8 * b * b;
    inc_x = 4 * b * b * (1 - a);
    inc_y = 4 * a * a * (1 + odd);
    err = inc_x + inc_y + a * a * odd;
  }
  void next() {
    const wide_int twice = 2 * err;
    moved_x = twice >= inc_x;
    moved_y = twice <= inc_y;
    if (moved_x) err += inc_x += step_b;
    if (moved_y) err += inc_y += step_a;
  }
};

}  // namespace

bool ellipse_traceable(const RECT& box) {
  const int64_t w = int64_t(box.right) - box.left, h = int64_t(box.bottom) - box.top;
  return w >= 3 && h >= 3 && w <= TRACE_LIMIT && h <= TRACE_LIMIT;
}

namespace {

// The walk of the interior, from the middle row outwards and from the side inwards, until it
// passes the middle column; returns the last row reached (counted from the top row of the lower
// half's mirror, height - 1 being the box's last row).
int64_t interior_walk(int64_t width, int64_t height, std::vector<int64_t>* insets) {
  QuarterWalk walk(width, height);
  int64_t x = 0, y = height / 2;
  while (x <= width / 2) {
    walk.next();
    x += walk.moved_x;
    if (walk.moved_y && ++y < height && insets) (*insets)[size_t(y)] = x;
  }
  return std::min(y, height - 1);
}

}  // namespace

void ellipse_insets(int64_t width, int64_t height, std::vector<int64_t>* insets) {
  insets->assign(size_t(height), 0);
  // A box much taller than wide reaches its middle column before its last row: the rows left
  // keep to the middle (one column, two for an even width).
  for (int64_t y = interior_walk(width, height, insets) + 1; y < height; ++y)
    (*insets)[size_t(y)] = (width - 1) / 2;
  // The upper half mirrors the lower one.
  for (int64_t i = 0; i < height / 2; ++i) (*insets)[size_t(i)] = (*insets)[size_t(height - 1 - i)];
}

void ellipse_ring(const RECT& box, std::vector<Point64>* ring) {
  const int64_t l = box.left, t = box.top, r = box.right, b = box.bottom;
  const int64_t w = r - l, h = b - t;
  ring->clear();
  // The upper right quarter, from the middle of the right side towards the top.
  QuarterWalk walk(w, h);
  int64_t x = w - 1, y = h / 2;
  while (x >= w / 2) {
    ring->push_back({l + x, t + h - 1 - y});
    walk.next();
    x -= walk.moved_x;
    y = std::min(y + walk.moved_y, h - 1);
  }
  // Where the interior's walk too stops short of the top row (a box much taller than wide), the
  // ring goes on up its middle column to it.
  if (ring->back().y > t && interior_walk(w, h, nullptr) < h - 1)
    for (int64_t row = ring->back().y - 1; row >= t; --row) ring->push_back({ring->back().x, row});
  // Mirrored left to right, then top to bottom, each time continuing the ring backwards; an odd
  // side shares its middle pixel instead of repeating it.
  for (const auto& [size, across] : {std::pair{w, true}, std::pair{h, false}}) {
    const size_t n = ring->size();
    const size_t total = 2 * n - (size % 2 ? 1 : 0);
    ring->resize(total);
    for (size_t i = 0; i < n; ++i) {
      Point64 p = (*ring)[i];
      if (across)
        p.x = l + r - 1 - p.x;
      else
        p.y = t + b - 1 - p.y;
      (*ring)[total - 1 - i] = p;
    }
  }
}

namespace {

// The walk's results for one box size, relative to the box's top left corner. Programs draw the
// same few sizes over and over (a game's circles every frame), so the latest sizes are kept.
struct TracedShape {
  int64_t width = 0;
  int64_t height = 0;
  std::vector<int64_t> insets;
  std::vector<Point64> ring;
  bool ring_inside = false;  // every ring pixel lies in the interior, each next to the last
};
constexpr size_t CACHED_SHAPES = 64;
constexpr int64_t CACHED_SIDE = 2048;

const TracedShape& traced_shape(int64_t width, int64_t height) {
  // A cache outside the context: a traced shape depends on its size alone, so it stays true
  // across a reset. Drawing runs on one thread.
  static std::vector<TracedShape> shape_cache;
  static TracedShape scratch;
  for (const TracedShape& s : shape_cache)
    if (s.width == width && s.height == height) return s;
  const bool keep = width <= CACHED_SIDE && height <= CACHED_SIDE;
  if (keep && shape_cache.size() == CACHED_SHAPES) shape_cache.erase(shape_cache.begin());
  TracedShape& s = keep ? shape_cache.emplace_back() : scratch;
  s.width = width;
  s.height = height;
  ellipse_insets(width, height, &s.insets);
  ellipse_ring(RECT{0, 0, LONG(width), LONG(height)}, &s.ring);
  s.ring_inside = true;
  for (size_t i = 0; i < s.ring.size() && s.ring_inside; ++i) {
    const Point64 p = s.ring[i], q = s.ring[i + 1 == s.ring.size() ? 0 : i + 1];
    const int64_t inset = s.insets[size_t(p.y)];
    s.ring_inside =
        std::abs(q.x - p.x) <= 1 && std::abs(q.y - p.y) <= 1 && p.x >= inset && p.x < width - inset;
  }
  return s;
}

}  // namespace

void traced_ellipse(Canvas& c, const RECT& box, const Pen& pen, const Brush& brush) {
  const int64_t l = box.left, t = box.top, r = box.right, b = box.bottom;
  const TracedShape& shape = traced_shape(r - l, b - t);
  const std::vector<int64_t>& insets = shape.insets;
  if (!brush.hollow) {
    const int64_t y0 = std::max<int64_t>(t, c.clip.top), y1 = std::min<int64_t>(b, c.clip.bottom);
    for (int64_t y = y0; y < y1; ++y) {
      const int64_t inset = insets[size_t(y - t)];
      fill_span(c, y, l + inset, r - 1 - inset, brush.pixel);
    }
  }
  if (pen.null) return;
  const std::vector<Point64>& ring = shape.ring;
  if (pen.width > 1) {
    static std::vector<Point64> placed;  // one thread
    placed.resize(ring.size());
    for (size_t i = 0; i < ring.size(); ++i) placed[i] = {l + ring[i].x, t + ring[i].y};
    wide_polyline(c, placed.data(), placed.size(), true, pen);
    return;
  }
  // A thin outline over the interior: each link of the ring drawn up to its next pixel.
  // Neighbouring pixels, nearly every link, need no line, and where the brush has the pen's
  // colour a pixel inside the interior is there already.
  const bool same = !brush.hollow && brush.pixel == pen.pixel;
  if (same && shape.ring_inside) return;
  const size_t n = ring.size();
  for (size_t i = 0; i < n; ++i) {
    const Point64 p = ring[i], q = ring[i + 1 == n ? 0 : i + 1];
    if (p.x == q.x && p.y == q.y) continue;
    const int64_t x = l + p.x, y = t + p.y;
    if (std::abs(q.x - p.x) > 1 || std::abs(q.y - p.y) > 1) {
      thin_line(c, x, y, l + q.x, t + q.y, false, pen.pixel);
      continue;
    }
    if (same && p.x >= insets[size_t(p.y)] && p.x < shape.width - insets[size_t(p.y)]) continue;
    if (x < c.clip.left || x >= c.clip.right || y < c.clip.top || y >= c.clip.bottom) continue;
    canvas_row(c, y)[x] = pen.pixel;
    c.touched = true;
  }
}

}  // namespace plat::gdi
