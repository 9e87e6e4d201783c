// GDI objects: the stock pens, brushes, fonts and bitmap, creating pens, brushes and bitmaps,
// selecting objects into DCs and deleting them, and the live-object counters that the headless
// host reports.
#include <algorithm>
#include <array>
#include <new>

#include "context.h"

namespace plat::gdi {

namespace {

// Largest bitmap side and area: beyond this CreateCompatibleBitmap fails instead of trying to
// allocate gigabytes.
constexpr int MAX_BITMAP_SIDE = 16384;
constexpr int64_t MAX_BITMAP_PIXELS = int64_t(1) << 26;
constexpr int PS_NULL_STYLE = 5;

HGDIOBJ add_object(GdiObject object) {
  return to_handle<HGDIOBJ>(objects().add(std::move(object)));
}

HGDIOBJ add_stock(GdiObject object) {
  object.stock = true;
  ++gdi_state().stock_count;
  return add_object(std::move(object));
}

GdiObject make_brush(bool hollow, COLORREF colour) {
  GdiObject o;
  o.kind = ObjectKind::BRUSH;
  o.brush.hollow = hollow;
  o.brush.pixel = pixel_from_colorref(colour);
  return o;
}

GdiObject make_pen(bool null, int width, COLORREF colour) {
  GdiObject o;
  o.kind = ObjectKind::PEN;
  o.pen.null = null;
  o.pen.width = width;
  o.pen.pixel = pixel_from_colorref(colour);
  return o;
}

GdiObject make_font(const FontRequest& request) {
  GdiObject o;
  o.kind = ObjectKind::FONT;
  o.font.request = request;
  return o;
}

// The DC slot an object of this kind occupies.
HGDIOBJ* slot_for(DeviceContext& dc, ObjectKind kind) {
  switch (kind) {
    case ObjectKind::PEN:
      return &dc.pen;
    case ObjectKind::BRUSH:
      return &dc.brush;
    case ObjectKind::FONT:
      return &dc.font;
    case ObjectKind::BITMAP:
      return &dc.bitmap;
  }
  return nullptr;
}

}  // namespace

HandleTable<GdiObject>& objects() {
  return context().handles.objects;
}

GdiState& gdi_state() {
  return context().gdi;
}

void ensure_stock_objects() {
  GdiState& g = gdi_state();
  if (g.stock_bitmap) return;
  g.stock[WHITE_BRUSH] = add_stock(make_brush(false, RGB(255, 255, 255)));
  g.stock[LTGRAY_BRUSH] = add_stock(make_brush(false, RGB(192, 192, 192)));
  g.stock[GRAY_BRUSH] = add_stock(make_brush(false, RGB(128, 128, 128)));
  g.stock[DKGRAY_BRUSH] = add_stock(make_brush(false, RGB(64, 64, 64)));
  g.stock[BLACK_BRUSH] = add_stock(make_brush(false, RGB(0, 0, 0)));
  g.stock[NULL_BRUSH] = add_stock(make_brush(true, RGB(0, 0, 0)));
  g.stock[WHITE_PEN] = add_stock(make_pen(false, 1, RGB(255, 255, 255)));
  g.stock[BLACK_PEN] = add_stock(make_pen(false, 1, RGB(0, 0, 0)));
  g.stock[NULL_PEN] = add_stock(make_pen(true, 1, RGB(0, 0, 0)));
  // The system font is a regular sans face with a cell of up to 16 pixels, the fixed font a
  // monospace face at an em of 13 with a cell of 13: 8 pixels a character and 13 a line, like
  // the Windows fonts of those names. DejaVu comes first so that they look the same on every
  // machine that has it.
  g.stock[ANSI_FIXED_FONT] =
      add_stock(make_font({-13, FW_NORMAL, false, true, "DejaVu Sans Mono", "monospace", true}));
  g.stock[SYSTEM_FONT] =
      add_stock(make_font({16, FW_NORMAL, false, false, "DejaVu Sans", "sans-serif"}));
  GdiObject bitmap;
  bitmap.kind = ObjectKind::BITMAP;
  bitmap.bitmap.width = 1;
  bitmap.bitmap.height = 1;
  bitmap.bitmap.pixels.assign(1, 0);
  g.stock_bitmap = add_stock(std::move(bitmap));
}

HGDIOBJ stock_object(int index) {
  ensure_stock_objects();
  if (index < 0 || index >= STOCK_COUNT) return nullptr;
  return gdi_state().stock[size_t(index)];
}

HGDIOBJ stock_bitmap() {
  ensure_stock_objects();
  return gdi_state().stock_bitmap;
}

HFONT create_font_object(const FontRequest& request) {
  ensure_stock_objects();
  return static_cast<HFONT>(add_object(make_font(request)));
}

}  // namespace plat::gdi

