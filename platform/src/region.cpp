// Areas made of rectangles: union and difference keep the parts apart by cutting each old part
// around the rectangle added or taken away.
#include "region.h"

#include <algorithm>

namespace plat {

namespace {

// Appends the pieces of `part` outside `hole`: a band above, one below, and the two sides of the
// rows in between.
void add_outside(const RECT& part, const RECT& hole, std::vector<RECT>* out) {
  RECT common;
  if (!IntersectRect(&common, &part, &hole)) {
    out->push_back(part);
    return;
  }
  if (part.top < common.top) out->push_back(RECT{part.left, part.top, part.right, common.top});
  if (common.bottom < part.bottom)
    out->push_back(RECT{part.left, common.bottom, part.right, part.bottom});
  if (part.left < common.left)
    out->push_back(RECT{part.left, common.top, common.left, common.bottom});
  if (common.right < part.right)
    out->push_back(RECT{common.right, common.top, part.right, common.bottom});
}

void cut_out(Region& r, const RECT& hole) {
  std::vector<RECT> kept;
  kept.reserve(r.parts.size() + 4);
  for (const RECT& part : r.parts) add_outside(part, hole, &kept);
  r.parts.swap(kept);
}

// Too many parts: the parts sharing rows are merged band by band into their bounding boxes,
// then, should that not be enough, everything into one box.
void merge_when_large(Region& r) {
  if (r.parts.size() <= REGION_MAX_PARTS) return;
  std::vector<LONG> edges;
  for (const RECT& p : r.parts) {
    edges.push_back(p.top);
    edges.push_back(p.bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  // Bands between consecutive edges, taken a few at a time so that at most half the limit of
  // bands remains.
  const size_t bands = edges.size() - 1,
               per = (bands + REGION_MAX_PARTS / 2 - 1) / (REGION_MAX_PARTS / 2);
  std::vector<RECT> merged;
  for (size_t b = 0; b < bands; b += per) {
    const LONG top = edges[b], bottom = edges[std::min(b + per, bands)];
    RECT box{0, 0, 0, 0};
    bool any = false;
    for (const RECT& p : r.parts) {
      if (p.bottom <= top || p.top >= bottom) continue;
      box = any ? RECT{std::min(box.left, p.left), top, std::max(box.right, p.right), bottom}
                : RECT{p.left, top, p.right, bottom};
      any = true;
    }
    if (any) merged.push_back(box);
  }
  r.parts.swap(merged);
}

}  // namespace

RECT region_box(const Region& r) {
  if (r.parts.empty()) return RECT{0, 0, 0, 0};
  RECT box = r.parts.front();
  for (const RECT& p : r.parts) {
    box.left = std::min(box.left, p.left);
    box.top = std::min(box.top, p.top);
    box.right = std::max(box.right, p.right);
    box.bottom = std::max(box.bottom, p.bottom);
  }
  return box;
}

void region_add(Region& r, const RECT& rect) {
  if (rect_empty(rect)) return;
  cut_out(r, rect);
  r.parts.push_back(rect);
  merge_when_large(r);
}

void region_subtract(Region& r, const RECT& rect) {
  if (rect_empty(rect)) return;
  cut_out(r, rect);
  merge_when_large(r);
}

}  // namespace plat
