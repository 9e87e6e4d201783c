// Areas made of rectangles, as a window's update area and a paint DC's clip are: a list of
// rectangles that never overlap, grown by union and shrunk by difference. A list that grows past
// REGION_MAX_PARTS is merged into fewer, larger rectangles (never smaller: an area may grow by
// the merge, as painting a little more than needed is harmless, never shrink).
#pragma once

#include <cstddef>
#include <vector>

#include "internal.h"

namespace plat {

constexpr size_t REGION_MAX_PARTS = 32;

struct Region {
  std::vector<RECT> parts;  // not empty, not overlapping
};

inline bool region_empty(const Region& r) {
  return r.parts.empty();
}
// The smallest rectangle holding the whole area; (0, 0, 0, 0) for an empty area.
RECT region_box(const Region& r);
void region_add(Region& r, const RECT& rect);
void region_subtract(Region& r, const RECT& rect);

}  // namespace plat
