// Window classes and windows: registration, creation with its WM_CREATE and WM_SIZE,
// destruction with WM_DESTROY, showing and hiding, the keyboard focus, client rectangles,
// screen metrics and the stock icon and cursor.
#include <strings.h>

#include <algorithm>
#include <new>

#include "context.h"

namespace plat {

UserState& user() {
  return context().user;
}

HandleTable<Window>& window_table() {
  return context().handles.windows;
}

Window* find_window(HWND hwnd) {
  return window_table().get(hwnd);
}

int menu_rows(const Window& w) {
  return w.menu ? std::min(MENU_BAR_HEIGHT, w.height) : 0;
}
int client_width(const Window& w) {
  return w.width;
}
int client_height(const Window& w) {
  return w.height - menu_rows(w);
}

uint32_t background_pixel(const Window& w) {
  uint32_t pixel = DEFAULT_BACKGROUND;
  return brush_pixel(w.background, &pixel) ? pixel : DEFAULT_BACKGROUND;
}

HWND focus_window() {
  return find_window(user().focus) ? user().focus : nullptr;
}

void set_focus_window(HWND hwnd) {
  if (find_window(hwnd)) user().focus = hwnd;
}

namespace {

// The visible window shown most recently, which takes the keyboard when the focus window goes.
HWND next_focus_window() {
  HWND best = nullptr;
  uint64_t best_order = 0;
  window_table().for_each([&](uintptr_t handle, Window& w) {
    if (w.visible && !w.destroying && (!best || w.shown_order > best_order)) {
      best = window_handle(handle);
      best_order = w.shown_order;
    }
  });
  return best;
}

// Class names may be given as the atom RegisterClassA returned (a value below 0x10000).
bool is_atom(LPCSTR name) {
  return reinterpret_cast<uintptr_t>(name) < 0x10000;
}

// Atoms run through 0xC000..0xFFFF and on across resets, so that an atom from before a reset
// names no class registered after it (fewer than 0x4000 classes live at once, so none repeats).
ATOM next_class_atom() {
  ATOM& next = context().handles.next_atom;
  ATOM atom = next;
  next = next == 0xFFFF ? ATOM(0xC000) : ATOM(next + 1);
  return atom;
}

const WindowClass* find_class(LPCSTR name) {
  if (!name) return nullptr;
  for (const WindowClass& c : user().classes) {
    if (is_atom(name) ? c.atom == reinterpret_cast<uintptr_t>(name)
                      : strcasecmp(c.name.c_str(), name) == 0)
      return &c;
  }
  return nullptr;
}

int clamp_side(int side) {
  return std::clamp(side, 0, MAX_WINDOW_SIDE);
}

void send_size(HWND hwnd) {
  if (Window* w = find_window(hwnd))
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client_width(*w), client_height(*w)));
}

}  // namespace

bool set_window_visible(HWND hwnd, bool show) {
  UserState& u = user();
  Window* w = find_window(hwnd);
  if (!w) return false;
  bool was_visible = w->visible;
  if (show) {
    w->shown_order = ++u.show_counter;
    if (!was_visible) {
      w->visible = true;
      w->changed = true;
      host::show_window(w->host_id, true);
    }
    bool first_show = !w->ever_shown;
    w->ever_shown = true;
    u.focus = hwnd;
    if (first_show) invalidate_client(hwnd, nullptr, true);
  } else if (was_visible) {
    w->visible = false;
    host::show_window(w->host_id, false);
    if (u.focus == hwnd) u.focus = next_focus_window();
  }
  return was_visible;
}

}  // namespace plat

using namespace plat;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || is_atom(wc->lpszClassName)) return 0;
  if (find_class(wc->lpszClassName)) return 0;
  auto& classes = user().classes;
  if (classes.size() >= 0x3FFF) return 0;
  WindowClass c;
  c.name = wc->lpszClassName;
  c.proc = wc->lpfnWndProc;
  c.background = wc->hbrBackground;
  c.atom = next_class_atom();
  classes.push_back(std::move(c));
  return classes.back().atom;
}

