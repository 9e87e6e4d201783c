// Device contexts: memory DCs over bitmaps and window DCs over a window's client area, their
// text and background attributes, and the drawing target each resolves to at a drawing call.
#include <algorithm>

#include "context.h"
#include "region.h"

namespace plat::gdi {

namespace {

constexpr COLORREF CLR_INVALID_VALUE = 0xFFFFFFFF;

HDC add_dc(HWND window) {
  ensure_stock_objects();
  DeviceContext dc;
  dc.window = window;
  dc.pen = stock_object(BLACK_PEN);
  dc.brush = stock_object(WHITE_BRUSH);
  dc.font = stock_object(SYSTEM_FONT);
  dc.bitmap = window ? nullptr : stock_bitmap();
  const uintptr_t handle = dcs().add(dc);
  if (handle == 0) return nullptr;
  for (HGDIOBJ h : {dc.pen, dc.brush, dc.font}) {
    if (GdiObject* o = object_of(h)) ++o->select_count;
  }
  return to_handle<HDC>(handle);
}

}  // namespace

HandleTable<DeviceContext>& dcs() {
  return context().handles.dcs;
}

bool dc_target(const DeviceContext& dc, Target* target) {
  *target = Target{};
  if (dc.window) {
    RECT client;
    if (!window_surface(dc.window, &target->surface, &client)) return false;
    target->window = dc.window;
    target->origin_x = client.left;
    target->origin_y = client.top;
    const RECT whole{0, 0, target->surface.width, target->surface.height};
    IntersectRect(&target->clip, &client, &whole);
    if (dc.paint_clipped) {
      const RECT inside = target->clip;
      RECT box{0, 0, 0, 0};
      for (const RECT& p : dc.paint_area) {
        const RECT placed = rect_moved(p, client.left, client.top);
        RECT part;
        if (!IntersectRect(&part, &inside, &placed)) continue;
        target->parts.push_back(part);
        box = rect_empty(box)
                  ? part
                  : RECT{std::min(box.left, part.left), std::min(box.top, part.top),
                         std::max(box.right, part.right), std::max(box.bottom, part.bottom)};
      }
      target->clip = box;
      if (target->parts.size() == 1) target->parts.clear();  // the clip box says it all
    }
    return true;
  }
  if (!bitmap_surface(static_cast<HBITMAP>(dc.bitmap), &target->surface))
    bitmap_surface(static_cast<HBITMAP>(stock_bitmap()), &target->surface);
  target->clip = RECT{0, 0, target->surface.width, target->surface.height};
  return true;
}

void target_changed(const Target& target) {
  if (target.window) window_changed(target.window);
}

const Pen& dc_pen(const DeviceContext& dc) {
  GdiObject* o = object_of(dc.pen);
  if (!o || o->kind != ObjectKind::PEN) o = object_of(stock_object(BLACK_PEN));
  return o->pen;
}

const Brush& dc_brush(const DeviceContext& dc) {
  GdiObject* o = object_of(dc.brush);
  if (!o || o->kind != ObjectKind::BRUSH) o = object_of(stock_object(WHITE_BRUSH));
  return o->brush;
}

Font& dc_font(const DeviceContext& dc) {
  GdiObject* o = object_of(dc.font);
  if (!o || o->kind != ObjectKind::FONT) o = object_of(stock_object(SYSTEM_FONT));
  return o->font;
}

}  // namespace plat::gdi

namespace plat {

using namespace gdi;

HDC create_window_dc(HWND hwnd) {
  Surface surface;
  RECT client;
  if (!window_surface(hwnd, &surface, &client)) return nullptr;
  return add_dc(hwnd);
}

void clip_window_dc(HDC hdc, const Region& client_area) {
  if (DeviceContext* dc = dc_of(hdc)) {
    dc->paint_clipped = true;
    dc->paint_area = client_area.parts;
  }
}

int live_dcs() {
  return int(dcs().live());
}

}  // namespace plat

using namespace plat;
using namespace plat::gdi;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !dc_of(hdc)) return nullptr;
  return add_dc(nullptr);
}

BOOL WINAPI DeleteDC(HDC hdc) {
  DeviceContext* dc = dc_of(hdc);
  if (!dc) return FALSE;
  // The objects go back to being free; none of them is deleted with the DC.
  for (HGDIOBJ h : {dc->pen, dc->brush, dc->font})
    if (GdiObject* o = object_of(h)) o->select_count = std::max(0, o->select_count - 1);
  if (GdiObject* o = object_of(dc->bitmap))
    if (o->bitmap.selected_in == reinterpret_cast<uintptr_t>(hdc)) o->bitmap.selected_in = 0;
  dcs().remove(hdc);
  return TRUE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF colour) {
  DeviceContext* dc = dc_of(hdc);
  if (!dc) return CLR_INVALID_VALUE;
  COLORREF previous = dc->text_colour;
  dc->text_colour = colour;
  return previous;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
  DeviceContext* dc = dc_of(hdc);
  return dc ? dc->text_colour : CLR_INVALID_VALUE;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF colour) {
  DeviceContext* dc = dc_of(hdc);
  if (!dc) return CLR_INVALID_VALUE;
  COLORREF previous = dc->bk_colour;
  dc->bk_colour = colour;
  return previous;
}

COLORREF WINAPI GetBkColor(HDC hdc) {
  DeviceContext* dc = dc_of(hdc);
  return dc ? dc->bk_colour : CLR_INVALID_VALUE;
}

int WINAPI GetBkMode(HDC hdc) {
  DeviceContext* dc = dc_of(hdc);
  return dc ? dc->bk_mode : 0;
}

int WINAPI SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = dc_of(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->bk_mode;
  dc->bk_mode = mode;
  return previous;
}
