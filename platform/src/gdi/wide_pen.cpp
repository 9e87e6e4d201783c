// Lines of a pen wider than one pixel, as GDI builds them: the union of one piece per segment
// and a round pen tip at every point (round joins between segments, round caps at the ends of
// an open line). A horizontal or vertical segment is a box pen-width across, from its first
// point up to (not including) its last; any other segment is a four-cornered polygon whose
// corners sit half the pen's width to either side of the two points, each half across each axis
// rounded to whole pixels, one side taking the extra half pixel of an odd rounding. The tip is
// GDI's ellipse of a box pen-width square whose top left corner is width / 2 up and left of the
// point. Pixels are written once per piece for a few points, or gathered row by row and merged
// for a long chain (an ellipse's ring).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "gdi/raster.h"

namespace plat::gdi {

namespace {

// The pieces' spans: filled at once for a few points (overlaps are painted twice, in the same
// colour), or gathered per row and merged for a long chain, whose tips overlap many times over.
struct Coverage {
  int64_t top = 0;  // clip rows top..top + rows.size() - 1
  std::vector<std::vector<std::pair<int64_t, int64_t>>> rows;
  Canvas* direct = nullptr;
  uint32_t pixel = 0;

  void add(int64_t y, int64_t x0, int64_t x1) {
    if (y < top || y >= top + int64_t(rows.size()) || x0 >= x1) return;
    if (direct)
      fill_span(*direct, y, x0, x1 - 1, pixel);
    else
      rows[size_t(y - top)].emplace_back(x0, x1);
  }
  void fill(Canvas& c) {
    for (size_t i = 0; i < rows.size(); ++i) {
      auto& spans = rows[i];
      std::sort(spans.begin(), spans.end());
      int64_t start = 0, end = 0;
      bool open = false;
      for (const auto& [x0, x1] : spans) {
        if (open && x0 <= end) {
          end = std::max(end, x1);
          continue;
        }
        if (open) fill_span(c, top + int64_t(i), start, end - 1, pixel);
        start = x0;
        end = x1;
        open = true;
      }
      if (open) fill_span(c, top + int64_t(i), start, end - 1, pixel);
    }
  }
};

// A whole number by GDI's rounding of a non-negative half width: halves go up.
int64_t rounded(double v) {
  return std::llround(v);
}

// Pens wider than this (thousands of pixels) get a round tip solved row by row instead of GDI's
// walk, which would take as many steps as the pen is wide at every point.
constexpr int WALKED_TIP_LIMIT = 4096;

void add_tip(Coverage& cov, const std::vector<int64_t>& insets, int width, Point64 p) {
  const int64_t left = p.x - width / 2, top = p.y - width / 2;
  const int64_t first = std::max<int64_t>(0, cov.top - top);
  const int64_t last = std::min<int64_t>(width, cov.top + int64_t(cov.rows.size()) - top);
  if (width > WALKED_TIP_LIMIT) {
    const double centre = double(width - 1) / 2, r = double(width) / 2;
    for (int64_t i = first; i < last; ++i) {
      const double d = double(i) - centre, half = std::sqrt(std::max(0.0, r * r - d * d));
      cov.add(top + i, left + int64_t(std::ceil(centre - half)),
              left + int64_t(std::floor(centre + half)) + 1);
    }
    return;
  }
  for (int64_t i = first; i < last; ++i)
    cov.add(top + i, left + insets[size_t(i)], left + width - insets[size_t(i)]);
}

void add_segment(Coverage& cov, int width, Point64 a, Point64 b) {
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  if (dx == 0 && dy == 0) return;
  const int64_t y_last = cov.top + int64_t(cov.rows.size()) - 1;
  if (dy == 0) {
    const int64_t top = a.y - width / 2;
    for (int64_t y = std::max(top, cov.top); y < std::min(top + width, y_last + 1); ++y)
      cov.add(y, std::min(a.x, b.x), std::max(a.x, b.x));
    return;
  }
  if (dx == 0) {
    const int64_t left = a.x - width / 2;
    for (int64_t y = std::max(std::min(a.y, b.y), cov.top);
         y < std::min(std::max(a.y, b.y), y_last + 1); ++y)
      cov.add(y, left, left + width);
    return;
  }
  const double length = std::hypot(double(dx), double(dy));
  const double across_x = width * double(std::abs(dy)) / length;
  const double across_y = width * double(std::abs(dx)) / length;
  Point64 narrow{rounded(across_x / 2), rounded(across_y / 2)};
  Point64 wide{rounded((across_x + 1) / 2), rounded((across_y + 1) / 2)};
  if (dx < 0) {
    narrow.y = -narrow.y;
    wide.y = -wide.y;
  }
  if (dy < 0) {
    std::swap(narrow, wide);
    narrow.x = -narrow.x;
    wide.x = -wide.x;
  }
  const Point64 corners[4] = {{a.x - narrow.x, a.y + narrow.y},
                              {a.x + wide.x, a.y - wide.y},
                              {b.x + wide.x, b.y - wide.y},
                              {b.x - narrow.x, b.y + narrow.y}};
  polygon_spans(corners, 4, cov.top, y_last,
                [&](int64_t y, int64_t x0, int64_t x1) { cov.add(y, x0, x1); });
}

}  // namespace

void wide_polyline(Canvas& c, const Point64* points, size_t count, bool closed, const Pen& pen) {
  if (count == 0 || c.clip.top >= c.clip.bottom) return;
  const int width = pen.width;
  // A cache outside the context, kept for the last pen width (a reset changes no width's tip).
  // Drawing runs on one thread.
  static std::vector<int64_t> tip_cache;
  static int tip_cache_width = -1;
  if (tip_cache_width != width) {
    if (width > WALKED_TIP_LIMIT)
      tip_cache.clear();
    else if (width >= 2)
      ellipse_insets(width, width, &tip_cache);
    else
      tip_cache.assign(size_t(std::max(width, 0)), 0);
    tip_cache_width = width;
  }
  // Only the rows the pen can reach inside the clip box.
  int64_t y0 = points[0].y, y1 = points[0].y;
  for (size_t i = 1; i < count; ++i) {
    y0 = std::min(y0, points[i].y);
    y1 = std::max(y1, points[i].y);
  }
  y0 = std::max<int64_t>(y0 - width, c.clip.top);
  y1 = std::min<int64_t>(y1 + width, c.clip.bottom - 1);
  if (y0 > y1) return;
  constexpr size_t FEW_POINTS = 8;
  static Coverage cov;
  cov.top = y0;
  cov.rows.resize(size_t(y1 - y0 + 1));
  for (auto& row : cov.rows) row.clear();
  cov.direct = count <= FEW_POINTS ? &c : nullptr;
  cov.pixel = pen.pixel;
  for (size_t i = 0; i < count; ++i) {
    add_tip(cov, tip_cache, width, points[i]);
    if (i + 1 < count) add_segment(cov, width, points[i], points[i + 1]);
  }
  if (closed && count > 1) add_segment(cov, width, points[count - 1], points[0]);
  if (!cov.direct) cov.fill(c);
  cov.direct = nullptr;
}

}  // namespace plat::gdi
