// Block transfers: BitBlt (SRCCOPY) between any two DCs, clipped on both sides, and ScrollDC,
// which moves a DC's pixels within itself. Rows are copied with memmove, in the order that keeps
// an overlapping source intact; a whole window scrolled up moves where its pixels start instead.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi/raster.h"

namespace plat::gdi {

namespace {

// The part of `a` that `b` covers, possibly empty.
RECT common(const RECT& a, const RECT& b) {
  RECT r;
  IntersectRect(&r, &a, &b);
  return r;
}

// Copies `to` in `dst` from the same-sized area moved by (ox, oy) in `src`. Both areas lie
// inside their canvases' clip boxes.
void copy_block(Canvas& dst, const Canvas& src, const RECT& to, int64_t ox, int64_t oy) {
  if (rect_empty(to)) return;
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

// A copy of `area` of `src`, as a canvas seen in the same coordinates: the source of a copy
// made part by part within one surface, which the earlier parts would otherwise overwrite.
Canvas snapshot(const Canvas& src, const RECT& area, std::vector<uint32_t>* pixels) {
  const int64_t width = int64_t(area.right) - area.left, height = int64_t(area.bottom) - area.top;
  pixels->resize(size_t(width * height));
  for (int64_t k = 0; k < height; ++k)
    std::memcpy(pixels->data() + k * width, canvas_row(src, area.top + k) + area.left,
                size_t(width) * sizeof(uint32_t));
  Canvas c;
  c.pixels = pixels->data();
  c.stride = width;
  c.origin_x = -int64_t(area.left);
  c.origin_y = -int64_t(area.top);
  c.clip = area;
  return c;
}

// Copies `to` in the drawing's canvas from the area moved by (ox, oy) in `src`, only where the
// DC may draw.
void copy_clipped(Drawing& d, const Canvas& src, const RECT& to, int64_t ox, int64_t oy) {
  if (rect_empty(to)) return;
  if (d.target.parts.empty()) {
    copy_block(d.canvas, src, to, ox, oy);
    return;
  }
  std::vector<uint32_t> copy;
  const Canvas from =
      src.pixels == d.canvas.pixels ? snapshot(src, rect_moved(to, ox, oy), &copy) : src;
  draw_clipped(d, [&](Canvas& c) { copy_block(c, from, common(to, c.clip), ox, oy); });
}

// Bounding box of `whole` minus `cover`.
RECT bounding_difference(const RECT& whole, const RECT& cover) {
  RECT part;
  if (!IntersectRect(&part, &whole, &cover)) return whole;
  bool full_width = part.left <= whole.left && part.right >= whole.right;
  bool full_height = part.top <= whole.top && part.bottom >= whole.bottom;
  if (full_width && full_height) return RECT{0, 0, 0, 0};
  if (full_width) {
    bool above = part.top > whole.top, below = part.bottom < whole.bottom;
    if (above && below) return whole;
    return above ? RECT{whole.left, whole.top, whole.right, part.top}
                 : RECT{whole.left, part.bottom, whole.right, whole.bottom};
  }
  if (full_height) {
    bool before = part.left > whole.left, after = part.right < whole.right;
    if (before && after) return whole;
    return before ? RECT{whole.left, whole.top, part.left, whole.bottom}
                  : RECT{part.right, whole.top, whole.right, whole.bottom};
  }
  return whole;
}

bool same_rect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A window scrolled up as a whole, all of it client area (no menu bar), as a log window is for
// every line: the window moves where its pixels start instead of moving them.
bool scrolled_whole_window(const Drawing& d, const RECT& from, const RECT& limit, int dx, int dy) {
  const Target& t = d.target;
  const RECT surface{0, 0, t.surface.width, t.surface.height};
  if (!t.window || !t.parts.empty() || dx != 0 || dy >= 0 || t.origin_x != 0 || t.origin_y != 0)
    return false;
  if (!same_rect(from, surface) || !same_rect(limit, surface)) return false;
  return -int64_t(dy) < surface.bottom && scroll_window_up(t.window, -dy);
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
  RECT area = common(rect_from(x, y, int64_t(x) + width, int64_t(y) + height), to.canvas.clip);
  area = rect_moved(common(rect_moved(area, ox, oy), from.canvas.clip), -ox, -oy);
  copy_clipped(to, from.canvas, area, ox, oy);
  end_drawing(to);
  return TRUE;
}

BOOL WINAPI ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                     RECT* update_rect) {
  (void)update;  // no regions here; the update rectangle says the same
  Drawing d;
  if (!begin_drawing(hdc, &d)) return FALSE;
  const RECT whole = d.canvas.clip;
  const RECT from = scroll ? common(whole, *scroll) : whole;
  const RECT limit = clip ? common(whole, *clip) : whole;
  const RECT to = common(rect_moved(from, dx, dy), limit);
  if (!rect_empty(from)) {
    if (scrolled_whole_window(d, from, limit, dx, dy))
      d.canvas.touched = true;
    else
      copy_clipped(d, d.canvas, to, -int64_t(dx), -int64_t(dy));
  }
  if (update_rect) {
    RECT left = bounding_difference(common(from, limit), to);
    if (rect_empty(left)) left = RECT{0, 0, 0, 0};
    *update_rect = left;
  }
  end_drawing(d);
  return TRUE;
}
