// Window DCs and painting: GetDC and ReleaseDC, BeginPaint (which erases what needs painting
// with the class background, validates it and clips the DC to it) and EndPaint, and the update
// area's InvalidateRect, ValidateRect and GetUpdateRect.
#include "user/user_state.h"

using namespace plat;

namespace {

HDC hand_out_window_dc(HWND hwnd) {
  HDC dc = create_window_dc(hwnd);
  if (dc) user().window_dcs[dc] = hwnd;
  return dc;
}

// Releases a DC handed out for `hwnd`. A DC whose window has been destroyed since is accepted
// with that window's old handle or any other, as there is nothing left to check it against.
bool release_window_dc(HWND hwnd, HDC dc) {
  auto& dcs = user().window_dcs;
  auto it = dcs.find(dc);
  if (it == dcs.end()) return false;
  if (it->second != hwnd && find_window(it->second)) return false;
  dcs.erase(it);
  return DeleteDC(dc) != FALSE;
}

}  // namespace

HDC WINAPI GetDC(HWND hwnd) {
  return find_window(hwnd) ? hand_out_window_dc(hwnd) : nullptr;
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc) {
  return release_window_dc(hwnd, hdc) ? 1 : 0;
}

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!find_window(hwnd)) return FALSE;
  invalidate_client(hwnd, rect, erase != FALSE);
  return TRUE;
}

// A null rectangle validates the whole client area.
BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    w->update.parts.clear();
  } else {
    region_subtract(w->update, *rect);
  }
  if (region_empty(w->update)) w->erase = false;
  return TRUE;
}

// The update area's bounding box (empty when nothing needs painting); nonzero when it is not
// empty. Erasing on request is left to BeginPaint.
BOOL WINAPI GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
  (void)erase;
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  const RECT box = region_box(w->update);
  if (rect) *rect = box;
  return rect_empty(box) ? FALSE : TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  if (!ps || !find_window(hwnd)) return nullptr;
  HDC dc = hand_out_window_dc(hwnd);
  if (!dc) return nullptr;
  Window* w = find_window(hwnd);
  Region area;
  area.parts.swap(w->update.parts);
  bool erase = !region_empty(area) && w->erase;
  bool erased = false;
  uint32_t pixel = 0;
  if (erase && brush_pixel(w->background, &pixel)) {
    int top = menu_rows(*w);
    will_change(*w);
    Surface surface{window_pixels(*w), w->width, w->height, w->width};
    // As on Win32, only what was invalidated is erased, not the whole bounding box.
    for (const RECT& r : area.parts)
      fill_surface(surface, RECT{r.left, r.top + top, r.right, r.bottom + top}, pixel);
    w->changed = true;
    erased = true;
  }
  w->erase = false;
  // As on Win32, the DC draws only where painting was needed, and rcPaint bounds it.
  clip_window_dc(dc, area);
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = region_box(area);
  // As on Win32: TRUE only when the background still needs erasing (a hollow class brush).
  ps->fErase = erase && !erased ? TRUE : FALSE;
  return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  return release_window_dc(hwnd, ps->hdc) ? TRUE : FALSE;
}
