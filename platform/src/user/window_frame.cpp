// A window's pixels and their way to the screen: the outer surface with the menu bar rows on
// top, attaching a menu bar (which takes rows from the client area), resizing by the desktop,
// the update area, and presenting changed windows through the host.
#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

#include "user/user_state.h"

namespace plat {

// A frame lent to the host stays valid while the window table grows only if windows move there
// without copying their pixels.
static_assert(std::is_nothrow_move_constructible_v<Window>);

void will_change(Window& w) {
  if (!w.lent) return;
  w.lent = false;
  host::reclaim_frame(w.host_id);
}

bool window_surface(HWND hwnd, Surface* surface, RECT* client) {
  Window* w = find_window(hwnd);
  if (!w) return false;
  // Whoever asks for the pixels may draw on them.
  if (surface) will_change(*w);
  if (surface) *surface = Surface{window_pixels(*w), w->width, w->height, w->width};
  if (client) *client = RECT{0, menu_rows(*w), w->width, w->height};
  return true;
}

void window_changed(HWND hwnd) {
  if (Window* w = find_window(hwnd)) w->changed = true;
}

bool scroll_window_up(HWND hwnd, int rows) {
  Window* w = find_window(hwnd);
  if (!w || w->width <= 0 || rows <= 0 || rows >= w->height) return false;
  will_change(*w);
  const size_t width = size_t(w->width), height = size_t(w->height), shift = size_t(rows);
  // Spare rows below the outer area, made at the first scroll: a scroll then moves where the
  // pixels start, and only when the spare rows run out do the pixels move back to the top.
  const size_t storage = 4 * height * width;
  if (w->pixels.size() < storage) {
    try {
      w->pixels.resize(storage);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  if ((w->first_row + height + shift) * width > w->pixels.size()) {
    std::memmove(w->pixels.data(), window_pixels(*w), height * width * sizeof(uint32_t));
    w->first_row = 0;
  }
  // The rows uncovered at the bottom keep their old pixels.
  uint32_t* top = window_pixels(*w);
  std::memcpy(top + height * width, top + (height - shift) * width,
              shift * width * sizeof(uint32_t));
  w->first_row += shift;
  w->changed = true;
  return true;
}

HWND window_from_host(int host_id) {
  HWND found = nullptr;
  if (host_id <= 0) return nullptr;
  window_table().for_each([&](uintptr_t handle, Window& w) {
    if (w.host_id == host_id) found = window_handle(handle);
  });
  return found;
}

HMENU window_menu(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w ? w->menu : nullptr;
}

void invalidate_client(HWND hwnd, const RECT* rect, bool erase) {
  Window* w = find_window(hwnd);
  if (!w) return;
  const RECT client{0, 0, client_width(*w), client_height(*w)};
  RECT r;
  if (!IntersectRect(&r, rect ? rect : &client, &client)) return;
  if (region_empty(w->update)) user().arrivals += 1;
  region_add(w->update, r);
  w->erase = w->erase || erase;
}

void resize_window(HWND hwnd, int width, int height) {
  Window* w = find_window(hwnd);
  if (!w) return;
  width = std::clamp(width, 0, MAX_WINDOW_SIDE);
  height = std::clamp(height, 0, MAX_WINDOW_SIDE);
  if (width == w->width && height == w->height) return;
  will_change(*w);
  if (!(w = find_window(hwnd))) return;
  std::vector<uint32_t> pixels;
  try {
    pixels.assign(size_t(width) * size_t(height), background_pixel(*w));
  } catch (const std::bad_alloc&) {
    return;  // keep the old surface; the window shows less or more of it
  }
  int keep_w = std::min(width, w->width);
  int keep_h = std::min(height, w->height);
  for (int row = 0; row < keep_h; ++row)
    std::copy_n(window_pixels(*w) + size_t(row) * size_t(w->width), keep_w,
                pixels.data() + size_t(row) * size_t(width));
  w->pixels.swap(pixels);
  w->first_row = 0;
  w->width = width;
  w->height = height;
  w->changed = true;
  // The old pixels were a picture of a smaller or larger client area: all of it is redrawn.
  w->update.parts.clear();
  invalidate_client(hwnd, nullptr, true);
  if (w->menu) draw_menu_bar(hwnd);
  if ((w = find_window(hwnd)))
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client_width(*w), client_height(*w)));
}

void present_changed_windows() {
  std::vector<HWND> due;
  window_table().for_each([&](uintptr_t handle, Window& w) {
    if (w.visible && w.changed) due.push_back(window_handle(handle));
  });
  // Composing an open menu may look at windows again, so no table iteration is running then.
  for (HWND hwnd : due) {
    Window* w = find_window(hwnd);
    if (!w) continue;
    w->changed = false;
    // Both the window's own pixels and the overlay are packed rows (stride = width), as the
    // host takes them.
    Surface own{window_pixels(*w), w->width, w->height, w->width};
    Surface overlay;
    if (menu_compose_overlay(hwnd, own, &overlay) && overlay.pixels) {
      w = find_window(hwnd);
      if (!w) continue;
      w->lent = false;
      host::present(w->host_id, overlay.pixels, overlay.width, overlay.height);
      continue;
    }
    // The host may keep pointing at the window's own pixels until they change.
    w->lent = host::lend_frame(w->host_id, own.pixels, own.width, own.height);
    if (!w->lent) host::present(w->host_id, own.pixels, own.width, own.height);
  }
}

}  // namespace plat

using namespace plat;

BOOL WINAPI SetMenu(HWND hwnd, HMENU menu) {
  Window* w = find_window(hwnd);
  if (!w || (menu && !menu_exists(menu))) return FALSE;
  int old_rows = menu_rows(*w);
  w->menu = menu;
  int rows = menu_rows(*w);
  w->changed = true;
  if (menu) draw_menu_bar(hwnd);
  if (rows != old_rows) {
    // The client area moved and changed height: its old picture no longer fits.
    if ((w = find_window(hwnd))) w->update.parts.clear();
    invalidate_client(hwnd, nullptr, true);
    if ((w = find_window(hwnd)))
      SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client_width(*w), client_height(*w)));
  }
  return TRUE;
}

HMENU WINAPI GetMenu(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w && w->menu && menu_exists(w->menu) ? w->menu : nullptr;
}

BOOL WINAPI DrawMenuBar(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  if (w->menu) draw_menu_bar(hwnd);
  window_changed(hwnd);
  return TRUE;
}
