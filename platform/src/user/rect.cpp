// Rectangles: IntersectRect, and boxes of 64-bit edges brought back to a RECT.
#include <algorithm>

#include "internal.h"

namespace plat {

namespace {

LONG held(int64_t v) {
  return LONG(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

RECT rect_from(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return RECT{held(left), held(top), held(right), held(bottom)};
}

RECT rect_moved(const RECT& r, int64_t dx, int64_t dy) {
  return rect_from(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

}  // namespace plat

using namespace plat;

// As on Win32: no common pixel gives the empty rectangle (0, 0, 0, 0) and FALSE.
BOOL WINAPI IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst) return FALSE;
  const RECT none{0, 0, 0, 0};
  if (!a || !b) {
    *dst = none;
    return FALSE;
  }
  const RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
               std::min(a->bottom, b->bottom)};
  *dst = rect_empty(r) ? none : r;
  return rect_empty(r) ? FALSE : TRUE;
}
