// Test and tool control of the headless host: reset, screen size, clock and time limit, the
// failure handler, failures of GlobalAlloc, frames and bitmaps read back, and the window
// system's live-object counters.
#include <algorithm>

#include "hosts/headless/headless_state.h"
#include "platform/headless.h"
#include "src/testing_door.h"
#include "testing/host_windows.h"

using namespace headless;

namespace {

const HostWindow* find_host_window(const char* title) {
  auto it = state().windows.find(host_window_id(title));
  return it == state().windows.end() ? nullptr : &it->second;
}

}  // namespace

void headless_reset() {
  // Tests and tools drive the window system on this host, whatever the program would pick.
  host::select("headless");
  plat::platform_reset();
  state() = HostState{};
}

void headless_set_screen_size(int width, int height) {
  state().screen_width = width > 0 ? width : DEFAULT_SCREEN_WIDTH;
  state().screen_height = height > 0 ? height : DEFAULT_SCREEN_HEIGHT;
}

uint64_t headless_now() {
  return state().now;
}

void headless_advance(uint64_t ms) {
  uint64_t& now = state().now;
  now = ms > UINT64_MAX - 1 - now ? UINT64_MAX - 1 : now + ms;
}

void headless_set_time_limit(uint64_t ms) {
  state().time_limit = ms;
}

void headless_set_failure_handler(void (*handler)(const char* reason)) {
  state().failure_handler = handler;
}

HWND headless_find_window(const char* title) {
  if (!title) return plat::focus_window();
  return plat::window_from_host(host_window_id(title));
}

bool headless_window_pixels(const char* window, std::vector<uint32_t>* pixels, int* width,
                            int* height) {
  const HostWindow* w = find_host_window(window);
  if (!w || w->present_count == 0 || !has_frame(*w)) return false;
  if (pixels) {
    const uint32_t* frame = presented_pixels(*w);
    pixels->assign(frame, frame + size_t(w->presented_width) * size_t(w->presented_height));
  }
  if (width) *width = w->presented_width;
  if (height) *height = w->presented_height;
  return true;
}

uint32_t headless_client_pixel(const char* window, int client_x, int client_y) {
  constexpr uint32_t NONE = 0xFFFFFFFF;
  int id = host_window_id(window);
  auto it = state().windows.find(id);
  RECT client{};
  if (it == state().windows.end() ||
      !plat::window_surface(plat::window_from_host(id), nullptr, &client))
    return NONE;
  const HostWindow& w = it->second;
  int64_t x = int64_t(client.left) + client_x;
  int64_t y = int64_t(client.top) + client_y;
  if (client_x < 0 || client_y < 0 || x >= client.right || y >= client.bottom) return NONE;
  if (x >= w.presented_width || y >= w.presented_height || !has_frame(w)) return NONE;
  return presented_pixels(w)[size_t(y) * size_t(w.presented_width) + size_t(x)];
}

int headless_present_count(const char* window) {
  const HostWindow* w = find_host_window(window);
  return w ? w->present_count : 0;
}

void headless_keep_presented_frames(bool keep) {
  state().keep_frames = keep;
}

void headless_set_present_observer(std::function<void(const char* title)> observer) {
  state().present_observer = std::move(observer);
}

uint32_t headless_bitmap_pixel(HBITMAP bitmap, int x, int y) {
  plat::Surface s;
  if (!plat::bitmap_surface(bitmap, &s) || x < 0 || y < 0 || x >= s.width || y >= s.height)
    return 0xFFFFFFFF;
  return s.pixels[size_t(y) * size_t(s.stride) + size_t(x)];
}

bool headless_bitmap_pixels(HBITMAP bitmap, std::vector<uint32_t>* pixels, int* width,
                            int* height) {
  plat::Surface s;
  if (!plat::bitmap_surface(bitmap, &s)) return false;
  if (pixels) {
    pixels->resize(size_t(s.width) * size_t(s.height));
    for (int row = 0; row < s.height; ++row)
      std::copy_n(s.pixels + size_t(row) * size_t(s.stride), s.width,
                  pixels->data() + size_t(row) * size_t(s.width));
  }
  if (width) *width = s.width;
  if (height) *height = s.height;
  return true;
}

void headless_fail_global_alloc(int after, int count) {
  plat::memory_fail_after(after, count);
}

PlatformCounters headless_counters() {
  PlatformCounters c{};
  c.gdi_objects = plat::live_gdi_objects();
  c.dcs = plat::live_dcs();
  c.memory_blocks = plat::live_memory_blocks();
  c.windows = plat::live_windows();
  c.menus = plat::live_menus();
  c.timers = plat::live_timers();
  return c;
}