namespace plat {

using namespace gdi;

int live_gdi_objects() {
  return int(objects().live()) - gdi_state().stock_count;
}

bool bitmap_surface(HBITMAP bitmap, Surface* surface) {
  GdiObject* o = object_of(bitmap);
  if (!o || o->kind != ObjectKind::BITMAP || !surface) return false;
  surface->pixels = o->bitmap.pixels.data();
  surface->width = o->bitmap.width;
  surface->height = o->bitmap.height;
  surface->stride = o->bitmap.width;
  return true;
}

bool brush_pixel(HBRUSH brush, uint32_t* pixel) {
  GdiObject* o = object_of(brush);
  if (!o || o->kind != ObjectKind::BRUSH || o->brush.hollow) return false;
  if (pixel) *pixel = o->brush.pixel;
  return true;
}

}  // namespace plat

using namespace plat;
using namespace plat::gdi;

HGDIOBJ WINAPI GetStockObject(int index) {
  return stock_object(index);
}

HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
  ensure_stock_objects();
  // A negative width means the same as its magnitude; the most negative int has none.
  int w = width == INT32_MIN ? INT32_MAX : (width < 0 ? -width : width);
  return static_cast<HPEN>(add_object(make_pen(style == PS_NULL_STYLE, w, colour)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
  ensure_stock_objects();
  return static_cast<HBRUSH>(add_object(make_brush(false, colour)));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int width, int height) {
  if (hdc && !dc_of(hdc)) return nullptr;
  if (width <= 0 || height <= 0 || width > MAX_BITMAP_SIDE || height > MAX_BITMAP_SIDE ||
      int64_t(width) * height > MAX_BITMAP_PIXELS)
    return nullptr;
  ensure_stock_objects();
  GdiObject o;
  o.kind = ObjectKind::BITMAP;
  o.bitmap.width = width;
  o.bitmap.height = height;
  try {
    o.bitmap.pixels.assign(size_t(width) * size_t(height), 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return static_cast<HBITMAP>(add_object(std::move(o)));
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object) {
  DeviceContext* dc = dc_of(hdc);
  GdiObject* o = object_of(object);
  if (!dc || !o) return nullptr;
  HGDIOBJ* slot = slot_for(*dc, o->kind);
  if (slot == nullptr) return nullptr;
  HGDIOBJ previous = *slot;
  if (previous == object) return previous;
  if (o->kind == ObjectKind::BITMAP) {
    // Only memory DCs hold bitmaps, and a bitmap draws into one DC at a time (the shared 1x1
    // stock bitmap excepted).
    if (dc->window) return nullptr;
    if (!o->stock && o->bitmap.selected_in) return nullptr;
    if (!o->stock) o->bitmap.selected_in = reinterpret_cast<uintptr_t>(hdc);
    if (GdiObject* old = object_of(previous)) old->bitmap.selected_in = 0;
  } else {
    ++o->select_count;
    if (GdiObject* old = object_of(previous))
      old->select_count = std::max(0, old->select_count - 1);
  }
  *slot = object;
  return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  GdiObject* o = object_of(object);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (o->select_count > 0 || o->bitmap.selected_in) return FALSE;
  objects().remove(object);
  return TRUE;
}
