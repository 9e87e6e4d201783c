// Block transfers: BitBlt (SRCCOPY) between any two DCs, clipped on both sides, and ScrollDC,
// which moves a DC's pixels within itself. Rows are copied with memmove, in the order that keeps
// an overlapping source intact; a whole window scrolled up moves where its pixels start instead.
#include <algorithm>
#include <cstring>

#include "gdi/raster.h"

namespace plat::gdi {

namespace {

struct Area {
  int64_t left, top, right, bottom;
  bool empty() const { return right <= left || bottom <= top; }
};

Area intersect(const Area& a, const Area& b) {
  return Area{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

Area shifted(const Area& a, int64_t dx, int64_t dy) {
  return Area{a.left + dx, a.top + dy, a.right + dx, a.bottom + dy};
}

Area clip_area(const Canvas& c) {
  return Area{c.left, c.top, c.right, c.bottom};
}

Area area_of(const RECT& r) {
  return Area{r.left, r.top, r.right, r.bottom};
}

// Copies `to` in `dst` from the same-sized area moved by (ox, oy) in `src`. Both areas lie
// inside their canvases' clip boxes.
void copy_block(Canvas& dst, const Canvas& src, const Area& to, int64_t ox, int64_t oy) {
  if (to.empty()) return;
  size_t bytes = size_t(to.right - to.left) * sizeof(uint32_t);
  // Whole rows on both sides lie end to end: the block is one run of memory on each side.
  if (to.right - to.left == dst.stride && dst.stride == src.stride) {
    std::memmove(canvas_row(dst, to.top) + to.left, canvas_row(src, to.top + oy) + to.left + ox,
                 bytes * size_t(to.bottom - to.top));
    dst.touched = true;
    return;
  }
  bool same = dst.pixels == src.pixels;
  bool upwards = same && &canvas_row(dst, to.top)[0] > &canvas_row(src, to.top + oy)[0];
  for (int64_t k = 0; k < to.bottom - to.top; ++k) {
    int64_t y = upwards ? to.bottom - 1 - k : to.top + k;
    std::memmove(canvas_row(dst, y) + to.left, canvas_row(src, y + oy) + to.left + ox, bytes);
  }
  dst.touched = true;
}

// Bounding box of `whole` minus `cover`.
Area bounding_difference(const Area& whole, const Area& cover) {
  Area part = intersect(whole, cover);
  if (part.empty()) return whole;
  bool full_width = part.left <= whole.left && part.right >= whole.right;
  bool full_height = part.top <= whole.top && part.bottom >= whole.bottom;
  if (full_width && full_height) return Area{0, 0, 0, 0};
  if (full_width) {
    bool above = part.top > whole.top, below = part.bottom < whole.bottom;
    if (above && below) return whole;
    return above ? Area{whole.left, whole.top, whole.right, part.top}
                 : Area{whole.left, part.bottom, whole.right, whole.bottom};
  }
  if (full_height) {
    bool before = part.left > whole.left, after = part.right < whole.right;
    if (before && after) return whole;
    return before ? Area{whole.left, whole.top, part.left, whole.bottom}
                  : Area{part.right, whole.top, whole.right, whole.bottom};
  }
  return whole;
}

bool same_area(const Area& a, const Area& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A window scrolled up as a whole, all of it client area (no menu bar), as a log window is for
// every line: the window moves where its pixels start instead of moving them.
bool scrolled_whole_window(const Drawing& d, const Area& from, const Area& limit, int dx, int dy) {
  const Target& t = d.target;
  const Area surface{0, 0, t.surface.width, t.surface.height};
  if (!t.window || dx != 0 || dy >= 0 || t.origin_x != 0 || t.origin_y != 0) return false;
  if (!same_area(from, surface) || !same_area(limit, surface)) return false;
  return -int64_t(dy) < surface.bottom && scroll_window_up(t.window, -dy);
}

LONG to_long(int64_t v) {
  return LONG(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

}  // namespace plat::gdi

using namespace plat;
using namespace plat::gdi;

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int src_x, int src_y,
                   DWORD rop) {
  if (rop != SRCCOPY) return FALSE;
  Drawing to, from;
  if (!begin_drawing(dest, &to) || !begin_drawing(src, &from)) return FALSE;
  if (width <= 0 || height <= 0) return TRUE;
  int64_t ox = int64_t(src_x) - x, oy = int64_t(src_y) - y;
  Area area{x, y, int64_t(x) + width, int64_t(y) + height};
  area = intersect(area, clip_area(to.canvas));
  area = shifted(intersect(shifted(area, ox, oy), clip_area(from.canvas)), -ox, -oy);
  copy_block(to.canvas, from.canvas, area, ox, oy);
  end_drawing(to);
  return TRUE;
}

BOOL WINAPI ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                     RECT* update_rect) {
  (void)update;  // no regions here; the update rectangle says the same
  Drawing d;
  if (!begin_drawing(hdc, &d)) return FALSE;
  Area whole = clip_area(d.canvas);
  Area from = scroll ? intersect(whole, area_of(*scroll)) : whole;
  Area limit = clip ? intersect(whole, area_of(*clip)) : whole;
  Area to = intersect(shifted(from, dx, dy), limit);
  if (!from.empty()) {
    if (scrolled_whole_window(d, from, limit, dx, dy))
      d.canvas.touched = true;
    else
      copy_block(d.canvas, d.canvas, to, -int64_t(dx), -int64_t(dy));
  }
  if (update_rect) {
    Area exposed = intersect(from, limit);
    Area left = exposed.empty() ? Area{0, 0, 0, 0} : bounding_difference(exposed, to);
    if (left.empty()) left = Area{0, 0, 0, 0};
    *update_rect =
        RECT{to_long(left.left), to_long(left.top), to_long(left.right), to_long(left.bottom)};
  }
  end_drawing(d);
  return TRUE;
}