HWND WINAPI CreateWindowA(LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                          int height, HWND /*parent*/, HMENU menu, HINSTANCE /*instance*/,
                          LPVOID /*param*/) {
  const WindowClass* cls = find_class(class_name);
  if (!cls) return nullptr;

  int screen_w = 0, screen_h = 0;
  host::screen_size(&screen_w, &screen_h);
  // Default positions cascade down the screen, as desktops place new windows.
  int cascade = 32 * int(window_table().live() % 8);
  if (x == CW_USEDEFAULT) x = cascade;
  if (y == CW_USEDEFAULT) y = cascade;
  if (width == CW_USEDEFAULT) {
    width = screen_w / 4 * 3;
    height = screen_h / 4 * 3;
  } else if (height == CW_USEDEFAULT) {
    height = screen_h / 4 * 3;
  }

  Window w;
  w.title = title ? title : "";
  w.proc = cls->proc;
  w.background = cls->background;
  w.width = clamp_side(width);
  w.height = clamp_side(height);
  try {
    w.pixels.assign(size_t(w.width) * size_t(w.height), background_pixel(w));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  w.host_id =
      host::create_window(w.title.c_str(), x, y, w.width, w.height, (style & WS_THICKFRAME) != 0);
  if (w.host_id <= 0) return nullptr;
  if (menu && menu_exists(menu)) w.menu = menu;
  bool has_menu = w.menu != nullptr;
  const int host_id = w.host_id;
  HWND hwnd = window_handle(window_table().add(std::move(w)));
  if (!hwnd) {
    host::destroy_window(host_id);
    return nullptr;
  }
  if (has_menu) draw_menu_bar(hwnd);

  LRESULT created = SendMessageA(hwnd, WM_CREATE, 0, 0);
  if (!find_window(hwnd)) return nullptr;
  if (created == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  send_size(hwnd);
  return find_window(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  UserState& u = user();
  Window* w = find_window(hwnd);
  if (!w || w->destroying) return FALSE;
  w->destroying = true;
  set_window_visible(hwnd, false);
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  // The menu bar, and whatever the window procedure set up or posted during WM_DESTROY, go
  // with the window.
  menu_window_destroyed(hwnd);
  remove_window_timers(hwnd);
  drop_window_messages(hwnd);
  // Marked as being destroyed, the window is still there; checked all the same.
  if ((w = find_window(hwnd))) {
    w->menu = nullptr;
    host::destroy_window(w->host_id);
    window_table().remove(hwnd);
  }
  if (u.focus == hwnd) u.focus = next_focus_window();
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND hwnd, int cmd) {
  if (!find_window(hwnd)) return FALSE;
  return set_window_visible(hwnd, cmd != SW_HIDE) ? TRUE : FALSE;
}

BOOL WINAPI IsWindow(HWND hwnd) {
  return find_window(hwnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w && w->visible ? TRUE : FALSE;
}

BOOL WINAPI GetClientRect(HWND hwnd, RECT* rect) {
  Window* w = find_window(hwnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, client_width(*w), client_height(*w)};
  return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
  int width = 0, height = 0;
  host::screen_size(&width, &height);
  if (index == SM_CXSCREEN) return width;
  if (index == SM_CYSCREEN) return height;
  return 0;
}

namespace {
constexpr uintptr_t STOCK_APPLICATION_ICON = pack_handle(TAG_ICON, 0, 1);
constexpr uintptr_t STOCK_ARROW_CURSOR = pack_handle(TAG_ICON, 0, 2);
}  // namespace

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance || name != IDI_APPLICATION) return nullptr;
  return to_handle<HICON>(STOCK_APPLICATION_ICON);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance || name != IDC_ARROW) return nullptr;
  return to_handle<HCURSOR>(STOCK_ARROW_CURSOR);
}

namespace plat {

int live_windows() {
  return int(window_table().live());
}

}  // namespace plat

HINSTANCE plat::program_instance() {
  return to_handle<HINSTANCE>(pack_handle(TAG_INSTANCE, 0, 1));
}
